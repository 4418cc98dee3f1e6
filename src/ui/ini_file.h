// The settings file's reader and writer: the whole file is read into memory when the object is
// created, sections and keys are matched with case ignored, and UpdateFile writes the whole
// file back by replacing it (temporary file beside it, then a rename).
#pragma once

#include <string>
#include <vector>

class TIniFile {
public:
    // Reads `path`; a missing file reads as empty. Throws qv::EInOutError when the file exists
    // but cannot be read.
    explicit TIniFile(std::string path);

    // The value of `key` in `section` (first matching line), or `fallback` when absent.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    // The value converted as an integer (decimal, or 0x hexadecimal), else `fallback`.
    int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
    // An integer, non-zero meaning true.
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;
    // Every key line of `section` in file order (key, value); empty when the section is absent.
    std::vector<std::pair<std::string, std::string>> ReadSection(const std::string& section) const;

    // Replaces the value of an existing key where it stands, or appends the key at the end of
    // its section; a new section goes after the last one. A value holding CR or LF cannot be
    // stored on one line and is refused with qv::Exception.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // Writes the file back: each section's header, its entries, one empty line; CR LF line ends.
    // Throws qv::EFCreateError / qv::EInOutError; the old file then stays as it was.
    void UpdateFile() const;

    // The text UpdateFile writes.
    std::string Serialize() const;

    const std::string& FileName() const { return path_; }

private:
    struct Entry {
        std::string key;
        std::string value;
        bool hasEquals;  // a line without "=" has no key: kept as it was read, never matched
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    const Section* FindSection(const std::string& name) const;
    Section* FindSection(const std::string& name);

    std::string path_;
    std::vector<Section> sections_;
};
