// Character model of the regular-expression engine: 16-bit character codes over
// code-page-932 byte strings, character ranges, escape decoding, metacharacter
// quoting, and the syntax-error exception every stage of the engine raises.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

// One character: a single byte b is code b; a double-byte character is lead * 256 + trail.
using WChar_t = std::uint16_t;
using PWChar_t = WChar_t *;

// Codes the text never yields; later stages use them as markers.
constexpr WChar_t RE_ANYCHAR_MAX = 0xFCFC;   // highest code of the any-character set
constexpr WChar_t RE_LINEHEAD_WCHAR = 0xFFFD;
constexpr WChar_t RE_LINETAIL_WCHAR = 0xFFFE;
constexpr WChar_t RE_EMPTY_WCHAR = 0xFFFF;   // empty transition

// A closed range of codes, compared unsigned.
struct RECharClass_t {
    WChar_t StartChar;
    WChar_t EndChar;
};

constexpr bool operator==(RECharClass_t a, RECharClass_t b) {
    return a.StartChar == b.StartChar && a.EndChar == b.EndChar;
}
constexpr bool operator!=(RECharClass_t a, RECharClass_t b) { return !(a == b); }

// Labels an empty transition; stands for no character at all.
constexpr RECharClass_t CONST_EMPTYCharClass = {RE_EMPTY_WCHAR, RE_EMPTY_WCHAR};

// The twelve metacharacters, in their fixed order: ^ ( | ) + * ? . [ ] $ backslash.
constexpr int METACHARS_COUNT = 12;
extern const WChar_t METACHARS[METACHARS_COUNT];

// Fixed code-page-932 lead-byte test (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsCP932LeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Syntax error of the engine: a CP932 message and the 1-based byte position at which
// it was found (16 bits: larger positions are reported modulo 65536).
class ERegExpParser : public qv::Exception {
public:
    ERegExpParser(const std::string &message, std::uint16_t errorPos);
    const std::string &Message() const noexcept { return FMessage; }

    int ErrorPos;

private:
    std::string FMessage;
};

// Reads the character at S[Index] (1-based) and advances Index by 1 or 2.
// Returns 0 without moving when Index lies outside S; a zero byte reads as 0.
WChar_t GetWChar(const std::string &S, int &Index);
// Moves Index back to the start of the character that ends just before it.
void UnGetWChar(const std::string &S, int &Index);
// Reads one character from a zero-terminated buffer; 0 at the terminator (P unmoved).
// A lead byte right before the terminator reads as its single byte value.
WChar_t PCharGetWChar(const char *&P);
WChar_t PCharGetWChar(char *&P);
// One or two bytes for a code; a high byte that is no lead byte is dropped.
std::string WCharToStr(WChar_t C);
// Decodes the escape that follows a backslash; Index is just after the backslash.
// Nothing to decode (the end of S, or a zero byte, which reads like it) is an error.
WChar_t GetQuotedWChar(const std::string &S, int &Index);
// One to four hexadecimal digits.
int HexStrToInt(const std::string &S, int &Index);
// One to six octal digits, value at most 0xFFFF.
int OctStrToInt(const std::string &S, int &Index);
int HexWCharToInt(WChar_t C);
int OctWCharToInt(WChar_t C);
// Characters up to (not including) Delim, which is consumed; else the rest of S.
std::string WCharGetToken(const std::string &S, int &Index, WChar_t Delim);
// Puts a backslash before every metacharacter of S.
std::string QuoteMetaWChar(const std::string &S);
// True when C is one of METACHARS.
bool IsMetaWChar(WChar_t C);
