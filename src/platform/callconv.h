// Calling convention of the host boundary: every QVA_ host function and every QVC_ callback
// uses the platform's standard convention for exported API functions (the callee pops the
// arguments). Elsewhere the macro is empty, so the same declarations build natively.
#pragma once

#if defined(_WIN32)
#define QV_HOSTAPI __stdcall
#else
#define QV_HOSTAPI
#endif
