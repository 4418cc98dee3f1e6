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

using regexp_test::Ends;

struct Text {
    std::vector<WChar_t> codes;
    std::vector<std::size_t> offsets;  // byte offset of each code, then the length
};

Text Decode(const char *p) {
    Text t;
    const char *const base = p;
    while (*p != '\0') {
        t.offsets.push_back(static_cast<std::size_t>(p - base));
        t.codes.push_back(PCharGetWChar(p));
    }
    t.offsets.push_back(static_cast<std::size_t>(p - base));
    return t;
}

bool HasAnchorNode(const TREParseTree &tree) {
    for (const auto &n : tree.NodeList())
        if (n->op == reop_LHead || n->op == reop_LTail) return true;
    return false;
}


// Leftmost-longest as (start, end) code indexes, or (-1, -1).
std::pair<long, long> TreeReference(const RENode_t *root, const Text &t) {
    const std::size_t starts = t.codes.empty() ? 1 : t.codes.size();
    for (std::size_t s = 0; s < starts; ++s) {
        const auto ends = Ends(root, t.codes, s);
        if (!ends.empty()) return {static_cast<long>(s), static_cast<long>(*ends.rbegin())};
    }
    return {-1, -1};
}

std::pair<long, long> NFAReference(TREParser &parser, const Text &t, TMatchCORE_LineSeparator mode) {
    TRE_NFA nfa(&parser, RE_LINEHEAD_WCHAR, RE_LINETAIL_WCHAR);
    nfa.Run();
    const auto &states = nfa.StateList();
    auto closure = [&](std::set<int> set) {
        std::vector<int> todo(set.begin(), set.end());
        while (!todo.empty()) {
            const int v = todo.back();
            todo.pop_back();
            for (const RE_NFANode_t *m = states[static_cast<std::size_t>(v)]; m != nullptr; m = m->Next)
                if (m->CharClass.StartChar == RE_EMPTY_WCHAR && set.insert(m->TransitTo).second) todo.push_back(m->TransitTo);
        }
        return set;
    };
    auto move = [&](const std::set<int> &set, WChar_t wc) {
        std::set<int> out;
        for (int v : set)
            for (const RE_NFANode_t *m = states[static_cast<std::size_t>(v)]; m != nullptr; m = m->Next)
                if (m->CharClass.StartChar != RE_EMPTY_WCHAR && wc >= m->CharClass.StartChar && wc <= m->CharClass.EndChar)
                    out.insert(m->TransitTo);
        return closure(out);
    };
    const WChar_t lineEnd = mode == mcls_CRLF ? 13 : 10;
    const std::size_t n = t.codes.size();
    for (std::size_t s = 0; s <= n; ++s) {
        std::set<int> cur = closure({nfa.EntryState});
        if (s == 0 || t.codes[s - 1] == 10)
            for (int v : move(cur, RE_LINEHEAD_WCHAR)) cur.insert(v);
        long best = -1;
        for (std::size_t pos = s;; ++pos) {
            if (cur.count(nfa.ExitState) != 0) best = static_cast<long>(pos);
            if ((pos == n || t.codes[pos] == lineEnd) && !move(cur, RE_LINETAIL_WCHAR).empty())
                best = static_cast<long>(pos);
            if (pos == n) break;
            cur = move(cur, t.codes[pos]);
            if (cur.empty()) break;
        }
        if (best >= 0) return {static_cast<long>(s), best};
    }
    return {-1, -1};
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
