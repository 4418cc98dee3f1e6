// Parser and parse tree: grammar, shared leaves, classes and disjoint leaf ranges.
#include "regexp/parser.h"

#include <algorithm>
#include <utility>

#include "regexp/messages.h"
#include "regexp/nfa.h"

namespace {

[[noreturn]] void Raise(const char *message, int pos) {
    throw ERegExpParser(message, static_cast<std::uint16_t>(pos));
}

constexpr RETokenSet_t kTermStop =
    RETokenBit(retk_Union) | RETokenBit(retk_RPar) | RETokenBit(retk_End);

std::uint32_t RangeKey(RECharClass_t r) { return (std::uint32_t{r.StartChar} << 16) | r.EndChar; }

}  // namespace

// ---------------------------------------------------------------------------------
// TREParseTree

REpNode_t TREParseTree::MakeInternalNode(REOperation_t op, REpNode_t pLeft, REpNode_t pRight) {
    auto node = std::make_unique<RENode_t>();
    node->op = op;
    node->Children.pLeft = pLeft;
    node->Children.pRight = pRight;
    FNodeList.push_back(std::move(node));
    return FNodeList.back().get();
}

REpNode_t TREParseTree::MakeLeaf(WChar_t StartChar, WChar_t EndChar) {
    const RECharClass_t range{StartChar, EndChar};
    const auto found = FLeafIndex.find(RangeKey(range));
    if (found != FLeafIndex.end()) return found->second;
    auto node = std::make_unique<RENode_t>();
    node->op = reop_Char;
    node->CharClass = range;
    const REpNode_t leaf = node.get();
    FLeafList.push_back(std::move(node));
    try {
        FLeafIndex.emplace(RangeKey(range), leaf);
        if (FSplitting) FLeafSlot.emplace(leaf, FLeafList.size() - 1);
    } catch (...) {
        FLeafIndex.erase(RangeKey(range));
        FLeafList.pop_back();
        throw;
    }
    return leaf;
}

REpNode_t TREParseTree::Check_and_MakeLeaf(WChar_t StartChar, WChar_t EndChar) {
    if (EndChar < StartChar) return nullptr;
    return MakeLeaf(StartChar, EndChar);
}

REpNode_t TREParseTree::MakeLHeadNode(WChar_t c) {
    REpNode_t node = MakeInternalNode(reop_LHead, nullptr, nullptr);
    node->CharClass = {c, c};
    return node;
}

REpNode_t TREParseTree::MakeLTailNode(WChar_t c) {
    REpNode_t node = MakeInternalNode(reop_LTail, nullptr, nullptr);
    node->CharClass = {c, c};
    return node;
}

REpNode_t TREParseTree::MakeAnyCharsNode() {
    REpNode_t vtff = MakeLeaf(0x0B, 0x0C);
    REpNode_t low = MakeLeaf(0x01, 0x09);
    REpNode_t first = MakeInternalNode(reop_Union, low, vtff);
    REpNode_t rest = MakeLeaf(0x0E, RE_ANYCHAR_MAX);
    return MakeInternalNode(reop_Union, first, rest);
}

REpNode_t TREParseTree::MakeNoMatchNode() {
    return MakeLeaf(RE_NOMATCHCharClass.StartChar, RE_NOMATCHCharClass.EndChar);
}

void TREParseTree::ChangeLeaftoNode(REpNode_t leaf, REpNode_t pLeft, REpNode_t pRight) {
    if (pLeft == nullptr || pRight == nullptr) throw qv::Exception(REMSG_ParseTreeFatal);
    NodeList_t::iterator it = FLeafList.end();
    if (FSplitting) {
        const auto slot = FLeafSlot.find(leaf);
        if (slot != FLeafSlot.end()) it = FLeafList.begin() + static_cast<std::ptrdiff_t>(slot->second);
    } else {
        it = std::find_if(FLeafList.begin(), FLeafList.end(),
                          [leaf](const std::unique_ptr<RENode_t> &p) { return p.get() == leaf; });
    }
    if (it == FLeafList.end()) throw qv::Exception(REMSG_ParseTreeFatal);
    // Reserve first so that moving the node between the lists cannot fail halfway; grow
    // geometrically, as push_back would, or every change copies the whole list.
    if (FNodeList.size() == FNodeList.capacity()) FNodeList.reserve(FNodeList.size() * 2 + 16);
    FLeafIndex.erase(RangeKey(leaf->CharClass));
    FNodeList.push_back(std::move(*it));
    if (FSplitting) FLeafSlot.erase(leaf);
    else FLeafList.erase(it);
    leaf->op = reop_Union;
    leaf->Children.pLeft = pLeft;
    leaf->Children.pRight = pRight;
}

bool TREParseTree::SplitStep(REpNode_t A, REpNode_t B) {
    REpNode_t L = A;
    REpNode_t H = B;
    if (B->CharClass.StartChar < A->CharClass.StartChar) std::swap(L, H);
    const RECharClass_t lc = L->CharClass;
    const RECharClass_t hc = H->CharClass;
    if (hc.StartChar > lc.EndChar || lc == hc) return false;

    const WChar_t s1 = lc.StartChar;
    const WChar_t s2 = hc.StartChar;
    const WChar_t e1 = std::min(lc.EndChar, hc.EndChar);
    const WChar_t e2 = std::max(lc.EndChar, hc.EndChar);

    REpNode_t below = s1 < s2 ? Check_and_MakeLeaf(s1, static_cast<WChar_t>(s2 - 1)) : nullptr;
    REpNode_t overlap = Check_and_MakeLeaf(s2, e1);
    REpNode_t above = e1 < e2 ? Check_and_MakeLeaf(static_cast<WChar_t>(e1 + 1), e2) : nullptr;

    if (below == nullptr) {
        REpNode_t longer = lc.EndChar == e2 ? L : H;
        ChangeLeaftoNode(longer, overlap, above);
    } else if (above == nullptr) {
        ChangeLeaftoNode(L, below, overlap);
    } else if (lc.EndChar == e2) {
        REpNode_t inner = MakeInternalNode(reop_Union, below, overlap);
        ChangeLeaftoNode(L, inner, above);
    } else {
        ChangeLeaftoNode(L, below, overlap);
        ChangeLeaftoNode(H, overlap, above);
    }
    return true;
}

void TREParseTree::ForceCharClassUnique() {
    // Leaf i is compared with every later leaf; after a split the comparison starts
    // again with the leaf now at place i. When leaf i itself survived the split, the
    // leaves between it and the split partner are untouched and still disjoint from it,
    // so the walk resumes after the partner instead of at i + 1: the same splits happen
    // in the same order without comparing those leaves again. Leaves turned into unions
    // stay as holes until the end, so a split neither searches nor shifts the list;
    // skipping the holes visits the leaves in the order the squeezed list has.
    struct SplitScope {
        TREParseTree &tree;
        ~SplitScope() {
            tree.FSplitting = false;
            tree.FLeafSlot.clear();
            tree.FLeafList.erase(std::remove(tree.FLeafList.begin(), tree.FLeafList.end(), nullptr),
                                 tree.FLeafList.end());
        }
    };
    FLeafSlot.clear();
    FLeafSlot.reserve(FLeafList.size() * 2);
    for (std::size_t k = 0; k < FLeafList.size(); ++k) FLeafSlot.emplace(FLeafList[k].get(), k);
    FSplitting = true;
    const SplitScope scope{*this};
    FSplitNodes = 0;
    std::size_t i = 0;
    std::size_t j = 1;
    while (i < FLeafList.size()) {
        if (!FLeafList[i] || j >= FLeafList.size()) {
            ++i;
            j = i + 1;
            continue;
        }
        if (!FLeafList[j]) {
            ++j;
            continue;
        }
        const std::size_t nodesBefore = FNodeList.size();
        if (!SplitStep(FLeafList[j].get(), FLeafList[i].get())) {
            ++j;
            continue;
        }
        FSplitNodes += FNodeList.size() - nodesBefore;
        if (FSplitNodes > RE_MAX_SPLIT_NODES) throw ERegExpParser(REMSG_RegExpTooComplex, 1);
        if (!FLeafList[i]) j = i + 1;
    }
}

void TREParseTree::DisposeTree() {
    pHeadNode = nullptr;
    FNodeList.clear();
    FLeafList.clear();
    FLeafIndex.clear();
}

// ---------------------------------------------------------------------------------
// TREParser

TREParser::TREParser(const std::string &regExpStr) : Scanner(regExpStr) {}

void TREParser::Run() {
    ParseTree.DisposeTree();
    Scanner.SetRegExpStr(std::string(Scanner.RegExpStr()));
    FGroupDepth = 0;
    Scanner.GetToken();
    ParseTree.pHeadNode = Regexp();
    if (Scanner.Token() != retk_End) Raise(REMSG_ExtraChars, Scanner.Index());
    ParseTree.ForceCharClassUnique();
}

REpNode_t TREParser::Regexp() {
    REpNode_t node = term();
    while (Scanner.Token() == retk_Union) {
        Scanner.GetToken();
        REpNode_t right = term();
        node = ParseTree.MakeInternalNode(reop_Union, node, right);
    }
    return node;
}

REpNode_t TREParser::term() {
    if (RETokenIn(Scanner.Token(), kTermStop))
        return ParseTree.MakeInternalNode(reop_Empty, nullptr, nullptr);
    REpNode_t node = factor();
    while (!RETokenIn(Scanner.Token(), kTermStop)) {
        REpNode_t right = factor();
        node = ParseTree.MakeInternalNode(reop_Concat, node, right);
    }
    return node;
}

REpNode_t TREParser::factor() {
    REpNode_t p = primary();
    switch (Scanner.Token()) {
        case retk_Star:
            p = ParseTree.MakeInternalNode(reop_Closure, p, nullptr);
            Scanner.GetToken();
            break;
        case retk_Plus: {
            REpNode_t closure = ParseTree.MakeInternalNode(reop_Closure, p, nullptr);
            p = ParseTree.MakeInternalNode(reop_Concat, p, closure);
            Scanner.GetToken();
            break;
        }
        case retk_QMark: {
            REpNode_t empty = ParseTree.MakeInternalNode(reop_Empty, nullptr, nullptr);
            p = ParseTree.MakeInternalNode(reop_Union, p, empty);
            Scanner.GetToken();
            break;
        }
        default: break;
    }
    return p;
}

REpNode_t TREParser::primary() {
    REpNode_t node = nullptr;
    switch (Scanner.Token()) {
        case retk_Char: {
            const WChar_t c = Scanner.Symbol().WChar;
            node = MakeCharLeaf(ParseTree, c, c);
            Scanner.GetToken();
            break;
        }
        case retk_LPar: {
            if (FGroupDepth >= RE_MAX_GROUP_DEPTH) Raise(REMSG_GroupTooDeep, Scanner.Index());
            ++FGroupDepth;
            Scanner.GetToken();
            node = Regexp();
            if (Scanner.Token() != retk_RPar) Raise(REMSG_NeedRPar, Scanner.Index());
            --FGroupDepth;
            Scanner.GetToken();
            break;
        }
        case retk_LBra:
        case retk_LBraNeg:
            node = Scanner.Token() == retk_LBra ? CharacterClass(ParseTree) : NegativeCharacterClass();
            if (Scanner.Token() != retk_RBra) Raise(REMSG_NeedRBracket, Scanner.Index());
            Scanner.GetToken();
            break;
        case retk_Dot:
            node = ParseTree.MakeAnyCharsNode();
            Scanner.GetToken();
            break;
        case retk_LHead:
            node = ParseTree.MakeLHeadNode(Scanner.Symbol().WChar);
            Scanner.GetToken();
            break;
        case retk_LTail:
            node = ParseTree.MakeLTailNode(Scanner.Symbol().WChar);
            Scanner.GetToken();
            break;
        default: Raise(REMSG_NeedCharOrLPar, Scanner.Index());
    }
    return node;
}

REpNode_t TREParser::MakeCharLeaf(TREParseTree &Tree, WChar_t StartChar, WChar_t EndChar) {
    // The marker codes never occur in text: such a character matches nothing.
    if (StartChar >= RE_LINEHEAD_WCHAR) return Tree.MakeNoMatchNode();
    if (EndChar >= RE_LINEHEAD_WCHAR) EndChar = RE_LINEHEAD_WCHAR - 1;
    return Tree.MakeLeaf(StartChar, EndChar);
}

REpNode_t TREParser::ClassElement(TREParseTree &Tree) {
    if (Scanner.Token() == retk_CharClass) {
        const RECharClass_t range = Scanner.Symbol().CharClass;
        return MakeCharLeaf(Tree, range.StartChar, range.EndChar);
    }
    const WChar_t c = Scanner.Symbol().WChar;
    return MakeCharLeaf(Tree, c, c);
}

REpNode_t TREParser::CharacterClass(TREParseTree &Tree) {
    if (Scanner.GetToken() == retk_RBra) Raise(REMSG_InvalidCharClass, Scanner.Index());
    REpNode_t node = ClassElement(Tree);
    while (Scanner.GetToken() != retk_RBra) {
        REpNode_t element = ClassElement(Tree);
        node = Tree.MakeInternalNode(reop_Union, node, element);
    }
    return node;
}

REpNode_t TREParser::NegativeCharacterClass() {
    TREParseTree excluded;
    excluded.pHeadNode = CharacterClass(excluded);
    excluded.ForceCharClassUnique();

    // The pieces of the any-character set, in the order its leaves are made.
    std::vector<RECharClass_t> pieces;
    {
        TREParseTree any;
        any.MakeAnyCharsNode();
        for (const auto &leaf : any.LeafList()) pieces.push_back(leaf->CharClass);
    }

    for (const auto &leaf : excluded.LeafList()) {
        const RECharClass_t r = leaf->CharClass;
        std::size_t k = 0;
        while (k < pieces.size()) {
            const RECharClass_t p = pieces[k];
            if (r.EndChar < p.StartChar || r.StartChar > p.EndChar) {
                ++k;
                continue;
            }
            if (p.StartChar < r.StartChar)
                pieces.push_back({p.StartChar, static_cast<WChar_t>(r.StartChar - 1)});
            if (r.EndChar < p.EndChar)
                pieces.push_back({static_cast<WChar_t>(r.EndChar + 1), p.EndChar});
            pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(k));
        }
    }

    // Nothing left: a class that excludes every character matches nothing.
    if (pieces.empty()) return ParseTree.MakeNoMatchNode();

    REpNode_t result = ParseTree.MakeLeaf(pieces[0].StartChar, pieces[0].EndChar);
    for (std::size_t k = 1; k < pieces.size(); ++k) {
        REpNode_t leaf = ParseTree.MakeLeaf(pieces[k].StartChar, pieces[k].EndChar);
        result = ParseTree.MakeInternalNode(reop_Union, result, leaf);
    }
    return result;
}
