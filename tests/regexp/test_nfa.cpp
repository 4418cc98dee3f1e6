// NFA construction: state numbering, move order, anchor placement, state sets, budgets.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "regexp/nfa.h"
#include "regexp_test_support.h"

namespace {

using regexp_test::ClassText;

// Every state's moves, head first: "0:c>1,a>2 2:b>1".
std::string Moves(const TRE_NFA &nfa) {
    std::string out;
    for (std::size_t i = 0; i < nfa.StateList().size(); ++i) {
        const RE_NFANode_t *m = nfa.StateList()[i];
        if (m == nullptr) continue;
        if (!out.empty()) out += ' ';
        out += std::to_string(i) + ':';
        for (bool first = true; m != nullptr; m = m->Next, first = false) {
            if (!first) out += ',';
            out += ClassText(m->CharClass) + '>' + std::to_string(m->TransitTo);
        }
    }
    return out;
}

struct Built {
    explicit Built(const std::string &expr, WChar_t head = RE_LINEHEAD_WCHAR, WChar_t tail = RE_LINETAIL_WCHAR)
        : parser(expr), nfa(&parser, head, tail) {
        parser.Run();
        nfa.Run();
    }
    TREParser parser;
    TRE_NFA nfa;
};

struct NFACase {
    const char *expr;
    const char *moves;
    int states;
    bool lhead;
    bool ltail;
};

class NFAShape : public ::testing::TestWithParam<NFACase> {};

TEST_P(NFAShape, MovesStatesAndAnchorFlags) {
    const NFACase &c = GetParam();
    Built b(c.expr);
    EXPECT_EQ(b.nfa.EntryState, 0);
    EXPECT_EQ(b.nfa.ExitState, 1);
    EXPECT_EQ(Moves(b.nfa), c.moves) << c.expr;
    EXPECT_EQ(b.nfa.StateCount(), c.states) << c.expr;
    EXPECT_EQ(b.nfa.HasLHead, c.lhead) << c.expr;
    EXPECT_EQ(b.nfa.HasLTail, c.ltail) << c.expr;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, NFAShape,
    ::testing::Values(
        NFACase{"", "0:e>1", 2, false, false},
        NFACase{"ab|c", "0:c>1,a>2 2:b>1", 3, false, false},
        NFACase{"a*", "0:e>2 2:e>1,a>3 3:e>2", 4, false, false},
        NFACase{"^a", "0:{FFFD}>2 2:a>1", 3, true, false},
        NFACase{"a^", "0:a>2 2:^>1", 3, false, false},
        NFACase{"^", "0:{FFFD}>1", 2, true, false},
        NFACase{"$", "0:{FFFE}>1", 2, false, true},
        NFACase{"^$", "0:{FFFD}>2 2:{FFFE}>1", 3, true, true},
        NFACase{"a|^b", "0:{FFFD}>2,a>1 2:b>1", 3, true, false},
        NFACase{"(^a)*", "0:e>2 2:e>1,^>4 3:e>2 4:a>3", 5, false, false},
        // x+ is x followed by x*: the repeated copy is not at the entry any more.
        NFACase{"^+", "0:{FFFD}>2 2:e>3 3:e>1,^>4 4:e>3", 5, true, false},
        NFACase{"a$b", "0:a>3 2:b>1 3:$>2", 4, false, false},
        NFACase{"(a$)|b", "0:b>1,a>2 2:{FFFE}>1", 3, false, true},
        // Numbering is depth first, left before right; states are taken on entry.
        NFACase{"(ab)(cd)", "0:a>3 2:c>4 3:b>2 4:d>1", 5, false, false}));

TEST(NFA, LineCodesAreTheOwnersChoice) {
    Built b("^a$", 0x0A, 0x0A);
    EXPECT_EQ(Moves(b.nfa), "0:{000A}>3 2:{000A}>1 3:a>2");
    EXPECT_TRUE(b.nfa.HasLHead);
    EXPECT_TRUE(b.nfa.HasLTail);
}

TEST(NFA, SharedOperandOfPlusIsGeneratedTwice) {
    Built b("a+");
    // a, then a closure of its own copy of a.
    EXPECT_EQ(Moves(b.nfa), "0:a>2 2:e>3 3:e>1,a>4 4:e>3");
}

TEST(NFA, VeryLongConcatenationDoesNotExhaustTheStack) {
    // The parser builds a left-deep chain as deep as the expression is long.
    const std::string expr(200000, 'x');
    Built b(expr);
    EXPECT_EQ(b.nfa.StateCount(), 200001);
    int moves = 0;
    for (const RE_NFANode_t *m : b.nfa.StateList())
        for (; m != nullptr; m = m->Next) ++moves;
    EXPECT_EQ(moves, 200000);
}

TEST(NFA, NestedPlusThatDoublesEveryLevelHitsTheBudget) {
    // Each + copies its operand, so 40 nested levels would need 2^40 copies.
    std::string expr = "a";
    for (int i = 0; i < 40; ++i) expr = "(" + expr + ")+";
    TREParser parser(expr);
    parser.Run();
    TRE_NFA nfa(&parser, RE_LINEHEAD_WCHAR, RE_LINETAIL_WCHAR);
    try {
        nfa.Run();
        FAIL() << "no error";
    } catch (const ERegExpParser &e) {
        EXPECT_STREQ(e.Message().c_str(), REMSG_RegExpTooComplex);
        EXPECT_EQ(e.ErrorPos, 1);
    }
    EXPECT_LE(nfa.StateCount(), RE_NFA_MAX_STATES);
}

TEST(NFA, UnknownOperationIsAnInternalErrorAndKeepsTheMovesMadeSoFar) {
    TREParser parser("a");
    parser.Run();
    TREParseTree &tree = parser.ParseTree;
    const REpNode_t bad = tree.MakeInternalNode(static_cast<REOperation_t>(9), nullptr, nullptr);
    tree.pHeadNode = tree.MakeInternalNode(reop_Concat, tree.pHeadNode, bad);
    TRE_NFA nfa(&parser, RE_LINEHEAD_WCHAR, RE_LINETAIL_WCHAR);
    try {
        nfa.Run();
        FAIL() << "no error";
    } catch (const ERegExpParser &) {
        FAIL() << "reported as a syntax error";
    } catch (const qv::Exception &e) {
        EXPECT_STREQ(e.what(), "This cannot happen in TRE_NFA.GenerateStateList");
    }
    EXPECT_EQ(Moves(nfa), "0:a>2");
}

TEST(NFAStateSet, SizeMembershipAndEquality) {
    EXPECT_EQ(TRE_NFAStateSet(0).ByteCount(), 1);
    EXPECT_EQ(TRE_NFAStateSet(8).ByteCount(), 2);
    EXPECT_EQ(TRE_NFAStateSet(16).ByteCount(), 3);

    TRE_NFAStateSet a(16), b(16);
    for (int i : {3, 9, 15}) a.Include(i);
    for (int i : {15, 3, 9, 9}) b.Include(i);
    EXPECT_TRUE(a.Equals(b));
    EXPECT_TRUE(a.Has(9));
    EXPECT_FALSE(a.Has(8));
    EXPECT_FALSE(a.Has(16));
    EXPECT_EQ(a.Byte(0), 0x08);
    EXPECT_EQ(a.Byte(1), 0x82);
    EXPECT_EQ(a.Hash(), b.Hash());

    b.Include(0);
    EXPECT_FALSE(a.Equals(b));

    std::string members;
    b.ForEach([&members](int i) { members += std::to_string(i) + ' '; });
    EXPECT_EQ(members, "0 3 9 15 ");
}

TEST(NFAStateSet, WordBoundariesOfLargeSets) {
    TRE_NFAStateSet s(200), t(200);
    for (int i : {0, 63, 64, 127, 128, 200}) s.Include(i);
    std::string members;
    s.ForEach([&members](int i) { members += std::to_string(i) + ' '; });
    EXPECT_EQ(members, "0 63 64 127 128 200 ");
    EXPECT_FALSE(s.Equals(t));
    t.IncludeAll(s);
    EXPECT_TRUE(s.Equals(t));
}

}  // namespace
