// Scanner of the regular-expression engine: splits an expression into tokens, in a
// standard mode (operators) and a character-class mode (between "[" and "]").
#pragma once

#include <cstdint>
#include <string>

#include "regexp/chars.h"

enum REToken_t : std::uint8_t {
    retk_Char = 0,       // one character
    retk_CharClass = 1,  // a range a-b (class mode only)
    retk_Union = 2,      // |
    retk_LPar = 3,       // (
    retk_RPar = 4,       // )
    retk_Star = 5,       // *
    retk_Plus = 6,       // +
    retk_QMark = 7,      // ?
    retk_LBra = 8,       // [
    retk_LBraNeg = 9,    // [^
    retk_RBra = 10,      // ]
    retk_Dot = 11,       // .
    retk_LHead = 12,     // ^
    retk_LTail = 13,     // $
    retk_End = 14,       // end of the expression
};

// A set of token kinds, one bit per kind.
using RETokenSet_t = std::uint32_t;
constexpr RETokenSet_t RETokenBit(REToken_t t) { return RETokenSet_t{1} << t; }
constexpr bool RETokenIn(REToken_t t, RETokenSet_t set) { return (set & RETokenBit(t)) != 0; }

// Value of a token. WChar is the character (operators: the operator's own character);
// CharClass is the range of a retk_CharClass token. The two views share their first
// code: the scanner keeps WChar and CharClass.StartChar equal.
struct RESymbol_t {
    WChar_t WChar = 0;
    RECharClass_t CharClass = {0, 0};
};

// One token with the span of its text: FromIndex (1-based) up to ToIndex (exclusive).
struct RETokenInfo_t {
    REToken_t Token = retk_Char;
    RESymbol_t Symbol;
    std::int32_t FromIndex = 0;
    std::int32_t ToIndex = 0;
};
using REpTokenInfo_t = RETokenInfo_t *;

class TREScanner {
public:
    explicit TREScanner(const std::string &regExpStr = std::string());
    virtual ~TREScanner() = default;
    TREScanner(const TREScanner &) = default;
    TREScanner &operator=(const TREScanner &) = default;

    // Loads an expression and restarts at position 1 in standard mode.
    void SetRegExpStr(const std::string &regExpStr);
    // Reads the next token in the current mode, switching mode at the brackets.
    REToken_t GetToken();

    virtual REToken_t GetTokenStd();
    virtual REToken_t GetTokenCC();

    const std::string &RegExpStr() const noexcept { return FRegExpStr; }
    int Index() const noexcept { return FIndex; }
    REToken_t Token() const noexcept { return FToken; }
    const RESymbol_t &Symbol() const noexcept { return FSymbol; }
    bool InCharClass() const noexcept { return FInCharClass; }

protected:
    void SetWChar(WChar_t c) {
        FSymbol.WChar = c;
        FSymbol.CharClass.StartChar = c;
    }
    void SetCharClass(WChar_t s, WChar_t e) {
        FSymbol.CharClass = {s, e};
        FSymbol.WChar = s;
    }

    std::string FRegExpStr;
    int FIndex = 1;
    REToken_t FToken = retk_Char;
    RESymbol_t FSymbol;
    bool FInCharClass = false;
};
