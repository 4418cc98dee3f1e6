// POSIX implementation of the platform layer: the native build, its tests and command-line tools.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/platform.h"
#include "platform/platform_messages.h"

namespace qv::platform {
namespace {

std::string Reason(int err) { return std::strerror(err); }

// Paths use the backslash as their delimiter on every platform (the dialog appends one to the
// target directory); here a single-byte backslash becomes '/'. Trail bytes 0x5C stay.
std::string NativePath(const std::string& path)
{
    std::string native = path;
    for (std::size_t i = 0; i < native.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(native[i])) && i + 1 < native.size()) ++i;
        else if (native[i] == '\\') native[i] = '/';
    }
    return native;
}

}  // namespace

bool FileExists(const std::string& path)
{
    struct stat st;
    return !path.empty() && ::stat(NativePath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path)
{
    struct stat st;
    return !path.empty() && ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ReadWholeFile(const std::string& path, std::string& contents)
{
    contents.clear();
    const int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return false;
        throw EInOutError(MsgCannotRead(path, Reason(errno)));
    }
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw EInOutError(MsgCannotRead(path, Reason(EISDIR)));
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            contents.clear();
            throw EInOutError(MsgCannotRead(path, Reason(err)));
        }
        if (n == 0) break;
        contents.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

bool RemoveFile(const std::string& path) noexcept { return ::unlink(NativePath(path).c_str()) == 0; }

void RenameReplace(const std::string& from, const std::string& to)
{
    if (::rename(NativePath(from).c_str(), NativePath(to).c_str()) != 0) throw EInOutError(MsgCannotReplace(from, to, Reason(errno)));
}

std::unique_ptr<NewFile> NewFile::Create(const std::string& path)
{
    const int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == EEXIST) {
            // A directory of that name is not a free name either, but it can never be created:
            // report it rather than have the caller step over it.
            if (DirectoryExists(path)) throw EFCreateError(MsgCannotCreate(path, Reason(EISDIR)));
            return nullptr;
        }
        throw EFCreateError(MsgCannotCreate(path, Reason(errno)));
    }
    return std::unique_ptr<NewFile>(new NewFile(path, fd));
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
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));
        handle_ = -1;
    }
}

void NewFile::Write(const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(static_cast<int>(handle_), data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw EInOutError(MsgCannotWrite(path_, Reason(errno)));
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

void NewFile::Commit()
{
    const int fd = static_cast<int>(handle_);
    handle_ = -1;
    if (::close(fd) != 0) throw EInOutError(MsgCannotWrite(path_, Reason(errno)));
    committed_ = true;
}

namespace {

class PosixModules final : public ModuleServices {
public:
    void* MainModule() override { return ::dlopen(nullptr, RTLD_NOW); }
    void* Symbol(void* module, const char* name) override { return ::dlsym(module, name); }
    void Release(void* module) override { ::dlclose(module); }
};

// The upper-case form of a double-byte character, or the code itself. These are all the
// characters of code page 932 that have one: full-width Latin, Greek, Cyrillic (lower case
// skips the trail byte 0x7F) and the small Roman numerals of the two extension blocks, which
// the system's mapping gives the capital numerals of row 13.
unsigned UpperOfDoubleByte(unsigned code)
{
    if (code >= 0x8281 && code <= 0x829A) return code - 0x8281 + 0x8260;  // full-width a-z
    if (code >= 0x83BF && code <= 0x83D6) return code - 0x83BF + 0x839F;  // Greek
    if (code >= 0x8470 && code <= 0x847E) return code - 0x8470 + 0x8440;  // Cyrillic a..n
    if (code >= 0x8480 && code <= 0x8491) return code - 0x8480 + 0x844F;  // Cyrillic o..ya
    if (code >= 0xEEEF && code <= 0xEEF8) return code - 0xEEEF + 0x8754;  // small i..x
    if (code >= 0xFA40 && code <= 0xFA49) return code - 0xFA40 + 0x8754;  // small i..x
    return code;
}

}  // namespace

ModuleServices& SystemModules()
{
    // Never destroyed: a host binding with static storage hands its module back from its
    // destructor, which may run after function-local statics have been torn down.
    alignas(PosixModules) static unsigned char storage[sizeof(PosixModules)];
    static PosixModules* const modules = ::new (storage) PosixModules;
    return *modules;
}

std::string AnsiUpperCase(const std::string& text)
{
    std::string result = text;
    for (std::size_t i = 0; i < result.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(result[i]);
        if (IsLeadByte(c) && i + 1 < result.size()) {
            const unsigned code = c * 256u + static_cast<unsigned char>(result[i + 1]);
            const unsigned upper = UpperOfDoubleByte(code);
            result[i] = static_cast<char>(upper >> 8);
            result[i + 1] = static_cast<char>(upper & 0xFF);
            ++i;
        } else if (c >= 'a' && c <= 'z') {
            result[i] = static_cast<char>(c - 'a' + 'A');
        }
    }
    return result;
}

int CompareTextIgnoreCase(const std::string& a, const std::string& b)
{
    return AnsiUpperCase(a).compare(AnsiUpperCase(b));
}

int CompareString(const std::string& a, const std::string& b) { return a.compare(b); }

void ProcessMessages() {}

}  // namespace qv::platform
