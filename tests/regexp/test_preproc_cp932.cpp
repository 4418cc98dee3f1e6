// Rewriting of expressions by the preprocessor: the equivalent-character pass with the
// built-in dictionary, the synonym pass with hand-made dictionaries, precedence, what is
// left alone, and when scanner errors surface. Literals here are CP932 bytes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "regexp/chars.h"
#include "regexp/messages.h"
#include "regexp/parser.h"
#include "regexp/preprocessor.h"

namespace {

REpDictionary_t Dic(REDictionary_t rows) { return std::make_shared<const REDictionary_t>(std::move(rows)); }

class PreProcessor : public ::testing::Test {
protected:
    std::string Fuzzy(const std::string &expression) {
        TREPreProcessor pp;
        pp.ListOfFuzzyCharDic().push_back(RE_FuzzyCharDic());
        pp.SetUseFuzzyCharDic(true);
        pp.SetTargetRegExpStr(expression);
        pp.Run();
        return pp.ProcessedRegExpStr();
    }
    std::string Synonyms(const std::vector<REpDictionary_t> &dics, const std::string &expression) {
        TREPreProcessor pp;
        pp.ListOfSynonymDic() = dics;
        pp.SetUseSynonymDic(true);
        pp.SetTargetRegExpStr(expression);
        pp.Run();
        return pp.ProcessedRegExpStr();
    }
};

struct RewriteCase {
    const char *expression;
    const char *expected;
};

TEST_F(PreProcessor, FuzzyPassRewritesPlainCharacters) {
    const RewriteCase cases[] = {
        {"ab", "(Ａ|ａ|A|a)(Ｂ|ｂ|B|b)"},
        {"a*", "(Ａ|ａ|A|a)*"},
        {"漢", "漢"},
        {"x漢y", "(Ｘ|ｘ|X|x)漢(Ｙ|ｙ|Y|y)"},
        {" ", "(　| )"},
        {"ｶﾞ", "(が|ガ|ｶﾞ|か゛|カ゛)"},
        {"か゛", "(が|ガ|ｶﾞ|か゛|カ゛)"},
        {"ず", "(ず|ズ|ｽﾞ|す゛|ス゛|づ|ヅ|ﾂﾞ|つ゛|ツ゛)"},
        {"ﾞ", "(ﾞ|゛)"},
        {",", "(,|､|、|，)"},
        {"\"", "(\"|”)"},
        {"１", "(1|１|一|①|Ⅰ|壱)"},
        // Trail bytes 0x5C are never taken for a backslash, neither when matching nor
        // when the forms are quoted again.
        {"ソ", "(そ|ソ|ｿ)"},
        {"表", "表"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Fuzzy(c.expression), c.expected) << c.expression;
    }
}

TEST_F(PreProcessor, FirstRowWinsOverLaterRowsSharingAForm) {
    const RewriteCase cases[] = {
        // The long-vowel row comes before the hyphen row.
        {"ー", "(ー|～|ｰ)"},
        {"～", "(ー|～|ｰ)"},
        {"ｰ", "(ー|～|ｰ)"},
        {"-", "(-|ー|－|～|ｰ)"},
        {"－", "(-|ー|－|～|ｰ)"},
        // The row of ぶ comes before those of べ and ぼ, so ヴェ is ヴ then ェ.
        {"ヴェ", "(ぶ|ブ|ﾌﾞ|ふ゛|フ゛|ヴ|ウ゛|う゛|ｳﾞ)(え|エ|ｴ|ぇ|ェ|ｪ)"},
        {"ｳﾞｫ", "(ぶ|ブ|ﾌﾞ|ふ゛|フ゛|ヴ|ウ゛|う゛|ｳﾞ)(お|オ|ｵ|ぉ|ォ|ｫ)"},
        // ...but the row of ば, earlier still, holds ヴァ and its spellings whole.
        {"う゛ぁ", "(ば|バ|ﾊﾞ|は゛|ハ゛|ヴァ|う゛ぁ|ウ゛ァ|ｳﾞｧ)"},
        // The row of う comes before those of わ, ゐ, ゑ and を.
        {"ウァ", "(う|ウ|ｳ|ぅ|ゥ|ｩ)(あ|ア|ｱ|ぁ|ァ|ｧ)"},
        {"うぃ", "(う|ウ|ｳ|ぅ|ゥ|ｩ)(い|イ|ｲ|ぃ|ィ|ｨ)"},
        {"ｳｫ", "(う|ウ|ｳ|ぅ|ゥ|ｩ)(お|オ|ｵ|ぉ|ォ|ｫ)"},
        // Forms that do not start with an earlier row's form select their own row.
        {"ゐ", "(ヰ|ゐ|うぃ|ウィ|ｳｨ)"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Fuzzy(c.expression), c.expected) << c.expression;
    }
}

TEST_F(PreProcessor, EscapedCharactersMatchPlainFormsAndAreQuotedAgain) {
    const RewriteCase cases[] = {
        {"\\.", "(｡|\\.|。|．)"},
        {"\\(", "(\\(|（)"},
        {"\\|", "(\\||｜)"},
        {"\\\\", "(\\\\|￥)"},
        {"\\x41", "(Ａ|ａ|A|a)"},
        {"\\101", "(Ａ|ａ|A|a)"},
        {"\\ソ", "(そ|ソ|ｿ)"},
        // Unescaped operators stay operators.
        {".", "."},
        {"(a)", "((Ａ|ａ|A|a))"},
        {"a|b", "(Ａ|ａ|A|a)|(Ｂ|ｂ|B|b)"},
        {"^a$", "^(Ａ|ａ|A|a)$"},
        {"a+?", "(Ａ|ａ|A|a)+?"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Fuzzy(c.expression), c.expected) << c.expression;
    }
}

TEST_F(PreProcessor, NothingInsideBracketsIsRewritten) {
    const RewriteCase cases[] = {
        {"[ab]", "[ab]"},
        {"[^ab]", "[^ab]"},
        {"[ｶﾞｺ-ﾝ]", "[ｶﾞｺ-ﾝ]"},
        {"[\\]a]", "[\\]a]"},
        {"[a]b[c]", "[a](Ｂ|ｂ|B|b)[c]"},
        {"[(a]b", "[(a](Ｂ|ｂ|B|b)"},
        // A closing bracket outside a class is an operator token; what follows is rewritten.
        {"]a", "](Ａ|ａ|A|a)"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Fuzzy(c.expression), c.expected) << c.expression;
    }
}

TEST_F(PreProcessor, MatchesNeverSpanOperators) {
    // か゛ is one form, but an operator between its characters splits the run.
    EXPECT_EQ(Fuzzy("か*゛"), "(か|カ|ｶ)*(ﾞ|゛)");
    EXPECT_EQ(Synonyms({Dic({{"color", "colour"}})}, "colo(u)r|col[o]r"), "colo(u)r|col[o]r");
}

TEST_F(PreProcessor, PostfixOperatorKeepsApplyingToOneCharacter) {
    // ｶﾞ* is ｶ followed by any number of ﾞ; a group of the whole row in front of the
    // star would repeat the syllable instead.
    EXPECT_EQ(Fuzzy("ｶﾞ*"), "(か|カ|ｶ)(ﾞ|゛)*");
    EXPECT_EQ(Fuzzy("xか゛+"), "(Ｘ|ｘ|X|x)(か|カ|ｶ)(ﾞ|゛)+");
    EXPECT_EQ(Fuzzy("ｶﾞ?ｶﾞ"), "(か|カ|ｶ)(ﾞ|゛)?(が|ガ|ｶﾞ|か゛|カ゛)");
    const auto colors = Dic({{"color", "colour"}});
    EXPECT_EQ(Synonyms({colors}, "color?"), "color?");
    EXPECT_EQ(Synonyms({colors}, "colorx*"), "(color|colour)x*");
    EXPECT_EQ(Synonyms({Dic({{"r", "R"}})}, "color?"), "colo(r|R)?");
}

TEST_F(PreProcessor, SynonymPassExpandsWords) {
    const auto colors = Dic({{"color", "colour"}});
    EXPECT_EQ(Synonyms({colors}, "colors?"), "(color|colour)s?");
    EXPECT_EQ(Synonyms({colors}, "colour|color"), "(color|colour)|(color|colour)");
    EXPECT_EQ(Synonyms({colors}, "xcolourx"), "x(color|colour)x");
    // A form with metacharacters matches its escaped spelling and is quoted again.
    const auto cpp = Dic({{"c++", "cpp"}});
    EXPECT_EQ(Synonyms({cpp}, "c\\+\\+"), "(c\\+\\+|cpp)");
    EXPECT_EQ(Synonyms({cpp}, "cpp"), "(c\\+\\+|cpp)");
    EXPECT_EQ(Synonyms({cpp}, "c++"), "c++");
}

TEST_F(PreProcessor, FirstMatchNotLongestAndEarlierDictionaryWins) {
    // An earlier row's shorter form wins over a later row's longer form.
    EXPECT_EQ(Synonyms({Dic({{"ab", "X"}, {"abc", "Y"}})}, "abc"), "(ab|X)c");
    // Within a row the first matching form is taken.
    EXPECT_EQ(Synonyms({Dic({{"a", "ab"}})}, "ab"), "(a|ab)b");
    // Dictionaries are searched in list order.
    const auto first = Dic({{"ab", "X"}});
    const auto second = Dic({{"a", "Y"}});
    EXPECT_EQ(Synonyms({first, second}, "ab"), "(ab|X)");
    EXPECT_EQ(Synonyms({second, first}, "ab"), "(a|Y)b");
    // Positions inside a match are not tried again.
    EXPECT_EQ(Synonyms({Dic({{"ab", "X"}, {"bc", "Y"}})}, "abc"), "(ab|X)c");
}

TEST_F(PreProcessor, UnusableFormsNeitherMatchNorAppear) {
    // An empty form would add an empty alternative and make the word optional.
    EXPECT_EQ(Synonyms({Dic({{"color", "", "colour"}})}, "color"), "(color|colour)");
    EXPECT_EQ(Synonyms({Dic({{"", "x"}})}, "ab"), "ab");
    // A form cut inside a double-byte character, or holding a zero byte.
    EXPECT_EQ(Synonyms({Dic({{"a", std::string("\x82", 1), std::string("b\0c", 3)}})}, "a"), "(a)");
    // Null dictionaries in a list are skipped.
    EXPECT_EQ(Synonyms({nullptr, Dic({{"a", "b"}})}, "a"), "(a|b)");
}

TEST_F(PreProcessor, BothPassesRewriteTheSynonymResultCharacterByCharacter) {
    TREPreProcessor pp;
    pp.ListOfSynonymDic().push_back(Dic({{"ab", "c"}}));
    pp.ListOfFuzzyCharDic().push_back(RE_FuzzyCharDic());
    pp.SetUseSynonymDic(true);
    pp.SetUseFuzzyCharDic(true);
    pp.SetTargetRegExpStr("abx?");
    pp.Run();
    EXPECT_EQ(pp.ProcessedRegExpStr(), "((Ａ|ａ|A|a)(Ｂ|ｂ|B|b)|(Ｃ|ｃ|C|c))(Ｘ|ｘ|X|x)?");
    // The target is kept, so running again gives the same text.
    EXPECT_EQ(pp.GetTargetRegExpStr(), "abx?");
    pp.Run();
    EXPECT_EQ(pp.ProcessedRegExpStr(), "((Ａ|ａ|A|a)(Ｂ|ｂ|B|b)|(Ｃ|ｃ|C|c))(Ｘ|ｘ|X|x)?");
}

TEST_F(PreProcessor, EveryFormRewritesToAnExpressionTheParserAccepts) {
    TREPreProcessor pp;
    pp.ListOfFuzzyCharDic().push_back(RE_FuzzyCharDic());
    pp.SetUseFuzzyCharDic(true);
    std::string all;
    for (const REDicRow_t &row : *RE_FuzzyCharDic()) {
        for (const std::string &form : row) {
            const std::string written = QuoteMetaWChar(form);
            all += written;
            for (const std::string &expression : {written, written + "*", "(" + written + ")+"}) {
                pp.SetTargetRegExpStr(expression);
                pp.Run();
                TREParser parser(pp.ProcessedRegExpStr());
                EXPECT_NO_THROW(parser.Run()) << pp.ProcessedRegExpStr();
            }
        }
    }
    pp.SetTargetRegExpStr(all);
    pp.Run();
    TREParser parser(pp.ProcessedRegExpStr());
    EXPECT_NO_THROW(parser.Run());
}

TEST_F(PreProcessor, OptionsOffCopiesWithoutScanning) {
    TREPreProcessor pp;
    pp.ListOfFuzzyCharDic().push_back(RE_FuzzyCharDic());
    EXPECT_FALSE(pp.UseFuzzyCharDic());
    EXPECT_FALSE(pp.UseSynonymDic());
    for (const std::string &expression : {std::string("ab"), std::string("[a"), std::string("\\x"),
                                         std::string("a\x82", 2), std::string("[z-a]")}) {
        pp.SetTargetRegExpStr(expression);
        EXPECT_NO_THROW(pp.Run()) << expression;
        EXPECT_EQ(pp.ProcessedRegExpStr(), expression);
    }
}

struct ErrorCase {
    const char *expression;
    const char *const *message;
    int position;
};

TEST_F(PreProcessor, ScannerErrorsSurfaceWhenAnOptionIsOn) {
    const ErrorCase cases[] = {
        {"[a", &REMSG_NeedRBracket, 3},
        {"[z-a]", &REMSG_InvalidCharRange, 5},
        {"ab\\", &REMSG_NeedCharAfterYen, 4},
        {"\\xg", &REMSG_InvalidHex, 4},
        {"a\x82", &REMSG_InvalidDBCS, 2},
    };
    for (const bool synonyms : {false, true}) {
        TREPreProcessor pp;  // empty dictionary lists: only the scan can fail
        pp.SetUseSynonymDic(synonyms);
        pp.SetUseFuzzyCharDic(!synonyms);
        pp.SetTargetRegExpStr("abc");
        pp.Run();
        EXPECT_EQ(pp.ProcessedRegExpStr(), "abc");
        for (const auto &c : cases) {
            pp.SetTargetRegExpStr(c.expression);
            try {
                pp.Run();
                ADD_FAILURE() << "no error for " << c.expression;
            } catch (const ERegExpParser &e) {
                EXPECT_STREQ(e.what(), *c.message) << c.expression;
                EXPECT_EQ(e.ErrorPos, c.position) << c.expression;
            }
            EXPECT_EQ(pp.ProcessedRegExpStr(), "") << c.expression;
        }
        // The preprocessor stays usable after an error.
        pp.SetTargetRegExpStr("a*");
        pp.Run();
        EXPECT_EQ(pp.ProcessedRegExpStr(), "a*");
    }
}

TEST_F(PreProcessor, TokenTextsCoverTheExpression) {
    TREPreProcessor pp;
    for (const char *expression : {"", "a\\.b(c|d)*", "[^a-z\\]]x", "表ソ\\x41\\101", "^[ｶﾞ-]$+?"}) {
        pp.SetTargetRegExpStr(expression);
        pp.MakeTokenList();
        const auto &tokens = pp.TokenList();
        ASSERT_FALSE(tokens.empty());
        EXPECT_EQ(tokens.back().Token, retk_End);
        EXPECT_EQ(tokens.back().FromIndex, 0);
        EXPECT_EQ(tokens.back().ToIndex, 0);
        std::string joined;
        int next = 1;
        for (std::size_t k = 0; k + 1 < tokens.size(); ++k) {
            EXPECT_EQ(tokens[k].FromIndex, next) << expression;
            joined += std::string(expression).substr(tokens[k].FromIndex - 1, tokens[k].ToIndex - tokens[k].FromIndex);
            next = tokens[k].ToIndex;
        }
        EXPECT_EQ(joined, expression);
        pp.DestroyTokenListItems();
        EXPECT_TRUE(pp.TokenList().empty());
    }
}

TEST_F(PreProcessor, ReferToOneListReportsTheTokenAfterTheMatch) {
    TREPreProcessor pp;
    pp.SetTargetRegExpStr("xｶﾞy");
    pp.MakeTokenList();  // x, ｶ, ﾞ, y, end
    const REDictionary_t &dic = *RE_FuzzyCharDic();
    EXPECT_EQ(pp.ReferToOneList(1, 4, dic), 3);
    EXPECT_EQ(pp.ReplaceStr(), "(が|ガ|ｶﾞ|か゛|カ゛)");
    // The form may not run past the end of the run: only ｶ is available.
    EXPECT_EQ(pp.ReferToOneList(1, 2, dic), 2);
    EXPECT_EQ(pp.ReplaceStr(), "(か|カ|ｶ)");
    EXPECT_EQ(pp.ReferToOneList(0, 4, REDictionary_t{{"q", "r"}}), -1);
}

}  // namespace
