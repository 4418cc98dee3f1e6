// Character model: reading CP932 strings as codes, stepping back, escapes, quoting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regexp/chars.h"

namespace {

// ソ and 表 have the trail byte 0x5C (backslash); ン is a plain double-byte character.
const std::string kSo = "\x83\x5C";
const std::string kHyo = "\x95\x5C";
const std::string kN = "\x83\x93";

int PosOf(const std::string &s, int index, WChar_t (*fn)(const std::string &, int &)) {
    try {
        fn(s, index);
    } catch (const ERegExpParser &e) {
        return e.ErrorPos;
    }
    return -1;
}

TEST(GetWChar, OutsideTheStringReadsZeroAndKeepsIndex) {
    const std::string s = "ab";
    for (int start : {0, -1, -100, 3, 4}) {
        int index = start;
        EXPECT_EQ(GetWChar(s, index), 0) << start;
        EXPECT_EQ(index, start);
    }
    int index = 1;
    EXPECT_EQ(GetWChar(std::string(), index), 0);
    EXPECT_EQ(index, 1);
}

TEST(GetWChar, ReadsSingleAndDoubleByteCharacters) {
    const std::string s = "a" + kSo + "\xB1" + kN;  // a ソ ｱ ン
    int index = 1;
    EXPECT_EQ(GetWChar(s, index), 0x61);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(GetWChar(s, index), 0x835C);
    EXPECT_EQ(index, 4);
    EXPECT_EQ(GetWChar(s, index), 0xB1);  // half-width katakana is single-byte
    EXPECT_EQ(index, 5);
    EXPECT_EQ(GetWChar(s, index), 0x8393);
    EXPECT_EQ(index, 7);
    EXPECT_EQ(GetWChar(s, index), 0);
    EXPECT_EQ(index, 7);
}

TEST(GetWChar, ZeroByteReadsAsZeroButAdvances) {
    const std::string s("a\0b", 3);
    int index = 2;
    EXPECT_EQ(GetWChar(s, index), 0);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(GetWChar(s, index), 'b');
}

TEST(GetWChar, LeadByteFollowedByAnyByteIsOneCode) {
    const std::string withZero("\x88\0", 2);
    int index = 1;
    EXPECT_EQ(GetWChar(withZero, index), 0x8800);
    EXPECT_EQ(index, 3);
    const std::string withLead = "\xE0\xFC";
    index = 1;
    EXPECT_EQ(GetWChar(withLead, index), 0xE0FC);
}

TEST(GetWChar, LoneLeadByteAtTheEndRaisesAtItsIndex) {
    const std::string s = "ab\x88";
    int index = 3;
    try {
        GetWChar(s, index);
        FAIL() << "no exception";
    } catch (const ERegExpParser &e) {
        EXPECT_EQ(e.ErrorPos, 3);
        EXPECT_EQ(index, 3);
    }
    EXPECT_EQ(PosOf("\x81", 1, GetWChar), 1);
    EXPECT_EQ(PosOf("\xFC", 1, GetWChar), 1);
}

TEST(UnGetWChar, StepsBackOverWholeCharacters) {
    struct Case {
        std::string text;
        std::vector<int> starts;  // positions of the characters, in order
    };
    const std::vector<Case> cases = {
        {"abc", {1, 2, 3}},
        {kSo + "a", {1, 3}},
        {"a" + kSo + kHyo + "b", {1, 2, 4, 6}},
        // Trail bytes that are themselves lead-byte values.
        {"\x81\x81\x81\x81", {1, 3}},
        {"\xE0\x9F\x81\xFC" "x", {1, 3, 5}},
        {"x\x89\x89\x89\x89\x89\x89", {1, 2, 4, 6}},
        {"\xB1" + kN + "\xB2", {1, 2, 4}},
    };
    for (const auto &c : cases) {
        int index = 1;
        std::vector<int> forward;
        while (index <= static_cast<int>(c.text.size())) {
            forward.push_back(index);
            GetWChar(c.text, index);
        }
        EXPECT_EQ(forward, c.starts) << c.text;
        // From the end, step back over each character in turn.
        for (auto it = c.starts.rbegin(); it != c.starts.rend(); ++it) {
            UnGetWChar(c.text, index);
            EXPECT_EQ(index, *it) << c.text;
        }
        UnGetWChar(c.text, index);
        EXPECT_EQ(index, 1);
    }
}

TEST(UnGetWChar, AtOrBeforeTheStartDoesNothing) {
    for (int start : {1, 0, -3}) {
        int index = start;
        UnGetWChar("abc", index);
        EXPECT_EQ(index, start);
    }
    int index = 3;  // just after ソ at the very start
    UnGetWChar(kSo, index);
    EXPECT_EQ(index, 1);
}

TEST(PCharGetWChar, ReadsUntilTheTerminator) {
    const std::string s = "a" + kSo + "b";
    const char *p = s.c_str();
    EXPECT_EQ(PCharGetWChar(p), 'a');
    EXPECT_EQ(PCharGetWChar(p), 0x835C);
    EXPECT_EQ(PCharGetWChar(p), 'b');
    const char *end = p;
    EXPECT_EQ(PCharGetWChar(p), 0);
    EXPECT_EQ(p, end);
}

TEST(PCharGetWChar, LoneLeadByteBeforeTheTerminatorDoesNotReadPastIt) {
    const char buf[] = {'x', '\x88', '\0', 'y', '\0'};
    const char *p = buf;
    EXPECT_EQ(PCharGetWChar(p), 'x');
    EXPECT_EQ(PCharGetWChar(p), 0x88);
    EXPECT_EQ(p, buf + 2);
    EXPECT_EQ(PCharGetWChar(p), 0);
    EXPECT_EQ(p, buf + 2);

    char mutableBuf[] = "\x95\x5Cz";
    char *q = mutableBuf;
    EXPECT_EQ(PCharGetWChar(q), 0x955C);
    EXPECT_EQ(q, mutableBuf + 2);
}

TEST(WCharToStr, ConvertsCodesBackToBytes) {
    EXPECT_EQ(WCharToStr(0x8ABF), std::string("\x8A\xBF"));
    EXPECT_EQ(WCharToStr(0x835C), kSo);
    EXPECT_EQ(WCharToStr(0x4142), "B");  // high byte is no lead byte: dropped
    EXPECT_EQ(WCharToStr(0xFFFD), "\xFD");
    EXPECT_EQ(WCharToStr(0xB1), "\xB1");
    EXPECT_EQ(WCharToStr(0), std::string(1, '\0'));
}

struct QuotedCase {
    std::string text;  // starts with the backslash; decoding starts at index 2
    WChar_t code;
    int indexAfter;
};

TEST(GetQuotedWChar, DecodesEscapes) {
    const std::vector<QuotedCase> cases = {
        {"\\b", 0x08, 3},        {"\\r", 0x0D, 3},         {"\\n", 0x0A, 3},
        {"\\t", 0x09, 3},        {"\\x41g", 0x41, 5},      {"\\x12345", 0x1234, 7},
        {"\\xfFfF", 0xFFFF, 7},  {"\\X41", 'X', 3},         {"\\0", 0, 3},
        {"\\101", 0x41, 5},      {"\\1777777", 0xFFFF, 8}, {"\\0000007", 0, 8},
        {"\\78", 7, 3},          {"\\8", '8', 3},           {"\\9", '9', 3},
        {"\\B", 'B', 3},         {"\\N", 'N', 3},           {"\\a", 'a', 3},
        {"\\d", 'd', 3},         {"\\w", 'w', 3},           {"\\\\", 0x5C, 3},
        {"\\.", '.', 3},         {"\\*", '*', 3},           {"\\" + kSo, 0x835C, 4},
        {"\\" + kN + "x", 0x8393, 4},
    };
    for (const auto &c : cases) {
        int index = 2;
        EXPECT_EQ(GetQuotedWChar(c.text, index), c.code) << c.text;
        EXPECT_EQ(index, c.indexAfter) << c.text;
    }
}

TEST(GetQuotedWChar, ErrorsCarryTheirPositions) {
    struct Case {
        std::string text;
        int pos;
    };
    const std::vector<Case> cases = {
        {"\\", 2},          // nothing after the backslash: length plus 1
        {"a\\", 3},
        {"\\xg", 4},        // just after the character that was no digit
        {"\\x", 3},         // at the end: length plus 1
        {"\\x" + kSo, 5},
        {"\\200000", 8},    // the sixth digit overflows
        {"\\777777", 8},
        {"\\" "\x88", 2},   // truncated double-byte character after the backslash
        {"\\x4\x88", 4},
        {std::string("\\\0x", 3), 3},  // a zero byte reads as the end: nothing to decode
    };
    for (const auto &c : cases) {
        int start = c.text[0] == 'a' ? 3 : 2;
        EXPECT_EQ(PosOf(c.text, start, GetQuotedWChar), c.pos) << c.text;
    }
}

TEST(NumberReaders, DigitValuesAndLimits) {
    EXPECT_EQ(HexWCharToInt('0'), 0);
    EXPECT_EQ(HexWCharToInt('9'), 9);
    EXPECT_EQ(HexWCharToInt('a'), 10);
    EXPECT_EQ(HexWCharToInt('F'), 15);
    EXPECT_EQ(HexWCharToInt('g'), -1);
    EXPECT_EQ(HexWCharToInt(0x824F), -1);  // full-width zero
    EXPECT_EQ(HexWCharToInt(0x0130), -1);  // high byte must not be ignored
    EXPECT_EQ(OctWCharToInt('7'), 7);
    EXPECT_EQ(OctWCharToInt('8'), -1);
    EXPECT_EQ(OctWCharToInt(0x0137), -1);

    int index = 1;
    EXPECT_EQ(HexStrToInt("ff", index), 0xFF);
    EXPECT_EQ(index, 3);
    index = 1;
    EXPECT_EQ(OctStrToInt("17x", index), 15);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(PosOf("9", 1, [](const std::string &s, int &i) {
                  return static_cast<WChar_t>(OctStrToInt(s, i));
              }),
              2);
    EXPECT_EQ(PosOf("", 1, [](const std::string &s, int &i) {
                  return static_cast<WChar_t>(OctStrToInt(s, i));
              }),
              1);
}

TEST(WCharGetToken, ReadsUpToTheDelimiter) {
    const std::string s = "ab," + kSo + "c,,d";
    int index = 1;
    EXPECT_EQ(WCharGetToken(s, index, ','), "ab");
    EXPECT_EQ(index, 4);
    EXPECT_EQ(WCharGetToken(s, index, ','), kSo + "c");
    EXPECT_EQ(WCharGetToken(s, index, ','), "");
    EXPECT_EQ(WCharGetToken(s, index, ','), "d");
    EXPECT_EQ(WCharGetToken(s, index, ','), "");

    // A trail byte 0x5C is no backslash delimiter.
    index = 1;
    EXPECT_EQ(WCharGetToken(kSo + "\\" + kHyo, index, '\\'), kSo);
    EXPECT_EQ(WCharGetToken(kSo + "\\" + kHyo, index, '\\'), kHyo);
    // A double-byte delimiter.
    index = 1;
    EXPECT_EQ(WCharGetToken("a" + kN + "b", index, 0x8393), "a");
    // Reading stops at a zero byte.
    index = 1;
    EXPECT_EQ(WCharGetToken(std::string("ab\0c", 4), index, ','), "ab");
}

TEST(QuoteMetaWChar, EscapesExactlyTheMetacharacters) {
    EXPECT_EQ(QuoteMetaWChar("a.b(c)"), "a\\.b\\(c\\)");
    EXPECT_EQ(QuoteMetaWChar("-{}"), "-{}");
    EXPECT_EQ(QuoteMetaWChar("^(|)+*?.[]$\\"), "\\^\\(\\|\\)\\+\\*\\?\\.\\[\\]\\$\\\\");
    EXPECT_EQ(QuoteMetaWChar(kSo + kHyo), kSo + kHyo);
    EXPECT_EQ(QuoteMetaWChar(std::string("a\0.", 3)), "a");
    EXPECT_EQ(QuoteMetaWChar(""), "");
}

TEST(Constants, MetacharsAndEmptyClass) {
    const WChar_t expected[] = {'^', '(', '|', ')', '+', '*', '?', '.', '[', ']', '$', '\\'};
    for (int i = 0; i < METACHARS_COUNT; ++i) EXPECT_EQ(METACHARS[i], expected[i]) << i;
    EXPECT_EQ(CONST_EMPTYCharClass.StartChar, 0xFFFF);
    EXPECT_EQ(CONST_EMPTYCharClass.EndChar, 0xFFFF);
    for (int b = 0; b < 256; ++b) {
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        EXPECT_EQ(IsCP932LeadByte(static_cast<unsigned char>(b)), lead) << b;
    }
}

TEST(ERegExpParser, PositionIsSixteenBits) {
    const ERegExpParser e("msg", static_cast<std::uint16_t>(70000));
    EXPECT_EQ(e.ErrorPos, 70000 - 65536);
    EXPECT_STREQ(e.what(), "msg");
    const qv::Exception &base = e;
    EXPECT_STREQ(base.what(), "msg");
}

}  // namespace
