#include "ui/ini_file.h"

#include <utility>

#include "platform/platform.h"
#include "platform/strutil.h"
#include "ui/form_texts.h"

namespace {

bool SameName(const std::string& a, const std::string& b) { return qv::platform::CompareTextIgnoreCase(a, b) == 0; }

}  // namespace

TIniFile::TIniFile(std::string path) : path_(std::move(path))
{
    std::string text;
    if (!qv::platform::ReadWholeFile(path_, text)) return;
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
        else if (end < text.size() && text[end] == '\n') ++pos;

        if (line.empty() || line[0] == ';') continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            sections_.push_back(Section{line.substr(1, line.size() - 2), {}});
            current = &sections_.back();
            continue;
        }
        if (!current) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) current->entries.push_back(Entry{line, std::string(), false});
        else current->entries.push_back(Entry{line.substr(0, eq), line.substr(eq + 1), true});
    }
}

const TIniFile::Section* TIniFile::FindSection(const std::string& name) const
{
    for (const Section& section : sections_)
        if (SameName(section.name, name)) return &section;
    return nullptr;
}

TIniFile::Section* TIniFile::FindSection(const std::string& name)
{
    for (Section& section : sections_)
        if (SameName(section.name, name)) return &section;
    return nullptr;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& fallback) const
{
    if (const Section* s = FindSection(section))
        for (const Entry& entry : s->entries)
            if (entry.hasEquals && SameName(entry.key, key)) return entry.value;
    return fallback;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const
{
    return qv::StrToIntDef(ReadString(section, key, std::string()), fallback);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

std::vector<std::pair<std::string, std::string>> TIniFile::ReadSection(const std::string& section) const
{
    std::vector<std::pair<std::string, std::string>> result;
    if (const Section* s = FindSection(section))
        for (const Entry& entry : s->entries)
            if (entry.hasEquals) result.emplace_back(entry.key, entry.value);
    return result;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    if (value.find_first_of("\r\n") != std::string::npos) throw qv::Exception(qv::form_texts::IniValueWithLineBreak(key));
    Section* target = FindSection(section);
    if (!target) {
        sections_.push_back(Section{section, {}});
        target = &sections_.back();
    }
    for (Entry& entry : target->entries) {
        if (entry.hasEquals && SameName(entry.key, key)) {
            entry.value = value;
            return;
        }
    }
    target->entries.push_back(Entry{key, value, true});
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

std::string TIniFile::Serialize() const
{
    std::string text;
    for (const Section& section : sections_) {
        text += "[" + section.name + "]\r\n";
        for (const Entry& entry : section.entries) {
            text += entry.key;
            if (entry.hasEquals) text += "=" + entry.value;
            text += "\r\n";
        }
        text += "\r\n";
    }
    return text;
}

void TIniFile::UpdateFile() const { qv::platform::ReplaceWholeFile(path_, Serialize()); }
