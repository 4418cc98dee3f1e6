// The plug-in's face towards the Quarvel host: the fifteen QVC_ callbacks, exported by plain
// name through the module-definition files (qvexport32.def, qvexport64.def) with the standard
// calling convention, the callee popping its arguments.
#pragma once

#include <windows.h>

extern "C" {
int WINAPI QVC_OnStart();
int WINAPI QVC_OnExit();
int WINAPI QVC_OnMenuInit(INT_PTR unused, HMENU menu, int menuTarget);
int WINAPI QVC_OnOpenFolder(INT_PTR);
int WINAPI QVC_OnOpenMail(INT_PTR);
int WINAPI QVC_OnEveryMinute();
int WINAPI QVC_OnOpenCompose(INT_PTR, INT_PTR);
int WINAPI QVC_OnOutgoing(INT_PTR, INT_PTR);
int WINAPI QVC_OnKeyDispatch(INT_PTR, INT_PTR, INT_PTR);
int WINAPI QVC_OnRetrieve(INT_PTR, INT_PTR);
int WINAPI QVC_OnSend(INT_PTR);
int WINAPI QVC_OnFinishRetrieve(INT_PTR);
int WINAPI QVC_OnPlugInSetup(INT_PTR);
int WINAPI QVC_OnPlugInInfo(char* record);
int WINAPI QVC_OnDragDrop(INT_PTR, INT_PTR, INT_PTR, INT_PTR);
}
