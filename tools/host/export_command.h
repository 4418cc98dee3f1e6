// The native export command (qvexport): runs one export command of the plug-in on a mail folder.
// The stand-in host serves the folder, the headless toolkit answers the export dialog with the
// options given, and the run is the plug-in's own (folder-name rule, settings file, selection
// and write passes). Texts from the command line are UTF-8 and converted to CP932 (unless --raw).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace qv::export_command {
// Exit codes.
constexpr int kOk = 0;         // exported, cancelled, or nothing to do for a bracketed folder
constexpr int kFailed = 1;     // bad input or a failed run: the message went to `err`
constexpr int kBadUsage = 2;   // unknown option or missing argument
constexpr int kHostFault = 3;  // the run left host strings unreleased or released twice
}  // namespace qv::export_command

// Runs the command with `args` (without the program name); reports on `out`, errors on `err`.
int RunExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
