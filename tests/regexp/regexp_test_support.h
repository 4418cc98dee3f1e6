// Helpers shared by the engine's tests: a readable form of a character range, and a
// generator of random small expressions for the cross-checks against reference matchers.
#pragma once

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "regexp/chars.h"

namespace regexp_test {

// "a" for a printable single code, "{8140}" or "{0041-005A}" otherwise, "e" for the empty move.
inline std::string ClassText(RECharClass_t cc) {
    if (cc == CONST_EMPTYCharClass) return "e";
    if (cc.StartChar == cc.EndChar && cc.StartChar > 0x20 && cc.StartChar < 0x7F)
        return std::string(1, static_cast<char>(cc.StartChar));
    char buf[24];
    if (cc.StartChar == cc.EndChar)
        std::snprintf(buf, sizeof buf, "{%04X}", cc.StartChar);
    else
        std::snprintf(buf, sizeof buf, "{%04X-%04X}", cc.StartChar, cc.EndChar);
    return buf;
}

// 1 to maxLen pieces: atoms, '(' , ')', '|', each atom or group end followed by a postfix
// operator once in postfixOdds; open groups are closed at the end.
inline std::string RandomExpression(std::mt19937 &rng, const std::vector<std::string> &atoms,
                                    int maxLen, unsigned postfixOdds) {
    std::string e;
    int open = 0;
    const int len = 1 + static_cast<int>(rng() % static_cast<unsigned>(maxLen));
    for (int i = 0; i < len; ++i) {
        const unsigned pick = rng() % 10;
        if (pick == 0) {
            e += '(';
            ++open;
            continue;
        }
        if (pick == 1 && open > 0) {
            e += ')';
            --open;
        } else if (pick == 2) {
            e += '|';
            continue;
        } else {
            e += atoms[rng() % atoms.size()];
        }
        if (rng() % postfixOdds == 0) e += "*+?"[rng() % 3];
    }
    e += std::string(static_cast<std::size_t>(open), ')');
    return e;
}

}  // namespace regexp_test
