// Match-core fuzz target. Input: one option byte, then the expression up to the first
// zero byte, then the text. The expression is compiled by TMatchCORE with the options
// the byte selects and the text searched by MatchStd, MatchEX and MatchEX_Inside in
// both line-separator modes. Checked: results lie inside the text on character
// boundaries; MatchEX equals MatchStd for expressions without anchors; the dead-end
// memo (LongWalkSlack 0) gives the same results as the plain walk; a compilation error
// leaves the empty expression current.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "regexp/fuzzy_dictionary.h"
#include "regexp/matchcore.h"

namespace {

const REpDictionary_t &Synonyms() {
    static const REpDictionary_t dic = std::make_shared<const REDictionary_t>(REDictionary_t{
        {"color", "colour"},
        {"a+b", "(x)", "[y]", "$", "^"},
        {"\x83\x5C", "\x95\x5C", "so"},
        {"ab", "abc"},
    });
    return dic;
}

using Result = std::pair<const char *, const char *>;

Result Run(const TMatchCORE &m, TMatchCOREMatchProc proc, const char *text) {
    const char *s = reinterpret_cast<const char *>(1);  // must be overwritten
    const char *e = reinterpret_cast<const char *>(1);
    (m.*proc)(text, s, e);
    return {s, e};
}

// Character boundaries of the text as the match core reads it.
std::vector<bool> Boundaries(const char *text, std::size_t len) {
    std::vector<bool> b(len + 1, false);
    std::size_t i = 0;
    while (i < len) {
        b[i] = true;
        i += (IsCP932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < len) ? 2 : 1;
    }
    b[len] = true;
    return b;
}

void CheckResult(Result r, const char *text, std::size_t len, const std::vector<bool> &bounds) {
    if (r.first == reinterpret_cast<const char *>(1)) std::abort();  // start never set
    if (r.first == nullptr) return;
    if (r.first < text || r.second < r.first || r.second > text + len) std::abort();
    if (!bounds[static_cast<std::size_t>(r.first - text)]) std::abort();
    // A line-tail match may end before a CR or LF, which is always a boundary.
    if (!bounds[static_cast<std::size_t>(r.second - text)]) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1) return 0;
    const unsigned flags = data[0];
    const std::string rest(reinterpret_cast<const char *>(data + 1), size - 1);
    const std::size_t zero = rest.find('\0');
    const std::string expr = rest.substr(0, zero);
    const std::string text = zero == std::string::npos ? std::string() : rest.substr(zero + 1);
    const char *pText = text.c_str();
    const std::size_t len = std::strlen(pText);

    TMatchCORE m;
    m.GetListOfFuzzyCharDic().push_back(RE_FuzzyCharDic());
    m.GetListOfSynonymDic().push_back(Synonyms());
    if (flags & 1) m.SetUseFuzzyCharDic(true);
    if (flags & 2) m.SetUseSynonymDic(true);
    if (flags & 4) {
        // Fill the cache first, so the expression goes through eviction.
        for (int i = 0; i < TRegularExpression::RegExpListMax + 2; ++i) m.SetRegExp(std::string(1, 'a' + i % 26) + std::to_string(i));
    }
    try {
        m.SetRegExp(expr);
        if (flags & 8) {
            // Switching an option compiles the stored expression again.
            m.SetUseFuzzyCharDic(!m.GetUseFuzzyCharDic());
            m.SetUseFuzzyCharDic(!m.GetUseFuzzyCharDic());
        }
    } catch (const ERegExpParser &) {
        if (m.GetCurrentDFA() == nullptr) std::abort();
        return 0;
    }
    if (m.GetCurrentDFA() == nullptr || m.GetpInitialDFAState() == nullptr) std::abort();

    const std::vector<bool> bounds = Boundaries(pText, len);
    const bool anchored = m.GetHasLHead() || m.GetHasLTail();
    for (TMatchCORE_LineSeparator mode : {mcls_CRLF, mcls_LF}) {
        m.LineSeparator = mode;
        for (TMatchCOREMatchProc proc : {&TMatchCORE::MatchStd, &TMatchCORE::MatchEX, &TMatchCORE::MatchEX_Inside}) {
            m.LongWalkSlack = 4096;
            const Result plain = Run(m, proc, pText);
            CheckResult(plain, pText, len, bounds);
            m.LongWalkSlack = 0;
            const Result memo = Run(m, proc, pText);
            if (memo != plain) std::abort();
        }
        m.LongWalkSlack = 4096;
        if (!anchored && Run(m, &TMatchCORE::MatchStd, pText) != Run(m, &TMatchCORE::MatchEX, pText)) std::abort();
    }
    return 0;
}
