// Match core: leftmost-longest matching with and without anchors, both line-separator
// modes, character boundaries, walks that must end at the terminator, and a cross-check
// of MatchStd against a direct interpretation of the parse tree.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "regexp/matchcore.h"
#include "regexp_test_support.h"
#include "regexp_reference.h"
#include "regexp/nfa.h"

namespace {


// "(s,e)" with 0-based byte offsets, or "none". Anchored expressions go through
// MatchEX, others through MatchStd, as the string matcher chooses.
std::string Find(const std::string &expr, const std::string &text, TMatchCORE_LineSeparator mode = mcls_CRLF) {
    TMatchCORE m;
    m.LineSeparator = mode;
    m.SetRegExp(expr);
    const char *s = nullptr;
    const char *e = nullptr;
    if (m.GetHasLHead() || m.GetHasLTail())
        m.MatchEX(text.c_str(), s, e);
    else
        m.MatchStd(text.c_str(), s, e);
    if (s == nullptr) return "none";
    EXPECT_NE(e, nullptr);
    return "(" + std::to_string(s - text.c_str()) + "," + std::to_string(e - text.c_str()) + ")";
}

struct MatchCase {
    const char *expr;
    std::string text;
    TMatchCORE_LineSeparator mode;
    const char *expected;
};

class Matching : public ::testing::TestWithParam<MatchCase> {};

TEST_P(Matching, LeftmostLongest) {
    const MatchCase &c = GetParam();
    EXPECT_EQ(Find(c.expr, c.text, c.mode), c.expected) << c.expr;
}

INSTANTIATE_TEST_SUITE_P(
    Plain, Matching,
    ::testing::Values(
        MatchCase{"ab*", "xabbby", mcls_CRLF, "(1,5)"},
        MatchCase{"a*", "aab", mcls_CRLF, "(0,2)"},
        MatchCase{"a*", "baa", mcls_CRLF, "(0,0)"},
        MatchCase{"a*", "", mcls_CRLF, "(0,0)"},
        MatchCase{"a", "", mcls_CRLF, "none"},
        MatchCase{"", "xyz", mcls_CRLF, "(0,0)"},
        MatchCase{"b+", "abbc", mcls_CRLF, "(1,3)"},
        MatchCase{"xyz|xy|x", "axyxyz", mcls_CRLF, "(1,3)"},
        MatchCase{"a$b", "xa$b", mcls_CRLF, "(1,4)"},
        MatchCase{"a.c", "a\r\nc abc", mcls_CRLF, "(5,8)"},
        // Double-byte text is searched from character boundaries only.
        MatchCase{"@", "\x81\x40", mcls_CRLF, "none"},
        MatchCase{"@", "\x81\x40@", mcls_CRLF, "(2,3)"},
        MatchCase{"\\\\", "\x83\x5C\\", mcls_CRLF, "(2,3)"},  // ソ then a backslash
        MatchCase{"\x83\x5C+", "a\x83\x5C\x83\x5C", mcls_CRLF, "(1,5)"},
        // A lone lead byte before the terminator counts as a character of its own.
        MatchCase{"a", "\x81", mcls_CRLF, "none"},
        MatchCase{".", "x\x81", mcls_CRLF, "(0,1)"},
        MatchCase{"\\x81", "a\x81", mcls_CRLF, "(1,2)"}));

INSTANTIATE_TEST_SUITE_P(
    Anchors, Matching,
    ::testing::Values(
        MatchCase{"^b", "ab\r\nbc", mcls_CRLF, "(4,5)"},
        MatchCase{"^b", "ab", mcls_CRLF, "none"},
        MatchCase{"^b", "a\nb", mcls_LF, "(2,3)"},
        MatchCase{"c$", "abc\r\n", mcls_CRLF, "(2,3)"},
        MatchCase{"c$", "abc", mcls_CRLF, "(2,3)"},
        MatchCase{"c$", "abc\r\n", mcls_LF, "none"},
        MatchCase{"c$", "abc\nd", mcls_LF, "(2,3)"},
        MatchCase{"c$", "abc\nd", mcls_CRLF, "none"},
        MatchCase{"$", "ab", mcls_CRLF, "(2,2)"},
        MatchCase{"^", "ab", mcls_CRLF, "(0,0)"},
        MatchCase{"^$", "", mcls_CRLF, "(0,0)"},
        MatchCase{"^$", "a\r\n\r\nb", mcls_CRLF, "(3,3)"},
        MatchCase{"^$", "a\n", mcls_CRLF, "(2,2)"},
        MatchCase{"^a|b", "xb", mcls_CRLF, "(1,2)"},
        MatchCase{"^ab|a", "ab", mcls_CRLF, "(0,2)"},
        MatchCase{"^a|ab", "ab", mcls_CRLF, "(0,2)"},
        MatchCase{"^a*", "b", mcls_CRLF, "(0,0)"},
        MatchCase{"x|^y", "\ny", mcls_CRLF, "(1,2)"},
        MatchCase{"b$|bc", "xbc", mcls_CRLF, "(1,3)"},
        MatchCase{"(^a)*", "^a^a", mcls_CRLF, "(0,4)"}));

// Obvious faults mended: the terminator is the end of the text and never a character,
// so an expression that can repeat code 0 cannot keep a walk standing on it; a line tail
// counts where the expression could also read on through the line end; a character that
// both an anchor written mid-expression and a class can read follows both; at a line
// head, a match that does not need the line head still counts.
INSTANTIATE_TEST_SUITE_P(
    Mended, Matching,
    ::testing::Values(
        MatchCase{"\\0*", "abc", mcls_CRLF, "(0,0)"},
        MatchCase{"\\0*", "", mcls_CRLF, "(0,0)"},
        MatchCase{"a\\0*", "xa", mcls_CRLF, "(1,2)"},
        MatchCase{"a\\0", "a", mcls_CRLF, "none"},
        MatchCase{"[\\0-a]*", "aab", mcls_CRLF, "(0,2)"},
        MatchCase{"^\\0*$", "", mcls_CRLF, "(0,0)"},
        MatchCase{"(\\0|a)*$", "aa", mcls_CRLF, "(0,2)"},
        MatchCase{"^[\\0-z]*", "abc", mcls_CRLF, "(0,3)"},
        MatchCase{"a$|a\\rx", "a\r\n", mcls_CRLF, "(0,1)"},
        MatchCase{"a$|a\\nx", "a\nb", mcls_LF, "(0,1)"},
        MatchCase{"a^b|a[^x]c", "a^b", mcls_CRLF, "(0,3)"},
        MatchCase{"a^b|a[^x]c", "a^c", mcls_CRLF, "(0,3)"},
        MatchCase{"^a|b*", "", mcls_CRLF, "(0,0)"},
        MatchCase{"^a|()", "", mcls_CRLF, "(0,0)"}));

TEST(MatchCore, IsLineEndFollowsTheMode) {
    TMatchCORE m;
    EXPECT_EQ(m.LineSeparator, mcls_CRLF);
    EXPECT_TRUE(m.IsLineEnd(13));
    EXPECT_FALSE(m.IsLineEnd(10));
    m.LineSeparator = mcls_LF;
    EXPECT_TRUE(m.IsLineEnd(10));
    EXPECT_FALSE(m.IsLineEnd(13));
    m.LineSeparator = static_cast<TMatchCORE_LineSeparator>(7);
    EXPECT_FALSE(m.IsLineEnd(10));
    EXPECT_FALSE(m.IsLineEnd(13));
}

TEST(MatchCore, InsideSearchDoesNotTakeTheStartForALineHead) {
    TMatchCORE m;
    m.SetRegExp("^b");
    const std::string text = "b\nb";
    const char *s = nullptr;
    const char *e = nullptr;
    m.MatchEX_Inside(text.c_str(), s, e);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s - text.c_str(), 2);
    EXPECT_EQ(e - text.c_str(), 3);
    m.MatchEX(text.c_str(), s, e);
    EXPECT_EQ(s - text.c_str(), 0);
}

TEST(MatchCore, HeadAndInsideFromAGivenState) {
    TMatchCORE m;
    m.SetRegExp("^ab|a");
    const std::string text = "ab";
    const char *p = text.c_str();
    EXPECT_EQ(m.MatchHead(p, m.GetpInitialDFAState()), p + 2);
    EXPECT_EQ(m.MatchInside(p, m.GetpInitialDFAState()), p + 1);
    EXPECT_EQ(m.MatchInside(p, nullptr), nullptr);
    m.SetRegExp("^x|a");
    EXPECT_EQ(m.MatchHead(p, m.GetpInitialDFAState()), p + 1);
    EXPECT_EQ(m.MatchHead(p, nullptr), nullptr);
}

TEST(MatchCore, EmptyExpressionAfterAFailedSetMatchesEverywhere) {
    TMatchCORE m;
    m.SetRegExp("^x");
    EXPECT_THROW(m.SetRegExp("("), ERegExpParser);
    const std::string text = "abc";
    const char *s = nullptr;
    const char *e = nullptr;
    m.MatchStd(text.c_str(), s, e);
    EXPECT_EQ(s, text.c_str());
    EXPECT_EQ(e, text.c_str());
    m.MatchEX(text.c_str(), s, e);
    EXPECT_EQ(s, text.c_str());
    EXPECT_EQ(e, text.c_str());
}

// Walks that restart at every position and run to the end of a long line would take
// time quadratic in the line; these finish at once.
TEST(MatchCore, LongFailingWalksStayLinear) {
    const std::string line(300000, 'a');
    EXPECT_EQ(Find(".*x", line), "none");
    EXPECT_EQ(Find("a*b", line), "none");
    EXPECT_EQ(Find("a*b|a*$", line + "\r\n" + line), "(0,300000)");
    EXPECT_EQ(Find("a*x$", line), "none");
    EXPECT_EQ(Find("^a*x|b", line + "\n" + line + "b"), "(600001,600002)");
    EXPECT_EQ(Find("a+c|ab", line + "b"), "(299999,300001)");
}

TEST(MatchCore, LongTextMatchAtTheEnd) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "\x82\xA0z";  // あz
    text += "needle";
    EXPECT_EQ(Find("ne+dle", text), "(60000,60006)");
    EXPECT_EQ(Find("dle$", text), "(60003,60006)");
}

// ---------------------------------------------------------------------------------
// Cross-check: the set of places where each sub-expression can end, computed directly
// on the parse tree, gives the leftmost-longest match without any automaton.


// "(s,e)" in byte offsets for a span of code indexes, or "none".
std::string ByteSpan(const regexp_test::Text &t, std::pair<long, long> span) {
    if (span.first < 0) return "none";
    return "(" + std::to_string(t.offsets[static_cast<std::size_t>(span.first)]) + "," +
           std::to_string(t.offsets[static_cast<std::size_t>(span.second)]) + ")";
}

std::string Reference(const std::string &expr, const std::string &text) {
    TREParser parser(expr);
    parser.Run();
    const regexp_test::Text t = regexp_test::Decode(text.c_str());
    return ByteSpan(t, regexp_test::TreeReference(parser.ParseTree.pHeadNode, t));
}

TEST(MatchCore, MatchStdAgreesWithTheParseTree) {
    std::mt19937 rng(2024);
    const std::vector<std::string> atoms = {"a", "b", "\x88\x9F", ".", "[ab]", "[^a]", "[b-\x88\x9F]", "()"};
    const std::vector<std::string> letters = {"a", "b", "c", "\x88\x9F"};
    int checked = 0;
    for (int round = 0; round < 400; ++round) {
        const std::string e = regexp_test::RandomExpression(rng, atoms, 8, 3);
        TMatchCORE m;
        try {
            m.SetRegExp(e);
        } catch (const ERegExpParser &) {
            continue;
        }
        for (int t = 0; t < 8; ++t) {
            std::string text;
            const int n = static_cast<int>(rng() % 7);
            for (int i = 0; i < n; ++i) text += letters[rng() % letters.size()];
            const std::string expected = Reference(e, text);
            // Also with dead ends remembered from the very first step.
            for (std::size_t slack : {std::size_t{4096}, std::size_t{0}}) {
                m.LongWalkSlack = slack;
                const char *s = nullptr;
                const char *en = nullptr;
                m.MatchStd(text.c_str(), s, en);
                const std::string got = s == nullptr ? "none"
                    : "(" + std::to_string(s - text.c_str()) + "," + std::to_string(en - text.c_str()) + ")";
                ASSERT_EQ(got, expected) << "expr " << e << " text " << text << " slack " << slack;
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 1000);
}

// With anchors: a simulation of the NFA itself. A match (s, e) is a path from entry to
// exit over the text from s to e, where the line-head move may be taken only at s and
// only when s begins a line (the text start or after LF), and the line-tail move only
// at e and only before a line end of the mode or at the terminator.
std::string ReferenceEX(const std::string &expr, const std::string &text, TMatchCORE_LineSeparator mode) {
    TREParser parser(expr);
    parser.Run();
    const regexp_test::Text t = regexp_test::Decode(text.c_str());
    return ByteSpan(t, regexp_test::NFAReference(parser, t, mode));
}

TEST(MatchCore, MatchEXAgreesWithTheNFA) {
    std::mt19937 rng(4321);
    const std::vector<std::string> atoms = {"a", "b", "^", "$", "\\r", "\\n", ".", "[ab]", "[^a]", "[\\n-b]"};
    const std::string letters = "ab^$\r\n";
    int checked = 0;
    for (int round = 0; round < 500; ++round) {
        const std::string e = regexp_test::RandomExpression(rng, atoms, 7, 4);
        TMatchCORE m;
        try {
            m.SetRegExp(e);
        } catch (const ERegExpParser &) {
            continue;
        }
        if (!m.GetHasLHead() && !m.GetHasLTail()) continue;
        for (int t = 0; t < 8; ++t) {
            std::string text;
            const int n = static_cast<int>(rng() % 7);
            for (int i = 0; i < n; ++i) text += letters[rng() % letters.size()];
            for (TMatchCORE_LineSeparator mode : {mcls_CRLF, mcls_LF}) {
                m.LineSeparator = mode;
                const std::string expected = ReferenceEX(e, text, mode);
                for (std::size_t slack : {std::size_t{4096}, std::size_t{0}}) {
                    m.LongWalkSlack = slack;
                    const char *s = nullptr;
                    const char *en = nullptr;
                    m.MatchEX(text.c_str(), s, en);
                    const std::string got = s == nullptr ? "none"
                        : "(" + std::to_string(s - text.c_str()) + "," + std::to_string(en - text.c_str()) + ")";
                    ASSERT_EQ(got, expected) << "expr " << e << " text " << text << " mode " << mode
                                             << " slack " << slack;
                }
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 500);
}

}  // namespace
