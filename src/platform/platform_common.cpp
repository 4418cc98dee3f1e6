// The parts of the platform layer built on its primitives, the same for every platform.
#include <string>

#include "platform/platform.h"
#include "platform/platform_messages.h"

namespace qv::platform {
namespace {
ModuleServices* g_modules = nullptr;
}

ModuleServices& Modules() { return g_modules ? *g_modules : SystemModules(); }

ModuleServices* SetModules(ModuleServices* services)
{
    ModuleServices* previous = g_modules;
    g_modules = services;
    return previous;
}

void ReplaceWholeFile(const std::string& path, const std::string& contents)
{
    // A stale temporary left by a crash is never overwritten: take the next free name.
    std::unique_ptr<NewFile> temp;
    std::string tempPath;
    for (int n = 0; !temp; ++n) {
        tempPath = path + ".tmp" + (n ? std::to_string(n) : std::string());
        temp = NewFile::Create(tempPath);
        if (n > 1000 && !temp) throw EFCreateError(MsgCannotCreate(tempPath, std::string()));
    }
    temp->Write(contents);
    temp->Commit();
    try {
        RenameReplace(tempPath, path);
    } catch (...) {
        RemoveFile(tempPath);
        throw;
    }
}

}  // namespace qv::platform
