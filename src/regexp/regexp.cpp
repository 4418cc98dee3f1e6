// Compiled regular expression: pipeline, cache of compiled DFAs, recovery after errors.
#include "regexp/regexp.h"

#include <iterator>
#include <utility>

#include "regexp/nfa.h"
#include "regexp/parser.h"

TRegularExpression::TRegularExpression() {
    FRegExpList.push_back({std::string(), nullptr});
    FCurrentIndex = 0;
    Translate(FRegExpList[0].RegExpStr);
}

TRegularExpression::~TRegularExpression() { DisposeRegExpList(); }

void TRegularExpression::DisposeRegExpList() noexcept { FRegExpList.clear(); }

void TRegularExpression::SetRegExp(const std::string &str) {
    std::string user = str;  // str may be RegExp itself, which is reset on failure
    FPreProcessor.SetTargetRegExpStr(user);
    FPreProcessor.Run();
    const std::string processed = FPreProcessor.ProcessedRegExpStr();
    try {
        int found = -1;
        for (std::size_t i = 0; i < FRegExpList.size(); ++i)
            if (FRegExpList[i].RegExpStr == processed) {
                found = static_cast<int>(i);
                break;
            }
        if (found >= 0) {
            FCurrentIndex = found;
        } else {
            if (FRegExpList.size() >= static_cast<std::size_t>(RegExpListMax)) FRegExpList.pop_back();
            FRegExpList.insert(std::next(FRegExpList.begin()), RegExpEntry_t{processed, nullptr});
            FCurrentIndex = 1;
            Translate(processed);
        }
        FRegExp = std::move(user);
    } catch (...) {
        FCurrentIndex = 0;
        FRegExp.clear();
        throw;
    }
}

void TRegularExpression::Translate(const std::string &str) {
    try {
        TREParser parser(str);
        parser.Run();
        // The owner's codes, line head first.
        const WChar_t lineHead = GetLineHeadWChar();
        const WChar_t lineTail = GetLineTailWChar();
        TRE_NFA nfa(&parser, lineHead, lineTail);
        nfa.Run();
        // Attached only once complete, so that a failure never leaves a half-built DFA
        // behind (entry 0 keeps its own).
        auto dfa = std::make_unique<TRE_DFA>(&nfa);
        dfa->Run();
        dfa->NFA = nullptr;  // the NFA is gone once compilation ends
        FRegExpList.at(static_cast<std::size_t>(FCurrentIndex)).DFA = std::move(dfa);
    } catch (...) {
        if (FCurrentIndex > 0 && static_cast<std::size_t>(FCurrentIndex) < FRegExpList.size())
            FRegExpList.erase(FRegExpList.begin() + FCurrentIndex);
        FCurrentIndex = 0;
        throw;
    }
}

WChar_t TRegularExpression::GetLineHeadWChar() const { return RE_LINEHEAD_WCHAR; }

WChar_t TRegularExpression::GetLineTailWChar() const { return RE_LINETAIL_WCHAR; }

const std::string &TRegularExpression::GetProcessedRegExp() const noexcept {
    return FRegExpList[static_cast<std::size_t>(FCurrentIndex)].RegExpStr;
}

TRE_DFA *TRegularExpression::GetCurrentDFA() const noexcept {
    return FRegExpList[static_cast<std::size_t>(FCurrentIndex)].DFA.get();
}

void TRegularExpression::SetUseFuzzyCharDic(bool value) {
    FPreProcessor.SetUseFuzzyCharDic(value);
    SetRegExp(FRegExp);
}

void TRegularExpression::SetUseSynonymDic(bool value) {
    FPreProcessor.SetUseSynonymDic(value);
    SetRegExp(FRegExp);
}
