// The Win32 windows of the two forms on their own: the export dialog's layout, captions, font,
// keyboard handling and folder browser, and the progress window's size, style and close box.
#include <windows.h>

#include <commctrl.h>
#include <cstdlib>
#include <gtest/gtest.h>

#include "ui/form_export.h"
#include "ui/form_message.h"
#include "ui/win32/win32_control_ids.h"
#include "ui/win32/win32_toolkit.h"
#include "wine_support.h"

namespace qvtest {
namespace {

namespace ids = qv::ui::ids;

int Scaled(int pixels) { return qv::ui::ScaleToScreen(pixels); }

RECT RectInParent(HWND control)
{
    RECT rect;
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The control that has the focus, or the combo box whose edit field has it.
int FocusedId(HWND dialog)
{
    HWND focus = FocusOf(dialog);
    if (!focus) return 0;
    if (ClassName(focus) == "Edit" && ClassName(::GetParent(focus)) == "ComboBox") focus = ::GetParent(focus);
    return ::GetDlgCtrlID(focus);
}

// Posts a key to the focused control and waits until the focus has moved (or `timeoutMs`).
int PressAndWaitFocus(HWND dialog, UINT message, WPARAM key, LPARAM flags = 0)
{
    const int before = FocusedId(dialog);
    ::PostMessageA(FocusOf(dialog), message, key, flags);
    WaitUntil([&] { return FocusedId(dialog) != before; }, 5000);
    return FocusedId(dialog);
}

bool Checked(HWND dialog, int id) { return ::SendMessageA(FindControl(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The resolution the run was set up for (QV_EXPECT_DPI) is the one the windows are scaled to.
TEST(Screen, ResolutionIsTheOneTheRunAskedFor)
{
    const char* expected = std::getenv("QV_EXPECT_DPI");
    if (!expected) GTEST_SKIP() << "QV_EXPECT_DPI not set";
    EXPECT_EQ(Scaled(96), std::atoi(expected));
}

class ExportDialogWindow : public ::testing::Test {
protected:
    // Shows the dialog modally with caption エクスポート受信箱 while `script` works it.
    void Run(const std::function<void(TDriver&, HWND)>& script)
    {
        form_.Caption += "受信箱";
        TDriver driver([&](TDriver& d) {
            HWND dialog = WaitForWindow([](HWND w) { return WindowText(w) == "エクスポート受信箱"; });
            if (!d.Check(dialog != nullptr, "the dialog did not open")) return;
            script(d, dialog);
            if (::IsWindow(dialog)) ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
        form_.ShowModal();
        driver.Join();
        EXPECT_TRUE(driver.Problems().empty()) << driver.Report();
    }

    qv::ui::TWin32Toolkit toolkit_;
    TFormExport form_{toolkit_};
};

TEST_F(ExportDialogWindow, LayoutCaptionsAndFont)
{
    Run([](TDriver& d, HWND dialog) {
        RECT client;
        ::GetClientRect(dialog, &client);
        d.Check(client.right == Scaled(409) && client.bottom == Scaled(228), "client area is not 409 x 228");
        const LONG_PTR style = ::GetWindowLongPtrA(dialog, GWL_STYLE);
        d.Check((style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU), "no caption bar with a close box");
        d.Check(!(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)), "the frame is not a fixed dialog frame");
        RECT window;
        ::GetWindowRect(dialog, &window);
        const int dx = (window.left + window.right) / 2 - ::GetSystemMetrics(SM_CXSCREEN) / 2;
        const int dy = (window.top + window.bottom) / 2 - ::GetSystemMetrics(SM_CYSCREEN) / 2;
        d.Check(dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1, "the dialog is not centred on the screen");

        const struct {
            int id;
            int left, top, width, height;  // height 0: checked below
            const char* caption;
        } controls[] = {
            {ids::BtnOK, 224, 192, 83, 25, "OK"},
            {ids::BitBtn1, 312, 192, 81, 25, "キャンセル"},
            {ids::PageControl1, 8, 8, 393, 169, nullptr},
            {ids::LabelDir, 8, 8, 147, 12, "メールを保存するフォルダ(&F)"},
            {ids::ComboBoxDir, 8, 24, 297, 0, nullptr},
            {ids::BtnDir, 312, 24, 57, 22, "参照(&R)"},
            {ids::CheckBoxCloseMailOnly, 8, 56, 225, 17, "未開封のメールのみエクスポートする(&A)"},
            {ids::CheckBoxMailOpen, 8, 80, 249, 17, "エクスポートしたメールは開封済みにする(&B)"},
            {ids::CheckBoxSelectMail, 8, 104, 249, 17, "選択状態のメールのみエクスポートする(&C)"},
            {ids::Label1, 8, 8, 76, 12, "検索文字列(&N)"},
            {ids::ComboBoxFindStr, 8, 24, 361, 0, nullptr},
            {ids::RadioGroupFindPos, 8, 56, 161, 73, "検索対象"},
            {ids::RadioFindPos0, 0, 0, 0, 0, "本文＋ヘッダ(&E)"},
            {ids::RadioFindPos1, 0, 0, 0, 0, "本文のみ(&Y)"},
            {ids::RadioFindPos2, 0, 0, 0, 0, "ヘッダのみ(&H)"},
            {ids::CheckBoxUpperCase, 176, 64, 161, 17, "英大小文字を区別する(&C)"},
            {ids::CheckBoxRegexp, 176, 88, 97, 17, "正規表現(&R)"},
        };
        for (const auto& c : controls) {
            HWND control = FindControl(dialog, c.id);
            const std::string name = "control " + std::to_string(c.id);
            if (!d.Check(control != nullptr, name + " is missing")) continue;
            if (c.width) {
                const RECT r = RectInParent(control);
                // Labels size to their text; with the design font that is their design width.
                const bool label = ClassName(control) == "Static";
                const int width = r.right - r.left;
                d.Check(r.left == Scaled(c.left) && r.top == Scaled(c.top) &&
                            (label ? width >= Scaled(c.width) : width == Scaled(c.width)) &&
                            (!c.height || r.bottom - r.top == Scaled(c.height)),
                        name + " is not at its place");
            }
            if (c.caption) d.Check(WindowText(control) == c.caption, name + " caption: " + WindowText(control));
            LOGFONTA font{};
            ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
            d.Check(std::string(font.lfFaceName) == "ＭＳ Ｐゴシック" && font.lfHeight == -Scaled(12) &&
                        font.lfCharSet == SHIFTJIS_CHARSET,
                    name + " font: " + font.lfFaceName);
        }
        // Kinds and settings beyond the place: default and cancel buttons, unsorted drop-down
        // combo boxes, a speed button outside the tab order, check boxes and radio items.
        const struct {
            int id;
            LONG_PTR mask, value;
            const char* what;
        } styles[] = {
            {ids::BtnDir, WS_TABSTOP, 0, "the speed button is a tab stop"},
            {ids::ComboBoxDir, CBS_SORT | 3, CBS_DROPDOWN, "the directory is not an unsorted drop-down combo box"},
            {ids::ComboBoxFindStr, CBS_SORT | 3, CBS_DROPDOWN, "the search string is not an unsorted drop-down combo box"},
            {ids::CheckBoxCloseMailOnly, BS_TYPEMASK | WS_TABSTOP, BS_AUTOCHECKBOX | WS_TABSTOP, "unread only"},
            {ids::CheckBoxMailOpen, BS_TYPEMASK | WS_TABSTOP, BS_AUTOCHECKBOX | WS_TABSTOP, "mark as read"},
            {ids::CheckBoxSelectMail, BS_TYPEMASK | WS_TABSTOP, BS_AUTOCHECKBOX | WS_TABSTOP, "selected only"},
            {ids::CheckBoxUpperCase, BS_TYPEMASK | WS_TABSTOP, BS_AUTOCHECKBOX | WS_TABSTOP, "case-sensitive"},
            {ids::CheckBoxRegexp, BS_TYPEMASK | WS_TABSTOP, BS_AUTOCHECKBOX | WS_TABSTOP, "regular expression"},
            {ids::RadioGroupFindPos, BS_TYPEMASK, BS_GROUPBOX, "the search position has no group box"},
            {ids::RadioFindPos0, BS_TYPEMASK, BS_AUTORADIOBUTTON, "first radio item"},
            {ids::RadioFindPos1, BS_TYPEMASK, BS_AUTORADIOBUTTON, "second radio item"},
            {ids::RadioFindPos2, BS_TYPEMASK, BS_AUTORADIOBUTTON, "third radio item"},
        };
        for (const auto& s : styles) {
            const LONG_PTR style = ::GetWindowLongPtrA(FindControl(dialog, s.id), GWL_STYLE);
            d.Check((style & s.mask) == s.value, s.what);
        }
        d.Check(::SendMessageA(dialog, DM_GETDEFID, 0, 0) == MAKELRESULT(IDOK, DC_HASDEFID), "OK is not the default");
        d.Check(ids::BtnOK == IDOK && ids::BitBtn1 == IDCANCEL, "OK and Cancel do not carry the dialog's ids");
        for (int id : {ids::ComboBoxDir, ids::ComboBoxFindStr}) {
            HWND combo = FindControl(dialog, id);
            RECT r;
            ::GetWindowRect(combo, &r);
            d.Check(r.bottom - r.top == Scaled(20),
                    "combo " + std::to_string(id) + " height " + std::to_string(r.bottom - r.top));
        }
        // The radio items stand in one column inside the group box, below its caption.
        const RECT group = RectInParent(FindControl(dialog, ids::RadioGroupFindPos));
        LONG previousTop = group.top;
        for (int id : {ids::RadioFindPos0, ids::RadioFindPos1, ids::RadioFindPos2}) {
            const RECT r = RectInParent(FindControl(dialog, id));
            d.Check(r.left > group.left && r.right <= group.right && r.top > previousTop && r.bottom <= group.bottom,
                    "radio item " + std::to_string(id) + " is not in the group's column: " + std::to_string(r.left) +
                        "," + std::to_string(r.top) + "," + std::to_string(r.right - r.left) + "," +
                        std::to_string(r.bottom - r.top));
            previousTop = r.top;
        }

        // The pages: captions, the first one active although the resource names the second.
        HWND tabs = FindControl(dialog, ids::PageControl1);
        const char* pages[] = {"エクスポート(&1)", "条件指定(&2)"};
        d.Check(::SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0) == 2, "not two pages");
        for (int i = 0; i < 2; ++i) {
            char text[64] = {};
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            ::SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
            d.Check(std::string(text) == pages[i], std::string("page caption: ") + text);
        }
        d.Check(::SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == 0, "the first page is not selected");
        d.Check(::IsWindowVisible(FindControl(dialog, ids::TabSheet1)) &&
                    !::IsWindowVisible(FindControl(dialog, ids::TabSheet2)),
                "the first page is not the visible one");
        d.Check(Checked(dialog, ids::RadioFindPos0), "the first search position is not selected");
    });
}

TEST_F(ExportDialogWindow, TabOrderAndAccelerators)
{
    Run([](TDriver& d, HWND dialog) {
        d.Check(FocusedId(dialog) == ids::BtnOK, "the focus does not start on OK");
        // OK, Cancel, the page control, then the first page's controls; the speed button is skipped.
        for (int expected : {ids::BitBtn1, ids::PageControl1, ids::ComboBoxDir, ids::CheckBoxCloseMailOnly,
                             ids::CheckBoxMailOpen, ids::CheckBoxSelectMail, ids::BtnOK}) {
            const int got = PressAndWaitFocus(dialog, WM_KEYDOWN, VK_TAB);
            d.Check(got == expected, "Tab went to " + std::to_string(got) + ", not " + std::to_string(expected));
        }

        const LPARAM alt = 1 << 29;
        PressAndWaitFocus(dialog, WM_SYSCHAR, '2', alt);
        d.Check(::IsWindowVisible(FindControl(dialog, ids::TabSheet2)) &&
                    !::IsWindowVisible(FindControl(dialog, ids::TabSheet1)),
                "Alt+2 did not show the second page");
        d.Check(PressAndWaitFocus(dialog, WM_SYSCHAR, 'n', alt) == ids::ComboBoxFindStr,
                "Alt+N did not focus the search string");
        for (int expected : {ids::RadioFindPos0, ids::CheckBoxUpperCase, ids::CheckBoxRegexp, ids::BtnOK}) {
            const int got = PressAndWaitFocus(dialog, WM_KEYDOWN, VK_TAB);
            d.Check(got == expected, "Tab went to " + std::to_string(got) + ", not " + std::to_string(expected));
        }
        // Alt+C belongs to a check box on each page; only the visible page's one responds.
        PressAndWaitFocus(dialog, WM_SYSCHAR, 'c', alt);
        d.Check(WaitUntil([&] { return Checked(dialog, ids::CheckBoxUpperCase); }, 2000),
                "Alt+C did not tick the case check box");
        d.Check(!Checked(dialog, ids::CheckBoxSelectMail), "Alt+C reached the hidden page");
        // Alt+R likewise: the regular-expression box here, not the hidden page's browse button.
        PressAndWaitFocus(dialog, WM_SYSCHAR, 'r', alt);
        d.Check(WaitUntil([&] { return Checked(dialog, ids::CheckBoxRegexp); }, 2000),
                "Alt+R did not tick the regular-expression box");
        d.Check(::IsWindowEnabled(dialog), "Alt+R opened the folder browser from the hidden page");
        PressAndWaitFocus(dialog, WM_SYSCHAR, 'y', alt);
        d.Check(WaitUntil([&] { return Checked(dialog, ids::RadioFindPos1); }, 2000), "Alt+Y did not pick body only");
        PressAndWaitFocus(dialog, WM_SYSCHAR, 'h', alt);
        d.Check(WaitUntil([&] { return Checked(dialog, ids::RadioFindPos2); }, 2000), "Alt+H did not pick header only");

        PressAndWaitFocus(dialog, WM_SYSCHAR, '1', alt);
        d.Check(PressAndWaitFocus(dialog, WM_SYSCHAR, 'f', alt) == ids::ComboBoxDir,
                "Alt+F did not focus the directory");
        PressAndWaitFocus(dialog, WM_SYSCHAR, 'b', alt);
        d.Check(WaitUntil([&] { return Checked(dialog, ids::CheckBoxMailOpen); }, 2000),
                "Alt+B did not tick mark as read");
        d.Check(!Checked(dialog, ids::CheckBoxCloseMailOnly), "Alt+B ticked unread only");
        ::PostMessageA(FocusOf(dialog), WM_KEYDOWN, VK_ESCAPE, 0);
        d.Check(WaitUntil([&] { return !::IsWindow(dialog); }), "Esc did not close the dialog");
    });
    // The values read after the loop are the controls' last state; Esc is no OK.
    EXPECT_FALSE(form_.OkPressed);
    EXPECT_TRUE(form_.CheckBoxUpperCase.Checked);
    EXPECT_FALSE(form_.CheckBoxSelectMail.Checked);
    EXPECT_EQ(form_.RadioGroupFindPos.ItemIndex, 2);
    EXPECT_TRUE(form_.CheckBoxRegexp.Checked);
    EXPECT_TRUE(form_.CheckBoxMailOpen.Checked);
}

// Enter in a field presses the default button, OK: with a missing directory that is the
// warning, and the dialog stays open with its text as typed.
TEST_F(ExportDialogWindow, EnterRunsTheOkStep)
{
    form_.ComboBoxDir.Text = "C:\\no such folder";
    Run([](TDriver& d, HWND dialog) {
        const LPARAM alt = 1 << 29;
        d.Check(PressAndWaitFocus(dialog, WM_SYSCHAR, 'f', alt) == ids::ComboBoxDir, "Alt+F did not focus the directory");
        ::PostMessageA(FocusOf(dialog), WM_KEYDOWN, VK_RETURN, 0);
        HWND box = WaitForMessageBox("警告", 5000);
        if (d.Check(box != nullptr, "Enter did not run the OK step")) {
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            d.Check(WaitUntil([&] { return !::IsWindow(box); }), "the warning box did not close");
        }
        d.Check(::IsWindowVisible(dialog), "the dialog did not stay open");
        d.Check(WindowText(FindControl(dialog, ids::ComboBoxDir)) == "C:\\no such folder", "the directory changed");
    });
    EXPECT_FALSE(form_.OkPressed);
}

TEST_F(ExportDialogWindow, FolderBrowserDisablesTheDialogWhileOpen)
{
    form_.ComboBoxDir.Text = "C:\\before";
    Run([](TDriver& d, HWND dialog) {
        ::PostMessageA(FocusOf(dialog), WM_SYSCHAR, 'r', 1 << 29);  // Alt+R: the browse button
        HWND browser = WaitForWindow([&](HWND w) {
            return w != dialog && ClassName(w) == "#32770" && FindChildWithText(w, "Static", "フォルダの選択");
        });
        if (!d.Check(browser != nullptr, "the folder browser did not open with its title")) return;
        d.Check(!::IsWindowEnabled(dialog), "the dialog takes input while the browser is open");
        ::PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
        d.Check(WaitUntil([&] { return !::IsWindow(browser) && ::IsWindowEnabled(dialog); }),
                "the dialog was not enabled again");
        d.Check(WindowText(FindControl(dialog, ids::ComboBoxDir)) == "C:\\before", "cancelling changed the directory");
        d.Check(FocusedId(dialog) != ids::BtnDir, "the speed button took the focus");
    });
    EXPECT_FALSE(form_.OkPressed);
}

// ---- Progress window ----------------------------------------------------------------------

HWND ProgressWindow()
{
    for (HWND w : TopLevelWindows())
        if (WindowText(w) == "エクスポート" && (::GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) return w;
    return nullptr;
}

TEST(ProgressWindow, StaysOnTopAndItsClientAreaFollowsTheLabel)
{
    qv::ui::TWin32Toolkit toolkit;
    auto form = std::make_unique<TFormMessage>(toolkit);
    form->Show();
    HWND window = ProgressWindow();
    ASSERT_NE(window, nullptr);
    // Placed once, centred on the screen for the size it has when first shown.
    RECT shown;
    ::GetWindowRect(window, &shown);
    EXPECT_NEAR((shown.left + shown.right) / 2, ::GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((shown.top + shown.bottom) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    form->SetMessage("エクスポートするメールを取得しています。");
    EXPECT_TRUE(::GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    HWND label = FindControl(window, ids::LabelMessage);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(WindowText(label), "エクスポートするメールを取得しています。");

    auto sizes = [&] {
        RECT client, text, frame;
        ::GetClientRect(window, &client);
        ::GetWindowRect(label, &text);
        ::GetWindowRect(window, &frame);
        EXPECT_EQ(RectInParent(label).left, 0);
        EXPECT_EQ(RectInParent(label).top, 0);
        EXPECT_EQ(client.right, text.right - text.left);
        EXPECT_EQ(client.bottom, text.bottom - text.top);
        return std::make_pair(client.right, POINT{frame.left, frame.top});
    };
    // A fixed tool window with a close box and no taskbar button; the label in the forms' font.
    const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrA(window, GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(exStyle & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW), WS_EX_TOOLWINDOW);
    EXPECT_EQ(::GetWindow(window, GW_OWNER), nullptr);
    LOGFONTA font{};
    ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(label, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(std::string(font.lfFaceName), "ＭＳ Ｐゴシック");
    EXPECT_EQ(font.lfHeight, -Scaled(12));
    EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET);

    const auto first = sizes();
    EXPECT_GT(first.first, Scaled(100));
    form->SetMessage("メールをエクスポートしています。メールをエクスポートしています。");
    const auto longer = sizes();
    EXPECT_GT(longer.first, first.first);
    form->SetMessage("短い");
    const auto shorter = sizes();
    EXPECT_LT(shorter.first, first.first);
    EXPECT_EQ(first.second.x, shown.left);
    EXPECT_EQ(first.second.y, shown.top);
    EXPECT_EQ(longer.second.x, first.second.x);
    EXPECT_EQ(shorter.second.y, first.second.y);

    // The close box only hides it; the run goes on setting messages and destroys it at the end.
    ::SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_TRUE(::IsWindow(window));
    form->SetMessage("メールをエクスポートしています。");
    form.reset();
    EXPECT_FALSE(::IsWindow(window));
}

}  // namespace
}  // namespace qvtest
