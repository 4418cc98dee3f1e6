// Scanner: token sequences in standard and character-class mode, and error positions.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "regexp/scanner.h"

namespace {

const std::string kSo = "\x83\x5C";  // ソ: trail byte is a backslash
const std::string kN = "\x83\x93";   // ン

// Renders the tokens of an expression up to retk_End: characters as "c:XXXX", ranges
// as "r:XXXX-XXXX", operators by name.
std::string Scan(const std::string &expr) {
    static const char *const names[] = {"char", "range", "|",  "(", ")", "*", "+", "?",
                                        "[",    "[^",    "]",  ".", "^", "$", "end"};
    TREScanner scanner(expr);
    std::ostringstream out;
    for (int guard = 0; guard < 1000; ++guard) {
        const REToken_t t = scanner.GetToken();
        EXPECT_EQ(t, scanner.Token());
        char buf[32];
        if (t == retk_Char) {
            std::snprintf(buf, sizeof buf, "c:%04X", scanner.Symbol().WChar);
        } else if (t == retk_CharClass) {
            std::snprintf(buf, sizeof buf, "r:%04X-%04X", scanner.Symbol().CharClass.StartChar,
                          scanner.Symbol().CharClass.EndChar);
            EXPECT_EQ(scanner.Symbol().WChar, scanner.Symbol().CharClass.StartChar);
        } else {
            std::snprintf(buf, sizeof buf, "%s", names[t]);
        }
        out << buf;
        if (t == retk_End) break;
        out << ' ';
    }
    return out.str();
}

int ErrorPos(const std::string &expr) {
    TREScanner scanner(expr);
    try {
        while (scanner.GetToken() != retk_End) {
        }
    } catch (const ERegExpParser &e) {
        return e.ErrorPos;
    }
    return -1;
}

TEST(Scanner, StandardModeTokens) {
    struct Case {
        std::string expr;
        std::string tokens;
    };
    const std::vector<Case> cases = {
        {"", "end"},
        {"a^b$c", "c:0061 ^ c:0062 $ c:0063 end"},
        {"(a|b)*+?.", "( c:0061 | c:0062 ) * + ? . end"},
        {"]", "] end"},
        {"{-}", "c:007B c:002D c:007D end"},
        {"\\x41*", "c:0041 * end"},
        {"\\*\\(\\[\\\\", "c:002A c:0028 c:005B c:005C end"},
        {kSo + "*", "c:835C * end"},        // the trail byte 0x5C is no backslash
        {kSo + "\\" + kN, "c:835C c:8393 end"},
        {"\\xFFFF", "c:FFFF end"},
        {std::string("a\0b", 3), "c:0061 end"},  // a zero byte ends the expression
        {"\\0b", "c:0000 c:0062 end"},           // code 0 written as an escape is a character
    };
    for (const auto &c : cases) EXPECT_EQ(Scan(c.expr), c.tokens) << c.expr;
}

TEST(Scanner, ClassModeTokens) {
    struct Case {
        std::string expr;
        std::string tokens;
    };
    const std::vector<Case> cases = {
        {"[a-]", "[ c:0061 c:002D ] end"},
        {"[]", "[ ] end"},
        {"[^]", "[^ ] end"},
        {"[\\]]", "[ c:005D ] end"},
        {"[a\\-z]", "[ c:0061 c:002D c:007A ] end"},
        {"[a-a]", "[ r:0061-0061 ] end"},
        {"[a-z0-9_]", "[ r:0061-007A r:0030-0039 c:005F ] end"},
        {"[-a]", "[ c:002D c:0061 ] end"},
        {"[--/]", "[ r:002D-002F ] end"},
        {"[(.*+?$|[^]", "[ c:0028 c:002E c:002A c:002B c:003F c:0024 c:007C c:005B c:005E ] end"},
        {"[^^]", "[^ c:005E ] end"},
        {"[\\x41-\\x5a]", "[ r:0041-005A ] end"},
        {"[\\n-\\r]", "[ r:000A-000D ] end"},
        {"[a-" + kN + "]", "[ r:0061-8393 ] end"},
        {"[" + kSo + "-" + kN + "]", "[ r:835C-8393 ] end"},
        {"[" + kSo + "]*", "[ c:835C ] * end"},
        {"[a]]", "[ c:0061 ] ] end"},          // back in standard mode after the class
        {"[a-]b", "[ c:0061 c:002D ] c:0062 end"},
    };
    for (const auto &c : cases) EXPECT_EQ(Scan(c.expr), c.tokens) << c.expr;
}

TEST(Scanner, ErrorPositions) {
    struct Case {
        std::string expr;
        int pos;
    };
    const std::vector<Case> cases = {
        {"[", 2},         // "[" as the last character
        {"[a", 3},
        {"[a-", 4},       // ends after a hyphen
        {"[a-b", 5},
        {"[^", 3},
        {"[\\]", 4},
        {"[z-a]", 5},     // just after the upper bound
        {"[" + kN + "-a]", 6},
        {"[\\x42-\\x41]", 11},  // the "]" after the digits is pushed back
        {"a\\", 3},
        {"\\xZ", 4},
        {"ab\x88", 3},    // truncated double-byte character
        {"[a\x88", 3},
        {"[a-\x88", 4},
        {std::string("a\\\0b", 4), 4},  // nothing after the backslash but a zero byte
        {std::string("[\\\0]", 4), 4},
    };
    for (const auto &c : cases) EXPECT_EQ(ErrorPos(c.expr), c.pos) << c.expr;
}

TEST(Scanner, InitialStateAndEndOfInput) {
    TREScanner scanner("a");
    EXPECT_EQ(scanner.Token(), retk_Char);
    EXPECT_EQ(scanner.Symbol().WChar, 0);
    EXPECT_FALSE(scanner.InCharClass());
    EXPECT_EQ(scanner.Index(), 1);
    EXPECT_EQ(scanner.GetToken(), retk_Char);
    EXPECT_EQ(scanner.Index(), 2);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(scanner.GetToken(), retk_End);
        EXPECT_EQ(scanner.Index(), 2);
    }
}

TEST(Scanner, OperatorSymbolsHoldTheirCharacters) {
    TREScanner scanner("^$[");
    scanner.GetToken();
    EXPECT_EQ(scanner.Symbol().WChar, 0x5E);
    scanner.GetToken();
    EXPECT_EQ(scanner.Symbol().WChar, 0x24);
    scanner.SetRegExpStr("[^a]");
    EXPECT_EQ(scanner.GetToken(), retk_LBraNeg);
    EXPECT_EQ(scanner.Symbol().WChar, 0x5B);
    EXPECT_TRUE(scanner.InCharClass());
}

TEST(Scanner, SetRegExpStrRestartsAfterAnErrorInsideAClass) {
    TREScanner scanner("[z-a]");
    scanner.GetToken();
    EXPECT_THROW(scanner.GetToken(), ERegExpParser);
    EXPECT_TRUE(scanner.InCharClass());
    scanner.SetRegExpStr("a*");
    EXPECT_FALSE(scanner.InCharClass());
    EXPECT_EQ(scanner.GetToken(), retk_Char);
    EXPECT_EQ(scanner.GetToken(), retk_Star);
    EXPECT_EQ(scanner.GetToken(), retk_End);
}

TEST(Scanner, IndexMarksTokenBoundaries) {
    // Token texts must cover the expression without gaps.
    const std::string expr = "a[b-c\\]-]" + kSo + "\\x41+[^d]";
    TREScanner scanner(expr);
    std::vector<int> bounds{scanner.Index()};
    while (scanner.GetToken() != retk_End) bounds.push_back(scanner.Index());
    const std::vector<int> expected = {1, 2, 3, 6, 8, 9, 10, 12, 16, 17, 19, 20, 21};
    EXPECT_EQ(bounds, expected);
}

}  // namespace
