#include "platform/strutil.h"

#include <cstdint>

#include "platform/platform.h"

namespace qv {

std::string Trim(const std::string& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 0x20) ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 0x20) --last;
    return text.substr(first, last - first);
}

std::string TrimSpaces(const std::string& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && text[first] == ' ') ++first;
    while (last > first && text[last - 1] == ' ') --last;
    return text.substr(first, last - first);
}

std::size_t AnsiPos(const std::string& sub, const std::string& text)
{
    if (sub.empty() || text.size() < sub.size()) return 0;
    std::size_t i = 0;
    while (i + sub.size() <= text.size()) {
        if (text.compare(i, sub.size(), sub) == 0) return i + 1;
        const bool lead = platform::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
        i += lead ? 2 : 1;
    }
    return 0;
}

bool EndsWithPathDelimiter(const std::string& text)
{
    // Walk the characters so that the last one is known to be a single byte.
    std::size_t i = 0;
    std::size_t lastStart = std::string::npos;
    while (i < text.size()) {
        lastStart = i;
        const bool lead = platform::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size();
        i += lead ? 2 : 1;
    }
    return lastStart != std::string::npos && lastStart == text.size() - 1 && text[lastStart] == '\\';
}

std::string IncludeTrailingPathDelimiter(const std::string& text)
{
    return EndsWithPathDelimiter(text) ? text : text + '\\';
}

int StrToIntDef(const std::string& text, int fallback)
{
    std::size_t i = 0;
    bool negative = false;
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        i = 2;
    } else if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        i = 1;
    }
    if (i >= text.size()) return fallback;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return fallback;
        value = value * base + digit;
        if (value > (base == 16 ? INT64_C(0xFFFFFFFF) : INT64_C(0x80000000))) return fallback;
    }
    if (base == 16) return static_cast<int>(static_cast<std::uint32_t>(value));
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return fallback;
    return static_cast<int>(value);
}

}  // namespace qv
