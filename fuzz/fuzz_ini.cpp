// Settings-file fuzz target: the input is the file's bytes. Reading it, the lookups the
// export dialog makes, a write of each kind and Serialize must not fail; serializing,
// reading back and serializing again must give the same text.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "ui/ini_file.h"

namespace {

std::string TempPath() {
    static const std::string path = [] {
        const char *dir = std::getenv("TMPDIR");
        return std::string(dir && *dir ? dir : "/tmp") + "/qv_fuzz_ini_" + std::to_string(::getpid()) + ".ini";
    }();
    return path;
}

void WriteFile(const std::string &path, const std::string &bytes) {
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string path = TempPath();
    WriteFile(path, std::string(reinterpret_cast<const char *>(data), size));

    TIniFile ini(path);
    (void)ini.ReadString("State", "Dir", "x");
    (void)ini.ReadInteger("State", "Position", 0);
    (void)ini.ReadBool("State", "Regexp", false);
    for (const char *section : {"DirHistory", "FindHistory", "State"}) {
        for (const auto &entry : ini.ReadSection(section)) {
            (void)ini.ReadString(section, entry.first, std::string());
            (void)ini.ReadInteger(section, entry.first, -7);
        }
    }
    const std::string first = ini.Serialize();

    WriteFile(path, first);
    TIniFile again(path);
    if (again.Serialize() != first) std::abort();

    again.WriteString("FindHistory", "0", "\x83\x5C\x95\x5C");
    again.WriteInteger("State", "Position", -2);
    again.WriteBool("State", "Regexp", true);
    try {
        again.WriteString("State", "Bad", "a\r\nb");
        std::abort();
    } catch (const qv::Exception &) {
    }
    if (again.ReadInteger("State", "Position", 0) != -2 || !again.ReadBool("State", "Regexp", false)) std::abort();
    if (again.ReadString("FindHistory", "0", "") != "\x83\x5C\x95\x5C") std::abort();
    const std::string second = again.Serialize();
    WriteFile(path, second);
    TIniFile third(path);
    if (third.Serialize() != second) std::abort();
    std::remove(path.c_str());
    return 0;
}
