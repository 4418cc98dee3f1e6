// Parser and parse tree: grammar, shared leaves, classes, complements, disjoint ranges.
#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <random>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "regexp/parser.h"

namespace {

// Leaves print as the character when it is a printable ASCII one, else as {XXXX-XXXX}.
std::string Render(const RENode_t *n) {
    if (n == nullptr) return "null";
    switch (n->op) {
        case reop_Char: {
            const RECharClass_t c = n->CharClass;
            if (c.StartChar == c.EndChar && c.StartChar > 0x20 && c.StartChar < 0x7F)
                return std::string(1, static_cast<char>(c.StartChar));
            char buf[16];
            std::snprintf(buf, sizeof buf, "{%04X-%04X}", c.StartChar, c.EndChar);
            return buf;
        }
        case reop_LHead: return "<^>";
        case reop_LTail: return "<$>";
        case reop_Concat: return "C(" + Render(n->Children.pLeft) + "," + Render(n->Children.pRight) + ")";
        case reop_Union: return "U(" + Render(n->Children.pLeft) + "," + Render(n->Children.pRight) + ")";
        case reop_Closure: return "*(" + Render(n->Children.pLeft) + ")";
        case reop_Empty: return "E";
    }
    return "?";
}

std::string Parse(const std::string &expr) {
    TREParser parser(expr);
    parser.Run();
    return Render(parser.ParseTree.pHeadNode);
}

std::vector<RECharClass_t> LeafRanges(const TREParseTree &tree) {
    std::vector<RECharClass_t> out;
    for (const auto &leaf : tree.LeafList()) out.push_back(leaf->CharClass);
    return out;
}

// A set of codes as sorted, merged closed intervals.
using Codes = std::vector<std::pair<unsigned, unsigned>>;

Codes Normalize(Codes c) {
    std::sort(c.begin(), c.end());
    Codes out;
    for (const auto &r : c) {
        if (!out.empty() && r.first <= out.back().second + 1)
            out.back().second = std::max(out.back().second, r.second);
        else
            out.push_back(r);
    }
    return out;
}

void CollectLeaves(const RENode_t *n, Codes &codes) {
    ASSERT_NE(n, nullptr);
    if (n->op == reop_Char) {
        codes.emplace_back(n->CharClass.StartChar, n->CharClass.EndChar);
        return;
    }
    ASSERT_EQ(n->op, reop_Union);
    CollectLeaves(n->Children.pLeft, codes);
    CollectLeaves(n->Children.pRight, codes);
}

// The codes a subtree made only of leaves and unions stands for.
Codes Cover(const RENode_t *n) {
    Codes codes;
    CollectLeaves(n, codes);
    return Normalize(codes);
}

Codes Range(unsigned from, unsigned to) { return {{from, to}}; }

Codes AnyChars() { return {{0x01, 0x09}, {0x0B, 0x0C}, {0x0E, 0xFCFC}}; }

// Checks what every consumer relies on: disjoint leaves, no marker codes in a leaf,
// every node in exactly one list.
void ExpectSoundTree(const TREParseTree &tree) {
    const auto &leaves = tree.LeafList();
    for (std::size_t i = 0; i < leaves.size(); ++i) {
        const RECharClass_t a = leaves[i]->CharClass;
        EXPECT_EQ(leaves[i]->op, reop_Char);
        EXPECT_LE(a.StartChar, a.EndChar);
        EXPECT_LT(a.EndChar, 0xFFFD);
        for (std::size_t j = i + 1; j < leaves.size(); ++j) {
            const RECharClass_t b = leaves[j]->CharClass;
            EXPECT_TRUE(a.EndChar < b.StartChar || b.EndChar < a.StartChar)
                << std::hex << a.StartChar << "-" << a.EndChar << " / " << b.StartChar << "-" << b.EndChar;
        }
    }
    for (const auto &node : tree.NodeList()) EXPECT_NE(node->op, reop_Char);
}

TEST(Parser, Grammar) {
    struct Case {
        std::string expr;
        std::string tree;
    };
    const std::vector<Case> cases = {
        {"", "E"},
        {"()", "E"},
        {"(a)", "a"},
        {"((a))", "a"},
        {"a|", "U(a,E)"},
        {"|a", "U(E,a)"},
        {"|", "U(E,E)"},
        {"a?", "U(a,E)"},
        {"a*", "*(a)"},
        {"ab+", "C(a,C(b,*(b)))"},
        {"a|b*c", "U(a,C(*(b),c))"},
        {"abc", "C(C(a,b),c)"},
        {"a|b|c", "U(U(a,b),c)"},
        {"(a|b)c", "C(U(a,b),c)"},
        {"(ab)*", "*(C(a,b))"},
        {"^a$", "C(C(<^>,a),<$>)"},
        {"a^b", "C(C(a,<^>),b)"},
        {"^*", "*(<^>)"},
        {"\\^\\$", "C(^,$)"},  // escaped anchors are plain characters (leaves)
        {"[abc]", "U(U(a,b),c)"},
        {"[aa]", "U(a,a)"},
        {".", "U(U({0001-0009},{000B-000C}),{000E-FCFC})"},
        {"[^a]", "U(U(U({000B-000C},{0001-0009}),{000E-0060}),{0062-FCFC})"},
        {"[^\\x01-\\x09]", "U({000B-000C},{000E-FCFC})"},
        {"\\x8140", "{8140-8140}"},
    };
    for (const auto &c : cases) EXPECT_EQ(Parse(c.expr), c.tree) << c.expr;
}

TEST(Parser, EscapedAnchorsAreLeavesAndAnchorsKeepTheirCharacter) {
    TREParser parser("^\\^$");
    parser.Run();
    const RENode_t *root = parser.ParseTree.pHeadNode;
    ASSERT_EQ(root->op, reop_Concat);
    const RENode_t *inner = root->Children.pLeft;
    EXPECT_EQ(inner->Children.pLeft->op, reop_LHead);
    EXPECT_EQ(inner->Children.pLeft->CharClass, (RECharClass_t{0x5E, 0x5E}));
    EXPECT_EQ(inner->Children.pRight->op, reop_Char);
    EXPECT_EQ(root->Children.pRight->op, reop_LTail);
    EXPECT_EQ(root->Children.pRight->CharClass, (RECharClass_t{0x24, 0x24}));
    // Anchors are internal nodes and take no part in the leaf ranges.
    ASSERT_EQ(parser.ParseTree.LeafList().size(), 1u);
    EXPECT_EQ(parser.ParseTree.LeafList()[0]->CharClass, (RECharClass_t{0x5E, 0x5E}));
}

TEST(Parser, LeavesAreShared) {
    TREParser plus("ab+");
    plus.Run();
    const RENode_t *rep = plus.ParseTree.pHeadNode->Children.pRight;
    EXPECT_EQ(rep->Children.pLeft, rep->Children.pRight->Children.pLeft);

    TREParser same("a|a");
    same.Run();
    EXPECT_EQ(same.ParseTree.LeafList().size(), 1u);
    EXPECT_EQ(same.ParseTree.pHeadNode->Children.pLeft, same.ParseTree.pHeadNode->Children.pRight);
}

TEST(Parser, OverlappingClassesBecomeDisjoint) {
    // Each rewiring of the split step, with the leaf order it leaves behind.
    struct Case {
        std::string expr;
        std::vector<RECharClass_t> leaves;
        std::string tree;
    };
    const std::vector<Case> cases = {
        // Partial overlap: both leaves become unions sharing the new overlap leaf.
        {"[a-c][b-d]", {{0x61, 0x61}, {0x62, 0x63}, {0x64, 0x64}}, "C(U(a,{0062-0063}),U({0062-0063},d))"},
        // One range inside the other.
        {"[a-z]|m", {{0x6D, 0x6D}, {0x61, 0x6C}, {0x6E, 0x7A}}, "U(U(U({0061-006C},m),{006E-007A}),m)"},
        // Same start: the longer leaf becomes (shorter, rest).
        {"[a-c]|a", {{0x61, 0x61}, {0x62, 0x63}}, "U(U(a,{0062-0063}),a)"},
        // Same end: the leaf starting lower becomes (below, other).
        {"[a-c]|c", {{0x63, 0x63}, {0x61, 0x62}}, "U(U({0061-0062},c),c)"},
        // A change restarts the comparisons of the same position, which now holds d.
        {"[a-e]|[c-g]|d",
         {{0x64, 0x64}, {0x61, 0x62}, {0x66, 0x67}, {0x63, 0x63}, {0x65, 0x65}},
         "U(U(U({0061-0062},U(U(c,d),e)),U(U(U(c,d),e),{0066-0067})),d)"},
        {"\\0|[\\0-a]", {{0x00, 0x00}, {0x01, 0x61}}, "U({0000-0000},U({0000-0000},{0001-0061}))"},
    };
    for (const auto &c : cases) {
        TREParser parser(c.expr);
        parser.Run();
        EXPECT_EQ(LeafRanges(parser.ParseTree), c.leaves) << c.expr;
        EXPECT_EQ(Render(parser.ParseTree.pHeadNode), c.tree) << c.expr;
    }
}

TEST(Parser, ClassesKeepTheirCharactersAfterSplitting) {
    struct Case {
        std::string expr;         // alternation of classes
        std::vector<Codes> sets;  // codes of each alternative
    };
    const std::vector<Case> cases = {
        {"[a-z]|[m-q]|[x-\\x8140]", {Range(0x61, 0x7A), Range(0x6D, 0x71), Range(0x78, 0x8140)}},
        {"[a-ce-g]|[b-f]|.", {{{0x61, 0x63}, {0x65, 0x67}}, Range(0x62, 0x66), AnyChars()}},
        {"[\\0-\\xFFFC]|[\\x10-\\x20]|[\\x20]", {Range(0, 0xFFFC), Range(0x10, 0x20), Range(0x20, 0x20)}},
        {"[^b-y]|[a-z]", {{{0x01, 0x09}, {0x0B, 0x0C}, {0x0E, 0x61}, {0x7A, 0xFCFC}}, Range(0x61, 0x7A)}},
        {"[" "\x83\x40-\x83\x96" "]|[" "\x83\x5C" "]|[A-" "\x83\x93" "]",
         {Range(0x8340, 0x8396), Range(0x835C, 0x835C), Range(0x41, 0x8393)}},
    };
    for (const auto &c : cases) {
        TREParser parser(c.expr);
        parser.Run();
        ExpectSoundTree(parser.ParseTree);
        // Collect the alternatives of the left-nested union chain.
        std::vector<const RENode_t *> alts;
        const RENode_t *n = parser.ParseTree.pHeadNode;
        for (std::size_t k = 1; k < c.sets.size(); ++k) {
            alts.insert(alts.begin(), n->Children.pRight);
            n = n->Children.pLeft;
        }
        alts.insert(alts.begin(), n);
        for (std::size_t k = 0; k < alts.size(); ++k)
            EXPECT_EQ(Cover(alts[k]), c.sets[k]) << c.expr << " alternative " << k;
    }
}

TEST(ParseTree, ForceCharClassUniqueKeepsEveryRangeOnRandomInput) {
    std::mt19937 rng(4);
    for (int round = 0; round < 200; ++round) {
        TREParseTree tree;
        std::vector<std::pair<const RENode_t *, RECharClass_t>> made;
        const int count = 2 + static_cast<int>(rng() % 8);
        for (int k = 0; k < count; ++k) {
            WChar_t a = static_cast<WChar_t>(rng() % 40);
            WChar_t b = static_cast<WChar_t>(rng() % 40);
            if (b < a) std::swap(a, b);
            if (round % 5 == 0) b = static_cast<WChar_t>(0xFFFF - a);  // ranges reaching 0xFFFF
            made.emplace_back(tree.MakeLeaf(a, b), RECharClass_t{a, b});
        }
        tree.ForceCharClassUnique();
        const auto &leaves = tree.LeafList();
        for (std::size_t i = 0; i < leaves.size(); ++i)
            for (std::size_t j = i + 1; j < leaves.size(); ++j) {
                const RECharClass_t x = leaves[i]->CharClass, y = leaves[j]->CharClass;
                ASSERT_TRUE(x.EndChar < y.StartChar || y.EndChar < x.StartChar);
            }
        for (const auto &m : made) {
            ASSERT_EQ(Cover(m.first), Range(m.second.StartChar, m.second.EndChar)) << "round " << round;
        }
        EXPECT_EQ(tree.LeafList().size() + tree.NodeList().size(),
                  [&] {
                      std::set<const RENode_t *> all;
                      for (const auto &l : tree.LeafList()) all.insert(l.get());
                      for (const auto &l : tree.NodeList()) all.insert(l.get());
                      return all.size();
                  }());
    }
}

TEST(ParseTree, AnyCharsNodeAndLeafOrder) {
    TREParseTree tree;
    const RENode_t *any = tree.MakeAnyCharsNode();
    const std::vector<RECharClass_t> expected = {{0x0B, 0x0C}, {0x01, 0x09}, {0x0E, 0xFCFC}};
    EXPECT_EQ(LeafRanges(tree), expected);
    EXPECT_EQ(Cover(any), AnyChars());
    EXPECT_EQ(tree.Check_and_MakeLeaf(5, 4), nullptr);
    EXPECT_EQ(tree.Check_and_MakeLeaf(0x01, 0x09), tree.LeafList()[1].get());
    tree.DisposeTree();
    EXPECT_TRUE(tree.LeafList().empty());
    EXPECT_TRUE(tree.NodeList().empty());
    EXPECT_EQ(tree.pHeadNode, nullptr);
}

TEST(ParseTree, ChangeLeaftoNodeMovesTheLeafToTheNodeList) {
    TREParseTree tree;
    RENode_t *whole = tree.MakeLeaf(1, 10);
    RENode_t *low = tree.MakeLeaf(1, 4);
    RENode_t *high = tree.MakeLeaf(5, 10);
    RENode_t *other = tree.MakeLeaf(20, 20);
    tree.ChangeLeaftoNode(whole, low, high);
    EXPECT_EQ(whole->op, reop_Union);
    EXPECT_EQ(whole->Children.pLeft, low);
    EXPECT_EQ(whole->Children.pRight, high);
    ASSERT_EQ(tree.LeafList().size(), 3u);
    EXPECT_EQ(tree.LeafList()[0].get(), low);
    EXPECT_EQ(tree.LeafList()[2].get(), other);
    ASSERT_EQ(tree.NodeList().size(), 1u);
    EXPECT_EQ(tree.NodeList()[0].get(), whole);
    EXPECT_THROW(tree.ChangeLeaftoNode(low, nullptr, high), qv::Exception);
    EXPECT_THROW(tree.ChangeLeaftoNode(other, low, nullptr), qv::Exception);
    EXPECT_EQ(tree.LeafList().size(), 3u);
}

TEST(Parser, NegatedClasses) {
    {
        TREParser parser("[^\\n]");
        parser.Run();
        EXPECT_EQ(Cover(parser.ParseTree.pHeadNode), AnyChars());
    }
    {
        // Code 0, CR and codes beyond the any-character set never match a negated class.
        TREParser parser("[^a\\0\\r\\xFD00-\\xFFFF]");
        parser.Run();
        const Codes expected = {{0x01, 0x09}, {0x0B, 0x0C}, {0x0E, 0x60}, {0x62, 0xFCFC}};
        EXPECT_EQ(Cover(parser.ParseTree.pHeadNode), expected);
    }
    {
        // Temporary trees leave nothing behind in the parse tree but the result.
        TREParser parser("[^a-c]");
        parser.Run();
        EXPECT_EQ(parser.ParseTree.LeafList().size(), 4u);
        EXPECT_EQ(parser.ParseTree.NodeList().size(), 3u);
    }
}

TEST(Parser, NegatedClassExcludingEverythingMatchesNothing) {
    for (const std::string expr :
         {"[^\\x01-\\xFCFC]", "[^\\0-\\xFFFF]", "[^\\x01-\\x09\\x0B\\x0C\\x0E-\\xFCFC]", "a[^\\x01-\\xFFFF]*"}) {
        TREParser parser(expr);
        parser.Run();
        ASSERT_NE(parser.ParseTree.pHeadNode, nullptr) << expr;
        ExpectSoundTree(parser.ParseTree);
        bool found = false;
        for (const auto &leaf : parser.ParseTree.LeafList())
            if (leaf->CharClass == RE_NOMATCHCharClass) found = true;
        EXPECT_TRUE(found) << expr;
    }
    TREParser parser("[^\\x01-\\xFCFC]");
    parser.Run();
    EXPECT_EQ(parser.ParseTree.pHeadNode->op, reop_Char);
    EXPECT_EQ(parser.ParseTree.pHeadNode->CharClass, RE_NOMATCHCharClass);
}

TEST(Parser, MarkerCodesNeverReachALeaf) {
    // 0xFFFF would read as an empty move and 0xFFFD/0xFFFE as anchor moves.
    struct Case {
        std::string expr;
        std::string tree;
    };
    const std::vector<Case> cases = {
        {"\\xFFFF", "{FD00-FFFC}"},
        {"\\177777", "{FD00-FFFC}"},
        {"\\xFFFD", "{FD00-FFFC}"},
        {"[\\xFFFE]", "{FD00-FFFC}"},
        {"[a-\\xFFFF]", "{0061-FFFC}"},
        {"[\\xFFFD-\\xFFFF]", "{FD00-FFFC}"},
        {"\\xFFFC", "{FFFC-FFFC}"},
    };
    for (const auto &c : cases) {
        TREParser parser(c.expr);
        parser.Run();
        ExpectSoundTree(parser.ParseTree);
        EXPECT_EQ(Render(parser.ParseTree.pHeadNode), c.tree) << c.expr;
    }
    TREParser parser("\\xFFFF|[^\\xFFFF]");
    parser.Run();
    ExpectSoundTree(parser.ParseTree);
    EXPECT_EQ(Cover(parser.ParseTree.pHeadNode->Children.pRight), AnyChars());
}

TEST(Parser, ErrorPositions) {
    struct Case {
        std::string expr;
        int pos;
    };
    const std::vector<Case> cases = {
        {"a)", 3},   {"a)b", 3},  {"(a", 3},   {"((a)", 5}, {"a**", 4},  {"a+?", 4},
        {"*a", 2},   {"]", 2},    {"a|*", 4},  {"(*)", 3},  {"[]", 3},   {"[^]", 4},
        {"a[]b", 4}, {"[a", 3},   {"[^a-", 5}, {"a\x88", 2}, {"[^z-a]", 6},
    };
    for (const auto &c : cases) {
        TREParser parser(c.expr);
        try {
            parser.Run();
            ADD_FAILURE() << "no error for " << c.expr;
        } catch (const ERegExpParser &e) {
            EXPECT_EQ(e.ErrorPos, c.pos) << c.expr;
        }
    }
}

TEST(Parser, PositionsBeyond65535WrapAround) {
    TREParser parser(std::string(65536, 'a') + ")");
    try {
        parser.Run();
        FAIL() << "no error";
    } catch (const ERegExpParser &e) {
        EXPECT_EQ(e.ErrorPos, 65538 - 65536);
    }
}

TEST(Parser, NestingDepthIsBounded) {
    const int limit = RE_MAX_GROUP_DEPTH;
    TREParser ok(std::string(limit, '(') + "a" + std::string(limit, ')'));
    ok.Run();
    EXPECT_EQ(Render(ok.ParseTree.pHeadNode), "a");

    TREParser deep(std::string(limit + 1, '(') + "a" + std::string(limit + 1, ')'));
    try {
        deep.Run();
        FAIL() << "no error";
    } catch (const ERegExpParser &e) {
        EXPECT_EQ(e.ErrorPos, limit + 2);  // just after the "(" too many
    }
}

TEST(Parser, RunCanBeRepeated) {
    TREParser parser("[a-c]|b");
    parser.Run();
    const std::string first = Render(parser.ParseTree.pHeadNode);
    parser.Run();
    EXPECT_EQ(Render(parser.ParseTree.pHeadNode), first);
    EXPECT_EQ(parser.ParseTree.LeafList().size(), 3u);
}

}  // namespace

namespace {

// Random expressions over the bytes that matter: either a clear syntax error or a sound
// tree, never a crash, a leak or a read past the end (checked by the sanitizers).
TEST(Parser, RandomExpressionsFailCleanlyOrGiveSoundTrees) {
    const std::string alphabet = std::string("ab-[]^()|*+?.$\\xF07n", 20) + "\x83\x5C\x81\xFC" + std::string(1, '\0');
    std::mt19937 rng(11);
    int parsed = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string expr;
        const int length = static_cast<int>(rng() % 14);
        for (int k = 0; k < length; ++k) expr += alphabet[rng() % alphabet.size()];
        TREParser parser(expr);
        try {
            parser.Run();
        } catch (const ERegExpParser &e) {
            EXPECT_GE(e.ErrorPos, 1) << expr;
            EXPECT_LE(e.ErrorPos, static_cast<int>(expr.size()) + 1) << expr;
            continue;
        }
        ++parsed;
        ASSERT_NE(parser.ParseTree.pHeadNode, nullptr) << expr;
        ExpectSoundTree(parser.ParseTree);
    }
    EXPECT_GT(parsed, 100);
}

}  // namespace
