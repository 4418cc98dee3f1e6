// Leftmost-longest matching over the current DFA.
//
// Every walk reads one character per step and ends at the terminator: the terminator
// is the end of the text, never a character, so a DFA with a move on code 0 cannot
// keep a walk standing on it.
#include "regexp/matchcore.h"

namespace {

// The position after the character at p; never steps over the terminator.
inline const char *NextChar(const char *p) noexcept {
    PCharGetWChar(p);
    return p;
}

}  // namespace

bool TMatchCORE::IsLineEnd(WChar_t wc) const noexcept {
    switch (LineSeparator) {
        case mcls_CRLF: return wc == 13;
        case mcls_LF: return wc == 10;
    }
    return false;
}

const char *TMatchCORE::MatchInside(const char *pText, RE_pDFAState_t state) const {
    if (state == nullptr) return nullptr;
    const WChar_t lineTail = GetLineTailWChar();
    const char *r = nullptr;
    const char *q = pText;
    for (;;) {
        if (state->Accepted != 0) r = q;
        const char *at = q;
        const WChar_t wc = PCharGetWChar(q);
        const bool ended = q == at;
        // A line tail can be taken before a line end or the terminator; the longest
        // such place counts, also when the expression could read on through it.
        if ((ended || IsLineEnd(wc)) && NextDFAState(state, lineTail) != nullptr) r = at;
        if (ended) break;
        state = NextDFAState(state, wc);
        if (state == nullptr) break;
    }
    return r;
}

const char *TMatchCORE::MatchHead(const char *pText, RE_pDFAState_t state) const {
    if (!GetHasLHead()) return MatchInside(pText, state);
    // With or without the line-head move, whichever reaches further. A match that does
    // not need the line head counts too: otherwise an expression such as '^a|b*' would
    // find nothing in the empty text.
    const char *r1 = MatchInside(pText, state == nullptr ? nullptr : NextDFAState(state, GetLineHeadWChar()));
    const char *r2 = MatchInside(pText, state);
    if (r1 == nullptr) return r2;
    return r2 != nullptr && r2 >= r1 ? r2 : r1;
}

void TMatchCORE::MatchStd(const char *pText, const char *&pStart, const char *&pEnd) const {
    pStart = nullptr;
    pEnd = nullptr;
    const RE_pDFAState_t initial = GetpInitialDFAState();
    if (*pText == '\0') {
        if (initial->Accepted != 0) pStart = pEnd = pText;
        return;
    }
    for (const char *s = pText; *s != '\0';) {
        // The first step also finds the next start position.
        const char *q = s;
        const WChar_t first = PCharGetWChar(q);
        const char *const next = q;
        if (initial->Accepted != 0) {
            pStart = s;
            pEnd = s;
        }
        for (RE_pDFAState_t state = NextDFAState(initial, first); state != nullptr;) {
            if (state->Accepted != 0) {
                pStart = s;
                pEnd = q;
            }
            const char *at = q;
            const WChar_t wc = PCharGetWChar(q);
            if (q == at) break;
            state = NextDFAState(state, wc);
        }
        if (pStart != nullptr) return;
        s = next;
    }
}

void TMatchCORE::MatchEX(const char *pText, const char *&pStart, const char *&pEnd) const {
    pStart = pText;
    pEnd = MatchHead(pText, GetpInitialDFAState());
    if (pEnd == nullptr) MatchEX_Inside(pText, pStart, pEnd);
}

void TMatchCORE::MatchEX_Inside(const char *pText, const char *&pStart, const char *&pEnd) const {
    pStart = nullptr;
    pEnd = nullptr;
    const RE_pDFAState_t initial = GetpInitialDFAState();
    const bool hasLHead = GetHasLHead();
    const char *s = pText;
    for (; *s != '\0'; s = NextChar(s)) {
        const char *e = MatchInside(s, initial);
        if (e != nullptr) {
            pStart = s;
            pEnd = e;
            return;
        }
        if (*s == '\n' && hasLHead) {
            e = MatchHead(s + 1, initial);
            if (e != nullptr) {
                pStart = s + 1;
                pEnd = e;
                return;
            }
        }
    }
    if (GetHasLTail() && NextDFAState(initial, GetLineTailWChar()) != nullptr) pStart = pEnd = s;
}
