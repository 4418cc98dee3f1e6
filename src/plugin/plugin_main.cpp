// The DLL entry point and the QVC_ callbacks: binding the host and deriving the settings path
// at load, the description record, the menu command and the export run behind it.
#include <windows.h>

#include <exception>
#include <new>
#include <string>

#include "export/export_param.h"
#include "export/quarvel_api.h"
#include "plugin/plugin_exports.h"
#include "plugin/plugin_info.h"
#include "ui/win32/win32_toolkit.h"

namespace {

CQuarvelAPI HostApi;
char SettingsFilePath[qv::plugin::kSettingsPathSize];

void ShowCommandError(const char* message)
{
    ::MessageBoxA(::GetActiveWindow(), message, qv::plugin::kErrorCaption, MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

// The command callback registered with the host. No C++ exception may unwind into the host's
// frames, so this is the one place that catches: the run has already released everything it
// held; the error's message is shown and control goes back to the host normally.
void WINAPI OnExportCommand(int, int)
{
    try {
        qv::ui::TWin32Toolkit toolkit;
        TExportParam param(&HostApi, SettingsFilePath, toolkit);
        param.Execute();
    } catch (const std::bad_alloc&) {
        ShowCommandError(qv::plugin::kOutOfMemory);
    } catch (const std::exception& e) {
        ShowCommandError(*e.what() ? e.what() : qv::plugin::kUnknownError);
    } catch (...) {
        ShowCommandError(qv::plugin::kUnknownError);
    }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    if (!HostApi.BindHost()) return FALSE;
    ::GetModuleFileNameA(instance, SettingsFilePath, static_cast<DWORD>(qv::plugin::kModulePathLimit));
    qv::plugin::ModulePathToSettingsPath(SettingsFilePath);
    return TRUE;
}

extern "C" {

int WINAPI QVC_OnStart() { return 0; }
int WINAPI QVC_OnExit() { return 0; }

int WINAPI QVC_OnMenuInit(INT_PTR, HMENU menu, int menuTarget)
{
    if (menuTarget != 0) return 0;
    HMENU subMenu = ::GetSubMenu(menu, 4);
    const int command = HostApi.QVA_RegisterCommand(qv::plugin::kCommandDescription, 0, OnExportCommand);
    ::AppendMenuA(subMenu, MF_STRING, static_cast<UINT_PTR>(command), qv::plugin::kMenuCaption);
    return 0;
}

int WINAPI QVC_OnOpenFolder(INT_PTR) { return 0; }
int WINAPI QVC_OnOpenMail(INT_PTR) { return 0; }
int WINAPI QVC_OnEveryMinute() { return 0; }
int WINAPI QVC_OnOpenCompose(INT_PTR, INT_PTR) { return 0; }
int WINAPI QVC_OnOutgoing(INT_PTR, INT_PTR) { return 0; }
int WINAPI QVC_OnKeyDispatch(INT_PTR, INT_PTR, INT_PTR) { return 0; }
int WINAPI QVC_OnRetrieve(INT_PTR, INT_PTR) { return 0; }
int WINAPI QVC_OnSend(INT_PTR) { return 0; }
int WINAPI QVC_OnFinishRetrieve(INT_PTR) { return 0; }
int WINAPI QVC_OnPlugInSetup(INT_PTR) { return 0; }

int WINAPI QVC_OnPlugInInfo(char* record)
{
    qv::plugin::FillDescriptionRecord(record);
    return 0;
}

int WINAPI QVC_OnDragDrop(INT_PTR, INT_PTR, INT_PTR, INT_PTR) { return 0; }

}  // extern "C"
