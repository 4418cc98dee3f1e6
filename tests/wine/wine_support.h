// Helpers of the Wine tests: temporary folders and files, the plug-in's path, and a driver that
// finds the program's windows and works them through window messages from a second thread
// while the user-interface thread runs a modal loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace qvtest {

// The plug-in DLL built alongside the tests (first command-line argument).
const std::string& PluginPath();
void SetPluginPath(const std::string& path);

// A fresh folder under the temporary directory, removed with everything in it at the end.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

void WriteFile(const std::string& path, const std::string& bytes);
// The file's bytes; empty when it cannot be read.
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
// File names in a folder, sorted.
std::vector<std::string> ListDir(const std::string& dir);

std::string WindowText(HWND window);
std::string ClassName(HWND window);

// Top-level windows of this process, visible ones only.
std::vector<HWND> TopLevelWindows();
// Waits up to `timeoutMs` for a visible top-level window of this process that satisfies `match`.
HWND WaitForWindow(const std::function<bool(HWND)>& match, int timeoutMs = 15000);
// Waits until `done` holds (polled), up to `timeoutMs`; returns whether it did.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 15000);
// The descendant of `root` with this control identifier, or null.
HWND FindControl(HWND root, int id);
// A descendant of `root` of class `className` whose text contains `text`, or null.
HWND FindChildWithText(HWND root, const char* className, const std::string& text);
// The window that has the keyboard focus in the thread owning `window`.
HWND FocusOf(HWND window);

// A message box of the thread's (class #32770) with this caption.
HWND WaitForMessageBox(const std::string& caption, int timeoutMs = 15000);
// The text of a message box (its static text control).
std::string MessageBoxText(HWND box);

// Runs a script on a second thread; problems it finds are collected, not thrown.
class TDriver {
public:
    explicit TDriver(std::function<void(TDriver&)> script);
    ~TDriver();
    TDriver(const TDriver&) = delete;
    TDriver& operator=(const TDriver&) = delete;
    // Records a problem when `condition` is false; returns `condition`.
    bool Check(bool condition, const std::string& what);
    void Join();
    const std::vector<std::string>& Problems() const { return problems_; }
    std::string Report() const;

private:
    std::vector<std::string> problems_;
    std::thread thread_;
};

}  // namespace qvtest
