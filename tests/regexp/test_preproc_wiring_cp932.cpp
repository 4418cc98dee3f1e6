// The preprocessor as the compiled expression drives it: the two options, compiling
// again when an option is switched, the cache keyed by the rewritten expression, and
// preprocessor errors leaving the current expression alone. Literals are CP932 bytes.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "regexp/fuzzy_dictionary.h"
#include "regexp/matchcore.h"
#include "regexp/messages.h"

namespace {

class PreProcessorWiring : public ::testing::Test {
protected:
    PreProcessorWiring() { re_.GetListOfFuzzyCharDic().push_back(RE_FuzzyCharDic()); }

    // The matched text, or "<none>".
    std::string Match(const std::string &text) const {
        const char *start = nullptr;
        const char *end = nullptr;
        re_.MatchStd(text.c_str(), start, end);
        return start == nullptr ? std::string("<none>") : std::string(start, end);
    }

    TMatchCORE re_;
};

TEST_F(PreProcessorWiring, OptionsAreOffUntilSwitchedOn) {
    EXPECT_FALSE(re_.GetUseFuzzyCharDic());
    EXPECT_FALSE(re_.GetUseSynonymDic());
    re_.SetRegExp("ab");
    EXPECT_EQ(re_.GetProcessedRegExp(), "ab");
    EXPECT_EQ(Match("ＡＢ ab"), "ab");
}

TEST_F(PreProcessorWiring, SwitchingTheFuzzyOptionCompilesAgainAndBack) {
    re_.SetRegExp("ab");
    const TRE_DFA *plain = re_.GetCurrentDFA();
    EXPECT_EQ(Match("ＡＢ"), "<none>");

    re_.SetUseFuzzyCharDic(true);
    EXPECT_TRUE(re_.GetUseFuzzyCharDic());
    EXPECT_EQ(re_.RegExp(), "ab");
    EXPECT_EQ(re_.GetProcessedRegExp(), "(Ａ|ａ|A|a)(Ｂ|ｂ|B|b)");
    EXPECT_EQ(re_.RegExpList().size(), 3u);
    EXPECT_EQ(Match("xxＡｂ"), "Ａｂ");
    EXPECT_EQ(Match("aＢ"), "aＢ");

    // Switching off selects the earlier entry without compiling it again.
    re_.SetUseFuzzyCharDic(false);
    EXPECT_EQ(re_.GetProcessedRegExp(), "ab");
    EXPECT_EQ(re_.GetCurrentDFA(), plain);
    EXPECT_EQ(re_.RegExpList().size(), 3u);
    EXPECT_EQ(Match("ＡＢ"), "<none>");
}

TEST_F(PreProcessorWiring, EquivalentSpellingsMatchAndShareOneCacheEntry) {
    re_.SetUseFuzzyCharDic(true);
    re_.SetRegExp("ｶﾞｽ");
    const TRE_DFA *dfa = re_.GetCurrentDFA();
    EXPECT_EQ(Match("都市ガスの"), "ガス");
    EXPECT_EQ(Match("か゛す"), "か゛す");
    EXPECT_EQ(Match("カス"), "<none>");
    const std::size_t entries = re_.RegExpList().size();
    re_.SetRegExp("がス");  // another spelling, same rewritten expression
    EXPECT_EQ(re_.GetCurrentDFA(), dfa);
    EXPECT_EQ(re_.RegExpList().size(), entries);
    EXPECT_EQ(re_.RegExp(), "がス");
}

TEST_F(PreProcessorWiring, SynonymsThenEquivalentCharacters) {
    re_.GetListOfSynonymDic().push_back(std::make_shared<const REDictionary_t>(REDictionary_t{{"color", "colour"}}));
    re_.SetRegExp("colors?");
    re_.SetUseSynonymDic(true);
    EXPECT_EQ(re_.GetProcessedRegExp(), "(color|colour)s?");
    EXPECT_EQ(Match("the colours"), "colours");
    EXPECT_EQ(Match("COLOR"), "<none>");
    re_.SetUseFuzzyCharDic(true);
    EXPECT_EQ(Match("ＣＯＬＯＵＲＳ"), "ＣＯＬＯＵＲＳ");
}

TEST_F(PreProcessorWiring, PreprocessorErrorsLeaveTheCurrentExpression) {
    re_.SetUseFuzzyCharDic(true);
    re_.SetRegExp("ab");
    const int current = re_.CurrentIndex();
    const std::size_t entries = re_.RegExpList().size();
    try {
        re_.SetRegExp("x[a");
        ADD_FAILURE() << "no error";
    } catch (const ERegExpParser &e) {
        EXPECT_STREQ(e.what(), REMSG_NeedRBracket);
        EXPECT_EQ(e.ErrorPos, 4);
    }
    EXPECT_EQ(re_.RegExp(), "ab");
    EXPECT_EQ(re_.CurrentIndex(), current);
    EXPECT_EQ(re_.RegExpList().size(), entries);
    EXPECT_EQ(Match("Ａb"), "Ａb");
}

TEST_F(PreProcessorWiring, WithOptionsOffTheParserReportsTheError) {
    re_.SetRegExp("ab");
    EXPECT_THROW(re_.SetRegExp("x[a"), ERegExpParser);
    // A compilation failure selects the empty expression.
    EXPECT_EQ(re_.RegExp(), "");
    EXPECT_EQ(re_.CurrentIndex(), 0);
}

}  // namespace
