// The stand-in Quarvel host as a Windows program: loads the plug-in DLL with LoadLibraryA (its
// QVA_ functions are exported by this executable, where the plug-in looks them up), hands it a
// description record, builds a main window with a menu bar of six sub-menus, lets the plug-in
// add its menu item and runs the command a user chooses from that menu.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "export/quarvel_api.h"

class TStandInHost;

class TWinHost {
public:
    static constexpr int kSubMenuCount = 6;

    // Serves the plug-in through `host` (not owned; it must outlive this object).
    explicit TWinHost(TStandInHost& host);
    ~TWinHost();
    TWinHost(const TWinHost&) = delete;
    TWinHost& operator=(const TWinHost&) = delete;

    // LoadLibraryA; false (and the system's error code in LoadError) when the plug-in refused
    // the load or could not be loaded.
    bool Load(const std::string& dllPath);
    void Unload();
    HMODULE Module() const { return module_; }
    DWORD LoadError() const { return loadError_; }

    // An exported callback of the plug-in, or null.
    FARPROC Callback(const char* name) const;

    // Calls QVC_OnPlugInInfo on a record of `size` bytes, each set to `fill` beforehand.
    std::vector<unsigned char> DescriptionRecord(std::size_t size = 512, unsigned char fill = 0xCC);

    // The main window with its menu bar, created on first use (not shown).
    HWND MainWindow();
    HMENU MenuBar();
    // Calls QVC_OnMenuInit with the menu bar and `target`; returns the callback's result.
    int MenuInit(int target);

    struct TMenuEntry {
        UINT Id;
        std::string Caption;
    };
    std::vector<TMenuEntry> SubMenuItems(int position);

    // Chooses the menu command `id` as a user would: WM_COMMAND to the main window, which calls
    // the callback the plug-in registered for it. False when no command has that id.
    bool RunCommand(UINT id);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    TStandInHost& host_;
    HMODULE module_ = nullptr;
    DWORD loadError_ = 0;
    HWND window_ = nullptr;
    HMENU menu_ = nullptr;
    std::map<UINT, TQVCommandProc> commands_;
};

// A Unix path as Wine passes it on the command line becomes the same file's Windows path.
std::string ToWindowsPath(const std::string& path);
