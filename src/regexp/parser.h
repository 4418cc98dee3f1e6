// Parser of the regular-expression engine: recursive descent over the scanner's tokens
// into a parse tree whose leaves are character ranges, made pairwise identical or
// disjoint before the tree is handed to the NFA builder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "regexp/chars.h"
#include "regexp/scanner.h"

enum REOperation_t : std::uint8_t {
    reop_Char = 0,     // leaf: one character whose code lies in CharClass
    reop_LHead = 1,    // line-head anchor; CharClass holds the character that wrote it
    reop_LTail = 2,    // line-tail anchor; likewise
    reop_Concat = 3,   // pLeft followed by pRight
    reop_Union = 4,    // pLeft or pRight
    reop_Closure = 5,  // zero or more pLeft; pRight is null
    reop_Empty = 6,    // the empty string
};

struct RENode_t;
using REpNode_t = RENode_t *;

struct REChildren_t {
    REpNode_t pLeft = nullptr;
    REpNode_t pRight = nullptr;
};

// One node. CharClass is meaningful for reop_Char, reop_LHead and reop_LTail, Children
// for the other kinds. Pointers between nodes never own: the tree's lists own them.
struct RENode_t {
    REOperation_t op = reop_Empty;
    RECharClass_t CharClass = {0, 0};
    REChildren_t Children;
};

// A range that no text can contain: codes above the highest double-byte code (0xFCFF)
// and below the marker codes. A leaf with it matches nothing; the parser uses it for a
// negated class that excludes every character and for characters written as escapes
// of the marker codes 0xFFFD to 0xFFFF.
constexpr RECharClass_t RE_NOMATCHCharClass = {0xFD00, 0xFFFC};

// The parse tree: a DAG whose leaves are shared, one leaf per distinct range.
class TREParseTree {
public:
    using NodeList_t = std::vector<std::unique_ptr<RENode_t>>;

    TREParseTree() = default;
    virtual ~TREParseTree() = default;
    TREParseTree(const TREParseTree &) = delete;
    TREParseTree &operator=(const TREParseTree &) = delete;

    REpNode_t MakeInternalNode(REOperation_t op, REpNode_t pLeft, REpNode_t pRight);
    // The leaf with exactly this range, made if it does not exist yet.
    REpNode_t MakeLeaf(WChar_t StartChar, WChar_t EndChar);
    // Null when EndChar < StartChar, else MakeLeaf.
    REpNode_t Check_and_MakeLeaf(WChar_t StartChar, WChar_t EndChar);
    REpNode_t MakeLHeadNode(WChar_t c);
    REpNode_t MakeLTailNode(WChar_t c);
    // Union of (0x01,0x09), (0x0B,0x0C) and (0x0E,0xFCFC): any character but LF and CR.
    virtual REpNode_t MakeAnyCharsNode();
    // A leaf that matches no character (RE_NOMATCHCharClass).
    REpNode_t MakeNoMatchNode();
    // Turns a leaf into a union of the two children in place; every parent keeps
    // referring to it. Throws qv::Exception on a missing child.
    void ChangeLeaftoNode(REpNode_t leaf, REpNode_t pLeft, REpNode_t pRight);
    // Makes the ranges of all leaves pairwise disjoint without changing the language.
    void ForceCharClassUnique();
    // Frees every node and empties the tree.
    void DisposeTree();

    const NodeList_t &NodeList() const noexcept { return FNodeList; }
    const NodeList_t &LeafList() const noexcept { return FLeafList; }

    REpNode_t pHeadNode = nullptr;

private:
    bool SplitStep(REpNode_t A, REpNode_t B);

    NodeList_t FNodeList;  // internal nodes, anchors, empty nodes, former leaves
    NodeList_t FLeafList;  // reop_Char leaves in creation order
    // The leaves of FLeafList by range (StartChar * 65536 + EndChar), so that finding the
    // leaf of a range does not walk the list.
    std::unordered_map<std::uint32_t, REpNode_t> FLeafIndex;
    // While ForceCharClassUnique runs, a leaf turned into a union leaves a null hole in
    // FLeafList instead of being erased, and FLeafSlot gives each leaf's place.
    bool FSplitting = false;
    std::unordered_map<const RENode_t *, std::size_t> FLeafSlot;
    std::size_t FSplitNodes = 0;  // nodes ForceCharClassUnique has made or rewired
};

// Nodes ForceCharClassUnique may make or turn into unions before the expression is
// refused as too complex. Every such node of the tree becomes at least one NFA move, so
// an expression past it would exceed the NFA's move budget anyway; the bound keeps the
// splitting of many overlapping ranges from running for minutes first.
constexpr std::size_t RE_MAX_SPLIT_NODES = 2000000;

class TREParser {
public:
    explicit TREParser(const std::string &regExpStr);
    TREParser(const TREParser &) = delete;
    TREParser &operator=(const TREParser &) = delete;

    // Parses the whole expression into ParseTree; leaf ranges end up disjoint.
    void Run();

    REpNode_t Regexp();
    REpNode_t term();
    REpNode_t factor();
    REpNode_t primary();
    REpNode_t CharacterClass(TREParseTree &Tree);
    REpNode_t NegativeCharacterClass();

    // Declared in this order so that Scanner is destroyed before ParseTree.
    TREParseTree ParseTree;
    TREScanner Scanner;

private:
    // A leaf for a written character or range; codes reserved as markers never reach
    // a leaf, so no leaf can be taken for an empty move or an anchor move.
    REpNode_t MakeCharLeaf(TREParseTree &Tree, WChar_t StartChar, WChar_t EndChar);
    REpNode_t ClassElement(TREParseTree &Tree);

    int FGroupDepth = 0;  // open parentheses, bounded to keep the recursion shallow
};

// Deepest nesting of parentheses the parser accepts.
constexpr int RE_MAX_GROUP_DEPTH = 1000;
