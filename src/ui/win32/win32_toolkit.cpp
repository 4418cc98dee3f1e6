#include "ui/win32/win32_toolkit.h"

#include <objbase.h>
#include <shlobj.h>

#include "platform/platform.h"
#include "ui/win32/win32_common.h"
#include "ui/win32/win32_texts.h"

namespace qv::ui {

HINSTANCE ThisModule()
{
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

int ScaleToScreen(int pixels)
{
    static const int dpi = [] {
        HDC dc = ::GetDC(nullptr);
        const int value = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
        if (dc) ::ReleaseDC(nullptr, dc);
        return value > 0 ? value : 96;
    }();
    return ::MulDiv(pixels, dpi, 96);
}

TFormFont::TFormFont()
    : font_(::CreateFontA(-ScaleToScreen(12), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                          texts::kDialogFontFace))
{
}

TFormFont::~TFormFont()
{
    if (font_) ::DeleteObject(font_);
}

HWND CreateEmptyDialog(DWORD style, DWORD exStyle, HWND parent, DLGPROC proc, LPARAM param)
{
    // DLGTEMPLATE followed by empty menu, class and title arrays; no controls.
    struct alignas(4) Template {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
    } tmpl{};
    tmpl.dialog.style = style;
    tmpl.dialog.dwExtendedStyle = exStyle;
    return ::CreateDialogIndirectParamA(ThisModule(), &tmpl.dialog, parent, proc, param);
}

HWND CreateControl(HWND parent, const char* className, const char* text, DWORD style, int id, int left, int top,
                   int width, int height, HFONT font, DWORD exStyle)
{
    HWND control = ::CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, ScaleToScreen(left),
                                     ScaleToScreen(top), ScaleToScreen(width), ScaleToScreen(height), parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), nullptr);
    if (control && font) ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

void SetClientSize(HWND window, int width, int height, bool move, int left, int top)
{
    RECT rect{0, 0, width, height};
    ::AdjustWindowRectEx(&rect, static_cast<DWORD>(::GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrA(window, GWL_EXSTYLE)));
    ::SetWindowPos(window, nullptr, left, top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | (move ? 0 : SWP_NOMOVE));
}

void CenterOnScreen(HWND window)
{
    RECT rect;
    ::GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

struct DisableContext {
    HWND keep;
    std::vector<HWND>* disabled;
};

BOOL CALLBACK DisableOne(HWND window, LPARAM param)
{
    auto* context = reinterpret_cast<DisableContext*>(param);
    if (window != context->keep && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
        context->disabled->push_back(window);
        ::EnableWindow(window, FALSE);
    }
    return TRUE;
}

}  // namespace

TDisabledThreadWindows::TDisabledThreadWindows(HWND keep)
{
    DisableContext context{keep, &disabled_};
    ::EnumThreadWindows(::GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&context));
}

TDisabledThreadWindows::~TDisabledThreadWindows()
{
    for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it)
        if (::IsWindow(*it)) ::EnableWindow(*it, TRUE);
}

HWND TWin32Toolkit::MessageBoxOwner() const
{
    if (modalWindow_ && ::IsWindow(modalWindow_)) return modalWindow_;
    return ::GetActiveWindow();
}

void TWin32Toolkit::ShowWarning(const std::string& text)
{
    ::MessageBoxA(MessageBoxOwner(), text.c_str(), texts::kWarningCaption, MB_OK | MB_ICONWARNING);
}

void TWin32Toolkit::ShowError(const std::string& text)
{
    ::MessageBoxA(MessageBoxOwner(), text.c_str(), texts::kErrorCaption, MB_OK | MB_ICONERROR);
}

namespace {

// COM for the shell's browser, initialised for as long as the browser runs when the thread has
// not done it already.
class TComScope {
public:
    TComScope() : initialized_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~TComScope()
    {
        if (initialized_) ::CoUninitialize();
    }
    TComScope(const TComScope&) = delete;
    TComScope& operator=(const TComScope&) = delete;

private:
    bool initialized_;
};

}  // namespace

bool TWin32Toolkit::PickFolder(const std::string& title, std::string& path)
{
    TComScope com;
    IMalloc* malloc = nullptr;
    if (FAILED(::SHGetMalloc(&malloc)) || !malloc) return false;
    struct Release {
        IMalloc* m;
        ~Release() { m->Release(); }
    } releaseMalloc{malloc};

    char* buffer = static_cast<char*>(malloc->Alloc(MAX_PATH));
    if (!buffer) return false;
    struct FreeBuffer {
        IMalloc* m;
        char* p;
        ~FreeBuffer() { m->Free(p); }
    } freeBuffer{malloc, buffer};
    buffer[0] = '\0';

    BROWSEINFOA info{};
    info.hwndOwner = nullptr;  // no application window: the thread's windows are disabled instead
    info.pidlRoot = nullptr;
    info.pszDisplayName = buffer;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;

    LPITEMIDLIST item;
    {
        TDisabledThreadWindows disabled;
        item = ::SHBrowseForFolderA(&info);
    }
    if (!item) return false;
    const bool ok = ::SHGetPathFromIDListA(item, buffer) != FALSE;
    malloc->Free(item);
    if (!ok) return false;  // a folder without a file-system path: nothing chosen
    path = buffer;
    return true;
}

void TWin32Toolkit::ProcessMessages() { qv::platform::ProcessMessages(); }

}  // namespace qv::ui
