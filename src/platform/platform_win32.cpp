// Win32 implementation of the platform layer: the plug-in DLL, the Windows stand-in host and
// the Wine tests. Paths and texts are ANSI (code page 932) and go to the A functions unchanged.
#include "platform/platform.h"

#include <windows.h>

#include <new>
#include <string>

#include "platform/platform_messages.h"

// <windows.h> maps CompareString to CompareStringA; the layer's own function has that name.
#undef CompareString

namespace qv::platform {
namespace {

// The system's text for an error code, in the ANSI code page, without the trailing line break.
std::string Reason(DWORD err)
{
    char* buffer = nullptr;
    const DWORD n = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, err, 0,
        reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text;
    if (n && buffer) text.assign(buffer, n);
    if (buffer) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    if (text.empty()) text = "error " + std::to_string(err);
    return text;
}

HANDLE AsHandle(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

bool FileExists(const std::string& path)
{
    if (path.empty()) return false;
    const DWORD attr = ::GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path)
{
    if (path.empty()) return false;
    const DWORD attr = ::GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadWholeFile(const std::string& path, std::string& contents)
{
    contents.clear();
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD err = ::GetLastError();
        if ((err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND) && !DirectoryExists(path)) return false;
        throw EInOutError(MsgCannotRead(path, Reason(err)));
    }
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(h, buffer, sizeof buffer, &n, nullptr)) {
            const DWORD err = ::GetLastError();
            ::CloseHandle(h);
            contents.clear();
            throw EInOutError(MsgCannotRead(path, Reason(err)));
        }
        if (n == 0) break;
        contents.append(buffer, n);
    }
    ::CloseHandle(h);
    return true;
}

bool RemoveFile(const std::string& path) noexcept { return ::DeleteFileA(path.c_str()) != 0; }

void RenameReplace(const std::string& from, const std::string& to)
{
    if (!::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw EInOutError(MsgCannotReplace(from, to, Reason(::GetLastError())));
}

std::unique_ptr<NewFile> NewFile::Create(const std::string& path)
{
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD err = ::GetLastError();
        // A directory of that name can never be created: report it rather than step over it.
        if (DirectoryExists(path)) throw EFCreateError(MsgCannotCreate(path, Reason(ERROR_ACCESS_DENIED)));
        if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS) return nullptr;
        throw EFCreateError(MsgCannotCreate(path, Reason(err)));
    }
    return std::unique_ptr<NewFile>(new NewFile(path, reinterpret_cast<std::intptr_t>(h)));
}

NewFile::~NewFile()
{
    if (!committed_) {
        CloseHandle();
        RemoveFile(path_);
    }
}

void NewFile::CloseHandle() noexcept
{
    if (handle_ != -1) {
        ::CloseHandle(AsHandle(handle_));
        handle_ = -1;
    }
}

void NewFile::Write(const char* data, std::size_t size)
{
    while (size > 0) {
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD n = 0;
        if (!::WriteFile(AsHandle(handle_), data, chunk, &n, nullptr) || n == 0)
            throw EInOutError(MsgCannotWrite(path_, Reason(::GetLastError())));
        data += n;
        size -= n;
    }
}

void NewFile::Commit()
{
    HANDLE h = AsHandle(handle_);
    handle_ = -1;
    if (!::CloseHandle(h)) throw EInOutError(MsgCannotWrite(path_, Reason(::GetLastError())));
    committed_ = true;
}

namespace {

class Win32Modules final : public ModuleServices {
public:
    // GetModuleHandleA takes no reference, so Release has nothing to hand back: the executable
    // stays loaded while the process runs, and freeing a reference never taken (from the
    // library's unload, under the loader lock) could unbalance the module's count.
    void* MainModule() override { return reinterpret_cast<void*>(::GetModuleHandleA(nullptr)); }
    void* Symbol(void* module, const char* name) override
    {
        return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), name));
    }
    void Release(void*) override {}
};

}  // namespace

ModuleServices& SystemModules()
{
    // Never destroyed: the host binding hands its module back from a destructor that runs while
    // the library unloads, possibly after function-local statics have been torn down.
    alignas(Win32Modules) static unsigned char storage[sizeof(Win32Modules)];
    static Win32Modules* const modules = ::new (storage) Win32Modules;
    return *modules;
}

std::string AnsiUpperCase(const std::string& text)
{
    std::string result = text;
    if (!result.empty()) ::CharUpperBuffA(&result[0], static_cast<DWORD>(result.size()));
    return result;
}

int CompareTextIgnoreCase(const std::string& a, const std::string& b)
{
    const int r = ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                                   static_cast<int>(b.size()));
    return r == 0 ? a.compare(b) : r - CSTR_EQUAL;
}

int CompareString(const std::string& a, const std::string& b) { return ::lstrcmpA(a.c_str(), b.c_str()); }

void ProcessMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The host's quit request belongs to its own loop: leave it for that loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

}  // namespace qv::platform
