// One run of the export command: TExportParam reads the current folder's name, lets the user
// set the conditions in the export dialog, collects the mails that pass them and writes each
// one's source to the next free numbered .eml file in the chosen directory.
#pragma once

#include <string>
#include <vector>

class CQuarvelAPI;
class TToolkit;

// The values the export dialog yields.
struct ExportOptions {
    bool OkPressed = false;
    std::string TargetDir;  // ends in a backslash after OK
    bool UnreadOnly = false;
    bool MarkAsRead = false;
    bool SelectedOnly = false;
    std::string FindStr;  // trimmed; empty: no text condition
    int FindPos = 0;      // 0 header and body, 1 body only, 2 header only, -1 no text examined
    bool CaseSensitive = false;
    bool Regexp = false;
};

// Optional observer of a run (the command-line host reports through it). Every call happens on
// the run's thread; the default implementations do nothing.
class TExportEvents {
public:
    virtual ~TExportEvents() = default;
    // The options the dialog yielded (also when it was cancelled).
    virtual void OptionsRead(const ExportOptions&) {}
    // One more mail examined by the selection pass (1-based count).
    virtual void MailExamined(int /*count*/) {}
    // The selection pass has ended with `selected` mails.
    virtual void SelectionDone(std::size_t /*selected*/) {}
    // A mail's source was written to `fileName`.
    virtual void FileWritten(const std::string& /*mailId*/, const std::string& /*fileName*/) {}
};

class TExportParam {
public:
    // `api` is the bound host (not owned); `iniPath` the settings file (copied); `toolkit`
    // supplies the windows of the dialog and the progress window (not owned; the plug-in
    // passes its Win32 toolkit, tests and the command-line host a headless one).
    TExportParam(CQuarvelAPI* api, const char* iniPath, TToolkit& toolkit);

    // Performs one run. Catches nothing: an error (a file that cannot be created, a settings
    // file that cannot be read, a regular-expression failure) leaves it after every host string
    // has been given back and every window destroyed.
    void Execute();

    // The current folder's display name with spaces (0x20) trimmed at both ends.
    std::string FolderDisplayName() const;

    // The text condition. `text` may be null (empty text); `findStr` is not empty. Plain
    // search: case folded with AnsiUpperCase unless `caseSensitive`, found with AnsiPos.
    // Regular expression: not available in this build; raises qv::Exception.
    static bool MatchCondition(const char* text, const std::string& findStr, bool caseSensitive,
                               bool regexp);

    // The bracket rule: true when a trimmed folder name like [Name] ends the run at once.
    static bool IsBracketedName(const std::string& name);

    // Cuts `source` (up to its first zero byte) into lines at CR, LF or CR LF and returns every
    // line followed by CR LF.
    static std::string ToCrLfLines(const char* source);

    void SetEvents(TExportEvents* events) { events_ = events; }

    CQuarvelAPI* Api;
    std::string IniPath;

private:
    ExportOptions RunDialog(const std::string& folderName);
    std::vector<std::string> SelectMails(const ExportOptions& options);
    bool PassesTextCondition(const char* mailId, const ExportOptions& options);
    void WriteMails(const std::vector<std::string>& mailIds, const ExportOptions& options);

    TToolkit& toolkit_;
    TExportEvents* events_ = nullptr;
};
