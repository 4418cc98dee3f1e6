// Match-result fuzz target: small expressions and texts, the match core's answer checked
// against references that use no DFA. Input: one option byte (bit 0: line separator
// LF), the expression up to the first zero byte, then the text.
// - Expressions without anchor nodes: MatchStd against the set of places where each
//   sub-expression of the parse tree can end (no automaton at all).
// - Expressions with anchors: MatchEX against a direct simulation of the NFA, where the
//   line-head move is taken only at the start of a match that begins a line and the
//   line-tail move only at its end, before a line end of the mode or the terminator.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "regexp/matchcore.h"
#include "regexp/nfa.h"
#include "regexp/parser.h"
#include "regexp_reference.h"

namespace {

using regexp_test::Decode;
using regexp_test::NFAReference;
using regexp_test::Text;
using regexp_test::TreeReference;

bool HasAnchorNode(const TREParseTree &tree) {
    for (const auto &n : tree.NodeList())
        if (n->op == reop_LHead || n->op == reop_LTail) return true;
    return false;
}

std::pair<long, long> ToCodes(const Text &t, const char *base, const char *s, const char *e) {
    if (s == nullptr) return {-1, -1};
    auto index = [&](const char *p) -> long {
        for (std::size_t i = 0; i < t.offsets.size(); ++i)
            if (t.offsets[i] == static_cast<std::size_t>(p - base)) return static_cast<long>(i);
        std::abort();  // not on a character boundary
    };
    return {index(s), index(e)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1 || size > 96) return 0;
    const TMatchCORE_LineSeparator mode = (data[0] & 1) ? mcls_LF : mcls_CRLF;
    const std::string rest(reinterpret_cast<const char *>(data + 1), size - 1);
    const std::size_t zero = rest.find('\0');
    const std::string expr = rest.substr(0, zero);
    const std::string text = zero == std::string::npos ? std::string() : rest.substr(zero + 1);
    if (expr.size() > 48) return 0;

    TMatchCORE m;
    m.LineSeparator = mode;
    try {
        m.SetRegExp(expr);
    } catch (const ERegExpParser &) {
        return 0;
    }
    TREParser parser(expr);
    parser.Run();
    const Text t = Decode(text.c_str());
    const char *s = nullptr;
    const char *e = nullptr;
    if (!m.GetHasLHead() && !m.GetHasLTail()) {
        if (HasAnchorNode(parser.ParseTree)) return 0;  // '^' or '$' standing for itself
        m.MatchStd(text.c_str(), s, e);
        if (ToCodes(t, text.c_str(), s, e) != TreeReference(parser.ParseTree.pHeadNode, t)) std::abort();
    } else {
        m.MatchEX(text.c_str(), s, e);
        if (ToCodes(t, text.c_str(), s, e) != NFAReference(parser, t, mode)) std::abort();
    }
    return 0;
}
