// Reference answers for the engine's tests and fuzz targets, computed without the DFA:
// whether an expression parses, leftmost-longest matches read off the parse tree, and
// anchored matches from a direct simulation of the NFA.
#pragma once

#include <cstddef>
#include <set>
#include <utility>
#include <stdexcept>
#include <string>
#include <vector>

#include "regexp/matchcore.h"
#include "regexp/nfa.h"
#include "regexp/parser.h"

namespace regexp_test {

inline bool Parses(const std::string &expr) {
    try {
        TREParser parser(expr);
        parser.Run();
        return true;
    } catch (const ERegExpParser &) {
        return false;
    }
}

// The code indexes at which node n, started at code index i, can end. Anchor nodes have no
// meaning here: the caller keeps them out.
inline std::set<std::size_t> Ends(const RENode_t *n, const std::vector<WChar_t> &codes, std::size_t i) {
    std::set<std::size_t> out;
    switch (n->op) {
        case reop_Char:
            if (i < codes.size() && codes[i] >= n->CharClass.StartChar && codes[i] <= n->CharClass.EndChar)
                out.insert(i + 1);
            break;
        case reop_Concat:
            for (std::size_t j : Ends(n->Children.pLeft, codes, i))
                for (std::size_t k : Ends(n->Children.pRight, codes, j)) out.insert(k);
            break;
        case reop_Union:
            out = Ends(n->Children.pLeft, codes, i);
            for (std::size_t k : Ends(n->Children.pRight, codes, i)) out.insert(k);
            break;
        case reop_Closure: {
            out.insert(i);
            std::vector<std::size_t> todo{i};
            while (!todo.empty()) {
                const std::size_t j = todo.back();
                todo.pop_back();
                for (std::size_t k : Ends(n->Children.pLeft, codes, j))
                    if (out.insert(k).second) todo.push_back(k);
            }
            break;
        }
        case reop_Empty: out.insert(i); break;
        default: throw std::logic_error("anchor in a plain expression");
    }
    return out;
}

// A text as character codes, with the byte offset of each code and then the length.
struct Text {
    std::vector<WChar_t> codes;
    std::vector<std::size_t> offsets;
};

inline Text Decode(const char *p) {
    Text t;
    const char *const base = p;
    while (*p != '\0') {
        t.offsets.push_back(static_cast<std::size_t>(p - base));
        t.codes.push_back(PCharGetWChar(p));
    }
    t.offsets.push_back(static_cast<std::size_t>(p - base));
    return t;
}

// Leftmost-longest match of an anchor-free tree as (start, end) code indexes, or (-1, -1).
inline std::pair<long, long> TreeReference(const RENode_t *root, const Text &t) {
    const std::size_t starts = t.codes.empty() ? 1 : t.codes.size();
    for (std::size_t s = 0; s < starts; ++s) {
        const auto ends = Ends(root, t.codes, s);
        if (!ends.empty()) return {static_cast<long>(s), static_cast<long>(*ends.rbegin())};
    }
    return {-1, -1};
}

// Leftmost-longest match by simulating the NFA: a match (s, e) is a path from entry to exit
// over the codes from s to e, where the line-head move may be taken only at s and only when
// s begins a line (the text start or after LF), and the line-tail move only at e and only
// before a line end of the mode or at the end of the text.
inline std::pair<long, long> NFAReference(TREParser &parser, const Text &t, TMatchCORE_LineSeparator mode) {
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

}  // namespace regexp_test
