// The Win32 form toolkit: real windows for the export dialog and the progress window, the
// message boxes and the shell's folder browser, used by the plug-in DLL.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/toolkit.h"

namespace qv::ui {

class TWin32Toolkit final : public TToolkit {
public:
    TWin32Toolkit() = default;

    std::unique_ptr<TExportDialogView> CreateExportDialog(TFormExport& form) override;
    std::unique_ptr<TMessageView> CreateMessageWindow(TFormMessage& form) override;
    void ShowWarning(const std::string& text) override;
    void ShowError(const std::string& text) override;
    bool PickFolder(const std::string& title, std::string& path) override;
    void ProcessMessages() override;

    // The window a message box opened now belongs to: the modal dialog while it runs.
    void SetModalWindow(HWND window) { modalWindow_ = window; }

private:
    HWND MessageBoxOwner() const;

    HWND modalWindow_ = nullptr;
};

// The module holding this code: the instance of the windows it creates.
HINSTANCE ThisModule();

// Pixels at 96 dots per inch scaled to the screen's resolution.
int ScaleToScreen(int pixels);

}  // namespace qv::ui
