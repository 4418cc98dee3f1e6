#include "ui/form_export.h"

#include <algorithm>
#include <climits>
#include <map>

#include "platform/platform.h"
#include "platform/strutil.h"
#include "ui/form_texts.h"
#include "ui/ini_file.h"
#include "ui/toolkit.h"

namespace {

constexpr std::size_t kMaxHistory = 10;

// The index of a key History<n> (n decimal without leading zeros, case ignored), or -1.
int HistoryKeyIndex(const std::string& key)
{
    static const std::string prefix = "History";
    if (key.size() <= prefix.size() || qv::platform::CompareTextIgnoreCase(key.substr(0, prefix.size()), prefix) != 0)
        return -1;
    const std::string digits = key.substr(prefix.size());
    if (digits.size() > 1 && digits[0] == '0') return -1;
    long long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
        if (value > INT_MAX) return -1;
    }
    return static_cast<int>(value);
}

}  // namespace

bool IsDirectoryExists(const std::string& path) { return qv::platform::DirectoryExists(path); }

TFormExport::TFormExport(TToolkit& toolkit) : toolkit_(toolkit)
{
    qv::form_texts::ApplyExportResource(*this);
    IniFileName.clear();
    PageControl1.ActivePageIndex = 0;
    OkPressed = false;
}

TFormExport::~TFormExport() = default;

void TFormExport::LoadSettings(const std::string& iniPath)
{
    IniFileName = iniPath;
    LoadHistory(ComboBoxDir.Items, "DirHistory");
    LoadHistory(ComboBoxFindStr.Items, "FindHistory");
    if (!ComboBoxDir.Items.empty()) ComboBoxDir.Text = ComboBoxDir.Items.front();
    if (!ComboBoxFindStr.Items.empty()) ComboBoxFindStr.Text = ComboBoxFindStr.Items.front();

    const TIniFile ini(IniFileName);
    CheckBoxCloseMailOnly.Checked = ini.ReadBool("State", "CloseMailOnly", false);
    CheckBoxMailOpen.Checked = ini.ReadBool("State", "MailOpen", false);
    CheckBoxSelectMail.Checked = ini.ReadBool("State", "SelectMail", false);
    RadioGroupFindPos.ItemIndex = std::clamp(ini.ReadInteger("State", "FindPos", 0), -1, 2);
    CheckBoxUpperCase.Checked = ini.ReadBool("State", "UpperCase", false);
    CheckBoxRegexp.Checked = ini.ReadBool("State", "Regexp", false);
}

void TFormExport::LoadHistory(std::vector<std::string>& entries, const std::string& section)
{
    const TIniFile ini(IniFileName);
    const int count = ini.ReadInteger(section, "Count", 0);
    if (count <= 0) return;
    // Same result as reading History0 .. History<Count-1> one key at a time (a key's value is
    // its first line), without walking a huge Count from a hand-edited file.
    std::map<int, std::string> byIndex;
    for (const auto& [key, value] : ini.ReadSection(section)) {
        const int index = HistoryKeyIndex(key);
        if (index >= 0 && index < count) byIndex.emplace(index, value);
    }
    for (const auto& [index, value] : byIndex)
        if (!value.empty()) entries.push_back(value);
}

void TFormExport::SaveHistory(const std::string& text, const std::vector<std::string>& entries,
                              const std::string& section)
{
    if (text.empty()) return;
    std::vector<std::string> work(entries);
    const auto same = std::find_if(work.begin(), work.end(), [&](const std::string& entry) {
        return qv::platform::CompareTextIgnoreCase(entry, text) == 0;
    });
    if (same != work.end()) work.erase(same);
    work.insert(work.begin(), text);
    const std::size_t n = std::min(work.size(), kMaxHistory);

    TIniFile ini(IniFileName);
    ini.WriteInteger(section, "Count", static_cast<int>(n));
    for (std::size_t i = 0; i < n; ++i) ini.WriteString(section, "History" + std::to_string(i), work[i]);
    ini.UpdateFile();
}

void TFormExport::SaveState()
{
    TIniFile ini(IniFileName);
    ini.WriteBool("State", "CloseMailOnly", CheckBoxCloseMailOnly.Checked);
    ini.WriteBool("State", "MailOpen", CheckBoxMailOpen.Checked);
    ini.WriteBool("State", "SelectMail", CheckBoxSelectMail.Checked);
    ini.WriteInteger("State", "FindPos", RadioGroupFindPos.ItemIndex);
    ini.WriteBool("State", "UpperCase", CheckBoxUpperCase.Checked);
    ini.WriteBool("State", "Regexp", CheckBoxRegexp.Checked);
    ini.UpdateFile();
}

void TFormExport::ShowModal()
{
    std::unique_ptr<TExportDialogView> view = toolkit_.CreateExportDialog(*this);
    struct ViewScope {
        TExportDialogView*& slot;
        ~ViewScope() { slot = nullptr; }
    } scope{view_};
    view_ = view.get();
    view->ShowModal();
}

void TFormExport::Close()
{
    if (view_) view_->Close();
}

void TFormExport::Click(Button button)
{
    try {
        if (button == Button::OK) BtnOKClick();
        else BtnDirClick();
    } catch (const std::exception& error) {
        toolkit_.ShowError(error.what());
    }
}

void TFormExport::BtnOKClick()
{
    if (!IsDirectoryExists(ComboBoxDir.Text)) {
        toolkit_.ShowWarning(qv::form_texts::DirNotFound());
        return;
    }
    OkPressed = true;
    ComboBoxDir.Text = qv::IncludeTrailingPathDelimiter(ComboBoxDir.Text);
    try {
        SaveHistory(ComboBoxDir.Text, ComboBoxDir.Items, "DirHistory");
        SaveHistory(ComboBoxFindStr.Text, ComboBoxFindStr.Items, "FindHistory");
        SaveState();
    } catch (...) {
        // The dialog stays open after a failed save; a later Cancel must not start the export.
        OkPressed = false;
        throw;
    }
    Close();
}

void TFormExport::BtnDirClick()
{
    std::string path;
    if (toolkit_.PickFolder(qv::form_texts::FolderBrowserTitle(), path)) ComboBoxDir.Text = path;
    if (view_) view_->BringToFront();
}
