// The plug-in DLL in a host that exports every QVA_ function: binding at load, the exported
// callbacks, the description record, the menu command, the settings path, and whole export
// commands through the real dialog.
#include <gtest/gtest.h>

#include <cstring>

#include "plugin/plugin_info.h"
#include "plugin_fixture.h"
#include "ui/win32/win32_control_ids.h"

namespace qvtest {
namespace {

namespace ids = qv::ui::ids;

// The tests run with the ANSI code page of Japanese Windows.
TEST(WineEnvironment, AnsiCodePageIs932) { EXPECT_EQ(::GetACP(), 932u); }

// ---- Settings path -----------------------------------------------------------------------

std::string SettingsPathOf(const std::string& modulePath)
{
    char buffer[qv::plugin::kSettingsPathSize];
    std::memset(buffer, 'x', sizeof buffer);
    std::memcpy(buffer, modulePath.data(), std::min(modulePath.size(), qv::plugin::kModulePathLimit));
    buffer[std::min(modulePath.size(), qv::plugin::kModulePathLimit)] = '\0';
    qv::plugin::ModulePathToSettingsPath(buffer);
    return buffer;
}

TEST(SettingsPath, ExtensionFromTheLastDotBecomesIni)
{
    const struct {
        const char* module;
        const char* settings;
    } cases[] = {
        {"C:\\Tools\\Plugins\\exporter.dll", "C:\\Tools\\Plugins\\exporter.ini"},
        {"C:\\Tools\\a.b.dll", "C:\\Tools\\a.b.ini"},
        {"C:\\Tools\\exporter", "C:\\Tools\\exporter.ini"},
        {"C:\\ソ表\\exporter.dll", "C:\\ソ表\\exporter.ini"},
    };
    for (const auto& c : cases) EXPECT_EQ(SettingsPathOf(c.module), c.settings) << c.module;
}

TEST(SettingsPath, PathAtTheLengthLimitStillTakesIni)
{
    const std::string dotless = "C:\\" + std::string(qv::plugin::kModulePathLimit - 3, 'a');
    EXPECT_EQ(SettingsPathOf(dotless), dotless + ".ini");
    // The platform cut a longer name within the limit: the rule applies to what it delivered.
    const std::string cut = "C:\\x.y\\" + std::string(400, 'b');
    EXPECT_EQ(SettingsPathOf(cut), "C:\\x.ini");
}

// ---- Loading, callbacks, record, menu --------------------------------------------------------

using PluginLoad = PluginHost;

TEST_F(PluginLoad, BindsTheHostAndExportsEveryCallback)
{
    ASSERT_TRUE(Start()) << "load error " << win_->LoadError();
    using Proc0 = int(WINAPI*)();
    using Proc1 = int(WINAPI*)(INT_PTR);
    using Proc2 = int(WINAPI*)(INT_PTR, INT_PTR);
    using Proc3 = int(WINAPI*)(INT_PTR, INT_PTR, INT_PTR);
    using Proc4 = int(WINAPI*)(INT_PTR, INT_PTR, INT_PTR, INT_PTR);
    auto get = [&](const char* name) {
        FARPROC p = win_->Callback(name);
        EXPECT_NE(p, nullptr) << name;
        return p;
    };
    auto as = [](FARPROC p, auto* type) {
        decltype(type) f = nullptr;
        std::memcpy(&f, &p, sizeof f);
        return f;
    };
    for (const char* name : {"QVC_OnStart", "QVC_OnExit", "QVC_OnEveryMinute"}) {
        if (FARPROC p = get(name)) {
            EXPECT_EQ(as(p, Proc0{})(), 0) << name;
        }
    }
    for (const char* name : {"QVC_OnOpenFolder", "QVC_OnOpenMail", "QVC_OnSend", "QVC_OnFinishRetrieve",
                             "QVC_OnPlugInSetup"}) {
        if (FARPROC p = get(name)) {
            EXPECT_EQ(as(p, Proc1{})(7), 0) << name;
        }
    }
    for (const char* name : {"QVC_OnOpenCompose", "QVC_OnOutgoing", "QVC_OnRetrieve"}) {
        if (FARPROC p = get(name)) {
            EXPECT_EQ(as(p, Proc2{})(7, 8), 0) << name;
        }
    }
    if (FARPROC p = get("QVC_OnKeyDispatch")) {
        EXPECT_EQ(as(p, Proc3{})(7, 8, 9), 0);
    }
    if (FARPROC p = get("QVC_OnDragDrop")) {
        EXPECT_EQ(as(p, Proc4{})(7, 8, 9, 10), 0);
    }
    get("QVC_OnMenuInit");
    get("QVC_OnPlugInInfo");
    // Binding only looks functions up (and may ask the version); no mail is touched at load.
    for (const std::string& call : host_->Calls) EXPECT_EQ(call, "GetVersion");
    EXPECT_TRUE(host_->RegisteredCommands.empty());
}

TEST_F(PluginLoad, DescriptionRecordHoldsTheFourTextsAndNothingElse)
{
    ASSERT_TRUE(Start());
    const std::vector<unsigned char> record = win_->DescriptionRecord(400, 0xCC);
    std::vector<unsigned char> expected(400, 0xCC);
    auto put = [&](std::size_t offset, const std::string& text) {
        std::memcpy(expected.data() + offset, text.c_str(), text.size() + 1);
    };
    put(0, "Tenmarro");
    put(80, "Kesmarel");
    put(160, "0.0.0.1");
    // 条件に該当するメールをエクスポートします: 40 bytes and the terminator.
    const std::string description = "条件に該当するメールをエクスポートします";
    ASSERT_EQ(description.size(), 40u);
    put(240, description);
    EXPECT_EQ(record, expected);
}

TEST_F(PluginLoad, MenuItemOnlyForTargetZeroAndAgainOnEveryCall)
{
    ASSERT_TRUE(Start());
    for (int target : {1, 12, 13, -1}) EXPECT_EQ(win_->MenuInit(target), 0);
    EXPECT_TRUE(host_->RegisteredCommands.empty());
    for (int sub = 0; sub < TWinHost::kSubMenuCount; ++sub) EXPECT_EQ(win_->SubMenuItems(sub).size(), 1u) << sub;

    EXPECT_EQ(win_->MenuInit(0), 0);
    EXPECT_EQ(win_->MenuInit(0), 0);
    ASSERT_EQ(host_->RegisteredCommands.size(), 2u);
    EXPECT_EQ(host_->RegisteredCommands[0], kCommandDescription);
    const auto items = win_->SubMenuItems(4);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1].Id, 40001u);
    EXPECT_EQ(items[1].Caption, kMenuCaption);
    EXPECT_EQ(items[2].Id, 40002u);
    EXPECT_EQ(items[2].Caption, kMenuCaption);
    for (int sub : {0, 1, 2, 3, 5}) EXPECT_EQ(win_->SubMenuItems(sub).size(), 1u) << sub;
}

// ---- Export commands through the dialog ------------------------------------------------------

enum class CancelBy { Button, Escape, CloseBox };

class CancelledExport : public PluginHost, public ::testing::WithParamInterface<CancelBy> {};

// OK with a directory that does not exist: the warning, the dialog stays; then the dialog is
// cancelled. Nothing is written: no file, no settings, no read flag.
TEST_P(CancelledExport, WarningKeepsTheDialogAndCancelWritesNothing)
{
    ASSERT_TRUE(Start());
    const UINT command = AddMenuItem();
    HWND main = win_->MainWindow();
    ::ShowWindow(main, SW_SHOWNOACTIVATE);
    const std::string stateBefore = FolderState();
    const CancelBy how = GetParam();

    TDriver driver([&](TDriver& d) {
        HWND dialog = WaitForDialog();
        if (!d.Check(dialog != nullptr, "the export dialog did not open")) return;
        d.Check(!::IsWindowEnabled(main), "the host's window stays enabled while the dialog is modal");
        HWND dir = FindControl(dialog, ids::ComboBoxDir);
        ::SendMessageA(dir, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((target_ / "missing").c_str()));
        ::PostMessageA(FindControl(dialog, ids::BtnOK), BM_CLICK, 0, 0);

        HWND box = WaitForMessageBox(kWarningCaption);
        if (d.Check(box != nullptr, "no warning box")) {
            d.Check(MessageBoxText(box) == kDirNotFound, "warning text: " + MessageBoxText(box));
            d.Check(!::IsWindowEnabled(dialog), "the dialog takes input under the warning box");
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            d.Check(WaitUntil([&] { return !::IsWindow(box); }), "the warning box did not close");
        }
        d.Check(::IsWindowVisible(dialog) && ::IsWindowEnabled(dialog), "the dialog did not stay open");
        d.Check(WindowText(dir) == target_ / "missing", "the directory text changed");

        switch (how) {
        case CancelBy::Button: ::PostMessageA(FindControl(dialog, ids::BitBtn1), BM_CLICK, 0, 0); break;
        case CancelBy::Escape: ::PostMessageA(FocusOf(dialog), WM_KEYDOWN, VK_ESCAPE, 0); break;
        case CancelBy::CloseBox: ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); break;
        }
        d.Check(WaitUntil([&] { return !::IsWindow(dialog); }), "the dialog did not close");
    });
    EXPECT_TRUE(win_->RunCommand(command));
    driver.Join();
    EXPECT_TRUE(driver.Problems().empty()) << driver.Report();

    EXPECT_TRUE(::IsWindowEnabled(main));
    EXPECT_TRUE(ListDir(target_.Path()).empty());
    EXPECT_EQ(ListDir(pluginDir_.Path()), std::vector<std::string>{"qvexport.dll"});
    EXPECT_EQ(FolderState(), stateBefore);
    EXPECT_TRUE(host_->Problems().empty());
}

INSTANTIATE_TEST_SUITE_P(Wine, CancelledExport,
                         ::testing::Values(CancelBy::Button, CancelBy::Escape, CancelBy::CloseBox));

// The texts the progress window's label shows during a command, seen through a hook on the
// thread's window procedures, and the window that showed them.
struct ProgressTrace {
    std::vector<std::string> Texts;
    HWND Window = nullptr;
    LONG_PTR ExStyle = 0;
};
ProgressTrace* g_trace = nullptr;

LRESULT CALLBACK TraceLabelTexts(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_trace && call->message == WM_SETTEXT && call->lParam &&
        ::GetDlgCtrlID(call->hwnd) == ids::LabelMessage) {
        g_trace->Texts.push_back(reinterpret_cast<const char*>(call->lParam));
        g_trace->Window = ::GetParent(call->hwnd);
        g_trace->ExStyle = ::GetWindowLongPtrA(g_trace->Window, GWL_EXSTYLE);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// The dialog filled in as a user would: directory, unread only, mark as read, the second page
// by its accelerator, a search string in bodies only, confirmed with Enter.
TEST_F(PluginHost, ExportWithConditionsWritesFilesFlagsAndSettings)
{
    // A library name with several dots: the settings file takes the name up to the last one.
    ASSERT_TRUE(Start("2.00.06", "qv.export.dll"));
    const UINT command = AddMenuItem();

    TDriver driver([&](TDriver& d) {
        HWND dialog = WaitForDialog();
        if (!d.Check(dialog != nullptr, "the export dialog did not open")) return;
        HWND page1 = FindControl(dialog, ids::TabSheet1);
        HWND page2 = FindControl(dialog, ids::TabSheet2);
        d.Check(::IsWindowVisible(page1) && !::IsWindowVisible(page2), "the first page is not the active one");
        ::SendMessageA(FindControl(dialog, ids::ComboBoxDir), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(target_.Path().c_str()));
        ::SendMessageA(FindControl(dialog, ids::CheckBoxCloseMailOnly), BM_CLICK, 0, 0);
        ::SendMessageA(FindControl(dialog, ids::CheckBoxMailOpen), BM_CLICK, 0, 0);

        ::PostMessageA(FocusOf(dialog), WM_SYSCHAR, '2', 1 << 29);  // Alt+2
        d.Check(WaitUntil([&] { return ::IsWindowVisible(page2) && !::IsWindowVisible(page1); }),
                "Alt+2 did not show the second page");
        ::SendMessageA(FindControl(dialog, ids::ComboBoxFindStr), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(kSearchText));
        ::SendMessageA(FindControl(dialog, ids::RadioFindPos1), BM_CLICK, 0, 0);
        ::PostMessageA(FocusOf(dialog), WM_KEYDOWN, VK_RETURN, 0);
        d.Check(WaitUntil([&] { return !::IsWindow(dialog); }), "Enter did not confirm the dialog");
    });
    ProgressTrace trace;
    g_trace = &trace;
    HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, TraceLabelTexts, nullptr, ::GetCurrentThreadId());
    EXPECT_TRUE(win_->RunCommand(command));
    ::UnhookWindowsHookEx(hook);
    g_trace = nullptr;
    driver.Join();
    EXPECT_TRUE(driver.Problems().empty()) << driver.Report();

    // The progress window showed both passes' messages, stayed on top, and is gone.
    ASSERT_GE(trace.Texts.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(trace.Texts.end() - 2, trace.Texts.end()),
              (std::vector<std::string>{"エクスポートするメールを取得しています。", "メールをエクスポートしています。"}));
    EXPECT_TRUE(trace.ExStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(trace.ExStyle & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(::IsWindow(trace.Window));

    // 01 and 04 pass: unread, search text in the body. 02 is read; 03 has it only in its header.
    EXPECT_EQ(ListDir(target_.Path()), (std::vector<std::string>{"1.eml", "2.eml"}));
    EXPECT_EQ(ReadFile(target_ / "1.eml"), ReadFile(mails_ / "01.eml"));
    EXPECT_EQ(ReadFile(target_ / "2.eml"), Mail04AsExported());
    const std::string state = FolderState();
    EXPECT_NE(state.find("01.eml R"), std::string::npos) << state;
    EXPECT_NE(state.find("02.eml R"), std::string::npos) << state;
    EXPECT_NE(state.find("03.eml -"), std::string::npos) << state;
    EXPECT_NE(state.find("04.eml R"), std::string::npos) << state;

    EXPECT_EQ(ReadFile(pluginDir_ / "qv.export.ini"),
              "[DirHistory]\r\nCount=1\r\nHistory0=" + target_.Path() + "\\\r\n\r\n"
              "[FindHistory]\r\nCount=1\r\nHistory0=" + std::string(kSearchText) + "\r\n\r\n"
              "[State]\r\nCloseMailOnly=1\r\nMailOpen=1\r\nSelectMail=0\r\nFindPos=1\r\nUpperCase=0\r\nRegexp=0\r\n\r\n");
    EXPECT_TRUE(host_->Problems().empty());

    // The next command opens the dialog with what this one saved.
    TDriver again([&](TDriver& d) {
        HWND dialog = WaitForDialog();
        if (!d.Check(dialog != nullptr, "the export dialog did not open again")) return;
        HWND dir = FindControl(dialog, ids::ComboBoxDir);
        d.Check(WindowText(dir) == target_.Path() + "\\", "directory: " + WindowText(dir));
        d.Check(::SendMessageA(dir, CB_GETCOUNT, 0, 0) == 1, "the directory history is not in the list");
        d.Check(WindowText(FindControl(dialog, ids::ComboBoxFindStr)) == kSearchText, "search string not restored");
        auto checked = [&](int id) { return ::SendMessageA(FindControl(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; };
        d.Check(checked(ids::CheckBoxCloseMailOnly) && checked(ids::CheckBoxMailOpen) &&
                    !checked(ids::CheckBoxSelectMail) && checked(ids::RadioFindPos1) && !checked(ids::RadioFindPos0),
                "the check boxes and the search position were not restored");
        ::PostMessageA(FindControl(dialog, ids::BitBtn1), BM_CLICK, 0, 0);
    });
    EXPECT_TRUE(win_->RunCommand(command));
    again.Join();
    EXPECT_TRUE(again.Problems().empty()) << again.Report();
    EXPECT_EQ(ListDir(target_.Path()).size(), 2u);
}

// An error that ends the command (here the settings file cannot be read: a folder has its name)
// is shown in a message box; the callback returns to the host normally.
TEST_F(PluginHost, FailedCommandShowsItsMessageAndReturns)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(::CreateDirectoryA((pluginDir_ / "qvexport.ini").c_str(), nullptr));
    const UINT command = AddMenuItem();

    TDriver driver([&](TDriver& d) {
        HWND box = WaitForMessageBox(kErrorCaption);
        if (!d.Check(box != nullptr, "no error box")) return;
        d.Check(MessageBoxText(box).find("qvexport.ini") != std::string::npos, "error text: " + MessageBoxText(box));
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(win_->RunCommand(command));
    driver.Join();
    EXPECT_TRUE(driver.Problems().empty()) << driver.Report();
    EXPECT_TRUE(ListDir(target_.Path()).empty());
    EXPECT_TRUE(host_->Problems().empty());
}

}  // namespace
}  // namespace qvtest
