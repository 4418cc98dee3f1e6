// A scripted stand-in for the form toolkit: the test or the command-line host queues the values
// a user would enter and the buttons they would press; the same form logic runs, and every
// message box, folder browser call and progress text is recorded instead of shown.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/toolkit.h"

// Thrown by a toolkit set to stop on messages, when a warning or error box would appear: the
// scripted user cannot answer it, so the command ends with the box's text. Deliberately not a
// std::exception, so that the form's own error handling does not swallow it.
struct THeadlessStop {
    std::string Message;
};

// What the export dialog showed when its modal loop started.
struct THeadlessDialogSnapshot {
    std::string Caption;
    int ActivePage = 0;
    std::string DirText;
    std::vector<std::string> DirItems;
    std::string FindText;
    std::vector<std::string> FindItems;
    bool CloseMailOnly = false, MailOpen = false, SelectMail = false, UpperCase = false, Regexp = false;
    int FindPos = 0;
};

class THeadlessToolkit : public TToolkit {
public:
    using Edit = std::function<void(TFormExport&)>;

    // ---- The script, consumed in order across dialogs. When a dialog's modal loop finds no
    // step left, the user closes it with the close box (same as Cancel).
    void EnterValues(Edit edit);  // change controls, as typing and clicking would
    void PressOK();
    void PressBrowse();
    void PressCancel();
    // The next answer of the folder browser: a path, or nullopt for Cancel. With no answer
    // queued the browser is cancelled.
    void QueueFolderChoice(std::optional<std::string> path);
    // Throw THeadlessStop instead of recording a warning or error box.
    void SetStopOnMessage(bool stop) { stopOnMessage_ = stop; }
    // Called with every text the progress window is given (the command-line host prints it).
    void SetProgressListener(std::function<void(const std::string&)> listener) { progressListener_ = std::move(listener); }

    // ---- What happened.
    std::vector<THeadlessDialogSnapshot> DialogsShown;
    std::vector<std::string> Warnings;
    std::vector<std::string> Errors;
    std::vector<std::string> FolderBrowserTitles;
    std::vector<std::string> ProgressTexts;  // texts set on progress windows, in order
    int BringToFrontCalls = 0;
    int ProcessMessagesCalls = 0;
    int MessageWindowsCreated = 0;
    int MessageWindowsAlive = 0;
    int MessageWindowsShown = 0;
    bool StepsLeft() const { return !steps_.empty(); }

    // ---- TToolkit
    std::unique_ptr<TExportDialogView> CreateExportDialog(TFormExport& form) override;
    std::unique_ptr<TMessageView> CreateMessageWindow(TFormMessage& form) override;
    void ShowWarning(const std::string& text) override;
    void ShowError(const std::string& text) override;
    bool PickFolder(const std::string& title, std::string& path) override;
    void ProcessMessages() override;

private:
    friend class THeadlessDialog;
    friend class THeadlessMessageWindow;

    struct Step {
        enum class Kind { Edit, OK, Browse, Cancel } kind;
        Edit edit;
    };
    std::deque<Step> steps_;
    std::deque<std::optional<std::string>> folderChoices_;
    bool stopOnMessage_ = false;
    std::function<void(const std::string&)> progressListener_;
};
