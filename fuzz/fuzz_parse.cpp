// Parser fuzz target: the input is one expression. A syntax error must surface as
// ERegExpParser with a position inside the expression; a parsed tree must have
// pairwise disjoint leaf ranges and a head node.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "regexp/parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string expr(reinterpret_cast<const char *>(data), size);
    try {
        TREParser parser(expr);
        parser.Run();
        if (parser.ParseTree.pHeadNode == nullptr) std::abort();
        const auto &leaves = parser.ParseTree.LeafList();
        if (leaves.size() <= 512) {
            for (std::size_t i = 0; i < leaves.size(); ++i) {
                const RECharClass_t a = leaves[i]->CharClass;
                if (leaves[i]->op != reop_Char) continue;
                if (a.EndChar < a.StartChar) std::abort();
                for (std::size_t j = i + 1; j < leaves.size(); ++j) {
                    if (leaves[j]->op != reop_Char) continue;
                    const RECharClass_t b = leaves[j]->CharClass;
                    if (a.StartChar <= b.EndChar && b.StartChar <= a.EndChar) std::abort();
                }
            }
        }
    } catch (const ERegExpParser &e) {
        // Positions are 1-based and may point one past the end (a missing closer).
        if (e.ErrorPos < 0 || (size < 65535 && static_cast<std::size_t>(e.ErrorPos) > size + 1)) std::abort();
    }
    return 0;
}
