// The form toolkit as the portable form logic sees it. TFormExport and TFormMessage hold the
// state of their controls and run their handlers; a toolkit supplies the windows around that
// state: the Win32 one (ui/win32) shows real windows, the headless one (ui/headless) is a
// scripted stand-in for tests and the command-line host.
//
// Protocol between a form and its view:
//  - The form creates its view through the toolkit when it is shown, and destroys it with itself.
//  - Before the export dialog's modal loop the view fills its controls from the form's members
//    (captions, combo-box texts and lists, check boxes, radio index, active page).
//  - When the user clicks OK or the browse button, the view first copies every control's
//    current value into the form's members, then calls TFormExport::Click(...) on the form,
//    then refreshes its controls from the form's members (the handlers change texts).
//  - While a handler runs, the form may call back into the view: Close() to end the modal loop
//    (it ends when control returns to the loop), BringToFront(); and into the toolkit:
//    ShowWarning, PickFolder (both modal). Click() catches an error of a handler and shows its
//    message with ShowError, so views never see exceptions from form logic.
//  - When the modal loop ends (OK step, Cancel, Esc, close box), the view copies every control's
//    value into the form's members once more; the caller then reads them.
#pragma once

#include <memory>
#include <string>

class TFormExport;
class TFormMessage;

// The window of the export dialog.
class TExportDialogView {
public:
    virtual ~TExportDialogView() = default;
    // Shows the dialog modally (centred on the screen, first page active, focus on OK) and
    // returns when it is closed, following the protocol above.
    virtual void ShowModal() = 0;
    // Ends the modal loop once the running handler returns (the toolkit's close operation).
    virtual void Close() = 0;
    // Shows the dialog again and raises it above the other windows (after the folder browser).
    virtual void BringToFront() = 0;
};

// The progress window: a stay-on-top tool window with one auto-sized label.
class TMessageView {
public:
    virtual ~TMessageView() = default;  // destroys the window
    // Makes the window visible without a modal loop and brings it to the front.
    virtual void Show() = 0;
    // Sets the label's text; the label and the window's client area resize to it, keeping the
    // window's top-left corner. Does not dispatch messages (TFormMessage::SetMessage does).
    virtual void SetText(const std::string& text) = 0;
};

class TToolkit {
public:
    virtual ~TToolkit() = default;

    // Creates the export dialog's window for `form` (not yet shown). The view keeps a reference
    // to the form, which outlives it.
    virtual std::unique_ptr<TExportDialogView> CreateExportDialog(TFormExport& form) = 0;
    // Creates the progress window for `form` (not yet shown).
    virtual std::unique_ptr<TMessageView> CreateMessageWindow(TFormMessage& form) = 0;

    // Modal message box with the warning icon, caption "警告" and one OK button.
    virtual void ShowWarning(const std::string& text) = 0;
    // The toolkit's standard error box for an error that left an event handler.
    virtual void ShowError(const std::string& text) = 0;
    // The shell's folder browser with `title` above the tree, file-system folders only, every
    // other top-level window of the thread disabled meanwhile. True and the chosen path
    // (without a trailing backslash except for a drive root) when a folder was chosen.
    virtual bool PickFolder(const std::string& title, std::string& path) = 0;
    // Dispatches the thread's pending window messages until none is left.
    virtual void ProcessMessages() = 0;
};
