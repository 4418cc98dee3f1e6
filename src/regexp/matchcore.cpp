// Leftmost-longest matching over the current DFA.
//
// Every walk reads one character per step and ends at the terminator: the terminator
// is the end of the text, never a character, so a DFA with a move on code 0 cannot
// keep a walk standing on it.
//
// Walks restart at every position, so a pattern such as '.*x' on a long line without
// x would cost time quadratic in the line. Once the walks of one search have taken
// many more steps than the text is long, the search remembers, per text position, the
// state in which a walk that found nothing stood there: the DFA being deterministic,
// a later walk arriving there in the same state would find nothing either and stops.
#include "regexp/matchcore.h"

#include <array>
#include <memory>
#include <vector>

namespace {

// The position after the character at p; never steps over the terminator.
inline const char *NextChar(const char *p) noexcept {
    PCharGetWChar(p);
    return p;
}

}  // namespace

// Dead ends of the walks of one search. Every walk that marks a position either finds
// nothing, or ends the search with its own result (which no later walk can change).
class TMatchCORE::TWalkMemo {
public:
    TWalkMemo(const char *text, std::size_t slack) : FText(text), FSlack(slack), FLimit(slack) {}

    void StartAt(const char *s) noexcept {
        FLimit = 4 * static_cast<std::size_t>(s - FText) + FSlack;
    }

    // True when a walk that found nothing already stood at q in state; otherwise notes
    // this walk standing there.
    bool KnownDead(const char *q, const RE_DFAState_t *state) {
        if (!FOn) {
            if (++FSteps <= FLimit) return false;
            FOn = true;
        }
        // Kept in blocks made as walks reach them, not sized to the whole text: a caller
        // that searches the rest of a long text again and again pays only for what it
        // walks.
        const auto at = static_cast<std::size_t>(q - FText);
        const std::size_t block = at / kBlock;
        if (block >= FDead.size()) FDead.resize(block + 1);
        if (!FDead[block]) FDead[block] = std::make_unique<Block>();
        const RE_DFAState_t *&slot = (*FDead[block])[at % kBlock];
        if (slot == state) return true;
        slot = state;
        return false;
    }

private:
    const char *FText;
    std::size_t FSlack;
    std::size_t FLimit;
    std::size_t FSteps = 0;
    bool FOn = false;
    static constexpr std::size_t kBlock = 4096;
    using Block = std::array<const RE_DFAState_t *, kBlock>;
    std::vector<std::unique_ptr<Block>> FDead;
};

bool TMatchCORE::IsLineEnd(WChar_t wc) const noexcept {
    switch (LineSeparator) {
        case mcls_CRLF: return wc == 13;
        case mcls_LF: return wc == 10;
    }
    return false;
}

const char *TMatchCORE::MatchInside(const char *pText, RE_pDFAState_t state) const {
    return Inside(pText, state, nullptr);
}

const char *TMatchCORE::MatchHead(const char *pText, RE_pDFAState_t state) const {
    return Head(pText, state, nullptr);
}

const char *TMatchCORE::Inside(const char *pText, RE_pDFAState_t state, TWalkMemo *memo) const {
    if (state == nullptr) return nullptr;
    const WChar_t lineTail = GetLineTailWChar();
    const char *r = nullptr;
    const char *q = pText;
    for (;;) {
        if (memo != nullptr && memo->KnownDead(q, state)) break;
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

const char *TMatchCORE::Head(const char *pText, RE_pDFAState_t state, TWalkMemo *memo) const {
    if (!GetHasLHead()) return Inside(pText, state, memo);
    // With or without the line-head move, whichever reaches further. A match that does
    // not need the line head counts too: otherwise an expression such as '^a|b*' would
    // find nothing in the empty text. (When the first walk succeeds, the second may
    // stop where the first stood; what it misses there, the first has already seen.)
    const char *r1 = Inside(pText, state == nullptr ? nullptr : NextDFAState(state, GetLineHeadWChar()), memo);
    const char *r2 = Inside(pText, state, memo);
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
    TWalkMemo memo(pText, LongWalkSlack);
    for (const char *s = pText; *s != '\0';) {
        memo.StartAt(s);
        // The first step also finds the next start position.
        const char *q = s;
        const WChar_t first = PCharGetWChar(q);
        const char *const next = q;
        if (memo.KnownDead(s, initial)) {
            s = next;
            continue;
        }
        if (initial->Accepted != 0) {
            pStart = s;
            pEnd = s;
        }
        for (RE_pDFAState_t state = NextDFAState(initial, first); state != nullptr;) {
            if (memo.KnownDead(q, state)) break;
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
    TWalkMemo memo(pText, LongWalkSlack);
    pStart = pText;
    pEnd = Head(pText, GetpInitialDFAState(), &memo);
    if (pEnd == nullptr) Inside_EX(pText, pStart, pEnd, memo);
}

void TMatchCORE::MatchEX_Inside(const char *pText, const char *&pStart, const char *&pEnd) const {
    TWalkMemo memo(pText, LongWalkSlack);
    Inside_EX(pText, pStart, pEnd, memo);
}

void TMatchCORE::Inside_EX(const char *pText, const char *&pStart, const char *&pEnd, TWalkMemo &memo) const {
    pStart = nullptr;
    pEnd = nullptr;
    const RE_pDFAState_t initial = GetpInitialDFAState();
    const bool hasLHead = GetHasLHead();
    const char *s = pText;
    for (; *s != '\0'; s = NextChar(s)) {
        memo.StartAt(s);
        const char *e = Inside(s, initial, &memo);
        if (e != nullptr) {
            pStart = s;
            pEnd = e;
            return;
        }
        if (*s == '\n' && hasLHead) {
            e = Head(s + 1, initial, &memo);
            if (e != nullptr) {
                pStart = s + 1;
                pEnd = e;
                return;
            }
        }
    }
    if (GetHasLTail() && NextDFAState(initial, GetLineTailWChar()) != nullptr) pStart = pEnd = s;
}
