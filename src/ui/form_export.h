// TFormExport: the export dialog as portable logic. It holds the state of the controls the
// export run reads, the OK step (directory test, trailing backslash, saving the histories and
// the State section) and the browse step, and loads its settings from the settings file.
// The window itself is a TExportDialogView supplied by a TToolkit (toolkit.h).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/controls.h"

class TToolkit;
class TExportDialogView;

// True only when `path` names an existing directory (the OK step's test); relative paths
// resolve against the current directory.
bool IsDirectoryExists(const std::string& path);

class TFormExport {
public:
    // Builds the form without an owner: captions and items from the form's resource, the
    // first page active, IniFileName empty, OkPressed false.
    explicit TFormExport(TToolkit& toolkit);
    ~TFormExport();
    TFormExport(const TFormExport&) = delete;
    TFormExport& operator=(const TFormExport&) = delete;

    // Fills the controls from the settings file at `iniPath` and remembers the path.
    // Throws qv::EInOutError when the file exists but cannot be read.
    void LoadSettings(const std::string& iniPath);
    // Appends the history stored in `section` to `entries` (no trimming, no duplicate check).
    void LoadHistory(std::vector<std::string>& entries, const std::string& section);
    // Merges `text` into a copy of `entries` (first case-insensitive match removed, text put on
    // top, at most ten kept) and writes it to `section`. An empty text writes nothing.
    void SaveHistory(const std::string& text, const std::vector<std::string>& entries,
                     const std::string& section);
    // Writes the check boxes and the radio index to section State.
    void SaveState();

    // Runs the dialog modally through the toolkit; returns when it is closed. The caller reads
    // OkPressed, not a modal result.
    void ShowModal();
    // The toolkit's close operation: ends the modal loop (used by the OK step).
    void Close();

    enum class Button { OK, Browse };
    // Entry point for views: runs the click handler of `button`; an error leaving the handler
    // is shown with the toolkit's error box and the dialog stays open.
    void Click(Button button);

    // Event handlers (published names).
    void BtnOKClick();
    void BtnDirClick();

    // The window caption; the export run appends the folder's display name.
    std::string Caption;

    // Components, in declaration order (labels and buttons carry their captions for the view).
    TButton BitBtn1;  // Cancel
    TButton BtnOK;
    TPageControl PageControl1;  // pages: TabSheet1 "エクスポート(&1)", TabSheet2 "条件指定(&2)"
    TLabel LabelDir;
    TComboBox ComboBoxDir;
    TCheckBox CheckBoxCloseMailOnly;  // unread mails only
    TCheckBox CheckBoxMailOpen;       // mark exported mails as read
    TCheckBox CheckBoxSelectMail;     // selected mails only
    TButton BtnDir;                   // browse
    TLabel Label1;
    TComboBox ComboBoxFindStr;
    TRadioGroup RadioGroupFindPos;  // 0 body and header, 1 body only, 2 header only
    TCheckBox CheckBoxUpperCase;    // case-sensitive search
    TCheckBox CheckBoxRegexp;       // regular expression

    // True once an OK step has passed the directory test and saved the settings.
    bool OkPressed = false;
    // Full path of the settings file, set by LoadSettings.
    std::string IniFileName;

private:
    TToolkit& toolkit_;
    TExportDialogView* view_ = nullptr;  // the window while the modal loop runs
};
