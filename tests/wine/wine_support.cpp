#include "wine_support.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>

namespace qvtest {
namespace {

std::string g_pluginPath;
std::mutex g_problemsMutex;

void RemoveTree(const std::string& dir)
{
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((dir + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = dir + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else {
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(dir.c_str());
}

}  // namespace

const std::string& PluginPath() { return g_pluginPath; }
void SetPluginPath(const std::string& path) { g_pluginPath = path; }

TTempDir::TTempDir()
{
    static std::atomic<int> counter{0};
    char base[MAX_PATH] = {};
    ::GetTempPathA(sizeof base, base);
    std::string dir = base;
    if (!dir.empty() && dir.back() == '\\') dir.pop_back();
    path_ = dir + "\\qvtest-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter++);
    RemoveTree(path_);
    ::CreateDirectoryA(path_.c_str(), nullptr);
}

TTempDir::~TTempDir() { RemoveTree(path_); }

void WriteFile(const std::string& path, const std::string& bytes)
{
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(h);
}

std::string ReadFile(const std::string& path)
{
    std::string bytes;
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return bytes;
    char buffer[4096];
    DWORD n = 0;
    while (::ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
    ::CloseHandle(h);
    return bytes;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> ListDir(const std::string& dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((dir + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string WindowText(HWND window)
{
    char text[1024] = {};
    // WM_GETTEXT works across threads, unlike GetWindowText on another thread's control.
    ::SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string ClassName(HWND window)
{
    char name[256] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

namespace {

// Enumeration callbacks (the system calls them with its own convention, which a lambda cannot
// take on 32-bit Windows).
BOOL CALLBACK CollectVisibleOfThisProcess(HWND window, LPARAM param)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

struct IdSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchId(HWND window, LPARAM param)
{
    auto* s = reinterpret_cast<IdSearch*>(param);
    if (::GetDlgCtrlID(window) != s->id) return TRUE;
    s->found = window;
    return FALSE;
}

struct TextSearch {
    const char* className;
    const std::string* text;
    HWND found;
};

BOOL CALLBACK MatchText(HWND window, LPARAM param)
{
    auto* s = reinterpret_cast<TextSearch*>(param);
    if (_stricmp(ClassName(window).c_str(), s->className) != 0 ||
        WindowText(window).find(*s->text) == std::string::npos)
        return TRUE;
    s->found = window;
    return FALSE;
}

// The longest static text: a message box's message (its icon is a static without text).
BOOL CALLBACK LongestStatic(HWND window, LPARAM param)
{
    auto* best = reinterpret_cast<std::string*>(param);
    if (_stricmp(ClassName(window).c_str(), "Static") == 0) {
        const std::string text = WindowText(window);
        if (text.size() > best->size()) *best = text;
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows()
{
    std::vector<HWND> windows;
    ::EnumWindows(CollectVisibleOfThisProcess, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        ::Sleep(20);
    }
    return true;
}

HWND WaitForWindow(const std::function<bool(HWND)>& match, int timeoutMs)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows())
                if (match(window)) {
                    found = window;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

HWND FindControl(HWND root, int id)
{
    IdSearch search{id, nullptr};
    ::EnumChildWindows(root, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindChildWithText(HWND root, const char* className, const std::string& text)
{
    TextSearch search{className, &text, nullptr};
    ::EnumChildWindows(root, MatchText, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

HWND WaitForMessageBox(const std::string& caption, int timeoutMs)
{
    return WaitForWindow(
        [&](HWND window) {
            return ClassName(window) == "#32770" && WindowText(window) == caption;
        },
        timeoutMs);
}

std::string MessageBoxText(HWND box)
{
    std::string longest;
    ::EnumChildWindows(box, LongestStatic, reinterpret_cast<LPARAM>(&longest));
    return longest;
}

TDriver::TDriver(std::function<void(TDriver&)> script)
    : thread_([this, script = std::move(script)] { script(*this); })
{
}

TDriver::~TDriver() { Join(); }

void TDriver::Join()
{
    if (thread_.joinable()) thread_.join();
}

bool TDriver::Check(bool condition, const std::string& what)
{
    if (!condition) {
        std::lock_guard<std::mutex> lock(g_problemsMutex);
        problems_.push_back(what);
    }
    return condition;
}

std::string TDriver::Report() const
{
    std::string text;
    for (const std::string& problem : problems_) text += "  " + problem + "\n";
    return text;
}

}  // namespace qvtest
