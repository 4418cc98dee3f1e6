// The message of a refused compilation, as CP932 bytes.
#include <gtest/gtest.h>

#include <string>

#include "regexp/regexp.h"

TEST(RegularExpressionMessages, TooComplexText) {
    EXPECT_EQ(std::string(REMSG_RegExpTooComplex), "正規表現が複雑すぎて処理できません。");
    EXPECT_EQ(std::string(REMSG_RegExpTooComplex).substr(0, 2), "\x90\xB3");  // 正
}
