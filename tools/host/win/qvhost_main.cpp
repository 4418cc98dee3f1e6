// qvhost: the stand-in Quarvel host as a Windows program. Loads the plug-in, shows what it
// put into the description record and the menu, and runs its command on a mail folder.
//
//   qvhost [--version V] [--record] [--run] [--show] [--interactive] PLUGIN.dll MAIL_FOLDER
//
// Prints "load: ok" or "load: refused"; --record prints the record's four fields; the menu
// item the plug-in appended to the fifth sub-menu is printed as "menu: <id> <caption>";
// --run chooses that item and then reports host strings not given back; --interactive shows
// the main window until it is closed, so that the item can be chosen from the menu by hand.
// Exit code 0 when everything went as asked, 2 when the load was refused, 1 on any other failure.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "mail_folder.h"
#include "platform/platform.h"
#include "stand_in_host.h"
#include "win_host.h"

namespace {

std::string Field(const std::vector<unsigned char>& record, std::size_t offset)
{
    std::string text;
    for (std::size_t i = offset; i < record.size() && record[i]; ++i) text += static_cast<char>(record[i]);
    return text;
}

int Usage()
{
    std::fputs("usage: qvhost [--version V] [--record] [--run] [--show] [--interactive] PLUGIN.dll MAIL_FOLDER\n",
               stderr);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string version = "2.00.06";
    bool record = false, run = false, show = false, interactive = false;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--version" && i + 1 < argc) version = argv[++i];
        else if (arg == "--record") record = true;
        else if (arg == "--run") run = true;
        else if (arg == "--show") show = true;
        else if (arg == "--interactive") interactive = true;
        else if (arg.size() > 1 && arg[0] == '-') return Usage();
        else positional.push_back(ToWindowsPath(arg));
    }
    if (positional.size() != 2) return Usage();

    try {
        TMailFolder folder(positional[1]);
        TStandInHost host(folder);
        host.SetVersion(version);
        TWinHost win(host);
        if (!win.Load(positional[0])) {
            std::printf("load: refused (error %lu)\n", static_cast<unsigned long>(win.LoadError()));
            return 2;
        }
        std::printf("load: ok\n");
        if (record) {
            const std::vector<unsigned char> info = win.DescriptionRecord();
            std::printf("name: %s\nvendor: %s\nversion: %s\ndescription: %s\n", Field(info, 0).c_str(),
                        Field(info, 80).c_str(), Field(info, 160).c_str(), Field(info, 240).c_str());
        }
        win.MenuInit(0);
        const std::vector<TWinHost::TMenuEntry> items = win.SubMenuItems(4);
        const TWinHost::TMenuEntry* added = items.size() > 1 ? &items.back() : nullptr;
        if (added) std::printf("menu: %u %s\n", added->Id, added->Caption.c_str());
        else std::printf("menu: none\n");
        std::fflush(stdout);
        if (interactive) {
            HWND window = win.MainWindow();
            ::ShowWindow(window, SW_SHOW);
            MSG msg;
            while (::IsWindow(window) && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        if (run) {
            if (show) ::ShowWindow(win.MainWindow(), SW_SHOWNOACTIVATE);
            if (!added || !win.RunCommand(added->Id)) {
                std::printf("run: no command\n");
                return 1;
            }
            const std::vector<std::string> problems = host.Problems();
            for (const std::string& problem : problems) std::printf("problem: %s\n", problem.c_str());
            std::printf("run: done, %zu problem(s)\n", problems.size());
            return problems.empty() ? 0 : 1;
        }
        const std::vector<std::string> problems = host.Problems();
        for (const std::string& problem : problems) std::printf("problem: %s\n", problem.c_str());
        return problems.empty() ? 0 : 1;
    } catch (const std::exception& e) {
        std::printf("error: %s\n", e.what());
        return 1;
    }
}
