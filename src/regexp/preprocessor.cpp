// Preprocessor of the regular-expression engine: dictionary-driven rewriting of the
// plain-character runs of an expression.
#include "regexp/preprocessor.h"

#include <cstddef>

namespace {

// A form can match only if it is made of whole characters and holds no zero byte
// (the scanner ends the expression at a zero byte). Other forms are ignored.
bool IsUsableForm(const std::string &form) {
    if (form.empty()) {
        return false;
    }
    const std::size_t n = form.size();
    for (std::size_t k = 0; k < n; ++k) {
        const auto b = static_cast<unsigned char>(form[k]);
        if (b == 0) {
            return false;
        }
        if (IsCP932LeadByte(b)) {
            if (k + 1 >= n || form[k + 1] == 0) {
                return false;
            }
            ++k;
        }
    }
    return true;
}

bool IsPostfixToken(REToken_t t) { return t == retk_Star || t == retk_Plus || t == retk_QMark; }

}  // namespace

TREPreProcessor::TREPreProcessor(const std::string &expression)
    : FScanner(expression), FTargetRegExpStr(expression) {}

void TREPreProcessor::SetTargetRegExpStr(const std::string &expression) {
    FTargetRegExpStr = expression;
    FScanner.SetRegExpStr(expression);
}

void TREPreProcessor::Run() {
    FProcessedRegExpStr = FTargetRegExpStr;
    if (!FUseSynonymDic && !FUseFuzzyCharDic) {
        return;
    }
    // Each pass scans the text the previous one produced; the target itself is kept,
    // so running again gives the same result.
    try {
        if (FUseSynonymDic) {
            FScanner.SetRegExpStr(FProcessedRegExpStr);
            Process(&TREPreProcessor::FindSynonym);
        }
        if (FUseFuzzyCharDic) {
            FScanner.SetRegExpStr(FProcessedRegExpStr);
            Process(&TREPreProcessor::FindFuzzyWChar);
        }
    } catch (...) {
        FProcessedRegExpStr.clear();
        throw;
    }
}

void TREPreProcessor::MakeTokenList() {
    DestroyTokenListItems();
    int from = FScanner.Index();
    while (FScanner.GetToken() != retk_End) {
        RETokenInfo_t info;
        info.Token = FScanner.Token();
        info.Symbol = FScanner.Symbol();
        info.FromIndex = from;
        info.ToIndex = FScanner.Index();
        FTokenList.push_back(info);
        from = info.ToIndex;
    }
    RETokenInfo_t end;
    end.Token = retk_End;
    FTokenList.push_back(end);
}

void TREPreProcessor::AppendTokenText(const RETokenInfo_t &token) {
    const std::string &text = FScanner.RegExpStr();
    if (token.FromIndex < 1 || token.ToIndex <= token.FromIndex) {
        return;
    }
    const std::size_t from = static_cast<std::size_t>(token.FromIndex - 1);
    if (from >= text.size()) {
        return;
    }
    FProcessedRegExpStr.append(text, from, static_cast<std::size_t>(token.ToIndex - token.FromIndex));
}

void TREPreProcessor::Process(TREPreProcessorFindFunc Find) {
    FProcessedRegExpStr.clear();
    MakeTokenList();
    const int count = static_cast<int>(FTokenList.size());
    bool inClass = false;
    int i = 0;
    while (i < count) {
        const RETokenInfo_t &t = FTokenList[static_cast<std::size_t>(i)];
        if (t.Token == retk_LBra || t.Token == retk_LBraNeg) {
            inClass = true;
        } else if (t.Token == retk_RBra) {
            inClass = false;
        }
        if (t.Token != retk_Char || inClass) {
            AppendTokenText(t);
            ++i;
            continue;
        }
        int j = i;
        while (j < count && FTokenList[static_cast<std::size_t>(j)].Token == retk_Char) {
            ++j;
        }
        // A postfix operator after the run repeats only its last character, so that
        // character is rewritten on its own: a group of several characters in its
        // place would change what the operator applies to.
        if (j < count && IsPostfixToken(FTokenList[static_cast<std::size_t>(j)].Token)) {
            RewriteRun(Find, i, j - 1);
            RewriteRun(Find, j - 1, j);
        } else {
            RewriteRun(Find, i, j);
        }
        i = j;
    }
}

void TREPreProcessor::RewriteRun(TREPreProcessorFindFunc Find, int from, int to) {
    int i = from;
    while (i < to) {
        const int r = (this->*Find)(i, to);
        if (r > i && r <= to) {
            FProcessedRegExpStr += FReplaceStr;
            i = r;
        } else {
            AppendTokenText(FTokenList[static_cast<std::size_t>(i)]);
            ++i;
        }
    }
}

int TREPreProcessor::ReferToOneList(int FromTokenIndex, int ToTokenIndex, const REDictionary_t &Dic) {
    if (FromTokenIndex < 0 || ToTokenIndex > static_cast<int>(FTokenList.size())) {
        return -1;
    }
    for (const REDicRow_t &row : Dic) {
        for (const std::string &form : row) {
            if (!IsUsableForm(form)) {
                continue;
            }
            const int formLen = static_cast<int>(form.size());
            int index = 1;
            int token = FromTokenIndex;
            bool matched = true;
            while (index <= formLen) {
                if (token >= ToTokenIndex) {
                    matched = false;
                    break;
                }
                const WChar_t c = GetWChar(form, index);
                if (c != FTokenList[static_cast<std::size_t>(token)].Symbol.WChar) {
                    matched = false;
                    break;
                }
                ++token;
            }
            if (!matched) {
                continue;
            }
            std::string replace = "(";
            bool first = true;
            for (const std::string &alt : row) {
                if (!IsUsableForm(alt)) {
                    continue;
                }
                if (!first) {
                    replace += '|';
                }
                replace += QuoteMetaWChar(alt);
                first = false;
            }
            replace += ')';
            FReplaceStr = std::move(replace);
            return token;
        }
    }
    return -1;
}

int TREPreProcessor::FindInList(const REDictionaryList_t &list, int FromTokenIndex, int ToTokenIndex) {
    for (const REpDictionary_t &dic : list) {
        if (!dic) {
            continue;
        }
        const int r = ReferToOneList(FromTokenIndex, ToTokenIndex, *dic);
        if (r != -1) {
            return r;
        }
    }
    return -1;
}

int TREPreProcessor::FindSynonym(int FromTokenIndex, int ToTokenIndex) {
    return FindInList(FListOfSynonymDic, FromTokenIndex, ToTokenIndex);
}

int TREPreProcessor::FindFuzzyWChar(int FromTokenIndex, int ToTokenIndex) {
    return FindInList(FListOfFuzzyCharDic, FromTokenIndex, ToTokenIndex);
}
