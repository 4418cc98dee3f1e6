// Character model: reading CP932 strings as character codes, escapes, quoting.
#include "regexp/chars.h"

#include "regexp/messages.h"

const WChar_t METACHARS[METACHARS_COUNT] = {
    0x5E, 0x28, 0x7C, 0x29, 0x2B, 0x2A, 0x3F, 0x2E, 0x5B, 0x5D, 0x24, 0x5C,
};

ERegExpParser::ERegExpParser(const std::string &message, std::uint16_t errorPos)
    : qv::Exception(message), ErrorPos(errorPos), FMessage(message) {}

namespace {

unsigned char ByteAt(const std::string &S, int Index) {
    return static_cast<unsigned char>(S[static_cast<std::size_t>(Index - 1)]);
}

[[noreturn]] void Raise(const char *message, int pos) {
    throw ERegExpParser(message, static_cast<std::uint16_t>(pos));
}

}  // namespace

WChar_t GetWChar(const std::string &S, int &Index) {
    const int len = static_cast<int>(S.size());
    if (Index < 1 || Index > len) return 0;
    const unsigned char b = ByteAt(S, Index);
    if (IsCP932LeadByte(b)) {
        if (Index == len) Raise(REMSG_InvalidDBCS, Index);
        const WChar_t c = static_cast<WChar_t>(b * 256 + ByteAt(S, Index + 1));
        Index += 2;
        return c;
    }
    ++Index;
    return b;
}

void UnGetWChar(const std::string &S, int &Index) {
    if (Index <= 1) return;
    if (Index == 2) {
        Index = 1;
        return;
    }
    // Count the run of lead-byte values before the last byte; an odd run means that
    // byte is a trail byte.
    int count = 0;
    const int last = static_cast<int>(S.size());
    for (int i = Index - 2; i >= 1; --i) {
        if (i > last || !IsCP932LeadByte(ByteAt(S, i))) break;
        ++count;
    }
    Index -= (count % 2 == 1) ? 2 : 1;
}

WChar_t PCharGetWChar(const char *&P) {
    const unsigned char b = static_cast<unsigned char>(*P);
    if (b == 0) return 0;
    if (IsCP932LeadByte(b) && P[1] != '\0') {
        const WChar_t c = static_cast<WChar_t>(b * 256 + static_cast<unsigned char>(P[1]));
        P += 2;
        return c;
    }
    ++P;
    return b;
}

WChar_t PCharGetWChar(char *&P) {
    const char *q = P;
    const WChar_t c = PCharGetWChar(q);
    P += q - P;
    return c;
}

std::string WCharToStr(WChar_t C) {
    const unsigned char hi = static_cast<unsigned char>(C >> 8);
    const char lo = static_cast<char>(C & 0xFF);
    if (IsCP932LeadByte(hi)) return std::string{static_cast<char>(hi), lo};
    return std::string(1, lo);
}

int HexWCharToInt(WChar_t C) {
    if (C >= '0' && C <= '9') return C - '0';
    if (C >= 'A' && C <= 'F') return C - 'A' + 10;
    if (C >= 'a' && C <= 'f') return C - 'a' + 10;
    return -1;
}

int OctWCharToInt(WChar_t C) {
    if (C >= '0' && C <= '7') return C - '0';
    return -1;
}

// The digit readers leave Index on the first character that is not taken, whatever it
// is: a zero byte after the digits ends the text, so it must not be stepped over.
int HexStrToInt(const std::string &S, int &Index) {
    int value = 0;
    int count = 0;
    int before = Index;
    WChar_t c = GetWChar(S, Index);
    while (c != 0 && HexWCharToInt(c) >= 0 && count < 4) {
        value = value * 16 + HexWCharToInt(c);
        ++count;
        before = Index;
        c = GetWChar(S, Index);
    }
    if (count == 0) Raise(REMSG_InvalidHex, Index);
    Index = before;
    return value;
}

int OctStrToInt(const std::string &S, int &Index) {
    int value = 0;
    int count = 0;
    int before = Index;
    WChar_t c = GetWChar(S, Index);
    while (c != 0 && OctWCharToInt(c) >= 0 && count < 6) {
        const int next = value * 8 + OctWCharToInt(c);
        if (next > 0xFFFF) Raise(REMSG_InvalidOct, Index);
        value = next;
        ++count;
        before = Index;
        c = GetWChar(S, Index);
    }
    if (count == 0) Raise(REMSG_InvalidOct, Index);
    Index = before;
    return value;
}

WChar_t GetQuotedWChar(const std::string &S, int &Index) {
    const WChar_t c = GetWChar(S, Index);
    // A zero byte reads as the end does: the text ends there, so nothing follows the
    // backslash (a replacement ending in a backslash relies on this).
    if (c == 0) Raise(REMSG_NeedCharAfterYen, Index);
    switch (c) {
        case 'b': return 0x08;
        case 'r': return 0x0D;
        case 'n': return 0x0A;
        case 't': return 0x09;
        case 'x': return static_cast<WChar_t>(HexStrToInt(S, Index));
        default: break;
    }
    if (c >= '0' && c <= '7') {
        UnGetWChar(S, Index);
        return static_cast<WChar_t>(OctStrToInt(S, Index));
    }
    return c;
}

std::string WCharGetToken(const std::string &S, int &Index, WChar_t Delim) {
    std::string result;
    for (;;) {
        const WChar_t c = GetWChar(S, Index);
        if (c == 0 || c == Delim) break;
        result += WCharToStr(c);
    }
    return result;
}

bool IsMetaWChar(WChar_t C) {
    for (WChar_t m : METACHARS)
        if (m == C) return true;
    return false;
}

std::string QuoteMetaWChar(const std::string &S) {
    std::string result;
    int index = 1;
    for (;;) {
        const WChar_t c = GetWChar(S, index);
        if (c == 0) break;
        if (IsMetaWChar(c)) result += '\\';
        result += WCharToStr(c);
    }
    return result;
}
