// The plug-in's description record for the host and the path of its settings file; both are
// plain byte work, kept apart from the entry point so the tests can check them directly.
#pragma once

#include <cstddef>

namespace qv::plugin {

// Byte offsets of the fields of the host's description record.
constexpr std::size_t kInfoNameOffset = 0;
constexpr std::size_t kInfoVendorOffset = 80;
constexpr std::size_t kInfoVersionOffset = 160;
constexpr std::size_t kInfoDescriptionOffset = 240;

// Copies the four texts, each with its terminator, into the record; every other byte stays.
void FillDescriptionRecord(char* record);

// Size of the settings-path buffer: a module path of up to 260 bytes, ".ini" and a terminator.
constexpr std::size_t kModulePathLimit = 260;
constexpr std::size_t kSettingsPathSize = kModulePathLimit + 5;

// Turns the module path held in `path` (zero-terminated, at most kModulePathLimit bytes) into
// the settings path: the text from its last '.' on becomes ".ini"; without a '.', ".ini" is
// appended.
void ModulePathToSettingsPath(char (&path)[kSettingsPathSize]);

// The texts of the plug-in (CP932).
extern const char kCommandDescription[];  // registered with the host's command
extern const char kMenuCaption[];         // the menu item
extern const char kErrorCaption[];        // caption of the box that shows a failed command
extern const char kUnknownError[];        // message of an error that carries no text
extern const char kOutOfMemory[];         // message when memory ran out

}  // namespace qv::plugin
