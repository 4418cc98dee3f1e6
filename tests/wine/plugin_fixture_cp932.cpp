#include "plugin_fixture.h"

#include "ui/win32/win32_control_ids.h"

namespace qvtest {

const char kFolderName[] = "受信箱";
const char kDialogCaption[] = "エクスポート受信箱";
const char kSearchText[] = "ターゲット";
const char kMenuCaption[] = "エクスポートプラグイン";
const char kCommandDescription[] = "指定した条件に該当するメールをエクスポートする";
const char kWarningCaption[] = "警告";
const char kDirNotFound[] = "指定されたフォルダが見つかりませんでした。\n処理を終了します。";
const char kErrorCaption[] = "エクスポート";

void WriteTestMails(const std::string& dir)
{
    WriteFile(dir + "\\01.eml", "From: a@example.jp\r\nSubject: お知らせ\r\n\r\n本文にターゲットがあります。\r\n");
    WriteFile(dir + "\\02.eml", "From: b@example.jp\r\nSubject: 既読\r\n\r\nこれもターゲットです。\r\n");
    WriteFile(dir + "\\03.eml", "From: c@example.jp\r\nSubject: ターゲット\r\n\r\n本文には何もありません。\r\n");
    WriteFile(dir + "\\04.eml", "From: d@example.jp\nSubject: 表示\n\nターゲット\nソ");
    WriteFile(dir + "\\" + TMailFolder::kStateFileName,
              std::string("name=") + kFolderName + "\r\n01.eml -\r\n02.eml R\r\n03.eml -\r\n04.eml -\r\n");
}

std::string Mail04AsExported() { return "From: d@example.jp\r\nSubject: 表示\r\n\r\nターゲット\r\nソ\r\n"; }

bool PluginHost::Start(const std::string& version, const std::string& dllName)
{
    WriteTestMails(mails_.Path());
    dllPath_ = pluginDir_ / dllName;
    if (!::CopyFileA(PluginPath().c_str(), dllPath_.c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy " << PluginPath();
        return false;
    }
    folder_ = std::make_unique<TMailFolder>(mails_.Path());
    host_ = std::make_unique<TStandInHost>(*folder_);
    host_->SetVersion(version);
    win_ = std::make_unique<TWinHost>(*host_);
    return win_->Load(dllPath_);
}

UINT PluginHost::AddMenuItem()
{
    win_->MenuInit(0);
    const auto items = win_->SubMenuItems(4);
    return items.empty() ? 0 : items.back().Id;
}

HWND PluginHost::WaitForDialog()
{
    return WaitForWindow([](HWND window) {
        return ClassName(window) == "#32770" && WindowText(window) == kDialogCaption &&
               FindControl(window, qv::ui::ids::PageControl1) != nullptr;
    });
}

}  // namespace qvtest
