// Scanner: tokens of a regular expression in standard and character-class mode.
#include "regexp/scanner.h"

#include "regexp/messages.h"

namespace {

[[noreturn]] void Raise(const char *message, int pos) {
    throw ERegExpParser(message, static_cast<std::uint16_t>(pos));
}

}  // namespace

TREScanner::TREScanner(const std::string &regExpStr) { SetRegExpStr(regExpStr); }

void TREScanner::SetRegExpStr(const std::string &regExpStr) {
    FRegExpStr = regExpStr;
    FIndex = 1;
    FInCharClass = false;
}

REToken_t TREScanner::GetToken() {
    if (FInCharClass) {
        if (GetTokenCC() == retk_RBra) FInCharClass = false;
    } else {
        const REToken_t t = GetTokenStd();
        if (t == retk_LBra || t == retk_LBraNeg) FInCharClass = true;
    }
    return FToken;
}

REToken_t TREScanner::GetTokenStd() {
    const WChar_t c = GetWChar(FRegExpStr, FIndex);
    SetWChar(c);
    REToken_t t = retk_Char;
    switch (c) {
        case 0: t = retk_End; break;
        case '(': t = retk_LPar; break;
        case ')': t = retk_RPar; break;
        case '*': t = retk_Star; break;
        case '+': t = retk_Plus; break;
        case '?': t = retk_QMark; break;
        case '|': t = retk_Union; break;
        case '.': t = retk_Dot; break;
        case '^': t = retk_LHead; break;
        case '$': t = retk_LTail; break;
        case ']': t = retk_RBra; break;
        case '[': {
            const WChar_t n = GetWChar(FRegExpStr, FIndex);
            if (n == 0) Raise(REMSG_NeedRBracket, FIndex);
            if (n == '^') {
                t = retk_LBraNeg;
            } else {
                UnGetWChar(FRegExpStr, FIndex);
                t = retk_LBra;
            }
            break;
        }
        case '\\':
            SetWChar(GetQuotedWChar(FRegExpStr, FIndex));
            t = retk_Char;
            break;
        default: t = retk_Char; break;
    }
    FToken = t;
    return t;
}

REToken_t TREScanner::GetTokenCC() {
    WChar_t c = GetWChar(FRegExpStr, FIndex);
    SetWChar(c);
    if (c == 0) Raise(REMSG_NeedRBracket, FIndex);
    if (c == ']') {
        FToken = retk_RBra;
        return FToken;
    }
    if (c == '\\') c = GetQuotedWChar(FRegExpStr, FIndex);
    const WChar_t n = GetWChar(FRegExpStr, FIndex);
    if (n == '-') {
        WChar_t h = GetWChar(FRegExpStr, FIndex);
        if (h == 0) Raise(REMSG_NeedRBracket, FIndex);
        if (h == ']') {
            UnGetWChar(FRegExpStr, FIndex);
            UnGetWChar(FRegExpStr, FIndex);
            SetWChar(c);
            FToken = retk_Char;
            return FToken;
        }
        if (h == '\\') h = GetQuotedWChar(FRegExpStr, FIndex);
        if (h < c) Raise(REMSG_InvalidCharRange, FIndex);
        SetCharClass(c, h);
        FToken = retk_CharClass;
        return FToken;
    }
    if (n == 0) Raise(REMSG_NeedRBracket, FIndex);
    UnGetWChar(FRegExpStr, FIndex);
    SetWChar(c);
    FToken = retk_Char;
    return FToken;
}
