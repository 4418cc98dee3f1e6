// A stand-in host in this test program (which exports the QVA_ functions) serving a small
// Japanese mail folder, with the plug-in DLL copied into a folder of its own so that its
// settings file lands there; and the export dialog worked through window messages.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "mail_folder.h"
#include "stand_in_host.h"
#include "win_host.h"
#include "wine_support.h"

namespace qvtest {

// Texts of the test folder and of the plug-in's windows (CP932).
extern const char kFolderName[];        // 受信箱
extern const char kDialogCaption[];     // エクスポート受信箱
extern const char kSearchText[];        // ターゲット
extern const char kMenuCaption[];       // エクスポートプラグイン
extern const char kCommandDescription[];
extern const char kWarningCaption[];    // 警告
extern const char kDirNotFound[];       // the warning's two lines
extern const char kErrorCaption[];      // caption of the box of a failed command

// The folder: 01 unread with the search text in its body, 02 read with it in its body,
// 03 unread with it only in its header, 04 unread with it in its body and LF line ends.
void WriteTestMails(const std::string& dir);
// Source of mail 04 as the export writes it (CR LF line ends).
std::string Mail04AsExported();

class PluginHost : public ::testing::Test {
protected:
    // Copies the plug-in as `dllName` into PluginDir and loads it into a host of `version`.
    bool Start(const std::string& version = "2.00.06", const std::string& dllName = "qvexport.dll");
    // MenuInit(0) and the id of the item it appended to the fifth sub-menu.
    UINT AddMenuItem();
    std::string FolderState() const { return ReadFile(mails_ / TMailFolder::kStateFileName); }

    // The export dialog of the command in progress, once it is shown.
    static HWND WaitForDialog();

    TTempDir pluginDir_;
    TTempDir mails_;
    TTempDir target_;
    std::string dllPath_;
    std::unique_ptr<TMailFolder> folder_;
    std::unique_ptr<TStandInHost> host_;
    std::unique_ptr<TWinHost> win_;
};

}  // namespace qvtest
