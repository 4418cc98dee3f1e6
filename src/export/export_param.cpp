#include "export/export_param.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

#include "export/export_messages.h"
#include "export/quarvel_api.h"
#include "platform/platform.h"
#include "platform/strutil.h"
#include "ui/form_export.h"
#include "ui/form_message.h"

namespace {

// A string the host allocated: given back through QVA_Free exactly once, on every path.
class HostString {
public:
    HostString(const CQuarvelAPI& api, char* text) : api_(api), text_(text) {}
    ~HostString() { Release(); }
    HostString(const HostString&) = delete;
    HostString& operator=(const HostString&) = delete;

    const char* get() const { return text_; }
    explicit operator bool() const { return text_ != nullptr; }
    void Release()
    {
        if (text_) {
            char* text = text_;
            text_ = nullptr;
            api_.QVA_Free(text);
        }
    }

private:
    const CQuarvelAPI& api_;
    char* text_;
};

constexpr int kIdSize = 256;
constexpr int kTypeSize = 80;

}  // namespace

TExportParam::TExportParam(CQuarvelAPI* api, const char* iniPath, TToolkit& toolkit)
    : Api(api), IniPath(iniPath ? iniPath : ""), toolkit_(toolkit)
{
}

std::string TExportParam::FolderDisplayName() const
{
    const char* folder = Api->QVA_GetCurrentFolder();
    const char* name = Api->QVA_GetFolderDisplayName(folder);
    return qv::TrimSpaces(name ? name : "");
}

bool TExportParam::IsBracketedName(const std::string& name)
{
    if (name.empty() || name.back() != ']') return false;
    const std::string inner = name.size() >= 2 ? name.substr(1, name.size() - 2) : std::string();
    return inner.find(']') == std::string::npos;
}

bool TExportParam::MatchCondition(const char* text, const std::string& findStr, bool caseSensitive,
                                  bool regexp)
{
    if (regexp) throw qv::Exception(qv::export_texts::RegexpUnavailable());
    std::string haystack = text ? text : "";
    std::string needle = findStr;
    if (!caseSensitive) {
        haystack = qv::platform::AnsiUpperCase(haystack);
        needle = qv::platform::AnsiUpperCase(needle);
    }
    return qv::AnsiPos(needle, haystack) > 0;
}

std::string TExportParam::ToCrLfLines(const char* source)
{
    std::string out;
    if (!source) return out;
    const char* p = source;
    while (*p) {
        const char* start = p;
        while (*p && *p != '\r' && *p != '\n') ++p;
        out.append(start, p);
        out += "\r\n";
        if (*p == '\r') {
            ++p;
            if (*p == '\n') ++p;
        } else if (*p == '\n') {
            ++p;
        }
    }
    return out;
}

void TExportParam::Execute()
{
    const std::string name = FolderDisplayName();
    if (IsBracketedName(name)) return;

    const ExportOptions options = RunDialog(name);
    if (events_) events_->OptionsRead(options);
    if (!options.OkPressed) return;

    TFormMessage progress(toolkit_);
    progress.Show();
    progress.SetMessage(qv::export_texts::CollectingMails());
    const std::vector<std::string> mailIds = SelectMails(options);
    if (events_) events_->SelectionDone(mailIds.size());
    progress.SetMessage(qv::export_texts::ExportingMails());
    WriteMails(mailIds, options);
}

ExportOptions TExportParam::RunDialog(const std::string& folderName)
{
    TFormExport form(toolkit_);
    form.Caption = form.Caption + folderName;
    form.LoadSettings(IniPath);
    form.ShowModal();

    ExportOptions options;
    options.OkPressed = form.OkPressed;
    options.TargetDir = form.ComboBoxDir.Text;
    options.UnreadOnly = form.CheckBoxCloseMailOnly.Checked;
    options.MarkAsRead = form.CheckBoxMailOpen.Checked;
    options.SelectedOnly = form.CheckBoxSelectMail.Checked;
    options.CaseSensitive = form.CheckBoxUpperCase.Checked;
    options.Regexp = form.CheckBoxRegexp.Checked;
    options.FindStr = qv::Trim(form.ComboBoxFindStr.Text);
    options.FindPos = form.RadioGroupFindPos.ItemIndex;
    return options;
}

bool TExportParam::PassesTextCondition(const char* mailId, const ExportOptions& options)
{
    const int pos = options.FindPos;
    bool matched = false;
    if (pos == 0 || pos == 1) {
        Api->QVA_SetCurrentMail(mailId);
        char type[kTypeSize] = {};
        HostString text(*Api, Api->QVA_GetText(type, kTypeSize));
        matched = MatchCondition(text.get(), options.FindStr, options.CaseSensitive, options.Regexp);
    }
    if ((pos == 0 || pos == 2) && !matched) {
        HostString header(*Api, Api->QVA_GetHeader(mailId));
        matched = MatchCondition(header.get(), options.FindStr, options.CaseSensitive, options.Regexp);
    }
    return matched;
}

std::vector<std::string> TExportParam::SelectMails(const ExportOptions& options)
{
    std::vector<std::string> mailIds;
    char id[kIdSize] = {};
    int start = -1;
    int examined = 0;
    for (;;) {
        const int next = Api->QVA_GetNextMail(start, id, kIdSize, options.SelectedOnly ? 1 : 0);
        id[kIdSize - 1] = '\0';  // a host that fills the whole buffer still yields a terminated id
        if (events_) events_->MailExamined(++examined);

        bool pass = true;
        const int status = Api->QVA_GetStatus(id);
        if (options.UnreadOnly && (status & 1)) pass = false;
        if (pass && !options.FindStr.empty()) pass = PassesTextCondition(id, options);
        if (pass) {
            HostString source(*Api, Api->QVA_GetSource(id));
            if (source) mailIds.emplace_back(id);
        }
        if (next == -1) break;
        start = next;
    }
    return mailIds;
}

void TExportParam::WriteMails(const std::vector<std::string>& mailIds, const ExportOptions& options)
{
    int fileCounter = 0;
    char id[kIdSize];
    for (const std::string& mailId : mailIds) {
        const std::size_t length = std::min(mailId.size(), static_cast<std::size_t>(kIdSize - 1));
        std::memcpy(id, mailId.data(), length);
        id[length] = '\0';

        HostString source(*Api, Api->QVA_GetSource(id));
        if (!source) continue;

        // The lowest free number above the last one; a name that appears between the test and
        // the exclusive creation is skipped like one that existed before.
        std::unique_ptr<qv::platform::NewFile> file;
        std::string fileName;
        while (!file) {
            if (fileCounter == INT_MAX) throw qv::EFCreateError(qv::export_texts::TooManyFiles(options.TargetDir));
            ++fileCounter;
            fileName = options.TargetDir + std::to_string(fileCounter) + ".eml";
            if (qv::platform::FileExists(fileName)) continue;
            file = qv::platform::NewFile::Create(fileName);
        }
        file->Write(ToCrLfLines(source.get()));
        file->Commit();
        source.Release();

        if (options.MarkAsRead && Api->QVA_SetStatus) Api->QVA_SetStatus(id, 1, 0);
        if (events_) events_->FileWritten(mailId, fileName);
    }
}
