// Synonym-dictionary fuzz target. Input: dictionary text up to the first 0xFF byte,
// then an expression. Malformed text must raise ESynonymDicError with a line number; a
// parsed dictionary drives the synonym pass over the expression, and the rewrite of an
// expression the parser accepts must be accepted too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "regexp/parser.h"
#include "regexp/preprocessor.h"
#include "regexp/synonym_file.h"
#include "regexp_reference.h"

namespace {

using regexp_test::Parses;


}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size > 4096) return 0;
    const std::string input(reinterpret_cast<const char *>(data), size);
    const std::size_t cut = input.find('\xFF');
    const std::string text = input.substr(0, cut);
    const std::string expr = cut == std::string::npos ? std::string("abc") : input.substr(cut + 1);

    REDictionary_t dic;
    try {
        dic = ParseSynonymDic(text, "fuzz.txt");
    } catch (const ESynonymDicError &e) {
        if (e.LineNo < 1) std::abort();
        return 0;
    }
    for (const REDicRow_t &row : dic) {
        if (row.size() < 2) std::abort();
        for (const std::string &form : row)
            if (form.empty() || form.find('\0') != std::string::npos) std::abort();
    }

    TREPreProcessor pre(expr);
    pre.ListOfSynonymDic().push_back(std::make_shared<const REDictionary_t>(std::move(dic)));
    pre.SetUseSynonymDic(true);
    try {
        pre.Run();
    } catch (const ERegExpParser &) {
        return 0;
    }
    const std::string upToZero = expr.substr(0, expr.find('\0'));
    if (Parses(upToZero) && !Parses(pre.ProcessedRegExpStr())) std::abort();
    return 0;
}
