#include "ui/win32/message_window_win32.h"

#include "ui/form_message.h"
#include "ui/win32/win32_control_ids.h"
#include "ui/win32/win32_toolkit.h"

namespace qv::ui {

TWin32MessageWindow::TWin32MessageWindow(TFormMessage& form)
{
    window_ = CreateEmptyDialog(WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, nullptr,
                                WindowProc, 0);
    if (!window_) return;
    ::SetWindowTextA(window_, form.Caption.c_str());
    label_ = CreateControl(window_, "STATIC", "", SS_LEFT, ids::LabelMessage, 0, 0, 72, 12, font_.Handle());
    SetText(form.LabelMessage.Caption);
}

TWin32MessageWindow::~TWin32MessageWindow()
{
    if (window_) ::DestroyWindow(window_);
}

void TWin32MessageWindow::FitToLabel(const std::string& text)
{
    // The label's own auto-size: one line, exactly as wide and high as its text.
    HDC dc = ::GetDC(label_);
    HGDIOBJ old = ::SelectObject(dc, font_.Handle());
    RECT rect{0, 0, 0, 0};
    ::DrawTextA(dc, text.empty() ? " " : text.c_str(), -1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_LEFT);
    ::SelectObject(dc, old);
    ::ReleaseDC(label_, dc);
    const int width = text.empty() ? 0 : rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    ::SetWindowPos(label_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // The window's client area follows around its fixed top-left corner.
    SetClientSize(window_, width, height, false);
}

void TWin32MessageWindow::Show()
{
    if (!window_) return;
    if (!placed_) {
        CenterOnScreen(window_);
        placed_ = true;
    }
    ::ShowWindow(window_, SW_SHOW);
    ::SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TWin32MessageWindow::SetText(const std::string& text)
{
    if (!window_) return;
    ::SetWindowTextA(label_, text.c_str());
    FitToLabel(text);
    ::InvalidateRect(window_, nullptr, TRUE);
}

INT_PTR CALLBACK TWin32MessageWindow::WindowProc(HWND window, UINT message, WPARAM, LPARAM)
{
    if (message == WM_CLOSE) {
        // The close box only hides the window; the run goes on and destroys it as usual.
        ::ShowWindow(window, SW_HIDE);
        return TRUE;
    }
    return FALSE;
}

std::unique_ptr<TMessageView> TWin32Toolkit::CreateMessageWindow(TFormMessage& form)
{
    return std::make_unique<TWin32MessageWindow>(form);
}

}  // namespace qv::ui
