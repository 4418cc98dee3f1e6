#include "ui/headless/headless_toolkit.h"

#include "ui/form_export.h"
#include "ui/form_message.h"

class THeadlessDialog final : public TExportDialogView {
public:
    THeadlessDialog(THeadlessToolkit& toolkit, TFormExport& form) : toolkit_(toolkit), form_(form) {}

    void ShowModal() override
    {
        THeadlessDialogSnapshot shot;
        shot.Caption = form_.Caption;
        shot.ActivePage = form_.PageControl1.ActivePageIndex;
        shot.DirText = form_.ComboBoxDir.Text;
        shot.DirItems = form_.ComboBoxDir.Items;
        shot.FindText = form_.ComboBoxFindStr.Text;
        shot.FindItems = form_.ComboBoxFindStr.Items;
        shot.CloseMailOnly = form_.CheckBoxCloseMailOnly.Checked;
        shot.MailOpen = form_.CheckBoxMailOpen.Checked;
        shot.SelectMail = form_.CheckBoxSelectMail.Checked;
        shot.FindPos = form_.RadioGroupFindPos.ItemIndex;
        shot.UpperCase = form_.CheckBoxUpperCase.Checked;
        shot.Regexp = form_.CheckBoxRegexp.Checked;
        toolkit_.DialogsShown.push_back(shot);

        closed_ = false;
        while (!closed_ && !toolkit_.steps_.empty()) {
            THeadlessToolkit::Step step = std::move(toolkit_.steps_.front());
            toolkit_.steps_.pop_front();
            switch (step.kind) {
            case THeadlessToolkit::Step::Kind::Edit: step.edit(form_); break;
            case THeadlessToolkit::Step::Kind::OK: form_.Click(TFormExport::Button::OK); break;
            case THeadlessToolkit::Step::Kind::Browse: form_.Click(TFormExport::Button::Browse); break;
            case THeadlessToolkit::Step::Kind::Cancel: closed_ = true; break;
            }
        }
    }
    void Close() override { closed_ = true; }
    void BringToFront() override { ++toolkit_.BringToFrontCalls; }

private:
    THeadlessToolkit& toolkit_;
    TFormExport& form_;
    bool closed_ = false;
};

class THeadlessMessageWindow final : public TMessageView {
public:
    explicit THeadlessMessageWindow(THeadlessToolkit& toolkit) : toolkit_(toolkit)
    {
        ++toolkit_.MessageWindowsCreated;
        ++toolkit_.MessageWindowsAlive;
    }
    ~THeadlessMessageWindow() override { --toolkit_.MessageWindowsAlive; }
    void Show() override { ++toolkit_.MessageWindowsShown; }
    void SetText(const std::string& text) override
    {
        toolkit_.ProgressTexts.push_back(text);
        if (toolkit_.progressListener_) toolkit_.progressListener_(text);
    }

private:
    THeadlessToolkit& toolkit_;
};

void THeadlessToolkit::EnterValues(Edit edit) { steps_.push_back(Step{Step::Kind::Edit, std::move(edit)}); }
void THeadlessToolkit::PressOK() { steps_.push_back(Step{Step::Kind::OK, {}}); }
void THeadlessToolkit::PressBrowse() { steps_.push_back(Step{Step::Kind::Browse, {}}); }
void THeadlessToolkit::PressCancel() { steps_.push_back(Step{Step::Kind::Cancel, {}}); }
void THeadlessToolkit::QueueFolderChoice(std::optional<std::string> path) { folderChoices_.push_back(std::move(path)); }

std::unique_ptr<TExportDialogView> THeadlessToolkit::CreateExportDialog(TFormExport& form)
{
    return std::make_unique<THeadlessDialog>(*this, form);
}

std::unique_ptr<TMessageView> THeadlessToolkit::CreateMessageWindow(TFormMessage&)
{
    return std::make_unique<THeadlessMessageWindow>(*this);
}

void THeadlessToolkit::ShowWarning(const std::string& text)
{
    if (stopOnMessage_) throw THeadlessStop{text};
    Warnings.push_back(text);
}

void THeadlessToolkit::ShowError(const std::string& text)
{
    if (stopOnMessage_) throw THeadlessStop{text};
    Errors.push_back(text);
}

bool THeadlessToolkit::PickFolder(const std::string& title, std::string& path)
{
    FolderBrowserTitles.push_back(title);
    if (folderChoices_.empty()) return false;
    std::optional<std::string> choice = std::move(folderChoices_.front());
    folderChoices_.pop_front();
    if (!choice) return false;
    path = *choice;
    return true;
}

void THeadlessToolkit::ProcessMessages() { ++ProcessMessagesCalls; }
