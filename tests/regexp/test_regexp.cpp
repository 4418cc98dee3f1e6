// Compiled expression: the cache's search, insertion and eviction rules, recovery after
// errors, options of the preprocessor, owner-chosen anchor codes, NextDFAState.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regexp/fuzzy_dictionary.h"
#include "regexp/regexp.h"

namespace {

std::vector<std::string> Keys(const TRegularExpression &re) {
    std::vector<std::string> keys;
    for (const auto &entry : re.RegExpList()) keys.push_back(entry.RegExpStr);
    return keys;
}

TEST(RegularExpression, StartsWithTheEmptyExpression) {
    TRegularExpression re;
    EXPECT_EQ(re.RegExp(), "");
    EXPECT_EQ(Keys(re), std::vector<std::string>{""});
    EXPECT_EQ(re.CurrentIndex(), 0);
    const RE_pDFAState_t s0 = re.GetpInitialDFAState();
    ASSERT_NE(s0, nullptr);
    EXPECT_NE(s0->Accepted, 0);
    EXPECT_EQ(s0->Next, nullptr);
    EXPECT_TRUE(re.GetRegExpIsSimple());
    EXPECT_FALSE(re.GetHasLHead());
    EXPECT_FALSE(re.GetHasLTail());
    EXPECT_FALSE(re.GetUseFuzzyCharDic());
    EXPECT_FALSE(re.GetUseSynonymDic());
}

TEST(RegularExpression, EmptyStringSelectsEntryZeroWithoutCompiling) {
    TRegularExpression re;
    TRE_DFA *empty = re.GetCurrentDFA();
    re.SetRegExp("a");
    re.SetRegExp("");
    EXPECT_EQ(re.CurrentIndex(), 0);
    EXPECT_EQ(re.GetCurrentDFA(), empty);
    EXPECT_EQ(Keys(re), (std::vector<std::string>{"", "a"}));
}

TEST(RegularExpression, CacheHitReusesTheDFAAndKeepsTheOrder) {
    TRegularExpression re;
    re.SetRegExp("a");
    TRE_DFA *a = re.GetCurrentDFA();
    re.SetRegExp("a");
    EXPECT_EQ(re.GetCurrentDFA(), a);
    re.SetRegExp("b");
    re.SetRegExp("a");
    EXPECT_EQ(re.GetCurrentDFA(), a);
    EXPECT_EQ(re.CurrentIndex(), 2);
    EXPECT_EQ(Keys(re), (std::vector<std::string>{"", "b", "a"}));
    EXPECT_EQ(re.RegExp(), "a");
    EXPECT_EQ(re.GetProcessedRegExp(), "a");
}

TEST(RegularExpression, FullCacheEvictsTheOldestInsertion) {
    TRegularExpression re;
    std::vector<TRE_DFA *> dfas;
    for (int i = 0; i < 30; ++i) {
        re.SetRegExp("x" + std::to_string(i));
        dfas.push_back(re.GetCurrentDFA());
    }
    const auto keys = Keys(re);
    ASSERT_EQ(keys.size(), 30u);
    EXPECT_EQ(keys[0], "");
    EXPECT_EQ(keys[1], "x29");
    EXPECT_EQ(keys[29], "x1");
    // Using an entry does not protect it: x1 is still the next to go.
    re.SetRegExp("x1");
    EXPECT_EQ(re.GetCurrentDFA(), dfas[1]);
    re.SetRegExp("x0");
    EXPECT_EQ(re.CurrentIndex(), 1);
    EXPECT_EQ(Keys(re).back(), "x2");
    EXPECT_EQ(Keys(re).size(), 30u);
    EXPECT_EQ(re.GetSimpleRegExp(), "x0");
}

TEST(RegularExpression, SyntaxErrorLeavesTheEmptyExpressionCurrent) {
    TRegularExpression re;
    re.SetRegExp("ab");
    EXPECT_THROW(re.SetRegExp("a)"), ERegExpParser);
    EXPECT_EQ(re.CurrentIndex(), 0);
    EXPECT_EQ(re.RegExp(), "");
    EXPECT_EQ(Keys(re), (std::vector<std::string>{"", "ab"}));
    EXPECT_NE(re.GetpInitialDFAState()->Accepted, 0);
    re.SetRegExp("ab");
    EXPECT_EQ(re.CurrentIndex(), 1);
    EXPECT_EQ(re.RegExp(), "ab");
}

TEST(RegularExpression, EvictionIsNotUndoneByAFailedCompile) {
    TRegularExpression re;
    for (int i = 0; i < 29; ++i) re.SetRegExp("y" + std::to_string(i));
    EXPECT_THROW(re.SetRegExp("(("), ERegExpParser);
    const auto keys = Keys(re);
    EXPECT_EQ(keys.size(), 29u);
    EXPECT_EQ(keys.back(), "y1");
}

TEST(RegularExpression, TooComplexExpressionIsRefusedAndTheObjectStaysUsable) {
    TRegularExpression re;
    re.SetRegExp("abc");
    std::string expr = "(a|b)*a";
    for (int i = 0; i < 21; ++i) expr += "(a|b)";
    try {
        re.SetRegExp(expr);
        FAIL() << "no error";
    } catch (const ERegExpParser &e) {
        EXPECT_STREQ(e.Message().c_str(), REMSG_RegExpTooComplex);
    }
    EXPECT_EQ(re.CurrentIndex(), 0);
    EXPECT_EQ(re.RegExp(), "");
    EXPECT_EQ(Keys(re), (std::vector<std::string>{"", "abc"}));
    re.SetRegExp("abc");
    EXPECT_EQ(re.GetSimpleRegExp(), "abc");
}

TEST(RegularExpression, HugeLiteralIsRefusedByTheSetBudget) {
    // Each of its 30001 DFA states holds a set of 30001 NFA states: about 110 MB.
    TRegularExpression re;
    EXPECT_THROW(re.SetRegExp(std::string(30000, 'q')), ERegExpParser);
    EXPECT_EQ(re.CurrentIndex(), 0);
    re.SetRegExp(std::string(3000, 'q'));
    EXPECT_EQ(re.GetSimpleRegExp().size(), 3000u);
}

TEST(RegularExpression, FuzzyOptionRecompilesAndSwitchingBackHitsTheCache) {
    TRegularExpression re;
    re.GetListOfFuzzyCharDic().push_back(RE_FuzzyCharDic());
    re.SetRegExp("a");
    TRE_DFA *plain = re.GetCurrentDFA();
    re.SetUseFuzzyCharDic(true);
    EXPECT_TRUE(re.GetUseFuzzyCharDic());
    EXPECT_EQ(re.RegExp(), "a");
    EXPECT_EQ(re.GetProcessedRegExp(), "(\x82\x60|\x82\x81|A|a)");  // (Ａ|ａ|A|a)
    EXPECT_NE(re.GetCurrentDFA(), plain);
    EXPECT_EQ(re.GetCurrentDFA()->pInitialState->Next->CharClass.StartChar, 'A');
    re.SetUseFuzzyCharDic(false);
    EXPECT_EQ(re.GetCurrentDFA(), plain);
    EXPECT_EQ(Keys(re).size(), 3u);
}

TEST(RegularExpression, PreprocessorErrorLeavesTheCurrentExpression) {
    TRegularExpression re;
    re.GetListOfFuzzyCharDic().push_back(RE_FuzzyCharDic());
    re.SetRegExp("b");
    re.SetUseFuzzyCharDic(true);
    const int index = re.CurrentIndex();
    TRE_DFA *dfa = re.GetCurrentDFA();
    EXPECT_THROW(re.SetRegExp("[a"), ERegExpParser);
    EXPECT_EQ(re.CurrentIndex(), index);
    EXPECT_EQ(re.GetCurrentDFA(), dfa);
    EXPECT_EQ(re.RegExp(), "b");
}

TEST(RegularExpression, SynonymOptionUsesTheDictionariesOfTheCaller) {
    TRegularExpression re;
    re.GetListOfSynonymDic().push_back(
        std::make_shared<const REDictionary_t>(REDictionary_t{{"color", "colour"}}));
    re.SetUseSynonymDic(true);
    re.SetRegExp("colors?");
    EXPECT_EQ(re.GetProcessedRegExp(), "(color|colour)s?");
    EXPECT_EQ(re.RegExp(), "colors?");
}

class LineFeedAnchors : public TRegularExpression {
public:
    WChar_t GetLineHeadWChar() const override { return 0x0A; }
    WChar_t GetLineTailWChar() const override { return 0x0A; }
};

TEST(RegularExpression, AnchorCodesComeFromTheVirtualOperations) {
    LineFeedAnchors re;
    re.SetRegExp("^a$");
    EXPECT_TRUE(re.GetHasLHead());
    EXPECT_TRUE(re.GetHasLTail());
    EXPECT_TRUE(re.GetRegExpIsSimple());
    EXPECT_EQ(re.GetSimpleRegExp(), "\na\n");
    RE_pDFAState_t s = re.GetpInitialDFAState();
    for (WChar_t wc : {WChar_t{0x0A}, WChar_t{'a'}, WChar_t{0x0A}}) {
        s = TRegularExpression::NextDFAState(s, wc);
        ASSERT_NE(s, nullptr);
    }
    EXPECT_NE(s->Accepted, 0);
}

// Records the order in which compilation asks for the anchor codes.
class RecordingAnchors : public TRegularExpression {
public:
    WChar_t GetLineHeadWChar() const override {
        Calls += 'H';
        return TRegularExpression::GetLineHeadWChar();
    }
    WChar_t GetLineTailWChar() const override {
        Calls += 'T';
        return TRegularExpression::GetLineTailWChar();
    }
    mutable std::string Calls;
};

TEST(RegularExpression, CompilingAsksForTheLineHeadCodeFirst) {
    RecordingAnchors re;
    for (int i = 0; i < 20; ++i) {
        re.Calls.clear();
        re.SetRegExp("^x" + std::to_string(i) + "$");
        EXPECT_EQ(re.Calls, "HT");
    }
    re.Calls.clear();
    re.SetRegExp("^x3$");  // cached: nothing compiled, nothing asked
    EXPECT_EQ(re.Calls, "");
}

TEST(RegularExpression, FailedCompileOfEntryZeroKeepsItsDFA) {
    TRegularExpression re;
    TRE_DFA *empty = re.GetCurrentDFA();
    std::string expr = "(a|b)*a";
    for (int i = 0; i < 21; ++i) expr += "(a|b)";
    EXPECT_THROW(re.Translate(expr), ERegExpParser);
    EXPECT_EQ(re.CurrentIndex(), 0);
    EXPECT_EQ(Keys(re), std::vector<std::string>{""});
    EXPECT_EQ(re.GetCurrentDFA(), empty);
    EXPECT_NE(re.GetpInitialDFAState()->Accepted, 0);
    EXPECT_EQ(re.GetpInitialDFAState()->Next, nullptr);
}

TEST(RegularExpression, NextDFAStateOverRanges) {
    TRegularExpression re;
    re.SetRegExp("[c-e]x|[\x88\x9F-\x98\x72]y");  // c-e, 亜-腕
    const RE_pDFAState_t s0 = re.GetpInitialDFAState();
    const RE_pDFAState_t toLow = s0->Next->TransitTo;
    const RE_pDFAState_t toHigh = s0->Next->Next->TransitTo;
    struct { WChar_t wc; RE_pDFAState_t expected; } cases[] = {
        {'b', nullptr}, {'c', toLow}, {'e', toLow}, {'f', nullptr},
        {0x889E, nullptr}, {0x889F, toHigh}, {0x9872, toHigh}, {0x9873, nullptr},
        {0, nullptr}, {0xFFFF, nullptr},
    };
    for (const auto &c : cases) EXPECT_EQ(TRegularExpression::NextDFAState(s0, c.wc), c.expected) << c.wc;
}

}  // namespace
