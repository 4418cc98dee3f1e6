// Reference answers for the engine's tests and fuzz targets, computed without any automaton:
// whether an expression parses, and where each sub-expression of a parse tree can end.
#pragma once

#include <cstddef>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

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

}  // namespace regexp_test
