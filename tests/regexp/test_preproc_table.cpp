// Checks the built-in equivalent-character dictionary row by row against the published
// table, held here as UTF-8 text: forms separated by two spaces, or, in the rows of
// symbols, by ", " with each form followed by its CP932 code in parentheses. The text
// forms are converted to CP932 with iconv, the coded forms are built from their codes.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <sstream>
#include <string>
#include <vector>

#include "regexp/fuzzy_dictionary.h"

namespace {

const char *const kReferenceTable = u8R"TABLE(- 0: Ａ  ａ  A  a
- 1: Ｂ  ｂ  B  b
- 2: Ｃ  ｃ  C  c
- 3: Ｄ  ｄ  D  d
- 4: Ｅ  ｅ  E  e
- 5: Ｆ  ｆ  F  f
- 6: Ｇ  ｇ  G  g
- 7: Ｈ  ｈ  H  h
- 8: Ｉ  ｉ  I  i
- 9: Ｊ  ｊ  J  j
- 10: Ｋ  ｋ  K  k
- 11: Ｌ  ｌ  L  l
- 12: Ｍ  ｍ  M  m
- 13: Ｎ  ｎ  N  n
- 14: Ｏ  ｏ  O  o
- 15: Ｐ  ｐ  P  p
- 16: Ｑ  ｑ  Q  q
- 17: Ｒ  ｒ  R  r
- 18: Ｓ  ｓ  S  s
- 19: Ｔ  ｔ  T  t
- 20: Ｕ  ｕ  U  u
- 21: Ｖ  ｖ  V  v
- 22: Ｗ  ｗ  W  w
- 23: Ｘ  ｘ  X  x
- 24: Ｙ  ｙ  Y  y
- 25: Ｚ  ｚ  Z  z
- 26: 0  ０  零
- 27: 1  １  一  ①  Ⅰ  壱
- 28: 2  ２  二  ②  Ⅱ  弐
- 29: 3  ３  三  ③  Ⅲ  参
- 30: 4  ４  四  ④  Ⅳ
- 31: 5  ５  五  ⑤  Ⅴ  伍
- 32: 6  ６  六  ⑥  Ⅵ
- 33: 7  ７  七  ⑦  Ⅶ
- 34: 8  ８  八  ⑧  Ⅷ
- 35: 9  ９  九  ⑨  Ⅸ
- 36: full-width space (0x8140), space (0x20)
- 37: ! (0x21), ！ (0x8149)
- 38: double quote (0x22), ” (0x8168)
- 39: # (0x23), ＃ (0x8194)
- 40: $ (0x24), ＄ (0x8190)
- 41: % (0x25), ％ (0x8193)
- 42: & (0x26), ＆ (0x8195)
- 43: ' (0x27), ’ (0x8166)
- 44: ( (0x28), （ (0x8169)
- 45: ) (0x29), ） (0x816A)
- 46: * (0x2A), ＊ (0x8196)
- 47: + (0x2B), ＋ (0x817B)
- 48: ー (0x815B), ～ (0x8160), ｰ (0xB0)
- 49: - (0x2D), ー (0x815B), － (0x817C), ～ (0x8160), ｰ (0xB0)
- 50: ･ (0xA5), ・ (0x8145)
- 51: / (0x2F), ／ (0x815E)
- 52: : (0x3A), ： (0x8146)
- 53: ; (0x3B), ； (0x8147)
- 54: < (0x3C), ＜ (0x8183)
- 55: = (0x3D), ＝ (0x8181)
- 56: > (0x3E), ＞ (0x8184)
- 57: ? (0x3F), ？ (0x8148)
- 58: commercial at (0x40), ＠ (0x8197)
- 59: [ (0x5B), ［ (0x816D), 〔 (0x816B)
- 60: \ (0x5C), ￥ (0x818F)
- 61: ] (0x5D), ］ (0x816E), 〕 (0x816C)
- 62: ^ (0x5E), ＾ (0x814F)
- 63: _ (0x5F), ＿ (0x8151)
- 64: { (0x7B), ｛ (0x816F)
- 65: vertical line (0x7C), ｜ (0x8162)
- 66: } (0x7D), ｝ (0x8170)
- 67: ~ (0x7E), ￣ (0x8150)
- 68: comma (0x2C), ､ (0xA4), 、 (0x8141), ， (0x8143)
- 69: ｡ (0xA1), . (0x2E), 。 (0x8142), ． (0x8144)
- 70: 「 (0x8175), 『 (0x8177), ｢ (0xA2)
- 71: 」 (0x8176), 』 (0x8178), ｣ (0xA3)
- 72: ん  ン  ﾝ
- 73: が  ガ  ｶﾞ  か゛  カ゛
- 74: ぎ  ギ  ｷﾞ  き゛  キ゛
- 75: ぐ  グ  ｸﾞ  く゛  ク゛
- 76: げ  ゲ  ｹﾞ  け゛  ケ゛
- 77: ご  ゴ  ｺﾞ  こ゛  コ゛
- 78: ざ  ザ  ｻﾞ  さ゛  サ゛
- 79: じ  ジ  ｼﾞ  し゛  シ゛  ぢ  ヂ  ﾁﾞ  ち゛  チ゛
- 80: ず  ズ  ｽﾞ  す゛  ス゛  づ  ヅ  ﾂﾞ  つ゛  ツ゛
- 81: ぜ  ゼ  ｾﾞ  せ゛  セ゛
- 82: ぞ  ゾ  ｿﾞ  そ゛  ソ゛
- 83: だ  ダ  ﾀﾞ  た゛  タ゛
- 84: で  デ  ﾃﾞ  て゛  テ゛
- 85: ど  ド  ﾄﾞ  と゛  ト゛
- 86: ば  バ  ﾊﾞ  は゛  ハ゛  ヴァ  う゛ぁ  ウ゛ァ  ｳﾞｧ
- 87: び  ビ  ﾋﾞ  ひ゛  ヒ゛  ヴィ  う゛ぃ  ウ゛ィ  ｳﾞｨ
- 88: ぶ  ブ  ﾌﾞ  ふ゛  フ゛  ヴ  ウ゛  う゛  ｳﾞ
- 89: べ  ベ  ﾍﾞ  へ゛  ヘ゛  ヴェ  う゛ぇ  ウ゛ェ  ｳﾞｪ
- 90: ぼ  ボ  ﾎﾞ  ほ゛  ホ゛  ヴォ  う゛ぉ  ウ゛ォ  ｳﾞｫ
- 91: ぱ  パ  ﾊﾟ  は゜  ハ゜
- 92: ぴ  ピ  ﾋﾟ  ひ゜  ヒ゜
- 93: ぷ  プ  ﾌﾟ  ふ゜  フ゜
- 94: ぺ  ペ  ﾍﾟ  へ゜  ヘ゜
- 95: ぽ  ポ  ﾎﾟ  ほ゜  ホ゜
- 96: あ  ア  ｱ  ぁ  ァ  ｧ
- 97: い  イ  ｲ  ぃ  ィ  ｨ
- 98: う  ウ  ｳ  ぅ  ゥ  ｩ
- 99: え  エ  ｴ  ぇ  ェ  ｪ
- 100: お  オ  ｵ  ぉ  ォ  ｫ
- 101: か  カ  ｶ
- 102: き  キ  ｷ
- 103: く  ク  ｸ
- 104: け  ケ  ｹ
- 105: こ  コ  ｺ
- 106: さ  サ  ｻ
- 107: し  シ  ｼ
- 108: す  ス  ｽ
- 109: せ  セ  ｾ
- 110: そ  ソ  ｿ
- 111: た  タ  ﾀ
- 112: ち  チ  ﾁ
- 113: つ  ツ  ﾂ  っ  ッ  ｯ
- 114: て  テ  ﾃ
- 115: と  ト  ﾄ
- 116: な  ナ  ﾅ
- 117: に  ニ  ﾆ
- 118: ぬ  ヌ  ﾇ
- 119: ね  ネ  ﾈ
- 120: の  ノ  ﾉ
- 121: は  ハ  ﾊ
- 122: ひ  ヒ  ﾋ
- 123: ふ  フ  ﾌ
- 124: へ  ヘ  ﾍ
- 125: ほ  ホ  ﾎ
- 126: ま  マ  ﾏ
- 127: み  ミ  ﾐ
- 128: む  ム  ﾑ
- 129: め  メ  ﾒ
- 130: も  モ  ﾓ
- 131: や  ヤ  ﾔ  ゃ  ャ  ｬ
- 132: ゆ  ユ  ﾕ  ゅ  ュ  ｭ
- 133: よ  ヨ  ﾖ  ょ  ョ  ｮ
- 134: ら  ラ  ﾗ
- 135: り  リ  ﾘ
- 136: る  ル  ﾙ
- 137: れ  レ  ﾚ
- 138: ろ  ロ  ﾛ
- 139: わ  ワ  ﾜ  うぁ  ウァ  ｳｧ
- 140: ヰ  ゐ  うぃ  ウィ  ｳｨ
- 141: ヱ  ゑ  うぇ  ウェ  ｳｪ
- 142: を  ヲ  ｦ  うぉ  ウォ  ｳｫ
- 143: ﾞ (0xDE), ゛ (0x814A)
- 144: ﾟ (0xDF), ゜ (0x814B)
)TABLE";

std::string Utf8ToCp932(const std::string &utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "iconv has no CP932 converter";
        return std::string();
    }
    std::string in = utf8;
    std::string out(in.size() * 2 + 4, '\0');
    char *src = in.data();
    char *dst = out.data();
    size_t srcLeft = in.size();
    size_t dstLeft = out.size();
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1)) {
        ADD_FAILURE() << "cannot convert " << utf8 << " to CP932 (errno " << errno << ")";
        return std::string();
    }
    out.resize(out.size() - dstLeft);
    return out;
}

std::string CodeToBytes(unsigned code) {
    std::string s;
    if (code > 0xFF) s += static_cast<char>(code >> 8);
    s += static_cast<char>(code & 0xFF);
    return s;
}

std::vector<std::string> SplitOn(const std::string &s, const std::string &sep) {
    std::vector<std::string> items;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = s.find(sep, from);
        items.push_back(s.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos) return items;
        from = at + sep.size();
    }
}

struct ReferenceRow {
    int number = -1;
    std::vector<std::string> forms;  // CP932
};

// "- N: forms" per line.
std::vector<ReferenceRow> ReferenceRows() {
    std::vector<ReferenceRow> rows;
    std::istringstream lines(kReferenceTable);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty()) continue;
        ReferenceRow row;
        const std::size_t colon = line.find(": ");
        row.number = std::stoi(line.substr(2, colon - 2));
        const std::string body = line.substr(colon + 2);
        if (body.find("(0x") != std::string::npos) {
            for (const std::string &item : SplitOn(body, ", ")) {
                const std::size_t open = item.rfind("(0x");
                row.forms.push_back(CodeToBytes(std::stoul(item.substr(open + 3), nullptr, 16)));
            }
        } else {
            for (const std::string &form : SplitOn(body, "  ")) row.forms.push_back(Utf8ToCp932(form));
        }
        rows.push_back(row);
    }
    return rows;
}

std::string Hex(const std::string &s) {
    std::ostringstream out;
    for (unsigned char b : s) out << std::hex << std::uppercase << (b < 0x10 ? "0" : "") << unsigned(b) << ' ';
    return out.str();
}

TEST(FuzzyCharDicTable, EveryRowEqualsTheReferenceTable) {
    const std::vector<ReferenceRow> expected = ReferenceRows();
    ASSERT_EQ(expected.size(), 145u);
    const REpDictionary_t &dic = RE_FuzzyCharDic();
    ASSERT_TRUE(dic);
    ASSERT_EQ(dic->size(), 145u);
    for (std::size_t r = 0; r < expected.size(); ++r) {
        ASSERT_EQ(expected[r].number, static_cast<int>(r));
        const REDicRow_t &row = (*dic)[r];
        ASSERT_EQ(row.size(), expected[r].forms.size()) << "row " << r;
        for (std::size_t f = 0; f < row.size(); ++f) {
            EXPECT_EQ(Hex(row[f]), Hex(expected[r].forms[f])) << "row " << r << ", form " << f;
        }
    }
}

TEST(FuzzyCharDicTable, NoEmptyFormsAndRawTableAgrees) {
    const REDictionary_t &dic = *RE_FuzzyCharDic();
    for (std::size_t r = 0; r < dic.size(); ++r) {
        std::size_t n = 0;
        while (REFuzzyWChars[r][n] != nullptr) ++n;
        EXPECT_EQ(n, dic[r].size()) << "row " << r;
        for (const std::string &form : dic[r]) EXPECT_FALSE(form.empty()) << "row " << r;
    }
}

TEST(FuzzyCharDicTable, BuiltOnceAndShared) {
    EXPECT_EQ(RE_FuzzyCharDic().get(), RE_FuzzyCharDic().get());
}

}  // namespace
