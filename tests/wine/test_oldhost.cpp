// The plug-in in hosts that lack a function: this program exports every QVA_ function but
// QVA_SetStatus (an older host), or every one but QVA_Connect (a required one), as chosen at
// build time.
#include <gtest/gtest.h>

#include "plugin_fixture.h"
#include "ui/win32/win32_control_ids.h"

namespace qvtest {
namespace {

namespace ids = qv::ui::ids;

#if defined(QV_HOST_WITHOUT_CONNECT)

TEST_F(PluginHost, HostWithoutARequiredFunctionIsRefused)
{
    for (const char* version : {"2.00.05", "2.00.06", ""}) {
        EXPECT_FALSE(Start(version)) << version;
        EXPECT_EQ(win_->LoadError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED)) << version;
        win_.reset();
        host_.reset();
        folder_.reset();
    }
}

#else

TEST_F(PluginHost, VersionWithoutSetStatusFrom20006IsRefused)
{
    for (const char* version : {"2.00.06", "2.00.06a", "10.00.00", "2.10"}) {
        EXPECT_FALSE(Start(version)) << version;
        EXPECT_EQ(win_->LoadError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED)) << version;
        win_.reset();
        host_.reset();
        folder_.reset();
    }
}

// An older host without QVA_SetStatus: the plug-in loads and exports, but marks nothing read.
TEST_F(PluginHost, OlderHostExportsWithoutMarkingRead)
{
    ASSERT_TRUE(Start("2.00.05")) << "load error " << win_->LoadError();
    const UINT command = AddMenuItem();
    const std::string stateBefore = FolderState();

    TDriver driver([&](TDriver& d) {
        HWND dialog = WaitForDialog();
        if (!d.Check(dialog != nullptr, "the export dialog did not open")) return;
        ::SendMessageA(FindControl(dialog, ids::ComboBoxDir), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(target_.Path().c_str()));
        ::SendMessageA(FindControl(dialog, ids::CheckBoxMailOpen), BM_CLICK, 0, 0);
        ::PostMessageA(FindControl(dialog, ids::BtnOK), BM_CLICK, 0, 0);
        d.Check(WaitUntil([&] { return !::IsWindow(dialog); }), "OK did not close the dialog");
    });
    EXPECT_TRUE(win_->RunCommand(command));
    driver.Join();
    EXPECT_TRUE(driver.Problems().empty()) << driver.Report();

    EXPECT_EQ(ListDir(target_.Path()), (std::vector<std::string>{"1.eml", "2.eml", "3.eml", "4.eml"}));
    EXPECT_EQ(FolderState(), stateBefore);
    EXPECT_NE(ReadFile(pluginDir_ / "qvexport.ini").find("MailOpen=1"), std::string::npos);
    EXPECT_TRUE(host_->Problems().empty());
}

#endif

}  // namespace
}  // namespace qvtest
