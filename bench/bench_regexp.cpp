// Compile and match figures of the regular-expression engine: compiling typical
// expressions, and MatchStd / MatchEX over a mail-sized and a large CP932 text.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>

#include "regexp/dfa.h"
#include "regexp/matchcore.h"

namespace {

// A CP932 text shaped like mail: ASCII header lines, then body lines mixing hiragana,
// kanji, katakana, full-width punctuation and ASCII words, with CR LF line ends.
std::string MakeMailText(std::size_t size) {
    std::mt19937 rng(932);
    std::string text =
        "From: sender@example.co.jp\r\nTo: someone@example.com\r\nSubject: meeting notes\r\n"
        "Date: Fri, 11 Dec 2026 09:00:00 +0900\r\nContent-Type: text/plain; charset=Shift_JIS\r\n\r\n";
    const char *words[] = {"meeting", "schedule", "report", "2026", "OK", "Quarvel", "plug-in"};
    std::size_t column = 0;
    while (text.size() < size) {
        const unsigned pick = rng() % 10;
        if (pick < 4) {  // hiragana 0x829F-0x82F1
            const unsigned c = 0x829F + rng() % 0x53;
            text += static_cast<char>(c >> 8);
            text += static_cast<char>(c & 0xFF);
            column += 2;
        } else if (pick < 6) {  // kanji of the first level, 0x889F-0x88FC
            const unsigned c = 0x889F + rng() % 0x5E;
            text += static_cast<char>(c >> 8);
            text += static_cast<char>(c & 0xFF);
            column += 2;
        } else if (pick < 7) {  // katakana with trail bytes in the ASCII range, 0x8340-0x837E
            const unsigned c = 0x8340 + rng() % 0x3F;
            text += static_cast<char>(c >> 8);
            text += static_cast<char>(c & 0xFF);
            column += 2;
        } else if (pick < 8) {
            text += "\x81\x42";  // 。
            column += 2;
        } else {
            text += ' ';
            text += words[rng() % (sizeof words / sizeof words[0])];
            column += 8;
        }
        if (column > 70) {
            text += "\r\n";
            column = 0;
        }
    }
    text.resize(size);
    // Never end in the middle of a double-byte character.
    std::size_t i = 0;
    while (i < text.size()) i += IsCP932LeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i > text.size()) text.pop_back();
    return text;
}

const std::string &MailText() {
    static const std::string text = MakeMailText(4 * 1024);
    return text;
}

const std::string &LargeText() {
    static const std::string text = MakeMailText(1024 * 1024);
    return text;
}

const char *const kLiteral = "Quarvel export plug-in settings";
const char *const kClassHeavy =
    "[A-Za-z0-9_.+-]+@[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)*\\.(com|net|org|jp)[^A-Za-z0-9]";
const char *const kAlternationHeavy =
    "(January|February|March|April|May|June|July|August|September|October|November|December)"
    " [0-9]+, (Monday|Tuesday|Wednesday|Thursday|Friday|Saturday|Sunday)|"
    "\x90\xBF\x8B\x81\x8F\x91|\x8C\xA9\x90\xCF\x8F\x91|\x94\x5B\x95\x69\x8F\x91";  // 請求書|見積書|納品書

void Compile(benchmark::State &state, const char *expr) {
    for (auto _ : state) {
        TREParser parser(expr);
        parser.Run();
        TRE_NFA nfa(&parser, RE_LINEHEAD_WCHAR, RE_LINETAIL_WCHAR);
        nfa.Run();
        TRE_DFA dfa(&nfa);
        dfa.Run();
        benchmark::DoNotOptimize(dfa.pInitialState);
    }
}
BENCHMARK_CAPTURE(Compile, Literal, kLiteral);
BENCHMARK_CAPTURE(Compile, ClassHeavy, kClassHeavy);
BENCHMARK_CAPTURE(Compile, AlternationHeavy, kAlternationHeavy);

// A DFA of 2^12 + 1 states: finding existing states dominates.
void CompileManyStates(benchmark::State &state) {
    std::string expr = "(a|b)*a";
    for (int i = 0; i < 11; ++i) expr += "(a|b)";
    Compile(state, expr.c_str());
}
BENCHMARK(CompileManyStates)->Unit(benchmark::kMillisecond);

// Texts hold no match, so every start position is tried.
void Match(benchmark::State &state, const std::string &text, const char *expr, bool ex) {
    TMatchCORE m;
    m.SetRegExp(expr);
    const char *s = nullptr;
    const char *e = nullptr;
    for (auto _ : state) {
        if (ex)
            m.MatchEX(text.c_str(), s, e);
        else
            m.MatchStd(text.c_str(), s, e);
        benchmark::DoNotOptimize(s);
        benchmark::DoNotOptimize(e);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

const char *const kAnchored = "^Subject:.*\x90\xBF\x8B\x81$";  // ^Subject:.*請求$

void MatchStd_Mail_Literal(benchmark::State &s) { Match(s, MailText(), kLiteral, false); }
void MatchStd_Mail_ClassHeavy(benchmark::State &s) { Match(s, MailText(), kClassHeavy, false); }
void MatchStd_Mail_AlternationHeavy(benchmark::State &s) { Match(s, MailText(), kAlternationHeavy, false); }
void MatchEX_Mail_Anchored(benchmark::State &s) { Match(s, MailText(), kAnchored, true); }
void MatchStd_1MB_Literal(benchmark::State &s) { Match(s, LargeText(), kLiteral, false); }
void MatchStd_1MB_ClassHeavy(benchmark::State &s) { Match(s, LargeText(), kClassHeavy, false); }
void MatchStd_1MB_AlternationHeavy(benchmark::State &s) { Match(s, LargeText(), kAlternationHeavy, false); }
void MatchEX_1MB_Anchored(benchmark::State &s) { Match(s, LargeText(), kAnchored, true); }
BENCHMARK(MatchStd_Mail_Literal);
BENCHMARK(MatchStd_Mail_ClassHeavy);
BENCHMARK(MatchStd_Mail_AlternationHeavy);
BENCHMARK(MatchEX_Mail_Anchored);
BENCHMARK(MatchStd_1MB_Literal)->Unit(benchmark::kMillisecond);
BENCHMARK(MatchStd_1MB_ClassHeavy)->Unit(benchmark::kMillisecond);
BENCHMARK(MatchStd_1MB_AlternationHeavy)->Unit(benchmark::kMillisecond);
BENCHMARK(MatchEX_1MB_Anchored)->Unit(benchmark::kMillisecond);

// A 1 MB line with no match for '.*x': every walk runs to the end of the line unless
// dead ends are remembered.
const std::string &LongLine() {
    static const std::string text(1024 * 1024, 'a');
    return text;
}
void MatchStd_1MBLine_DotStar(benchmark::State &s) { Match(s, LongLine(), ".*x", false); }
void MatchEX_1MBLine_DotStarTail(benchmark::State &s) { Match(s, LongLine(), ".*x$", true); }
BENCHMARK(MatchStd_1MBLine_DotStar)->Unit(benchmark::kMillisecond);
BENCHMARK(MatchEX_1MBLine_DotStarTail)->Unit(benchmark::kMillisecond);

// Every match in turn, each search starting after the previous match as a global
// substitution does: blocks of 4100 'a' and a 'b', searched with 'a*x|b', so that each
// search walks long enough to start remembering dead ends.
void MatchStd_1MB_EveryMatch(benchmark::State &state) {
    static const std::string text = [] {
        std::string t;
        while (t.size() < 1024 * 1024) t += std::string(4100, 'a') + 'b';
        return t;
    }();
    TMatchCORE m;
    m.SetRegExp("a*x|b");
    for (auto _ : state) {
        std::size_t count = 0;
        const char *s = nullptr;
        const char *e = text.c_str();
        for (;;) {
            m.MatchStd(e, s, e);
            if (s == nullptr) break;
            ++count;
        }
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(MatchStd_1MB_EveryMatch)->Unit(benchmark::kMillisecond);

// One DFA step per character of the large text, through the tables and by list walk.
template <RE_pDFAState_t (*Step)(const RE_DFAState_t *, WChar_t)>
void StepAlongText(benchmark::State &state) {
    TMatchCORE m;
    m.SetRegExp(kClassHeavy);
    const RE_pDFAState_t s0 = m.GetpInitialDFAState();
    const std::string &text = LargeText();
    for (auto _ : state) {
        std::size_t hits = 0;
        for (const char *p = text.c_str(); *p != '\0';) {
            const WChar_t wc = PCharGetWChar(p);
            hits += Step(s0, wc) != nullptr;
        }
        benchmark::DoNotOptimize(hits);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
RE_pDFAState_t ByTables(const RE_DFAState_t *s, WChar_t wc) { return RE_NextDFAState(s, wc); }
RE_pDFAState_t ByList(const RE_DFAState_t *s, WChar_t wc) { return RE_NextDFAStateByList(s, wc); }
BENCHMARK_TEMPLATE(StepAlongText, ByTables)->Name("Step_1MB_Tables")->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(StepAlongText, ByList)->Name("Step_1MB_ListWalk")->Unit(benchmark::kMillisecond);

}  // namespace
