// Reading synonym dictionaries from CP932 text. This unit is compiled with the CP932
// execution charset: its messages are CP932 bytes.
#include "regexp/synonym_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <sstream>

#include "regexp/chars.h"

namespace {

bool IsBlank(unsigned char b) { return b == ' ' || b == '\t'; }

bool IsTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

std::string Trim(const std::string &s) {
    std::size_t from = 0;
    std::size_t to = s.size();
    while (from < to && IsBlank(static_cast<unsigned char>(s[from]))) ++from;
    while (to > from && IsBlank(static_cast<unsigned char>(s[to - 1]))) --to;
    return s.substr(from, to - from);
}

[[noreturn]] void Fail(ESynonymDicError::Kind kind, const std::string &sourceName, int lineNo,
                       const char *what) {
    std::ostringstream msg;
    if (sourceName.empty()) {
        msg << "同義語辞書の " << lineNo << " 行目: " << what;
    } else {
        msg << "同義語辞書 \"" << sourceName << "\" の " << lineNo << " 行目: " << what;
    }
    throw ESynonymDicError(kind, lineNo, msg.str());
}

// Splits one line (line end removed) into its forms; an empty result means a blank line.
REDicRow_t ParseLine(const std::string &line, const std::string &sourceName, int lineNo) {
    REDicRow_t row;
    if (Trim(line).empty()) {
        return row;
    }
    std::string form;
    const std::size_t n = line.size();
    for (std::size_t k = 0; k < n; ++k) {
        const auto b = static_cast<unsigned char>(line[k]);
        if (IsCP932LeadByte(b)) {
            if (k + 1 >= n || !IsTrailByte(static_cast<unsigned char>(line[k + 1]))) {
                Fail(ESynonymDicError::sdeBrokenDBCS, sourceName, lineNo, "不正な２バイト文字があります。");
            }
            form += line[k];
            form += line[k + 1];
            ++k;
        } else if (b == ',') {
            row.push_back(Trim(form));
            form.clear();
        } else if ((b < 0x20 && b != '\t') || b == 0x7F) {
            Fail(ESynonymDicError::sdeControlChar, sourceName, lineNo, "制御文字があります。");
        } else {
            form += line[k];
        }
    }
    row.push_back(Trim(form));
    for (const std::string &f : row) {
        if (f.empty()) {
            Fail(ESynonymDicError::sdeEmptyForm, sourceName, lineNo, "空の語があります。");
        }
    }
    if (row.size() < 2) {
        Fail(ESynonymDicError::sdeSingleForm, sourceName, lineNo, "語が一つしかありません。");
    }
    return row;
}

}  // namespace

REDictionary_t ParseSynonymDic(const std::string &text, const std::string &sourceName) {
    REDictionary_t dic;
    int lineNo = 0;
    std::size_t pos = 0;
    const std::size_t n = text.size();
    while (pos < n) {
        ++lineNo;
        // A line ends at CR or LF; a CR LF pair is one line end. Neither byte occurs
        // as a trail byte, so searching bytes is safe here.
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = n;
        REDicRow_t row = ParseLine(text.substr(pos, end - pos), sourceName, lineNo);
        if (!row.empty()) {
            dic.push_back(std::move(row));
        }
        pos = end;
        if (pos < n && text[pos] == '\r') ++pos;
        if (pos < n && text[pos] == '\n' && (pos == end || text[pos - 1] == '\r')) ++pos;
    }
    return dic;
}

REDictionary_t LoadSynonymDic(const std::string &fileName) {
    std::error_code ec;
    const bool isDirectory = std::filesystem::is_directory(fileName, ec);
    std::ifstream in;
    if (!isDirectory) {
        in.open(fileName, std::ios::binary);
    }
    std::string text;
    if (in) {
        std::ostringstream buffer;
        buffer << in.rdbuf();
        text = buffer.str();
    }
    if (isDirectory || !in || in.bad()) {
        throw ESynonymDicError(ESynonymDicError::sdeCannotRead, 0,
                               "同義語辞書 \"" + fileName + "\" を読めません。");
    }
    return ParseSynonymDic(text, fileName);
}
