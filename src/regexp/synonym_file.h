// Synonym dictionaries for the preprocessor, read from CP932 text: one row a line,
// the forms of a row separated by commas.
//
// Format:
// - Lines end in CR LF, LF or CR. A line that is empty or holds only spaces and tabs
//   is skipped; every other line is one row.
// - Spaces and tabs around each form are dropped; inside a form they are kept. There
//   is no quoting, so a form cannot contain a comma.
// - Malformed, reported with the 1-based line number: an empty form (two commas in a
//   row, a comma at the start or end of a line), a row with only one form, a lead byte
//   at the end of a line or followed by a byte that cannot be a trail byte, a zero byte
//   or another control character (tabs excepted).
#pragma once

#include <string>

#include "platform/platform.h"
#include "regexp/fuzzy_dictionary.h"

class ESynonymDicError : public qv::Exception {
public:
    enum Kind {
        sdeCannotRead,   // the file could not be opened or read (LineNo 0)
        sdeEmptyForm,
        sdeSingleForm,
        sdeBrokenDBCS,   // lone lead byte or invalid trail byte
        sdeControlChar,  // zero byte or other control character
    };
    ESynonymDicError(Kind kind, int lineNo, const std::string &message)
        : qv::Exception(message), ErrorKind(kind), LineNo(lineNo) {}

    Kind ErrorKind;
    int LineNo;
};

// Parses dictionary text. SourceName, when not empty, is named in error messages.
// Raises ESynonymDicError (CP932 message naming the line) for malformed text.
REDictionary_t ParseSynonymDic(const std::string &text, const std::string &sourceName = std::string());

// Reads and parses a dictionary file. Raises ESynonymDicError.
REDictionary_t LoadSynonymDic(const std::string &fileName);
