// NFA stage of the regular-expression engine: turns a parse tree into an automaton whose
// moves are labelled with character ranges (or the empty class), anchors becoming moves
// on the owner's line-head and line-tail codes; plus the state sets the DFA stage uses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "regexp/chars.h"
#include "regexp/parser.h"

// One move of an NFA state; the NFA owns every move.
struct RE_NFANode_t {
    RECharClass_t CharClass;
    std::int32_t TransitTo;
    RE_NFANode_t *Next;
};
using RE_pNFANode_t = RE_NFANode_t *;

// Compilation budgets. Real expressions stay far below them; an expression that would
// pass one (nested repetitions that copy their operand, DFAs that blow up) is refused
// with ERegExpParser(REMSG_RegExpTooComplex) instead of exhausting memory or time.
constexpr std::int32_t RE_NFA_MAX_STATES = 1000000;
constexpr std::int32_t RE_NFA_MAX_MOVES = 2000000;

// CP932 message of a refused compilation (backend_messages_cp932.cpp).
extern const char *const REMSG_RegExpTooComplex;   // 正規表現が複雑すぎて処理できません。
// Internal inconsistency of the NFA builder.
extern const char *const REMSG_NFACannotHappen;    // This cannot happen in TRE_NFA.GenerateStateList

class TRE_NFA {
public:
    TRE_NFA(TREParser *parser, WChar_t lHeadWChar, WChar_t lTailWChar);
    ~TRE_NFA();
    TRE_NFA(const TRE_NFA &) = delete;
    TRE_NFA &operator=(const TRE_NFA &) = delete;

    // Builds the automaton for the parser's tree: entry state 0, exit state 1.
    void Run();

    // Appends a state without moves and returns its number.
    std::int32_t NumberNode();
    // A new move record owned by the NFA (fields unset).
    RE_pNFANode_t MakeNFANode();
    // Puts a move from -> to on cc at the head of state from's list.
    void AddTransition(std::int32_t from, std::int32_t to, RECharClass_t cc);
    // Adds the moves recognising node's sub-expression between the two states.
    // Walks the tree with an explicit stack, so deep trees cannot overflow the call
    // stack; moves and state numbers come out as a depth-first, left-first recursion
    // would make them.
    void GenerateStateList(REpNode_t node, std::int32_t entry, std::int32_t exit);
    void DisposeStateList();

    // Entry n is the head of state n's move list (null when it has none).
    const std::vector<RE_pNFANode_t> &StateList() const noexcept { return FStateList; }
    std::int32_t StateCount() const noexcept { return static_cast<std::int32_t>(FStateList.size()); }

    std::int32_t EntryState = 0;
    std::int32_t ExitState = 0;
    TREParser *Parser;
    bool HasLHead = false;
    bool HasLTail = false;
    WChar_t LHeadWChar;
    WChar_t LTailWChar;

private:
    std::vector<RE_pNFANode_t> FStateList;
    std::deque<RE_NFANode_t> FNodes;  // storage of every move
};

// A set of NFA state numbers: bit (i mod 8) of byte (i div 8) holds state i.
class TRE_NFAStateSet {
public:
    explicit TRE_NFAStateSet(std::int32_t StateMax);

    bool Has(std::int32_t i) const noexcept {
        return (FWords[static_cast<std::size_t>(i) >> 6] >> (i & 63)) & 1u;
    }
    void Include(std::int32_t i) noexcept {
        FWords[static_cast<std::size_t>(i) >> 6] |= std::uint64_t{1} << (i & 63);
    }
    // Same members; only meaningful between sets made for the same StateMax.
    bool Equals(const TRE_NFAStateSet &other) const noexcept;
    // Adds every member of other (made for the same StateMax).
    void IncludeAll(const TRE_NFAStateSet &other) noexcept;

    // StateMax div 8 + 1: the bytes the set occupies.
    std::int32_t ByteCount() const noexcept { return FByteCount; }
    // Byte k of the set (members 8k to 8k+7, bit 0 the lowest).
    std::uint8_t Byte(std::int32_t k) const noexcept {
        return static_cast<std::uint8_t>(FWords[static_cast<std::size_t>(k) >> 3] >> ((k & 7) * 8));
    }
    std::size_t Hash() const noexcept;

    // Calls f(i) for every member, ascending.
    template <typename F>
    void ForEach(F f) const {
        for (std::size_t w = 0; w < FWords.size(); ++w) {
            std::uint64_t bits = FWords[w];
            while (bits != 0) {
                const int b = __builtin_ctzll(bits);
                f(static_cast<std::int32_t>(w * 64 + static_cast<std::size_t>(b)));
                bits &= bits - 1;
            }
        }
    }

private:
    std::int32_t FByteCount;
    std::vector<std::uint64_t> FWords;  // bytes beyond FByteCount stay zero
};
