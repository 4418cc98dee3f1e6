// Dictionaries of equivalent forms used by the preprocessor, and the built-in
// equivalent-character dictionary: full-width and half-width forms, hiragana and
// katakana, voiced-mark spellings, treated as one character each.
#pragma once

#include <memory>
#include <string>
#include <vector>

// One row: equivalent forms, each a CP932 string of one or more characters. The
// order of the forms is the order of the alternatives written for the row.
using REDicRow_t = std::vector<std::string>;
// A dictionary: rows in order; at each position the first row holding a form that
// matches is taken.
using REDictionary_t = std::vector<REDicRow_t>;
// Shared so that a dictionary outlives every preprocessor that still refers to it.
using REpDictionary_t = std::shared_ptr<const REDictionary_t>;
// Dictionaries searched in order; earlier dictionaries win.
using REDictionaryList_t = std::vector<REpDictionary_t>;

constexpr int RE_FUZZYCHARDIC_ROWS = 145;
constexpr int RE_FUZZYCHARDIC_MAXFORMS = 10;

// The built-in table: row r lists its forms as CP932 strings, ended by a null entry.
extern const char *const REFuzzyWChars[RE_FUZZYCHARDIC_ROWS][RE_FUZZYCHARDIC_MAXFORMS + 1];

// The built-in dictionary, built from REFuzzyWChars on first use and never changed
// afterwards; safe to share between any number of preprocessors.
const REpDictionary_t &RE_FuzzyCharDic();
