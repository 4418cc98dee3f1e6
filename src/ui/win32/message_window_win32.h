// The Win32 progress window: a stay-on-top tool window whose client area always fits its one
// auto-sized label; its close box only hides it.
#pragma once

#include <windows.h>

#include <string>

#include "ui/toolkit.h"
#include "ui/win32/win32_common.h"

class TFormMessage;

namespace qv::ui {

class TWin32MessageWindow final : public TMessageView {
public:
    explicit TWin32MessageWindow(TFormMessage& form);
    ~TWin32MessageWindow() override;
    TWin32MessageWindow(const TWin32MessageWindow&) = delete;
    TWin32MessageWindow& operator=(const TWin32MessageWindow&) = delete;

    void Show() override;
    void SetText(const std::string& text) override;

private:
    static INT_PTR CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void FitToLabel(const std::string& text);

    TFormFont font_;
    HWND window_ = nullptr;
    HWND label_ = nullptr;
    bool placed_ = false;
};

}  // namespace qv::ui
