// DFA stage of the regular-expression engine: subset construction over the NFA, sorted
// transition lists, plain-string detection, and the one-step lookup every matcher uses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "regexp/chars.h"
#include "regexp/nfa.h"

struct RE_DFAState_t;
using RE_pDFAState_t = RE_DFAState_t *;

// One transition of a DFA state; the DFA owns every transition.
struct RE_DFAStateSub_t {
    RECharClass_t CharClass;
    RE_pDFAState_t TransitTo;
    RE_DFAStateSub_t *Next;
};
using RE_pDFAStateSub_t = RE_DFAStateSub_t *;

// A transition reaching codes of 256 and above, in a state's sorted lookup array.
struct RE_DFAWideMove_t {
    WChar_t StartChar;
    WChar_t EndChar;
    RE_pDFAState_t TransitTo;
};

constexpr std::uint16_t RE_DFA_TRUE = 0xFFFF;
constexpr std::uint16_t RE_DFA_FALSE = 0;

struct RE_DFAState_t {
    std::unique_ptr<TRE_NFAStateSet> StateSet;
    std::uint16_t Visited = RE_DFA_FALSE;
    std::uint16_t Accepted = RE_DFA_FALSE;
    RE_pDFAStateSub_t Next = nullptr;  // transitions, ascending StartChar after Run

    // Lookup tables built by Run from the sorted list, for states whose ranges are
    // disjoint (all of them, in a DFA made by Run); otherwise the list is walked.
    // Codes below 256 go through the DFA's byte-class map to one entry of ByteRow when
    // the DFA has byte rows; other codes are found by binary search in WideMoves, which
    // then holds every transition reaching 256 or above (all transitions without rows).
    bool Indexed = false;
    const std::uint8_t *ByteClassMap = nullptr;
    const RE_pDFAState_t *ByteRow = nullptr;
    const RE_DFAWideMove_t *WideMoves = nullptr;
    std::uint32_t WideCount = 0;
};

// A pending transition while one state is being expanded.
struct RE_DFATransNode_t {
    RECharClass_t CharClass;
    std::unique_ptr<TRE_NFAStateSet> ToNFAStateSet;
};
using RE_DFATransList_t = std::vector<RE_DFATransNode_t>;

// Budgets of the subset construction; past any, ERegExpParser(REMSG_RegExpTooComplex).
constexpr std::size_t RE_DFA_MAX_STATES = 100000;
// NFA sets of all states; the pending sets of the state being expanded, on their own.
constexpr std::size_t RE_DFA_MAX_SET_BYTES = std::size_t{64} << 20;
// Transitions of all states: a blow-up over many distinct classes multiplies the states
// by the classes, in time and memory, well before the state budget is reached.
constexpr std::size_t RE_DFA_MAX_TRANSITIONS = 2000000;
// NFA states and moves visited while expanding states and collecting closures: huge
// NFAs (nested repetitions copy their operand) make every state expensive.
constexpr std::size_t RE_DFA_MAX_WORK = 200000000;
// Byte rows are built only while states x byte classes stays below this many entries.
constexpr std::size_t RE_DFA_MAX_BYTE_ROW_ENTRIES = std::size_t{4} << 20;

// The state reached from state on wc by walking its transition list: the first range
// that contains wc, the walk stopping at the first range that starts above wc.
RE_pDFAState_t RE_NextDFAStateByList(const RE_DFAState_t *state, WChar_t wc) noexcept;

// The same answer through the lookup tables when they exist.
inline RE_pDFAState_t RE_NextDFAState(const RE_DFAState_t *state, WChar_t wc) noexcept {
    if (!state->Indexed) return RE_NextDFAStateByList(state, wc);
    if (wc < 256 && state->ByteRow != nullptr) return state->ByteRow[state->ByteClassMap[wc]];
    const RE_DFAWideMove_t *lo = state->WideMoves;
    std::uint32_t n = state->WideCount;
    while (n > 0) {  // last move starting at or below wc
        const std::uint32_t half = n / 2;
        if (lo[half].StartChar <= wc) {
            lo += half + 1;
            n -= half + 1;
        } else {
            n = half;
        }
    }
    if (lo == state->WideMoves) return nullptr;
    --lo;
    return wc <= lo->EndChar ? lo->TransitTo : nullptr;
}

class TRE_DFA {
public:
    explicit TRE_DFA(TRE_NFA *nfa);
    ~TRE_DFA();
    TRE_DFA(const TRE_DFA &) = delete;
    TRE_DFA &operator=(const TRE_DFA &) = delete;

    // Copies the anchor flags, converts, sorts, detects a plain string and builds the
    // lookup tables. The DFA is read only afterwards.
    void Run();

    void Convert_NFA_to_DFA();
    // Adds every state reachable by empty moves to s, in place.
    void Collect_Empty_Transition(TRE_NFAStateSet &s) const;
    // The state whose set equals s; a new state takes s over (s becomes null).
    RE_pDFAState_t Register_DFA_State(std::unique_ptr<TRE_NFAStateSet> &s);
    RE_pDFAState_t Fetch_Unvisited_D_state();
    // Pending transitions of D in order of first appearance: member NFA states
    // ascending, each state's moves head first, equal classes merged. Where classes
    // overlap without being equal (an anchor written where it stands for its own
    // character, or an owner whose anchor code is a text character), the list is
    // replaced by disjoint pieces in ascending order, each leading to the union of the
    // targets of the classes covering it.
    RE_DFATransList_t Compute_Reachable_N_state(const RE_DFAState_t *D) const;
    // Adds a transition at the head of state's list.
    RE_pDFAStateSub_t AddTransition(RE_pDFAState_t state, RECharClass_t cc, RE_pDFAState_t to);
    // Stable sort of every state's transitions by StartChar.
    void StateListSort();
    void CheckIfRegExpIsSimple();
    void DestroyStateList();

    const std::vector<std::unique_ptr<RE_DFAState_t>> &StateList() const noexcept { return FStateList; }
    // Position of state in StateList, or -1.
    int IndexOf(const RE_DFAState_t *state) const noexcept;

    RE_pDFAState_t pInitialState = nullptr;
    TRE_NFA *NFA;
    bool RegExpIsSimple = false;
    std::string SimpleRegExp;
    bool HasLHead = false;
    bool HasLTail = false;

private:
    void BuildLookupTables();
    // Refuses a state whose pending transitions would hold more than the set budget.
    void CheckPendingSets(std::size_t count) const;
    // Adds to the work done so far; refuses the expression past the budget.
    void CountWork(std::size_t steps) const;

    std::vector<std::unique_ptr<RE_DFAState_t>> FStateList;
    std::deque<RE_DFAStateSub_t> FSubs;  // storage of every transition
    std::unordered_multimap<std::size_t, RE_pDFAState_t> FSetIndex;
    std::size_t FNextUnvisited = 0;
    std::size_t FSetBytes = 0;
    std::int32_t FNFAStateCount = 0;
    mutable std::size_t FWork = 0;
    // Targets of the empty moves of NFA state v: FEmptyTo[FEmptyFrom[v] .. FEmptyFrom[v+1]).
    std::vector<std::size_t> FEmptyFrom;
    std::vector<std::int32_t> FEmptyTo;

    std::uint8_t FByteClassMap[256] = {};
    std::vector<RE_pDFAState_t> FByteRows;
    std::vector<RE_DFAWideMove_t> FWideMoves;
};
