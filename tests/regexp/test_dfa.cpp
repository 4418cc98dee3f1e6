// DFA construction: subset construction order, merged and sorted transitions, plain
// strings, overlapping classes, the lookup tables, and the construction budget.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "regexp/dfa.h"
#include "regexp_test_support.h"

namespace {

using regexp_test::ClassText;

// "(c|c+1|...)" over count consecutive double-byte codes from first.
std::string ChoiceOfCodes(unsigned first, unsigned count) {
    std::string choice = "(";
    for (unsigned c = first; c < first + count; ++c) {
        if (c != first) choice += '|';
        choice += static_cast<char>(c >> 8);
        choice += static_cast<char>(c & 0xFF);
    }
    return choice + ')';
}

// "0{0}:a>1,c>2 1{2}:b>2 2{1}A:" -- state, NFA members, A when accepting, moves.
std::string Dump(const TRE_DFA &dfa) {
    std::string out;
    for (std::size_t i = 0; i < dfa.StateList().size(); ++i) {
        const RE_DFAState_t &s = *dfa.StateList()[i];
        if (!out.empty()) out += ' ';
        out += std::to_string(i) + '{';
        bool first = true;
        s.StateSet->ForEach([&](int m) {
            if (!first) out += ',';
            out += std::to_string(m);
            first = false;
        });
        out += '}';
        if (s.Accepted != 0) out += 'A';
        out += ':';
        for (const RE_DFAStateSub_t *t = s.Next; t != nullptr; t = t->Next) {
            if (t != s.Next) out += ',';
            out += ClassText(t->CharClass) + '>' + std::to_string(dfa.IndexOf(t->TransitTo));
        }
    }
    return out;
}

struct Compiled {
    explicit Compiled(const std::string &expr, WChar_t head = RE_LINEHEAD_WCHAR, WChar_t tail = RE_LINETAIL_WCHAR)
        : parser(expr), nfa(&parser, head, tail), dfa(&nfa) {
        parser.Run();
        nfa.Run();
        dfa.Run();
    }
    TREParser parser;
    TRE_NFA nfa;
    TRE_DFA dfa;
};

struct DFACase {
    const char *expr;
    const char *dump;
    bool simple;
    const char *simpleStr;
};

class DFAShape : public ::testing::TestWithParam<DFACase> {};

TEST_P(DFAShape, StatesTransitionsAndPlainString) {
    const DFACase &c = GetParam();
    Compiled k(c.expr);
    EXPECT_EQ(Dump(k.dfa), c.dump) << c.expr;
    EXPECT_EQ(k.dfa.pInitialState, k.dfa.StateList()[0].get());
    EXPECT_EQ(k.dfa.RegExpIsSimple, c.simple) << c.expr;
    EXPECT_EQ(k.dfa.SimpleRegExp, c.simpleStr) << c.expr;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, DFAShape,
    ::testing::Values(
        DFACase{"", "0{0,1}A:", true, ""},
        DFACase{"ab|c", "0{0}:a>1,c>2 1{2}:b>2 2{1}A:", false, ""},
        DFACase{"abc", "0{0}:a>1 1{3}:b>2 2{2}:c>3 3{1}A:", true, "abc"},
        DFACase{"a*", "0{0,1,2}A:a>1 1{1,2,3}A:a>1", false, ""},
        DFACase{"a|a", "0{0}:a>1 1{1}A:", true, "a"},
        DFACase{"ab|cb", "0{0}:a>1,c>2 1{2}:b>3 2{3}:b>3 3{1}A:", false, ""},
        DFACase{"ab|ac", "0{0}:a>1 1{2,3}:b>2,c>2 2{1}A:", false, ""},
        DFACase{"a+", "0{0}:a>1 1{1,2,3}A:a>2 2{1,3,4}A:a>2", false, ""},
        // Equal first codes cannot occur among the parser's leaves; codes compare
        // unsigned, so the double-byte space sorts after A.
        DFACase{"\x81\x40|A", "0{0}:A>1,{8140}>1 1{1}A:", false, ""},
        // Anchored chains count as plain strings holding the anchor codes.
        DFACase{"^ab$", "0{0}:{FFFD}>1 1{4}:a>2 2{3}:b>3 3{2}:{FFFE}>4 4{1}A:", true,
                "\xFD" "ab" "\xFE"}));

TEST(DFA, DoubleByteCharactersInThePlainString) {
    Compiled k("\x95\x5C" "a\x83\x5C");  // 表a ソ
    EXPECT_TRUE(k.dfa.RegExpIsSimple);
    EXPECT_EQ(k.dfa.SimpleRegExp, "\x95\x5C" "a\x83\x5C");
}

TEST(DFA, AnchorCodesOfTheOwnerAreCopied) {
    Compiled k("^a", 0x0A, 0x0A);
    EXPECT_TRUE(k.dfa.HasLHead);
    EXPECT_FALSE(k.dfa.HasLTail);
    EXPECT_TRUE(k.dfa.RegExpIsSimple);
    EXPECT_EQ(k.dfa.SimpleRegExp, "\na");
}

TEST(DFA, PlainStringCheckEndsOnACycle) {
    // No DFA made from an expression has a cycle of single-code moves through
    // non-accepting states; one made by hand must not keep the check walking.
    Compiled k("ab");
    RE_pDFAState_t s0 = k.dfa.pInitialState;
    RE_pDFAState_t s1 = s0->Next->TransitTo;
    s1->Next->TransitTo = s0;
    k.dfa.CheckIfRegExpIsSimple();
    EXPECT_FALSE(k.dfa.RegExpIsSimple);
    EXPECT_EQ(k.dfa.SimpleRegExp, "");
}

TEST(DFA, NoStateSetRepeatsAndNoEmptyTransitionRemains) {
    Compiled k("(a|b)*abb(c|a*)d?|[x-z]+[^a]");
    const auto &states = k.dfa.StateList();
    for (std::size_t i = 0; i < states.size(); ++i) {
        for (std::size_t j = i + 1; j < states.size(); ++j)
            EXPECT_FALSE(states[i]->StateSet->Equals(*states[j]->StateSet)) << i << ' ' << j;
        const RE_DFAStateSub_t *prev = nullptr;
        for (const RE_DFAStateSub_t *t = states[i]->Next; t != nullptr; prev = t, t = t->Next) {
            EXPECT_NE(t->CharClass.StartChar, 0xFFFF);
            ASSERT_NE(t->TransitTo, nullptr);
            if (prev != nullptr) {
                EXPECT_GT(t->CharClass.StartChar, prev->CharClass.EndChar);
            }
        }
    }
}

TEST(DFA, StateListSortIsStableForEqualFirstCodes) {
    Compiled k("a");
    RE_pDFAState_t s = k.dfa.pInitialState;
    RE_pDFAState_t to = k.dfa.StateList()[1].get();
    // Put at the head in reverse, so the list reads (61-62, 61-61, 41) before sorting.
    k.dfa.AddTransition(s, {0x41, 0x41}, to);
    k.dfa.AddTransition(s, {0x61, 0x61}, to);
    k.dfa.AddTransition(s, {0x61, 0x62}, to);
    k.dfa.StateListSort();
    EXPECT_EQ(Dump(k.dfa).substr(0, 24), "0{0}:A>1,{0061-0062}>1,a");
}

// A character that is an anchor written where it cannot act as one ('^' after 'a')
// and a class that also holds that character must both be followed.
TEST(DFA, OverlappingClassesAreSplitIntoDisjointPieces) {
    Compiled k("a^b|a[^x]c");
    EXPECT_EQ(Dump(k.dfa),
              "0{0}:a>1 1{3,5}:{0001-0009}>2,{000B-000C}>2,{000E-005D}>2,^>3,{005F-0060}>2,a>2,"
              "b>2,c>2,{0064-0077}>2,{0079-FCFC}>2 2{4}:c>4 3{2,4}:b>4,c>4 4{1}A:");
}

TEST(DFA, LookupTablesAgreeWithTheListWalk) {
    const char *exprs[] = {
        "", "abc", "(a|b)*abb", "[a-z0-9_]+@[a-z]+\\.(com|jp)", "[^a]x", ".*\x82\xA0+",
        "\x81\x40|[\x81\x41-\x84\xBE]|[\x01-\xFF]z", "a^b|a[^x]c", "\\0*a", "[\\x00-\\xff]+$",
    };
    for (const char *e : exprs) {
        Compiled k(e);
        for (const auto &state : k.dfa.StateList()) {
            EXPECT_TRUE(state->Indexed) << e;
            for (std::uint32_t wc = 0; wc <= 0xFFFF; ++wc)
                ASSERT_EQ(RE_NextDFAState(state.get(), static_cast<WChar_t>(wc)),
                          RE_NextDFAStateByList(state.get(), static_cast<WChar_t>(wc)))
                    << e << " code " << wc;
        }
    }
}

TEST(DFA, ListWalkStopsAtTheFirstRangeAboveTheCode) {
    Compiled k("[b-d]x|[f-h]y");
    const RE_DFAState_t *s0 = k.dfa.pInitialState;
    EXPECT_EQ(RE_NextDFAState(s0, 'a'), nullptr);
    EXPECT_EQ(RE_NextDFAState(s0, 'e'), nullptr);
    EXPECT_EQ(RE_NextDFAState(s0, 'i'), nullptr);
    EXPECT_EQ(RE_NextDFAState(s0, 'd'), s0->Next->TransitTo);
    EXPECT_EQ(RE_NextDFAState(s0, 'h'), s0->Next->Next->TransitTo);
}

TEST(DFA, ExponentialBlowUpHitsTheBudgetAndFreesEverything) {
    // "an a twenty-one characters before the end" needs 2^22 states.
    std::string expr = "(a|b)*a";
    for (int i = 0; i < 21; ++i) expr += "(a|b)";
    TREParser parser(expr);
    parser.Run();
    TRE_NFA nfa(&parser, RE_LINEHEAD_WCHAR, RE_LINETAIL_WCHAR);
    nfa.Run();
    TRE_DFA dfa(&nfa);
    try {
        dfa.Run();
        FAIL() << "no error";
    } catch (const ERegExpParser &e) {
        EXPECT_STREQ(e.Message().c_str(), REMSG_RegExpTooComplex);
    }
    EXPECT_EQ(dfa.StateList().size(), RE_DFA_MAX_STATES);
}

TEST(DFA, BlowUpOverManyClassesHitsTheTransitionBudget) {
    // 300 distinct characters in each choice: every state has 300 transitions, so the
    // 2^14 states would need about five million of them.
    const std::string choice = ChoiceOfCodes(0x889F, 300);
    std::string expr = choice + "*\\x889F";
    for (int i = 0; i < 13; ++i) expr += choice;
    TREParser parser(expr);
    parser.Run();
    TRE_NFA nfa(&parser, RE_LINEHEAD_WCHAR, RE_LINETAIL_WCHAR);
    nfa.Run();
    TRE_DFA dfa(&nfa);
    try {
        dfa.Run();
        FAIL() << "no error";
    } catch (const ERegExpParser &e) {
        EXPECT_STREQ(e.Message().c_str(), REMSG_RegExpTooComplex);
    }
    std::size_t transitions = 0;
    for (const auto &state : dfa.StateList())
        for (const RE_DFAStateSub_t *t = state->Next; t != nullptr; t = t->Next) ++transitions;
    EXPECT_LE(transitions, RE_DFA_MAX_TRANSITIONS);
    EXPECT_LT(dfa.StateList().size(), RE_DFA_MAX_STATES);
}

TEST(DFA, PendingSetsOfOneStateAreBudgetedToo) {
    // 3000 distinct characters, then 'a' under sixteen nested repetitions (about 200000
    // NFA states): the first state alone would hold 3000 sets of 24 KB each.
    const std::string expr = ChoiceOfCodes(0x889F, 3000);
    std::string nested = "a";
    for (int i = 0; i < 16; ++i) nested = "(" + nested + ")+";
    TREParser parser(expr + nested);
    parser.Run();
    TRE_NFA nfa(&parser, RE_LINEHEAD_WCHAR, RE_LINETAIL_WCHAR);
    nfa.Run();
    TRE_DFA dfa(&nfa);
    try {
        dfa.Run();
        FAIL() << "no error";
    } catch (const ERegExpParser &e) {
        EXPECT_STREQ(e.Message().c_str(), REMSG_RegExpTooComplex);
    }
    // With a third of the characters it compiles.
    TREParser smaller("(" + expr.substr(1, 3 * 1000 - 1) + ")" + nested);
    smaller.Run();
    TRE_NFA nfa2(&smaller, RE_LINEHEAD_WCHAR, RE_LINETAIL_WCHAR);
    nfa2.Run();
    TRE_DFA dfa2(&nfa2);
    dfa2.Run();
    EXPECT_EQ(dfa2.pInitialState->Next->CharClass.StartChar, 0x889F);
}

TEST(DFA, HugeNFAWithAGrowingDFAHitsTheWorkBudget) {
    // Seventeen nested repetitions copy (a|b) about 130000 times, and what follows makes
    // the DFA grow: every one of its states would visit hundreds of thousands of NFA
    // states.
    std::string expr = "a|b";
    for (int i = 0; i < 17; ++i) expr = "(" + expr + ")+";
    expr += "a";
    for (int i = 0; i < 12; ++i) expr += "(a|b)";
    TREParser parser(expr);
    parser.Run();
    TRE_NFA nfa(&parser, RE_LINEHEAD_WCHAR, RE_LINETAIL_WCHAR);
    nfa.Run();
    TRE_DFA dfa(&nfa);
    try {
        dfa.Run();
        FAIL() << "no error";
    } catch (const ERegExpParser &e) {
        EXPECT_STREQ(e.Message().c_str(), REMSG_RegExpTooComplex);
    }
    EXPECT_LT(dfa.StateList().size(), 1000u);
}

TEST(DFA, ModerateBlowUpStaysWithinTheBudget) {
    std::string expr = "(a|b)*a";
    for (int i = 0; i < 10; ++i) expr += "(a|b)";
    Compiled k(expr);
    EXPECT_EQ(k.dfa.StateList().size(), 2049u);
}

TEST(DFA, RepeatedChoiceFollowedByCopiesOfItStaysSmall) {
    std::string expr = "(a|b)*";
    for (int i = 0; i < 20; ++i) expr += "(a|b)";
    Compiled k(expr);
    EXPECT_EQ(k.dfa.StateList().size(), 21u);
}

TEST(DFA, RandomExpressionsKeepTheInvariants) {
    std::mt19937 rng(7);
    const char atoms[] = "ab.^$";
    for (int round = 0; round < 300; ++round) {
        std::string e;
        const int len = 1 + static_cast<int>(rng() % 10);
        int open = 0;
        for (int i = 0; i < len; ++i) {
            switch (rng() % 8) {
                case 0: e += '('; ++open; break;
                case 1: if (open > 0) { e += ')'; --open; } break;
                case 2: e += '|'; break;
                case 3: e += "[ab^]"; break;
                default: e += atoms[rng() % 5]; break;
            }
            if (!e.empty() && e.back() != '(' && e.back() != '|' && rng() % 4 == 0) e += "*+?"[rng() % 3];
        }
        e += std::string(static_cast<std::size_t>(open), ')');
        try {
            Compiled k(e);
            for (const auto &state : k.dfa.StateList()) {
                ASSERT_TRUE(state->Indexed) << e;
                const RE_DFAStateSub_t *prev = nullptr;
                for (const RE_DFAStateSub_t *t = state->Next; t != nullptr; prev = t, t = t->Next)
                    if (prev != nullptr) {
                        ASSERT_GT(t->CharClass.StartChar, prev->CharClass.EndChar) << e;
                    }
                for (WChar_t wc : {WChar_t{0}, WChar_t{'a'}, WChar_t{'b'}, WChar_t{'^'}, WChar_t{'$'},
                                   WChar_t{0x8140}, WChar_t{0xFFFD}, WChar_t{0xFFFE}})
                    ASSERT_EQ(RE_NextDFAState(state.get(), wc), RE_NextDFAStateByList(state.get(), wc)) << e;
            }
        } catch (const ERegExpParser &) {
            // a syntax error of the random text
        }
    }
}

}  // namespace
