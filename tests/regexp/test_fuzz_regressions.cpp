// Inputs the fuzz targets found, minimized, each run through the checks of the target
// that found it: the same pipeline, asserting no crash and a sane result.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "regexp/fuzzy_dictionary.h"
#include "regexp_reference.h"
#include "regexp/matchcore.h"
#include "regexp/parser.h"
#include "regexp/preprocessor.h"
#include "regexp/synonym_file.h"

namespace {

using regexp_test::Parses;

using namespace std::string_literals;


// A zero byte ends an expression. The hexadecimal and octal escape readers used to step
// over a zero byte that directly followed their digits, so the bytes after it were
// parsed (or re-emitted by the preprocessor) as if they belonged to the expression.
struct ZeroAfterEscape {
    std::string expr;      // holds a zero byte right after an escape's digits
    std::string equivalent;  // the expression the part before the zero byte spells
};

const ZeroAfterEscape kZeroAfterEscape[] = {
    {"\\x41\0("s, "A"},
    {"\\101\0)"s, "A"},
    {"a\\22\0\x03\xF0,d\xFF("s, "a\\22"},
    {"\\x40\0]"s, "@"},
    {"\\x4\0|b"s, "\\x04"},
    {"(\\x41\0)"s, "(A"},  // the group stays open: the zero byte ends the text
};

TEST(FuzzRegressions, ParserStopsAtAZeroByteAfterAnEscape) {
    for (const ZeroAfterEscape &c : kZeroAfterEscape) {
        SCOPED_TRACE(c.equivalent);
        EXPECT_EQ(Parses(c.expr), Parses(c.equivalent));
    }
    // Inside brackets the zero byte ends the text before the closing bracket.
    try {
        TREParser parser("[\\x41\0]"s);
        parser.Run();
        ADD_FAILURE() << "a class cut by a zero byte parsed";
    } catch (const ERegExpParser &e) {
        EXPECT_EQ(e.ErrorPos, 7);
    }
}

TEST(FuzzRegressions, EscapeDigitsLeaveIndexOnAZeroByte) {
    const std::string hex = "x41\0z"s;
    int index = 1;
    EXPECT_EQ(GetQuotedWChar(hex, index), 0x41);
    EXPECT_EQ(index, 4);
    const std::string oct = "101\0z"s;
    index = 1;
    EXPECT_EQ(GetQuotedWChar(oct, index), 0x41);
    EXPECT_EQ(index, 4);
}

// The preprocessor target: both passes on; a rewrite of an expression the parser
// accepts is accepted too, and nothing after the zero byte reaches the rewrite.
TEST(FuzzRegressions, PreprocessorRewritesOnlyUpToAZeroByteAfterAnEscape) {
    const std::string cases[] = {
        "\x82[\\x81\\x40-\\xFC\\xFC\0]"s,  // a double-byte character with trail '[' first
        "\\x40\0]"s,
        "\\101\0("s,
    };
    for (const std::string &expr : cases) {
        TREPreProcessor pre(expr);
        pre.ListOfFuzzyCharDic().push_back(RE_FuzzyCharDic());
        pre.SetUseFuzzyCharDic(true);
        pre.SetUseSynonymDic(true);
        pre.Run();
        const std::string &out = pre.ProcessedRegExpStr();
        EXPECT_EQ(out.find('\0'), std::string::npos);
        EXPECT_TRUE(Parses(expr.substr(0, expr.find('\0'))));
        EXPECT_TRUE(Parses(out)) << out;
    }
}

// The synonym target: a dictionary read from text drives the synonym pass.
TEST(FuzzRegressions, SynonymPassStopsAtAZeroByteAfterAnEscape) {
    const std::string expr = "\\22\0\x03\xF0,d\xFF(\0 "s;
    TREPreProcessor pre(expr);
    pre.ListOfSynonymDic().push_back(std::make_shared<const REDictionary_t>(ParseSynonymDic("b,abc")));
    pre.SetUseSynonymDic(true);
    pre.Run();
    EXPECT_EQ(pre.ProcessedRegExpStr(), "\\22");
    EXPECT_TRUE(Parses(pre.ProcessedRegExpStr()));
}

// The match target: the expression compiles and matches what the part before the zero
// byte spells, in both line-separator modes.
TEST(FuzzRegressions, MatchCoreCompilesAnExpressionCutAfterAnEscape) {
    for (TMatchCORE_LineSeparator mode : {mcls_CRLF, mcls_LF}) {
        TMatchCORE m;
        m.LineSeparator = mode;
        m.SetRegExp("\\101\0("s);
        const std::string text = "xA";
        const char *s = nullptr;
        const char *e = nullptr;
        m.MatchStd(text.c_str(), s, e);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s - text.c_str(), 1);
        EXPECT_EQ(e - text.c_str(), 2);
        m.MatchEX(text.c_str(), s, e);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s - text.c_str(), 1);
        EXPECT_EQ(e - text.c_str(), 2);
    }
}

// Many overlapping ranges: splitting them used to compare and shift the whole leaf
// list for every split, cubic in the number of ranges (2,000 ranges took minutes). The
// split now gives the same tree without those walks; here the result is checked.
TEST(FuzzRegressions, ManyOverlappingRangesSplitIntoDisjointLeaves) {
    constexpr int n = 300;
    std::string expr;
    for (int i = 0; i < n; ++i) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%s[\\x%X-\\x%X]", i == 0 ? "" : "|", 0x8840 + i, 0x8840 + n + i);
        expr += buf;
    }
    TREParser parser(expr);
    parser.Run();
    const auto &leaves = parser.ParseTree.LeafList();
    ASSERT_EQ(leaves.size(), static_cast<std::size_t>(2 * n - 1));
    for (std::size_t i = 0; i + 1 < leaves.size(); ++i)
        for (std::size_t j = i + 1; j < leaves.size(); ++j)
            ASSERT_TRUE(leaves[i]->CharClass.EndChar < leaves[j]->CharClass.StartChar ||
                        leaves[j]->CharClass.EndChar < leaves[i]->CharClass.StartChar);

    TMatchCORE m;
    m.SetRegExp(expr);
    auto find = [&m](const std::string &text) {
        const char *s = nullptr;
        const char *e = nullptr;
        m.MatchStd(text.c_str(), s, e);
        return s == nullptr ? -1 : static_cast<int>(s - text.c_str());
    };
    EXPECT_EQ(find("x\x88\x40"), 1);                                   // first code of the first range
    EXPECT_EQ(find("x\x88\x3F\x88\x40"), 3);                         // just below it: no match
    static_assert(0x8840 + 2 * n - 1 == 0x8A97, "last code of the last range");
    EXPECT_EQ(find("\x8A\x97"), 0);
    EXPECT_EQ(find("\x8A\x98"), -1);
}

}  // namespace
