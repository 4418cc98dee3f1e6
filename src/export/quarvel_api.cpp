#include "export/quarvel_api.h"

#include <cstring>
#include <string>

#include "platform/platform.h"

namespace {

// Function pointers and data pointers share a representation on every platform we build for;
// the lookup hands back data pointers, as GetProcAddress does.
template <typename F>
F ToFunction(void* address)
{
    F f;
    static_assert(sizeof f == sizeof address, "function and data pointers differ in size");
    std::memcpy(&f, &address, sizeof f);
    return f;
}

}  // namespace

CQuarvelAPI::~CQuarvelAPI()
{
    if (HostModule) qv::platform::Modules().Release(HostModule);
}

bool CQuarvelAPI::AcceptsHostWithoutSetStatus(const char* version)
{
    const std::string text = version ? version : "";
    return text.size() <= 7 && qv::platform::CompareString(text, "2.00.06") < 0;
}

bool CQuarvelAPI::BindHost()
{
    if (HostModule) return true;
    qv::platform::ModuleServices& modules = qv::platform::Modules();
    void* module = modules.MainModule();
    if (!module) return false;

    bool ok = true;
    // Required functions in table order; each stored right after its lookup.
#define QV_BIND_REQUIRED(name, required)                                      \
    if (ok && required) {                                                     \
        name = ToFunction<decltype(name)>(modules.Symbol(module, #name));    \
        if (!name) ok = false;                                                \
    }
    QV_HOST_FUNCTIONS(QV_BIND_REQUIRED)
#undef QV_BIND_REQUIRED
    if (ok) {
        QVA_SetStatus = ToFunction<TQVA_SetStatus>(modules.Symbol(module, "QVA_SetStatus"));
        QVA_NextUnread = ToFunction<TQVA_Unused>(modules.Symbol(module, "QVA_NextUnread"));
        const bool oldHost = AcceptsHostWithoutSetStatus(QVA_GetVersion());
        ok = oldHost || QVA_SetStatus;
    }
    if (!ok) {
        // HostModule stays null and nothing reads the fields now; a reference the main-module
        // query took goes back at once, as the destructor would hand back a bound one.
        modules.Release(module);
        return false;
    }
    HostModule = module;
    return true;
}
