// Match core of the regular-expression engine: finds the leftmost-longest match of the
// current expression in a zero-terminated CP932 text by walking the current DFA, taking
// the line-head and line-tail moves itself where lines begin and end.
#pragma once

#include <cstddef>
#include <cstdint>

#include "regexp/regexp.h"

// Which character ends a line for the line-tail anchor. A line head is always the
// position after LF.
enum TMatchCORE_LineSeparator : std::uint8_t {
    mcls_CRLF = 0,  // CR, the first byte of a CR LF pair
    mcls_LF = 1,    // LF
};

class TMatchCORE : public TRegularExpression {
public:
    TMatchCORE() = default;

    // Leftmost-longest match of an expression without anchors; anchors and line ends
    // play no part. pStart is null when nothing matches; an empty match has
    // pStart == pEnd.
    void MatchStd(const char *pText, const char *&pStart, const char *&pEnd) const;
    // The same for expressions with anchors, pText beginning a line.
    void MatchEX(const char *pText, const char *&pStart, const char *&pEnd) const;
    // The same with pText not beginning a line.
    void MatchEX_Inside(const char *pText, const char *&pStart, const char *&pEnd) const;
    // End of the longest match starting at pText, which begins a line, or null.
    const char *MatchHead(const char *pText, RE_pDFAState_t state) const;
    // End of the longest match starting at pText, which does not begin a line, or null.
    const char *MatchInside(const char *pText, RE_pDFAState_t state) const;
    bool IsLineEnd(WChar_t wc) const noexcept;

    TMatchCORE_LineSeparator LineSeparator = mcls_CRLF;
    // Steps the walks of one search may take beyond four per start position before the
    // search starts remembering dead ends (a speed measure; results are the same).
    std::size_t LongWalkSlack = 4096;

private:
    class TWalkMemo;
    const char *Inside(const char *pText, RE_pDFAState_t state, TWalkMemo *memo) const;
    const char *Head(const char *pText, RE_pDFAState_t state, TWalkMemo *memo) const;
    void Inside_EX(const char *pText, const char *&pStart, const char *&pEnd, TWalkMemo &memo) const;
};

// A matching procedure bound to a TMatchCORE: MatchStd, MatchEX or MatchEX_Inside.
using TMatchCOREMatchProc = void (TMatchCORE::*)(const char *, const char *&, const char *&) const;
