// The few operating-system services the portable code needs: files, the directory test,
// module lookup for the host binding, CP932 case handling and the message pump.
// One implementation per platform (platform_posix.cpp, platform_win32.cpp); portable code calls only this.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/callconv.h"

namespace qv {

// Base of every error the program raises itself. The message is user-facing CP932 text.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// A file could not be created (the run's numbered files, the settings file's temporary copy).
class EFCreateError : public Exception {
public:
    using Exception::Exception;
};

// Reading, writing, renaming or removing a file failed.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

namespace platform {

// ---- Files ------------------------------------------------------------------------------
// Paths are CP932 byte strings as the user typed them; relative paths resolve against the
// process's current directory. The backslash is the path delimiter on every platform: the POSIX
// implementation maps each single-byte backslash (never a trail byte 0x5C) to '/'.

// True when `path` names an existing file that is not a directory.
bool FileExists(const std::string& path);

// True only when `path` names an existing directory (an empty path gives false).
bool DirectoryExists(const std::string& path);

// Reads the whole file into `contents`. Returns false (contents empty) when the file does not
// exist; throws EInOutError when it exists but cannot be read (no permission, a directory, ...).
bool ReadWholeFile(const std::string& path, std::string& contents);

// Removes a file; returns false when it could not be removed. Never throws.
bool RemoveFile(const std::string& path) noexcept;

// Renames `from` to `to`, replacing `to` if it exists (atomically where the platform can).
// Throws EInOutError on failure.
void RenameReplace(const std::string& from, const std::string& to);

// A file created exclusively: creation fails rather than replacing anything. Write into it,
// then Commit(); if the object dies uncommitted (an error on the way), the file is closed and
// removed, so a half-written file never stays behind looking complete.
class NewFile {
public:
    // Creates `path` exclusively. Returns null when a file of that name already exists (the
    // caller picks another name); throws EFCreateError for any other failure, a directory of
    // that name included (it can never become the file).
    static std::unique_ptr<NewFile> Create(const std::string& path);

    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // Appends bytes; throws EInOutError on failure (the disk is full, ...).
    void Write(const char* data, std::size_t size);
    void Write(const std::string& data) { Write(data.data(), data.size()); }

    // Flushes and closes the file, which then stays. Throws EInOutError on failure.
    void Commit();

    const std::string& Path() const { return path_; }

private:
    NewFile(std::string path, std::intptr_t handle) : path_(std::move(path)), handle_(handle) {}
    void CloseHandle() noexcept;

    std::string path_;
    std::intptr_t handle_;  // file descriptor or HANDLE, owned; -1 once closed
    bool committed_ = false;
};

// Writes `contents` to `path` as a whole: a temporary file is created beside it, written, and
// renamed over the old file, so a failure never leaves the file half-written. Throws
// EFCreateError / EInOutError (the old file is then untouched and the temporary removed).
void ReplaceWholeFile(const std::string& path, const std::string& contents);

// ---- Module lookup ----------------------------------------------------------------------
// The host binding looks the host's functions up by name in the main executable. Tests and
// the native stand-in host substitute their own symbol table through SetModules.

class ModuleServices {
public:
    virtual ~ModuleServices() = default;
    // Handle of the process's main executable, or null (GetModuleHandleA(nullptr)).
    virtual void* MainModule() = 0;
    // Address of an exported symbol, or null (GetProcAddress).
    virtual void* Symbol(void* module, const char* name) = 0;
    // Hands back a handle obtained from MainModule (FreeLibrary).
    virtual void Release(void* module) = 0;
};

// The operating system's own lookup.
ModuleServices& SystemModules();
// The lookup in use: SystemModules() unless replaced.
ModuleServices& Modules();
// Replaces the lookup in use (null restores the system's); returns the previous replacement
// (null when none was set).
ModuleServices* SetModules(ModuleServices* services);

// ---- CP932 text -------------------------------------------------------------------------

// Lead-byte test of code page 932 (fixed table: 0x81-0x9F and 0xE0-0xFC).
inline bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Locale-aware upper-casing (AnsiUpperCase): a-z become A-Z, and double-byte letters that have
// an upper-case form (full-width Latin, Greek, Cyrillic) become it as whole characters. A trail
// byte is never changed on its own; half-width katakana and other characters stay as they are.
std::string AnsiUpperCase(const std::string& text);

// Locale-aware comparison with case ignored (CompareStringA, user-default locale, NORM_IGNORECASE):
// < 0, 0 or > 0. Equal exactly when the two texts are the same apart from letter case.
int CompareTextIgnoreCase(const std::string& a, const std::string& b);

// Locale-aware case-sensitive comparison (lstrcmpA): < 0, 0 or > 0. For texts of digits and
// periods it orders as a plain byte comparison does.
int CompareString(const std::string& a, const std::string& b);

// ---- Messages ---------------------------------------------------------------------------

// Dispatches the thread's pending window messages until none is left (no-op where there are none).
void ProcessMessages();

}  // namespace platform
}  // namespace qv
