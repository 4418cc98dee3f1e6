// CP932 text handling of the platform layer: upper-casing, case-insensitive comparison,
// double-byte-aware search, the trailing-backslash test and integer conversion.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/strutil.h"

using qv::platform::AnsiUpperCase;
using qv::platform::CompareTextIgnoreCase;

TEST(AnsiUpperCase, FoldsWholeCharactersNeverTrailBytes)
{
    struct Case {
        std::string in, out;
    } cases[] = {
        {"abc xyz", "ABC XYZ"},
        {"ａｂｃ", "ＡＢＣ"},          // full-width Latin
        {"αβω", "ΑΒΩ"},              // Greek
        {"абвнопя", "АБВНОПЯ"},      // Cyrillic on both sides of the missing trail byte 0x7F
        {"\xFA\x40\xEE\xF8", "\x87\x54\x87\x5D"},  // small Roman numerals i, x
        {"ヂャ", "ヂャ"},              // trail bytes 0x61 and 0x83 0x83: unchanged
        {"ソ表a", "ソ表A"},            // trail bytes 0x5C
        {"ｱｲｳ", "ｱｲｳ"},              // half-width katakana
        {"a\x83", "A\x83"},          // a lead byte at the very end stays
    };
    for (const Case& c : cases) EXPECT_EQ(AnsiUpperCase(c.in), c.out) << c.in;
}

TEST(CompareTextIgnoreCase, EqualOnlyWhenSameApartFromCase)
{
    EXPECT_EQ(CompareTextIgnoreCase("C:\\Mail\\", "c:\\mail\\"), 0);
    EXPECT_EQ(CompareTextIgnoreCase("ABC", "abc"), 0);
    EXPECT_EQ(CompareTextIgnoreCase("ｍａｉｌ", "ＭＡＩＬ"), 0);
    // ヂ (0x83 0x61) and ア (0x83 0x41) differ only in a trail byte that looks like a/A.
    EXPECT_NE(CompareTextIgnoreCase("ヂ", "ア"), 0);
    EXPECT_NE(CompareTextIgnoreCase("abc", "abd"), 0);
    EXPECT_LT(CompareTextIgnoreCase("abc", "abcd"), 0);
}

TEST(AnsiPos, HitsStartOnCharacterBoundaries)
{
    EXPECT_EQ(qv::AnsiPos("b", "abc"), 2u);
    EXPECT_EQ(qv::AnsiPos("会議", "定例会議"), 5u);
    EXPECT_EQ(qv::AnsiPos("]", "x\x81]y"), 0u);   // 0x5D only as a trail byte
    EXPECT_EQ(qv::AnsiPos("\\", "ソ"), 0u);       // 0x5C only as a trail byte
    EXPECT_EQ(qv::AnsiPos("\\", "ソ\\"), 3u);
    EXPECT_EQ(qv::AnsiPos("A", "ヂ"), 0u);
    EXPECT_EQ(qv::AnsiPos("", "abc"), 0u);
    EXPECT_EQ(qv::AnsiPos("abc", ""), 0u);
    // A double-byte needle may start where the text's character starts, not one byte later.
    EXPECT_EQ(qv::AnsiPos("\x83\x83", "\x83\x83\x83"), 1u);
    EXPECT_EQ(qv::AnsiPos("\x83\x41", "a\x83\x83\x41"), 0u);
}

TEST(PathDelimiter, TrailByteBackslashDoesNotCount)
{
    EXPECT_TRUE(qv::EndsWithPathDelimiter("C:\\"));
    EXPECT_TRUE(qv::EndsWithPathDelimiter("ソ\\"));
    EXPECT_FALSE(qv::EndsWithPathDelimiter("C:\\ソ"));
    EXPECT_FALSE(qv::EndsWithPathDelimiter(""));
    EXPECT_EQ(qv::IncludeTrailingPathDelimiter("C:\\表"), "C:\\表\\");
    EXPECT_EQ(qv::IncludeTrailingPathDelimiter("C:\\Mail\\"), "C:\\Mail\\");
    EXPECT_EQ(qv::IncludeTrailingPathDelimiter(""), "\\");
}

TEST(StrToIntDef, DecimalHexAndFallback)
{
    struct Case {
        const char* text;
        int value;
    } cases[] = {{"7", 7}, {"-5", -5}, {"+3", 3}, {"0x1", 1}, {"0X1f", 31}, {"0xFFFFFFFF", -1},
                 {"", 99}, {"abc", 99}, {"1 ", 99}, {" 1", 99}, {"0x", 99}, {"2147483648", 99},
                 {"-2147483648", INT32_MIN}, {"99999999999999999999", 99},
                 {"-0x1", 99}, {"+0x1", 99}, {"0x-1", 99}, {"0x80000000", INT32_MIN}};
    for (const Case& c : cases) EXPECT_EQ(qv::StrToIntDef(c.text, 99), c.value) << c.text;
}

TEST(Trim, ControlBytesAndSpacesOnly)
{
    EXPECT_EQ(qv::Trim(" \t abc \r\n"), "abc");
    EXPECT_EQ(qv::Trim("会議\x81\x40"), "会議\x81\x40");  // a full-width space stays
    EXPECT_EQ(qv::Trim(" \t "), "");
    EXPECT_EQ(qv::TrimSpaces("\t a \t"), "\t a \t");
    EXPECT_EQ(qv::TrimSpaces("  受信箱  "), "受信箱");
}
