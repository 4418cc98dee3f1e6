// The stand-in host's mail folder: a directory holding one file per mail (the mail's source;
// the walk follows file-name byte order) and a small human-editable state file beside the
// mails with the folder's display name and each mail's read and selected flags.
//
// State file "folder.state" (CP932, any line end; ';' starts a comment line):
//     name=受信箱
//     01.eml R        R: read, S: selected, -: neither
//     02.eml RS
// A mail missing from it is unread and not selected; without a name line the display name is
// the directory's own name. The file is rewritten whole whenever a flag changes.
#pragma once

#include <string>
#include <vector>

struct TMail {
    std::string Id;      // the file name
    std::string Source;  // the file's bytes
    bool Read = false;
    bool Selected = false;
};

class TMailFolder {
public:
    static constexpr const char* kStateFileName = "folder.state";

    // Reads every mail and the state file of `dir`. Throws qv::EInOutError when the directory
    // is missing or a file in it cannot be read.
    explicit TMailFolder(std::string dir);

    const std::string& Dir() const { return dir_; }
    const std::string& DisplayName() const { return displayName_; }
    void SetDisplayName(std::string name) { displayName_ = std::move(name); }

    std::vector<TMail>& Mails() { return mails_; }
    const std::vector<TMail>& Mails() const { return mails_; }
    // The mail with this identifier, or null.
    TMail* Find(const std::string& id);

    // Writes the state file back (whole-file replacement).
    void SaveState() const;
    // The text SaveState writes.
    std::string StateText() const;

    // The part of a source before its first empty line (header), and after it (body).
    static std::string HeaderOf(const std::string& source);
    static std::string BodyOf(const std::string& source);

private:
    std::string dir_;
    std::string displayName_;
    std::vector<TMail> mails_;
};
