// Compiled regular expression: runs the pipeline (preprocessor, parser, NFA, DFA),
// keeps the DFAs of recent expressions in a small cache keyed by the preprocessed
// expression, and offers the one-step DFA lookup all matching code uses.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "regexp/chars.h"
#include "regexp/dfa.h"
#include "regexp/preprocessor.h"

class TRegularExpression {
public:
    // One cache entry: a preprocessed expression and its DFA.
    struct RegExpEntry_t {
        std::string RegExpStr;
        std::unique_ptr<TRE_DFA> DFA;
    };

    TRegularExpression();
    virtual ~TRegularExpression();
    TRegularExpression(const TRegularExpression &) = delete;
    TRegularExpression &operator=(const TRegularExpression &) = delete;

    // Makes str the current expression: preprocesses it, reuses the cached DFA of the
    // processed form or compiles it into a new entry at index 1 (evicting the last
    // entry when the cache is full). A preprocessor error leaves everything as it was;
    // a compilation error leaves the empty expression current and RegExp empty.
    virtual void SetRegExp(const std::string &str);
    // Compiles str into entry CurrentIndex; on failure the entry is removed and
    // CurrentIndex becomes 0.
    virtual void Translate(const std::string &str);
    // Codes of the line-head and line-tail moves of compiled DFAs.
    virtual WChar_t GetLineHeadWChar() const;
    virtual WChar_t GetLineTailWChar() const;

    // The expression as last set successfully, before preprocessing.
    const std::string &RegExp() const noexcept { return FRegExp; }
    // The current entry's (preprocessed) expression.
    const std::string &GetProcessedRegExp() const noexcept;

    REDictionaryList_t &GetListOfFuzzyCharDic() noexcept { return FPreProcessor.ListOfFuzzyCharDic(); }
    REDictionaryList_t &GetListOfSynonymDic() noexcept { return FPreProcessor.ListOfSynonymDic(); }
    bool GetUseFuzzyCharDic() const noexcept { return FPreProcessor.UseFuzzyCharDic(); }
    bool GetUseSynonymDic() const noexcept { return FPreProcessor.UseSynonymDic(); }
    // Store the option, then set the stored RegExp again so that it is recompiled
    // under it.
    void SetUseFuzzyCharDic(bool value);
    void SetUseSynonymDic(bool value);

    TRE_DFA *GetCurrentDFA() const noexcept;
    RE_pDFAState_t GetpInitialDFAState() const noexcept { return GetCurrentDFA()->pInitialState; }
    bool GetRegExpIsSimple() const noexcept { return GetCurrentDFA()->RegExpIsSimple; }
    const std::string &GetSimpleRegExp() const noexcept { return GetCurrentDFA()->SimpleRegExp; }
    bool GetHasLHead() const noexcept { return GetCurrentDFA()->HasLHead; }
    bool GetHasLTail() const noexcept { return GetCurrentDFA()->HasLTail; }

    // The state reached from state on wc, or null. Reads nothing of the object.
    static RE_pDFAState_t NextDFAState(RE_pDFAState_t state, WChar_t wc) noexcept {
        return RE_NextDFAState(state, wc);
    }

    // The cache: entry 0 always holds the empty expression.
    const std::vector<RegExpEntry_t> &RegExpList() const noexcept { return FRegExpList; }
    int CurrentIndex() const noexcept { return FCurrentIndex; }
    static constexpr int RegExpListMax = 30;

protected:
    void DisposeRegExpList() noexcept;

private:
    std::string FRegExp;
    std::vector<RegExpEntry_t> FRegExpList;
    int FCurrentIndex = 0;
    TREPreProcessor FPreProcessor;
};
