// Preprocessor fuzz target: the input is one expression, rewritten with both passes on
// (a small synonym dictionary and the built-in equivalent-character dictionary). A
// rewrite of an expression the parser accepts must be accepted by the parser too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "regexp/fuzzy_dictionary.h"
#include "regexp/parser.h"
#include "regexp/preprocessor.h"
#include "regexp_reference.h"

namespace {

using regexp_test::Parses;

// Forms that hold metacharacters, double-byte characters with ASCII trail bytes,
// prefixes of one another and an empty form.
const REpDictionary_t &Synonyms() {
    static const REpDictionary_t dic = std::make_shared<const REDictionary_t>(REDictionary_t{
        {"color", "colour"},
        {"a+b", "(x)", "[y]", "\\"},
        {"\x83\x5C", "\x95\x5C", "so"},  // katakana so and the kanji for "table": trail 0x5C
        {"ab", "abc", ""},
        {"\x82\xA0", "\x83\x41", "\xB1"},  // hiragana a, katakana a, half-width a
    });
    return dic;
}


}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size > 2048) return 0;  // the rewrite grows an expression up to tenfold
    const std::string expr(reinterpret_cast<const char *>(data), size);

    TREPreProcessor off(expr);
    off.Run();
    if (off.ProcessedRegExpStr() != expr) std::abort();

    TREPreProcessor pre(expr);
    pre.ListOfSynonymDic().push_back(Synonyms());
    pre.ListOfSynonymDic().push_back(nullptr);
    pre.ListOfFuzzyCharDic().push_back(RE_FuzzyCharDic());
    pre.SetUseSynonymDic(true);
    pre.SetUseFuzzyCharDic(true);
    try {
        pre.Run();
    } catch (const ERegExpParser &) {
        if (!pre.ProcessedRegExpStr().empty()) std::abort();
        return 0;
    }
    if (pre.GetTargetRegExpStr() != expr) std::abort();
    // Only the part before a zero byte is an expression; the parser stops there as well.
    const std::string upToZero = expr.substr(0, expr.find('\0'));
    if (Parses(upToZero) && !Parses(pre.ProcessedRegExpStr())) std::abort();
    return 0;
}
