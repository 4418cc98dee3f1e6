#include "export_command.h"

#include <iconv.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <optional>
#include <string>
#include <vector>

#include "export/export_param.h"
#include "export/quarvel_api.h"
#include "mail_folder.h"
#include "platform/platform.h"
#include "stand_in_host.h"
#include "ui/form_export.h"
#include "ui/headless/headless_toolkit.h"

namespace {

using qv::export_command::kBadUsage;
using qv::export_command::kFailed;
using qv::export_command::kHostFault;
using qv::export_command::kOk;

const char kUsage[] =
    "Usage: qvexport [options] MAIL_FOLDER\n"
    "Exports the mails of MAIL_FOLDER that pass the conditions to numbered .eml files, as the\n"
    "plug-in's export command does. Options answer the export dialog; an option left out keeps\n"
    "what the dialog loaded from the settings file (the last directory and search string, the\n"
    "check boxes and the search position of the last confirmed run).\n"
    "\n"
    "  -d, --dir DIR            target directory (must exist)\n"
    "  -u, --unread-only        only unread mails          (--no-unread-only)\n"
    "  -s, --selected-only      only selected mails        (--no-selected-only)\n"
    "  -m, --mark-read          mark exported mails read   (--no-mark-read)\n"
    "  -f, --find TEXT          search string (\"\" for none)\n"
    "  -p, --find-pos WHERE     both, body or header\n"
    "  -c, --case-sensitive     case-sensitive search      (--no-case-sensitive)\n"
    "  -r, --regexp             TEXT is a regular expression (--no-regexp)\n"
    "      --settings FILE      settings file (default: qvexport.ini beside the program)\n"
    "      --cancel             cancel the dialog instead of confirming it\n"
    "      --raw                TEXT is CP932 already and messages are printed in CP932\n"
    "  -h, --help               this text\n"
    "\n"
    "MAIL_FOLDER holds one file per mail and an optional folder.state file:\n"
    "  name=<display name>, then one line per mail: <file name> <flags> (R read, S selected).\n";

// Where the command writes, and whether texts stay CP932.
struct Console {
    std::ostream& out;
    std::ostream& err;
    bool raw = false;
};
Console* g_console = nullptr;

// Converts between CP932 and UTF-8; a byte that does not convert is passed on as it is.
std::string Convert(const std::string& text, const char* to, const char* from)
{
    if (g_console && g_console->raw) return text;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return text;
    std::string out;
    std::vector<char> buffer(text.size() * 4 + 16);
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), static_cast<std::size_t>(outPtr - buffer.data()));
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            out += *in++;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

// A path as this system spells it: the export run uses the backslash as the delimiter on every
// platform, the file system here uses '/'. Trail bytes 0x5C are not delimiters.
std::string ShownPath(const std::string& path)
{
    std::string shown = path;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (qv::platform::IsLeadByte(static_cast<unsigned char>(shown[i])) && i + 1 < shown.size()) ++i;
        else if (shown[i] == '\\') shown[i] = '/';
    }
    return shown;
}

std::string FromCp932(const std::string& text) { return Convert(text, "UTF-8", "CP932"); }
std::string ToCp932(const std::string& text) { return Convert(text, "CP932", "UTF-8"); }

// The settings file beside the program, named as the plug-in names its own: the program's
// path with the text from its last '.' replaced by ".ini" (or ".ini" appended).
std::string DefaultSettingsPath()
{
    char path[PATH_MAX + 1] = {};
    const ssize_t n = ::readlink("/proc/self/exe", path, PATH_MAX);
    std::string self = n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string("qvexport");
    const std::size_t slash = self.find_last_of('/');
    const std::size_t dot = self.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) self.erase(dot);
    return self + ".ini";
}

struct Options {
    std::string folder;
    std::string settings;
    std::optional<std::string> dir, find;
    std::optional<bool> unreadOnly, selectedOnly, markRead, caseSensitive, regexp;
    std::optional<int> findPos;
    bool cancel = false;
};


int UsageError(const std::string& message)
{
    g_console->err << "qvexport: " << message << "\n" << "Try 'qvexport --help'.\n";
    return kBadUsage;
}

bool ParseArguments(const std::vector<std::string>& args, Options& options, int& exitCode)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "-h" || a == "--help") {
            g_console->out << kUsage;
            exitCode = kOk;
            return false;
        } else if (a == "-d" || a == "--dir") {
            if (!value(v)) return exitCode = UsageError(a + " needs a directory"), false;
            options.dir = v;
        } else if (a == "-f" || a == "--find") {
            if (!value(v)) return exitCode = UsageError(a + " needs a text"), false;
            options.find = ToCp932(v);
        } else if (a == "-p" || a == "--find-pos") {
            if (!value(v)) return exitCode = UsageError(a + " needs both, body or header"), false;
            if (v == "both") options.findPos = 0;
            else if (v == "body") options.findPos = 1;
            else if (v == "header") options.findPos = 2;
            else return exitCode = UsageError("unknown search position '" + v + "' (both, body or header)"), false;
        } else if (a == "--settings") {
            if (!value(v)) return exitCode = UsageError(a + " needs a file"), false;
            options.settings = v;
        } else if (a == "-u" || a == "--unread-only") options.unreadOnly = true;
        else if (a == "--no-unread-only") options.unreadOnly = false;
        else if (a == "-s" || a == "--selected-only") options.selectedOnly = true;
        else if (a == "--no-selected-only") options.selectedOnly = false;
        else if (a == "-m" || a == "--mark-read") options.markRead = true;
        else if (a == "--no-mark-read") options.markRead = false;
        else if (a == "-c" || a == "--case-sensitive") options.caseSensitive = true;
        else if (a == "--no-case-sensitive") options.caseSensitive = false;
        else if (a == "-r" || a == "--regexp") options.regexp = true;
        else if (a == "--no-regexp") options.regexp = false;
        else if (a == "--cancel") options.cancel = true;
        else if (a == "--raw") g_console->raw = true;
        else if (!a.empty() && a[0] == '-') return exitCode = UsageError("unknown option " + a), false;
        else if (options.folder.empty()) options.folder = a;
        else return exitCode = UsageError("more than one mail folder given"), false;
    }
    if (options.folder.empty()) return exitCode = UsageError("no mail folder given"), false;
    if (options.find && options.find->find_first_of("\r\n") != std::string::npos)
        return exitCode = UsageError("the search string must be one line"), false;
    if (options.settings.empty()) options.settings = DefaultSettingsPath();
    return true;
}

// Reports the run on standard output, with a progress line every 100 mails on long folders.
class Report final : public TExportEvents {
public:
    explicit Report(const TMailFolder& folder) : folder_(folder), total_(folder.Mails().size()) {}
    void OptionsRead(const ExportOptions& options) override
    {
        options_ = options;
        dialogDone_ = true;
    }
    void MailExamined(int count) override
    {
        if (total_ >= 200 && count % 100 == 0) g_console->out << "  ... " << count << " of " << total_ << " mails examined" << std::endl;
    }
    void SelectionDone(std::size_t selected) override { selected_ = selected; }
    void FileWritten(const std::string& mailId, const std::string& fileName) override
    {
        ++written_;
        g_console->out << "  " << FromCp932(mailId) << " -> " << ShownPath(fileName) << Subject(mailId) << std::endl;
    }

    // "  (Subject: ...)" from the mail's header, or nothing.
    std::string Subject(const std::string& mailId) const
    {
        for (const TMail& mail : folder_.Mails()) {
            if (mail.Id != mailId) continue;
            const std::string header = "\n" + TMailFolder::HeaderOf(mail.Source);
            const std::size_t at = header.find("\nSubject:");
            if (at == std::string::npos) return std::string();
            const std::size_t start = header.find_first_not_of(' ', at + 9);
            if (start == std::string::npos) return std::string();
            const std::size_t end = header.find_first_of("\r\n", start);
            return "  (" + FromCp932(header.substr(start, end == std::string::npos ? end : end - start)) + ")";
        }
        return std::string();
    }

    const TMailFolder& folder_;
    bool dialogDone_ = false;
    ExportOptions options_;
    std::size_t total_;
    std::size_t selected_ = 0;
    std::size_t written_ = 0;
};

std::string Describe(const ExportOptions& o)
{
    static const char* const where[] = {"header and body", "body", "header"};
    std::string text;
    text += o.UnreadOnly ? "unread only" : "read and unread";
    text += o.SelectedOnly ? ", selected only" : "";
    if (!o.FindStr.empty()) {
        text += std::string(", ") + (o.Regexp ? "expression" : "text") + " \"" + FromCp932(o.FindStr) + "\" in ";
        text += o.FindPos >= 0 && o.FindPos <= 2 ? where[o.FindPos] : "nothing";
        text += o.CaseSensitive ? " (case-sensitive)" : "";
    }
    text += o.MarkAsRead ? ", marking exported mails read" : "";
    return text;
}

int Run(const Options& options)
{
    TMailFolder folder(options.folder);
    TStandInHost host(folder);

    struct ModulesScope {
        explicit ModulesScope(qv::platform::ModuleServices& m) { qv::platform::SetModules(&m); }
        ~ModulesScope() { qv::platform::SetModules(nullptr); }
    } scope(host.Modules());

    int status = kOk;
    {
        CQuarvelAPI api;
        if (!api.BindHost()) {
            g_console->err << "qvexport: the stand-in host could not be bound\n";
            return kFailed;
        }

        THeadlessToolkit toolkit;
        toolkit.SetStopOnMessage(true);
        toolkit.SetProgressListener([](const std::string& text) { g_console->out << FromCp932(text) << std::endl; });
        toolkit.EnterValues([&](TFormExport& form) {
            if (options.dir) form.ComboBoxDir.Text = *options.dir;
            if (options.find) form.ComboBoxFindStr.Text = *options.find;
            if (options.findPos) form.RadioGroupFindPos.ItemIndex = *options.findPos;
            if (options.unreadOnly) form.CheckBoxCloseMailOnly.Checked = *options.unreadOnly;
            if (options.selectedOnly) form.CheckBoxSelectMail.Checked = *options.selectedOnly;
            if (options.markRead) form.CheckBoxMailOpen.Checked = *options.markRead;
            if (options.caseSensitive) form.CheckBoxUpperCase.Checked = *options.caseSensitive;
            if (options.regexp) form.CheckBoxRegexp.Checked = *options.regexp;
        });
        if (options.cancel) toolkit.PressCancel();
        else toolkit.PressOK();

        Report report(folder);
        TExportParam param(&api, options.settings.c_str(), toolkit);
        param.SetEvents(&report);
        g_console->out << "Folder " << FromCp932(folder.DisplayName()) << " (" << folder.Mails().size()
                  << " mails) in " << options.folder << "\n";
        param.Execute();

        if (!report.dialogDone_) {
            g_console->out << "The folder name is bracketed: the export command does nothing here.\n";
        } else if (!report.options_.OkPressed) {
            g_console->out << "Dialog cancelled: nothing exported.\n";
        } else {
            g_console->out << "Conditions: " << Describe(report.options_) << "\n";
            g_console->out << report.written_ << " of " << folder.Mails().size() << " mails exported to "
                      << ShownPath(report.options_.TargetDir) << " (settings: " << options.settings << ")\n";
        }
    }
    for (const std::string& problem : host.Problems()) {
        g_console->err << "qvexport: host fault: " << problem << "\n";
        status = kHostFault;
    }
    return status;
}

}  // namespace

int RunExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Console console{out, err};
    g_console = &console;
    struct Reset {
        ~Reset() { g_console = nullptr; }
    } reset;

    Options options;
    int exitCode = kOk;
    // --raw changes how the other arguments are read: look for it first.
    for (const std::string& arg : args) console.raw = console.raw || arg == "--raw";
    if (!ParseArguments(args, options, exitCode)) return exitCode;
    try {
        return Run(options);
    } catch (const THeadlessStop& stop) {
        err << "qvexport: " << FromCp932(stop.Message) << "\n";
    } catch (const std::exception& error) {
        err << "qvexport: " << FromCp932(error.what()) << "\n";
    }
    return kFailed;
}
