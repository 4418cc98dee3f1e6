// Helpers shared by the Win32 views: the forms' font, empty dialog windows built from an
// in-memory template (the controls are added in pixels), and the thread's window disabling.
#pragma once

#include <windows.h>

#include <vector>

namespace qv::ui {

// The forms' font: "ＭＳ Ｐゴシック", Shift-JIS character set, 12 pixels high at 96 dpi.
class TFormFont {
public:
    TFormFont();
    ~TFormFont();
    TFormFont(const TFormFont&) = delete;
    TFormFont& operator=(const TFormFont&) = delete;
    HFONT Handle() const { return font_; }

private:
    HFONT font_;
};

// Creates an empty dialog window (ANSI) with the given styles; its size is set by the caller.
HWND CreateEmptyDialog(DWORD style, DWORD exStyle, HWND parent, DLGPROC proc, LPARAM param);

// Creates a child control with its position and size given in 96-dpi pixels.
HWND CreateControl(HWND parent, const char* className, const char* text, DWORD style, int id, int left, int top,
                   int width, int height, HFONT font, DWORD exStyle = 0);

// Gives a top-level window the outer size whose client area is width x height device pixels.
void SetClientSize(HWND window, int width, int height, bool move, int left = 0, int top = 0);

// Centres a top-level window on the screen.
void CenterOnScreen(HWND window);

// Disables every visible, enabled top-level window of the calling thread except `keep`, and
// enables them again when it goes out of scope (the modal state of the toolkit's dialogs).
class TDisabledThreadWindows {
public:
    explicit TDisabledThreadWindows(HWND keep = nullptr);
    ~TDisabledThreadWindows();
    TDisabledThreadWindows(const TDisabledThreadWindows&) = delete;
    TDisabledThreadWindows& operator=(const TDisabledThreadWindows&) = delete;

private:
    std::vector<HWND> disabled_;
};

}  // namespace qv::ui
