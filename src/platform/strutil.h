// Portable CP932 string utilities shared by the export job, the forms and the settings file:
// trimming, double-byte-aware search, the trailing-backslash test and integer conversion.
#pragma once

#include <cstddef>
#include <string>

namespace qv {

// Removes every byte from 0x00 to 0x20 at both ends (Trim).
std::string Trim(const std::string& text);

// Removes space bytes (0x20 only) at both ends.
std::string TrimSpaces(const std::string& text);

// 1-based byte position of the first occurrence of `sub` in `text` that starts on a character
// boundary (never on the trail byte of a double-byte character), or 0 (AnsiPos). An empty
// `sub` or `text` gives 0.
std::size_t AnsiPos(const std::string& sub, const std::string& text);

// True when `text` ends in a single-byte backslash; a final 0x5C that is the trail byte of a
// double-byte character (as in 0x83 0x5C) does not count.
bool EndsWithPathDelimiter(const std::string& text);

// `text` with a backslash appended unless it already ends in a single-byte one.
std::string IncludeTrailingPathDelimiter(const std::string& text);

// Integer conversion of the settings file (StrToIntDef): decimal with an optional sign, or
// hexadecimal when the text has more than two characters and begins with 0x/0X (no sign before
// it; eight hex digits wrap to negative values). Anything else, or a value outside the signed
// 32-bit range, gives `fallback`.
int StrToIntDef(const std::string& text, int fallback);

}  // namespace qv
