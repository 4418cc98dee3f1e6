// Every syntax error of the character model, the scanner and the parser: its exact
// CP932 text and its position. This unit is compiled to CP932, so the Japanese literals
// below are the bytes the user sees.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "regexp/chars.h"
#include "regexp/messages.h"
#include "regexp/parser.h"
#include "regexp/scanner.h"

namespace {

struct ErrorCase {
    std::string input;
    std::string message;
    int pos;
};

void ExpectError(const std::function<void()> &run, const ErrorCase &c) {
    try {
        run();
        ADD_FAILURE() << "no error for " << c.input;
    } catch (const ERegExpParser &e) {
        EXPECT_EQ(e.Message(), c.message) << c.input;
        EXPECT_STREQ(e.what(), c.message.c_str()) << c.input;
        EXPECT_EQ(e.ErrorPos, c.pos) << c.input;
    }
}

const std::string kDBCS = "不正な２バイト文字コードです。";
const std::string kYen = "\"\\\"の次には文字が必要です。";
const std::string kHex = "不正な１６進数コード表記です。";
const std::string kOct = "不正な８進数コード表記です。";
const std::string kRBra = "右ブラケット\"]\"が必要です";
const std::string kRange = "不正なキャラクタ範囲です";
const std::string kExtra = "正規表現に余分な文字があります";
const std::string kRPar = "右(閉じ)括弧が必要です";
const std::string kOperand = "普通の文字、または左括弧\"(\"が必要です";
const std::string kClass = "不正なキャラクタクラス指定です。";
const std::string kDeep = "括弧の入れ子が深すぎます";

TEST(Messages, AreCP932Bytes) {
    // Independent check of the conversion for two texts, byte by byte.
    EXPECT_EQ(std::string(REMSG_InvalidDBCS),
              "\x95\x73\x90\xB3\x82\xC8\x82\x51\x83\x6F\x83\x43\x83\x67\x95\xB6\x8E\x9A\x83\x52"
              "\x81\x5B\x83\x68\x82\xC5\x82\xB7\x81\x42");
    EXPECT_EQ(std::string(REMSG_NeedCharAfterYen),
              "\x22\x5C\x22\x82\xCC\x8E\x9F\x82\xC9\x82\xCD\x95\xB6\x8E\x9A\x82\xAA\x95\x4B\x97"
              "\x76\x82\xC5\x82\xB7\x81\x42");
    EXPECT_EQ(std::string(REMSG_ParseTreeFatal),
              "TREParseTree : \x92\x76\x96\xBD\x93\x49\x83\x47\x83\x89\x81\x5B");
    EXPECT_EQ(REMSG_InvalidHex, kHex);
    EXPECT_EQ(REMSG_InvalidOct, kOct);
    EXPECT_EQ(REMSG_NeedRBracket, kRBra);
    EXPECT_EQ(REMSG_InvalidCharRange, kRange);
    EXPECT_EQ(REMSG_ExtraChars, kExtra);
    EXPECT_EQ(REMSG_NeedRPar, kRPar);
    EXPECT_EQ(REMSG_NeedCharOrLPar, kOperand);
    EXPECT_EQ(REMSG_InvalidCharClass, kClass);
    EXPECT_EQ(REMSG_GroupTooDeep, kDeep);
}

TEST(Messages, CharacterModel) {
    const std::vector<ErrorCase> reads = {
        {"ab\x88", kDBCS, 3},
    };
    for (const auto &c : reads)
        ExpectError([&] { int i = 3; GetWChar(c.input, i); }, c);

    const std::vector<ErrorCase> escapes = {
        {"\\", kYen, 2},
        {"\\xg", kHex, 4},
        {"\\x", kHex, 3},
        {"\\200000", kOct, 8},
        {"\\\x88", kDBCS, 2},
        {std::string("\\\0", 2), kYen, 3},  // a replacement ending in a backslash reaches this
    };
    for (const auto &c : escapes)
        ExpectError([&] { int i = 2; GetQuotedWChar(c.input, i); }, c);

    ExpectError([] { int i = 1; OctStrToInt("9", i); }, {"9", kOct, 2});
    ExpectError([] { int i = 1; HexStrToInt("", i); }, {"", kHex, 1});
}

TEST(Messages, ScannerAndParser) {
    const std::vector<ErrorCase> cases = {
        // Character model, reached through the scanner.
        {"a\x88", kDBCS, 2},
        {"ab\\", kYen, 4},
        {"[a\\", kYen, 4},
        {"\\xq", kHex, 4},
        {"[\\x]", kHex, 5},
        {"a\\200000", kOct, 9},
        // Scanner.
        {"[", kRBra, 2},
        {"[a", kRBra, 3},
        {"[a-", kRBra, 4},
        {"[^", kRBra, 3},
        {"a[b-c", kRBra, 6},
        {"[z-a]", kRange, 5},
        {"[ン-ア]", kRange, 7},
        // Parser.
        {"a)", kExtra, 3},
        {"(a))", kExtra, 5},
        {"(a", kRPar, 3},
        {"(a|b", kRPar, 5},
        {"a**", kOperand, 4},
        {"a+?", kOperand, 4},
        {"*a", kOperand, 2},
        {"]", kOperand, 2},
        {"a|+", kOperand, 4},
        {"[]", kClass, 3},
        {"[^]", kClass, 4},
        {std::string(RE_MAX_GROUP_DEPTH + 1, '(') + ")", kDeep, RE_MAX_GROUP_DEPTH + 2},
    };
    for (const auto &c : cases)
        ExpectError([&] { TREParser parser(c.input); parser.Run(); }, c);
}

TEST(Messages, FatalParseTreeError) {
    TREParseTree tree;
    RENode_t *leaf = tree.MakeLeaf('a', 'a');
    try {
        tree.ChangeLeaftoNode(leaf, nullptr, leaf);
        FAIL() << "no error";
    } catch (const ERegExpParser &) {
        FAIL() << "an internal error is no syntax error";
    } catch (const qv::Exception &e) {
        EXPECT_EQ(std::string(e.what()), "TREParseTree : 致命的エラー");
    }
}

}  // namespace
