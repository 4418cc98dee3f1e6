#include "win_host.h"

#include <cstring>

#include "stand_in_host.h"

namespace {

const char kWindowClass[] = "QuarvelStandInHost";
// Sub-menu captions of the stand-in main window; the plug-in appends to the fifth.
const char* const kSubMenus[TWinHost::kSubMenuCount] = {"&File", "&Edit", "&View", "&Mail", "&Tools", "&Help"};

template <typename F>
F As(FARPROC address)
{
    F f;
    static_assert(sizeof f == sizeof address, "function pointer sizes differ");
    std::memcpy(&f, &address, sizeof f);
    return f;
}

}  // namespace

std::string ToWindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/') return path;
    std::string result = "Z:" + path;
    for (char& c : result)
        if (c == '/') c = '\\';
    return result;
}

TWinHost::TWinHost(TStandInHost& host) : host_(host) {}

TWinHost::~TWinHost()
{
    Unload();
    if (window_) ::DestroyWindow(window_);  // destroys the menu bar with it
    else if (menu_) ::DestroyMenu(menu_);
}

bool TWinHost::Load(const std::string& dllPath)
{
    Unload();
    module_ = ::LoadLibraryA(dllPath.c_str());
    loadError_ = module_ ? 0 : ::GetLastError();
    return module_ != nullptr;
}

void TWinHost::Unload()
{
    if (module_) ::FreeLibrary(module_);
    module_ = nullptr;
    commands_.clear();
}

FARPROC TWinHost::Callback(const char* name) const { return module_ ? ::GetProcAddress(module_, name) : nullptr; }

std::vector<unsigned char> TWinHost::DescriptionRecord(std::size_t size, unsigned char fill)
{
    std::vector<unsigned char> record(size, fill);
    if (auto info = As<int(WINAPI*)(char*)>(Callback("QVC_OnPlugInInfo")))
        info(reinterpret_cast<char*>(record.data()));
    return record;
}

HWND TWinHost::MainWindow()
{
    if (window_) return window_;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kWindowClass;
    ::RegisterClassA(&windowClass);  // fails harmlessly when already registered
    window_ = ::CreateWindowExA(0, kWindowClass, "Quarvel (stand-in host)", WS_OVERLAPPEDWINDOW, 40, 40, 640, 400,
                                nullptr, MenuBar(), ::GetModuleHandleA(nullptr), this);
    return window_;
}

HMENU TWinHost::MenuBar()
{
    if (menu_) return menu_;
    menu_ = ::CreateMenu();
    for (const char* caption : kSubMenus) {
        HMENU sub = ::CreatePopupMenu();
        ::AppendMenuA(sub, MF_STRING | MF_GRAYED, 1000, "(stand-in)");
        ::AppendMenuA(menu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), caption);
    }
    return menu_;
}

int TWinHost::MenuInit(int target)
{
    auto menuInit = As<int(WINAPI*)(INT_PTR, HMENU, int)>(Callback("QVC_OnMenuInit"));
    if (!menuInit) return -1;
    const std::size_t before = host_.RegisteredCommands.size();
    const int result = menuInit(0, MenuBar(), target);
    // The stand-in host numbers its commands 40001, 40002, ... in registration order.
    if (host_.RegisteredCommands.size() > before)
        commands_[40000u + static_cast<UINT>(host_.RegisteredCommands.size())] = host_.LastCommand;
    return result;
}

std::vector<TWinHost::TMenuEntry> TWinHost::SubMenuItems(int position)
{
    std::vector<TMenuEntry> items;
    HMENU sub = ::GetSubMenu(MenuBar(), position);
    const int count = sub ? ::GetMenuItemCount(sub) : 0;
    for (int i = 0; i < count; ++i) {
        char caption[256] = {};
        ::GetMenuStringA(sub, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
        items.push_back({::GetMenuItemID(sub, i), caption});
    }
    return items;
}

bool TWinHost::RunCommand(UINT id)
{
    if (!commands_.count(id)) return false;
    ::SendMessageA(MainWindow(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return true;
}

LRESULT CALLBACK TWinHost::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TWinHost*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_COMMAND && self && HIWORD(wParam) == 0) {
        const auto it = self->commands_.find(LOWORD(wParam));
        if (it != self->commands_.end() && it->second) {
            it->second(0, 0);
            return 0;
        }
    }
    if (message == WM_NCDESTROY && self) self->window_ = nullptr, self->menu_ = nullptr;
    return ::DefWindowProcA(window, message, wParam, lParam);
}
