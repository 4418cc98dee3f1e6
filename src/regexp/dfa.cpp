// DFA construction by subset construction, transition sorting, plain-string detection
// and the lookup tables behind NextDFAState.
#include "regexp/dfa.h"

#include <algorithm>
#include <utility>

namespace {

[[noreturn]] void RaiseTooComplex() { throw ERegExpParser(REMSG_RegExpTooComplex, 1); }

bool IsEmptyClass(RECharClass_t cc) { return cc.StartChar == CONST_EMPTYCharClass.StartChar; }

}  // namespace

RE_pDFAState_t RE_NextDFAStateByList(const RE_DFAState_t *state, WChar_t wc) noexcept {
    for (const RE_DFAStateSub_t *t = state->Next; t != nullptr; t = t->Next) {
        if (wc < t->CharClass.StartChar) return nullptr;
        if (wc <= t->CharClass.EndChar) return t->TransitTo;
    }
    return nullptr;
}

TRE_DFA::TRE_DFA(TRE_NFA *nfa) : NFA(nfa) {}

TRE_DFA::~TRE_DFA() { DestroyStateList(); }

void TRE_DFA::Run() {
    HasLHead = NFA->HasLHead;
    HasLTail = NFA->HasLTail;
    Convert_NFA_to_DFA();
    FEmptyFrom = {};
    FEmptyTo = {};
    StateListSort();
    CheckIfRegExpIsSimple();
    BuildLookupTables();
}

void TRE_DFA::Convert_NFA_to_DFA() {
    FNFAStateCount = NFA->StateCount();
    // The empty moves of every NFA state, gathered once: closures then skip the
    // character moves, of which a state may have thousands.
    const auto &nfaStates = NFA->StateList();
    FEmptyFrom.assign(nfaStates.size() + 1, 0);
    FEmptyTo.clear();
    for (std::size_t v = 0; v < nfaStates.size(); ++v) {
        FEmptyFrom[v] = FEmptyTo.size();
        for (const RE_NFANode_t *m = nfaStates[v]; m != nullptr; m = m->Next)
            if (IsEmptyClass(m->CharClass)) FEmptyTo.push_back(m->TransitTo);
    }
    FEmptyFrom[nfaStates.size()] = FEmptyTo.size();

    auto s = std::make_unique<TRE_NFAStateSet>(FNFAStateCount);
    s->Include(NFA->EntryState);
    Collect_Empty_Transition(*s);
    pInitialState = Register_DFA_State(s);

    for (RE_pDFAState_t D = Fetch_Unvisited_D_state(); D != nullptr; D = Fetch_Unvisited_D_state()) {
        D->Visited = RE_DFA_TRUE;
        RE_DFATransList_t P = Compute_Reachable_N_state(D);
        if (P.size() > RE_DFA_MAX_TRANSITIONS - FSubs.size()) RaiseTooComplex();
        // Taken last-appearing first, each put at the head of D's list: the list ends
        // up in order of first appearance, and new states are numbered in this order.
        for (auto t = P.rbegin(); t != P.rend(); ++t) {
            Collect_Empty_Transition(*t->ToNFAStateSet);
            RE_pDFAStateSub_t sub = AddTransition(D, t->CharClass, nullptr);
            sub->TransitTo = Register_DFA_State(t->ToNFAStateSet);
        }
    }
}

void TRE_DFA::Collect_Empty_Transition(TRE_NFAStateSet &s) const {
    const auto &states = NFA->StateList();
    const bool gathered = FEmptyFrom.size() == states.size() + 1;
    std::vector<std::int32_t> stack;
    s.ForEach([&stack](std::int32_t i) { stack.push_back(i); });
    auto visit = [&s, &stack](std::int32_t to) {
        if (!s.Has(to)) {
            s.Include(to);
            stack.push_back(to);
        }
    };
    while (!stack.empty()) {
        const auto v = static_cast<std::size_t>(stack.back());
        stack.pop_back();
        CountWork(1 + (gathered ? FEmptyFrom[v + 1] - FEmptyFrom[v] : 0));
        if (gathered) {
            for (std::size_t k = FEmptyFrom[v]; k < FEmptyFrom[v + 1]; ++k) visit(FEmptyTo[k]);
        } else {
            for (const RE_NFANode_t *m = states[v]; m != nullptr; m = m->Next)
                if (IsEmptyClass(m->CharClass)) visit(m->TransitTo);
        }
    }
}

RE_pDFAState_t TRE_DFA::Register_DFA_State(std::unique_ptr<TRE_NFAStateSet> &s) {
    const std::size_t h = s->Hash();
    const auto range = FSetIndex.equal_range(h);
    for (auto it = range.first; it != range.second; ++it)
        if (it->second->StateSet->Equals(*s)) return it->second;

    const std::size_t bytes = static_cast<std::size_t>(s->ByteCount());
    if (FStateList.size() >= RE_DFA_MAX_STATES || FSetBytes + bytes > RE_DFA_MAX_SET_BYTES)
        RaiseTooComplex();
    auto state = std::make_unique<RE_DFAState_t>();
    state->Accepted = s->Has(NFA->ExitState) ? RE_DFA_TRUE : RE_DFA_FALSE;
    state->StateSet = std::move(s);
    RE_pDFAState_t p = state.get();
    FStateList.push_back(std::move(state));
    FSetBytes += bytes;
    try {
        FSetIndex.emplace(h, p);
    } catch (...) {
        s = std::move(FStateList.back()->StateSet);
        FStateList.pop_back();
        FSetBytes -= bytes;
        throw;
    }
    return p;
}

RE_pDFAState_t TRE_DFA::Fetch_Unvisited_D_state() {
    // States only ever become visited, and in registration order: everything before
    // the cursor is visited already.
    while (FNextUnvisited < FStateList.size() && FStateList[FNextUnvisited]->Visited != RE_DFA_FALSE)
        ++FNextUnvisited;
    return FNextUnvisited < FStateList.size() ? FStateList[FNextUnvisited].get() : nullptr;
}

RE_DFATransList_t TRE_DFA::Compute_Reachable_N_state(const RE_DFAState_t *D) const {
    const auto &states = NFA->StateList();
    constexpr std::size_t kScanLimit = 8;
    RE_DFATransList_t P;
    std::unordered_map<std::uint32_t, std::size_t> byClass;
    D->StateSet->ForEach([&](std::int32_t i) {
        CountWork(1);
        for (const RE_NFANode_t *m = states[static_cast<std::size_t>(i)]; m != nullptr; m = m->Next) {
            CountWork(1);
            if (IsEmptyClass(m->CharClass)) continue;
            const std::uint32_t key =
                (std::uint32_t{m->CharClass.StartChar} << 16) | m->CharClass.EndChar;
            // Few classes: a scan is cheapest; many: an index by class.
            std::size_t at = P.size();
            if (P.size() <= kScanLimit) {
                for (std::size_t k = 0; k < P.size(); ++k)
                    if (P[k].CharClass == m->CharClass) {
                        at = k;
                        break;
                    }
            } else {
                if (byClass.empty())
                    for (std::size_t k = 0; k < P.size(); ++k)
                        byClass.emplace((std::uint32_t{P[k].CharClass.StartChar} << 16) |
                                            P[k].CharClass.EndChar, k);
                const auto found = byClass.find(key);
                if (found != byClass.end()) at = found->second;
            }
            if (at != P.size()) {
                P[at].ToNFAStateSet->Include(m->TransitTo);
                continue;
            }
            CheckPendingSets(P.size() + 1);
            RE_DFATransNode_t t{m->CharClass, std::make_unique<TRE_NFAStateSet>(FNFAStateCount)};
            t.ToNFAStateSet->Include(m->TransitTo);
            P.push_back(std::move(t));
            if (!byClass.empty()) byClass.emplace(key, P.size() - 1);
        }
    });

    // Overlapping classes: refine into disjoint pieces so that every character reaches
    // all the states it can reach.
    std::vector<RECharClass_t> sorted;
    sorted.reserve(P.size());
    for (const auto &t : P) sorted.push_back(t.CharClass);
    std::sort(sorted.begin(), sorted.end(),
              [](RECharClass_t a, RECharClass_t b) { return a.StartChar < b.StartChar; });
    bool overlap = false;
    for (std::size_t k = 1; k < sorted.size() && !overlap; ++k)
        overlap = sorted[k].StartChar <= sorted[k - 1].EndChar;
    if (!overlap) return P;

    std::vector<std::uint32_t> cuts;
    for (const auto &t : P) {
        cuts.push_back(t.CharClass.StartChar);
        cuts.push_back(std::uint32_t{t.CharClass.EndChar} + 1);
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

    RE_DFATransList_t pieces;
    std::vector<bool> lastCover;
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
        const std::uint32_t lo = cuts[k];
        const std::uint32_t hi = cuts[k + 1] - 1;
        std::vector<bool> cover(P.size());
        bool any = false;
        for (std::size_t j = 0; j < P.size(); ++j) {
            cover[j] = P[j].CharClass.StartChar <= lo && P[j].CharClass.EndChar >= hi;
            any = any || cover[j];
        }
        if (!any) {
            lastCover.clear();
            continue;
        }
        if (!pieces.empty() && cover == lastCover &&
            std::uint32_t{pieces.back().CharClass.EndChar} + 1 == lo) {
            pieces.back().CharClass.EndChar = static_cast<WChar_t>(hi);
            continue;
        }
        CheckPendingSets(pieces.size() + 1);
        RE_DFATransNode_t t{{static_cast<WChar_t>(lo), static_cast<WChar_t>(hi)},
                            std::make_unique<TRE_NFAStateSet>(FNFAStateCount)};
        for (std::size_t j = 0; j < P.size(); ++j)
            if (cover[j]) t.ToNFAStateSet->IncludeAll(*P[j].ToNFAStateSet);
        pieces.push_back(std::move(t));
        lastCover = std::move(cover);
    }
    return pieces;
}

void TRE_DFA::CountWork(std::size_t steps) const {
    FWork += steps;
    if (FWork > RE_DFA_MAX_WORK) RaiseTooComplex();
}

void TRE_DFA::CheckPendingSets(std::size_t count) const {
    const std::size_t bytes = static_cast<std::size_t>(FNFAStateCount) / 8 + 1;
    if (count > RE_DFA_MAX_SET_BYTES / bytes) RaiseTooComplex();
}

RE_pDFAStateSub_t TRE_DFA::AddTransition(RE_pDFAState_t state, RECharClass_t cc, RE_pDFAState_t to) {
    FSubs.push_back({cc, to, state->Next});
    state->Next = &FSubs.back();
    return state->Next;
}

void TRE_DFA::StateListSort() {
    std::vector<RE_pDFAStateSub_t> subs;
    for (const auto &state : FStateList) {
        subs.clear();
        for (RE_pDFAStateSub_t t = state->Next; t != nullptr; t = t->Next) subs.push_back(t);
        std::stable_sort(subs.begin(), subs.end(), [](RE_pDFAStateSub_t a, RE_pDFAStateSub_t b) {
            return a->CharClass.StartChar < b->CharClass.StartChar;
        });
        RE_pDFAStateSub_t next = nullptr;
        for (auto it = subs.rbegin(); it != subs.rend(); ++it) {
            (*it)->Next = next;
            next = *it;
        }
        state->Next = next;
    }
}

void TRE_DFA::CheckIfRegExpIsSimple() {
    RegExpIsSimple = false;
    SimpleRegExp.clear();
    const RE_DFAState_t *D = pInitialState;
    // A chain visits each state at most once; a longer walk has met a cycle.
    for (std::size_t steps = 0; D != nullptr && steps <= FStateList.size(); ++steps) {
        const RE_DFAStateSub_t *t = D->Next;
        if (t == nullptr) {
            RegExpIsSimple = true;
            return;
        }
        if (t->Next != nullptr || t->CharClass.StartChar != t->CharClass.EndChar || D->Accepted != 0)
            break;
        SimpleRegExp += WCharToStr(t->CharClass.StartChar);
        D = t->TransitTo;
    }
    SimpleRegExp.clear();
}

void TRE_DFA::BuildLookupTables() {
    bool cut[257] = {};
    cut[0] = true;
    for (const auto &state : FStateList)
        for (const RE_DFAStateSub_t *t = state->Next; t != nullptr; t = t->Next) {
            if (t->CharClass.StartChar < 256) cut[t->CharClass.StartChar] = true;
            if (t->CharClass.EndChar < 255) cut[t->CharClass.EndChar + 1] = true;
        }
    std::vector<std::uint8_t> representative;
    int cls = -1;
    for (int b = 0; b < 256; ++b) {
        if (cut[b]) {
            ++cls;
            representative.push_back(static_cast<std::uint8_t>(b));
        }
        FByteClassMap[b] = static_cast<std::uint8_t>(cls);
    }
    const std::size_t classes = representative.size();
    const bool rows = FStateList.size() * classes <= RE_DFA_MAX_BYTE_ROW_ENTRIES;

    std::vector<bool> disjoint(FStateList.size(), true);
    std::size_t wide = 0;
    for (std::size_t i = 0; i < FStateList.size(); ++i) {
        const RE_DFAStateSub_t *prev = nullptr;
        for (const RE_DFAStateSub_t *t = FStateList[i]->Next; t != nullptr; prev = t, t = t->Next) {
            if (prev != nullptr && t->CharClass.StartChar <= prev->CharClass.EndChar) disjoint[i] = false;
            if (!rows || t->CharClass.EndChar >= 256) ++wide;
        }
    }
    FByteRows.assign(rows ? FStateList.size() * classes : 0, nullptr);
    FWideMoves.clear();
    FWideMoves.reserve(wide);
    for (std::size_t i = 0; i < FStateList.size(); ++i) {
        RE_DFAState_t &state = *FStateList[i];
        if (!disjoint[i]) continue;
        state.Indexed = true;
        if (rows) {
            RE_pDFAState_t *row = FByteRows.data() + i * classes;
            for (std::size_t k = 0; k < classes; ++k)
                row[k] = RE_NextDFAStateByList(&state, representative[k]);
            state.ByteRow = row;
            state.ByteClassMap = FByteClassMap;
        }
        const std::size_t first = FWideMoves.size();
        for (const RE_DFAStateSub_t *t = state.Next; t != nullptr; t = t->Next)
            if (!rows || t->CharClass.EndChar >= 256)
                FWideMoves.push_back({t->CharClass.StartChar, t->CharClass.EndChar, t->TransitTo});
        state.WideMoves = FWideMoves.data() + first;
        state.WideCount = static_cast<std::uint32_t>(FWideMoves.size() - first);
    }
}

int TRE_DFA::IndexOf(const RE_DFAState_t *state) const noexcept {
    for (std::size_t i = 0; i < FStateList.size(); ++i)
        if (FStateList[i].get() == state) return static_cast<int>(i);
    return -1;
}

void TRE_DFA::DestroyStateList() {
    pInitialState = nullptr;
    FSetIndex.clear();
    FStateList.clear();
    FSubs.clear();
    FByteRows.clear();
    FWideMoves.clear();
    FNextUnvisited = 0;
    FSetBytes = 0;
    FWork = 0;
}
