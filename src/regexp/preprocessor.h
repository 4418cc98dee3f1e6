// Preprocessor of the regular-expression engine: before an expression is parsed it
// can rewrite each run of plain characters so that a word also matches its synonyms
// and a character its equivalent forms, as an alternation of a dictionary row.
#pragma once

#include <string>
#include <vector>

#include "regexp/fuzzy_dictionary.h"
#include "regexp/scanner.h"

class TREPreProcessor;
// One search strategy of a pass: tries the dictionaries at token FromTokenIndex, with
// plain-character tokens up to ToTokenIndex (exclusive); returns the index of the first
// token after the match, or -1.
using TREPreProcessorFindFunc = int (TREPreProcessor::*)(int FromTokenIndex, int ToTokenIndex);

class TREPreProcessor {
public:
    explicit TREPreProcessor(const std::string &expression = std::string());
    TREPreProcessor(const TREPreProcessor &) = delete;
    TREPreProcessor &operator=(const TREPreProcessor &) = delete;

    // The expression to rewrite; set it before every Run. Run leaves it as it was.
    void SetTargetRegExpStr(const std::string &expression);
    const std::string &GetTargetRegExpStr() const noexcept { return FTargetRegExpStr; }

    // Rewrites the target into ProcessedRegExpStr: the synonym pass first (if on), then
    // the equivalent-character pass over its result (if on). With both options off the
    // expression is copied without being scanned, so nothing is raised. With an option
    // on, errors of the scanner and of escape decoding propagate as ERegExpParser and
    // ProcessedRegExpStr is left empty.
    void Run();
    const std::string &ProcessedRegExpStr() const noexcept { return FProcessedRegExpStr; }

    // One pass over the scanner's current expression into ProcessedRegExpStr. Only runs
    // of retk_Char tokens outside brackets are offered to Find; every other token is
    // copied as written. The first match at each position is taken. The last character
    // of a run followed by *, + or ? is matched on its own, so the operator keeps
    // applying to that one character.
    void Process(TREPreProcessorFindFunc Find);

    // Scans the scanner's expression into TokenList, closed by a retk_End record with
    // FromIndex = ToIndex = 0. Re-emitting the tokens' texts gives back the expression
    // up to its end or its first zero byte.
    void MakeTokenList();
    void DestroyTokenListItems() noexcept { FTokenList.clear(); }
    const std::vector<RETokenInfo_t> &TokenList() const noexcept { return FTokenList; }

    // Tries every form of every row of Dic, in order, against the characters of the
    // tokens from FromTokenIndex on (never reaching ToTokenIndex). On the first match
    // ReplaceStr becomes the whole row as a group, "(" form1 "|" form2 ... ")", with the
    // metacharacters of the forms quoted, and the result is the index of the token after
    // the match. Empty forms, forms ending in a lone lead byte and forms holding a zero
    // byte never match and are left out of the group. -1 if no form matches.
    int ReferToOneList(int FromTokenIndex, int ToTokenIndex, const REDictionary_t &Dic);
    const std::string &ReplaceStr() const noexcept { return FReplaceStr; }

    // ReferToOneList over ListOfSynonymDic / ListOfFuzzyCharDic in order; first hit wins.
    int FindSynonym(int FromTokenIndex, int ToTokenIndex);
    int FindFuzzyWChar(int FromTokenIndex, int ToTokenIndex);

    // The dictionaries of the two passes, searched in list order. Null entries are
    // skipped. Callers add dictionaries here (e.g. RE_FuzzyCharDic()).
    REDictionaryList_t &ListOfSynonymDic() noexcept { return FListOfSynonymDic; }
    REDictionaryList_t &ListOfFuzzyCharDic() noexcept { return FListOfFuzzyCharDic; }
    const REDictionaryList_t &ListOfSynonymDic() const noexcept { return FListOfSynonymDic; }
    const REDictionaryList_t &ListOfFuzzyCharDic() const noexcept { return FListOfFuzzyCharDic; }

    // The two passes; both off after construction.
    bool UseFuzzyCharDic() const noexcept { return FUseFuzzyCharDic; }
    void SetUseFuzzyCharDic(bool value) noexcept { FUseFuzzyCharDic = value; }
    bool UseSynonymDic() const noexcept { return FUseSynonymDic; }
    void SetUseSynonymDic(bool value) noexcept { FUseSynonymDic = value; }

private:
    int FindInList(const REDictionaryList_t &list, int FromTokenIndex, int ToTokenIndex);
    void AppendTokenText(const RETokenInfo_t &token);
    void RewriteRun(TREPreProcessorFindFunc Find, int from, int to);

    TREScanner FScanner;
    std::string FTargetRegExpStr;
    std::string FProcessedRegExpStr;
    REDictionaryList_t FListOfSynonymDic;
    REDictionaryList_t FListOfFuzzyCharDic;
    std::vector<RETokenInfo_t> FTokenList;
    std::string FReplaceStr;
    bool FUseFuzzyCharDic = false;
    bool FUseSynonymDic = false;
};
