// NFA construction from the parse tree, and NFA state sets.
#include "regexp/nfa.h"

#include "platform/platform.h"

namespace {

[[noreturn]] void RaiseTooComplex() { throw ERegExpParser(REMSG_RegExpTooComplex, 1); }

}  // namespace

TRE_NFA::TRE_NFA(TREParser *parser, WChar_t lHeadWChar, WChar_t lTailWChar)
    : Parser(parser), LHeadWChar(lHeadWChar), LTailWChar(lTailWChar) {}

TRE_NFA::~TRE_NFA() { DisposeStateList(); }

void TRE_NFA::Run() {
    EntryState = NumberNode();
    ExitState = NumberNode();
    GenerateStateList(Parser->ParseTree.pHeadNode, EntryState, ExitState);
}

std::int32_t TRE_NFA::NumberNode() {
    if (FStateList.size() >= static_cast<std::size_t>(RE_NFA_MAX_STATES)) RaiseTooComplex();
    FStateList.push_back(nullptr);
    return static_cast<std::int32_t>(FStateList.size() - 1);
}

RE_pNFANode_t TRE_NFA::MakeNFANode() {
    if (FNodes.size() >= static_cast<std::size_t>(RE_NFA_MAX_MOVES)) RaiseTooComplex();
    FNodes.emplace_back();
    return &FNodes.back();
}

void TRE_NFA::AddTransition(std::int32_t from, std::int32_t to, RECharClass_t cc) {
    RE_pNFANode_t r = MakeNFANode();
    r->CharClass = cc;
    r->TransitTo = to;
    RE_pNFANode_t &head = FStateList.at(static_cast<std::size_t>(from));
    r->Next = head;
    head = r;
}

void TRE_NFA::GenerateStateList(REpNode_t node, std::int32_t entry, std::int32_t exit) {
    // Pending work, taken from the back: either a sub-tree to generate between two
    // states, or a single move to add once the sub-trees pushed before it are done.
    struct Task {
        REpNode_t node;  // null: add the move (a, b, cc)
        std::int32_t a;
        std::int32_t b;
        RECharClass_t cc;
    };
    std::vector<Task> stack;
    stack.push_back({node, entry, exit, CONST_EMPTYCharClass});
    while (!stack.empty()) {
        const Task t = stack.back();
        stack.pop_back();
        if (t.node == nullptr) {
            AddTransition(t.a, t.b, t.cc);
            continue;
        }
        const REpNode_t n = t.node;
        switch (n->op) {
            case reop_Char:
                AddTransition(t.a, t.b, n->CharClass);
                break;
            case reop_LHead:
                if (t.a == EntryState) {
                    HasLHead = true;
                    AddTransition(t.a, t.b, {LHeadWChar, LHeadWChar});
                } else {
                    AddTransition(t.a, t.b, n->CharClass);
                }
                break;
            case reop_LTail:
                if (t.b == ExitState) {
                    HasLTail = true;
                    AddTransition(t.a, t.b, {LTailWChar, LTailWChar});
                } else {
                    AddTransition(t.a, t.b, n->CharClass);
                }
                break;
            case reop_Concat: {
                const std::int32_t c = NumberNode();
                stack.push_back({n->Children.pRight, c, t.b, CONST_EMPTYCharClass});
                stack.push_back({n->Children.pLeft, t.a, c, CONST_EMPTYCharClass});
                break;
            }
            case reop_Union:
                stack.push_back({n->Children.pRight, t.a, t.b, CONST_EMPTYCharClass});
                stack.push_back({n->Children.pLeft, t.a, t.b, CONST_EMPTYCharClass});
                break;
            case reop_Closure: {
                const std::int32_t c = NumberNode();
                const std::int32_t d = NumberNode();
                AddTransition(t.a, c, CONST_EMPTYCharClass);
                stack.push_back({nullptr, c, t.b, CONST_EMPTYCharClass});
                stack.push_back({nullptr, d, c, CONST_EMPTYCharClass});
                stack.push_back({n->Children.pLeft, c, d, CONST_EMPTYCharClass});
                break;
            }
            case reop_Empty:
                AddTransition(t.a, t.b, CONST_EMPTYCharClass);
                break;
            default:
                throw qv::Exception(REMSG_NFACannotHappen);
        }
    }
}

void TRE_NFA::DisposeStateList() {
    FStateList.clear();
    FStateList.shrink_to_fit();
    FNodes.clear();
}

// ---------------------------------------------------------------------------------
// TRE_NFAStateSet

TRE_NFAStateSet::TRE_NFAStateSet(std::int32_t StateMax)
    : FByteCount(StateMax / 8 + 1),
      FWords((static_cast<std::size_t>(FByteCount) + 7) / 8, 0) {}

bool TRE_NFAStateSet::Equals(const TRE_NFAStateSet &other) const noexcept {
    return FByteCount == other.FByteCount && FWords == other.FWords;
}

void TRE_NFAStateSet::IncludeAll(const TRE_NFAStateSet &other) noexcept {
    const std::size_t n = FWords.size() < other.FWords.size() ? FWords.size() : other.FWords.size();
    for (std::size_t w = 0; w < n; ++w) FWords[w] |= other.FWords[w];
}

std::size_t TRE_NFAStateSet::Hash() const noexcept {
    std::uint64_t h = 0x9E3779B97F4A7C15ull;
    for (const std::uint64_t w : FWords) {
        h ^= w + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
        h *= 0xFF51AFD7ED558CCDull;
    }
    h ^= h >> 33;
    return static_cast<std::size_t>(h);
}
