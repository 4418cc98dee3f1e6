#include "mail_folder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/platform.h"

namespace {

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        if (end == text.size()) break;
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    }
    return lines;
}

bool IsFlagWord(const std::string& word)
{
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return c == 'R' || c == 'r' || c == 'S' || c == 's' || c == '-';
    });
}

// Where the first empty line starts and where the body after it starts; npos when none.
std::pair<std::size_t, std::size_t> FindEmptyLine(const std::string& source)
{
    std::size_t pos = 0;
    while (pos < source.size()) {
        if (source[pos] == '\n') return {pos, pos + 1};
        if (source[pos] == '\r') return {pos, pos + (pos + 1 < source.size() && source[pos + 1] == '\n' ? 2 : 1)};
        std::size_t end = source.find_first_of("\r\n", pos);
        if (end == std::string::npos) break;
        pos = end + (source[end] == '\r' && end + 1 < source.size() && source[end + 1] == '\n' ? 2 : 1);
    }
    return {std::string::npos, std::string::npos};
}

}  // namespace

TMailFolder::TMailFolder(std::string dir) : dir_(std::move(dir))
{
    if (!qv::platform::DirectoryExists(dir_))
        throw qv::EInOutError("mail folder " + dir_ + " not found (or not a directory)");

    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(std::filesystem::path(dir_), ec);
    if (ec) throw qv::EInOutError("cannot read mail folder " + dir_ + ": " + ec.message());
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec) throw qv::EInOutError("cannot read mail folder " + dir_ + ": " + ec.message());
        const std::string name = it->path().filename().string();
        // The state file and its temporary copies are not mails.
        if (name.empty() || name[0] == '.' || name.compare(0, std::string(kStateFileName).size(), kStateFileName) == 0)
            continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        TMail mail;
        mail.Id = name;
        qv::platform::ReadWholeFile(dir_ + "\\" + name, mail.Source);
        mails_.push_back(std::move(mail));
    }

    displayName_ = std::filesystem::path(dir_).filename().string();
    if (displayName_.empty()) displayName_ = std::filesystem::path(dir_).parent_path().filename().string();
    std::string state;
    if (!qv::platform::ReadWholeFile(dir_ + "\\" + kStateFileName, state)) return;
    for (const std::string& line : SplitLines(state)) {
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.compare(0, 5, "name=") == 0) {
            displayName_ = line.substr(5);
            continue;
        }
        std::string id = line;
        std::string flags;
        const std::size_t space = line.find_last_of(" \t");
        if (space != std::string::npos && IsFlagWord(line.substr(space + 1))) {
            flags = line.substr(space + 1);
            id = line.substr(0, line.find_last_not_of(" \t", space) + 1);
        }
        if (TMail* mail = Find(id)) {
            mail->Read = flags.find_first_of("Rr") != std::string::npos;
            mail->Selected = flags.find_first_of("Ss") != std::string::npos;
        }
    }
}

TMail* TMailFolder::Find(const std::string& id)
{
    for (TMail& mail : mails_)
        if (mail.Id == id) return &mail;
    return nullptr;
}

std::string TMailFolder::StateText() const
{
    std::string text = "; Stand-in host folder state: one line per mail, flags R read, S selected, - neither\r\n";
    text += "name=" + displayName_ + "\r\n";
    for (const TMail& mail : mails_) {
        std::string flags = std::string(mail.Read ? "R" : "") + (mail.Selected ? "S" : "");
        text += mail.Id + " " + (flags.empty() ? "-" : flags) + "\r\n";
    }
    return text;
}

void TMailFolder::SaveState() const { qv::platform::ReplaceWholeFile(dir_ + "\\" + kStateFileName, StateText()); }

std::string TMailFolder::HeaderOf(const std::string& source)
{
    const auto [start, body] = FindEmptyLine(source);
    (void)body;
    return start == std::string::npos ? source : source.substr(0, start);
}

std::string TMailFolder::BodyOf(const std::string& source)
{
    const auto [start, body] = FindEmptyLine(source);
    (void)start;
    return body == std::string::npos ? std::string() : source.substr(body);
}
