// The export dialog's logic with the headless toolkit: construction, LoadSettings and the
// history lists, the OK step with its directory test and saving order, the browse step.
#include <gtest/gtest.h>

#include <filesystem>

#include "ui/form_export.h"
#include "ui/headless/headless_toolkit.h"
#include "ui/temp_dir.h"

namespace {

class FormExportTest : public ::testing::Test {
protected:
    std::string Ini() const { return dir / "settings.ini"; }
    void WriteIni(const std::string& text) { TempDir::WriteFile(Ini(), text); }
    std::string ReadIni() const { return TempDir::ReadFile(Ini()); }

    // A form loaded from the settings file, as the export run prepares it.
    std::unique_ptr<TFormExport> Loaded()
    {
        auto form = std::make_unique<TFormExport>(toolkit);
        form->LoadSettings(Ini());
        return form;
    }

    TempDir dir;
    THeadlessToolkit toolkit;
};

}  // namespace

TEST_F(FormExportTest, ConstructionAndDefaultsWithoutSettingsFile)
{
    auto form = Loaded();
    EXPECT_EQ(form->Caption, "エクスポート");
    EXPECT_EQ(form->PageControl1.ActivePageIndex, 0);  // the resource names the second page
    EXPECT_FALSE(form->OkPressed);
    EXPECT_EQ(form->IniFileName, Ini());
    EXPECT_TRUE(form->ComboBoxDir.Items.empty());
    EXPECT_EQ(form->ComboBoxDir.Text, "");
    EXPECT_EQ(form->ComboBoxFindStr.Text, "");
    EXPECT_EQ(form->RadioGroupFindPos.ItemIndex, 0);
    EXPECT_FALSE(form->CheckBoxCloseMailOnly.Checked || form->CheckBoxMailOpen.Checked ||
                 form->CheckBoxSelectMail.Checked || form->CheckBoxUpperCase.Checked ||
                 form->CheckBoxRegexp.Checked);
    EXPECT_FALSE(std::filesystem::exists(Ini()));  // loading writes nothing
}

TEST_F(FormExportTest, StateValuesAndTheirConversions)
{
    struct Case {
        const char* findPos;
        int index;
        const char* mailOpen;
        bool checked;
    } cases[] = {{"7", 2, "2", true}, {"-5", -1, "0x1", true}, {"abc", 0, "abc", false},
                 {"-1", -1, "0", false}, {"1", 1, "-1", true}};
    for (const Case& c : cases) {
        WriteIni(std::string("[sTaTe]\r\nfindpos=") + c.findPos + "\r\nMAILOPEN=" + c.mailOpen +
                 "\r\nRegexp=1\r\n");
        auto form = Loaded();
        EXPECT_EQ(form->RadioGroupFindPos.ItemIndex, c.index) << c.findPos;
        EXPECT_EQ(form->CheckBoxMailOpen.Checked, c.checked) << c.mailOpen;
        EXPECT_TRUE(form->CheckBoxRegexp.Checked);
        EXPECT_FALSE(form->CheckBoxUpperCase.Checked);
    }
}

TEST_F(FormExportTest, LoadHistorySkipsEmptyAndMissingKeysAndKeepsDuplicates)
{
    WriteIni("[DirHistory]\r\nCount=5\r\nHistory3=D:\\\r\nHistory0=C:\\\r\nHistory1=\r\nhistory4=C:\\\r\n"
             "History5=beyond count\r\nHistory03=leading zero\r\n"
             "[FindHistory]\r\nCount=-1\r\nHistory0=x\r\n");
    auto form = Loaded();
    EXPECT_EQ(form->ComboBoxDir.Items, (std::vector<std::string>{"C:\\", "D:\\", "C:\\"}));
    EXPECT_EQ(form->ComboBoxDir.Text, "C:\\");  // the most recent entry
    EXPECT_TRUE(form->ComboBoxFindStr.Items.empty());
    EXPECT_EQ(form->ComboBoxFindStr.Text, "");
}

TEST_F(FormExportTest, HandEditedLongHistoryLoadsWholeAndSavesTen)
{
    std::string text = "[FindHistory]\r\nCount=15\r\n";
    for (int i = 0; i < 15; ++i) text += "History" + std::to_string(i) + "=s" + std::to_string(i) + "\r\n";
    WriteIni(text);
    auto form = Loaded();
    ASSERT_EQ(form->ComboBoxFindStr.Items.size(), 15u);
    form->SaveHistory("new", form->ComboBoxFindStr.Items, "FindHistory");
    auto again = Loaded();
    ASSERT_EQ(again->ComboBoxFindStr.Items.size(), 10u);
    EXPECT_EQ(again->ComboBoxFindStr.Items[0], "new");
    EXPECT_EQ(again->ComboBoxFindStr.Items[9], "s8");
    EXPECT_NE(ReadIni().find("History14=s14\r\n"), std::string::npos);  // left in the file, unread
}

TEST_F(FormExportTest, HugeCountDoesNotHang)
{
    WriteIni("[DirHistory]\r\nCount=2147483647\r\nHistory2000000000=far\r\nHistory0=near\r\n");
    auto form = Loaded();
    EXPECT_EQ(form->ComboBoxDir.Items, (std::vector<std::string>{"near", "far"}));
}

TEST_F(FormExportTest, SaveHistoryMergesCaseInsensitively)
{
    TFormExport form(toolkit);
    form.IniFileName = Ini();
    const std::vector<std::string> ten = {"a0", "A1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9"};
    struct Case {
        std::string text;
        std::vector<std::string> expected;
    } cases[] = {
        {"new", {"new", "a0", "A1", "a2", "a3", "a4", "a5", "a6", "a7", "a8"}},  // eleventh drops a9
        {"a1", {"a1", "a0", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9"}},    // case variant replaced
        {"A0", {"A0", "A1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9"}},    // most recent: only case
    };
    for (const Case& c : cases) {
        std::filesystem::remove(Ini());
        form.SaveHistory(c.text, ten, "DirHistory");
        TFormExport loaded(toolkit);
        loaded.LoadSettings(Ini());
        EXPECT_EQ(loaded.ComboBoxDir.Items, c.expected) << c.text;
    }
    // Only the first match goes; a duplicate further down stays.
    std::filesystem::remove(Ini());
    form.SaveHistory("b", {"a", "B", "c", "b"}, "DirHistory");
    TFormExport dup(toolkit);
    dup.LoadSettings(Ini());
    EXPECT_EQ(dup.ComboBoxDir.Items, (std::vector<std::string>{"b", "a", "c", "b"}));
    // Trail bytes are not letters: ヂ and ア stay two entries.
    std::filesystem::remove(Ini());
    form.SaveHistory("ヂ", {"ア"}, "FindHistory");
    TFormExport loaded(toolkit);
    loaded.LoadSettings(Ini());
    EXPECT_EQ(loaded.ComboBoxFindStr.Items, (std::vector<std::string>{"ヂ", "ア"}));
}

TEST_F(FormExportTest, OkFromScratchWritesTheSixteenLines)
{
    auto form = Loaded();
    form->ComboBoxDir.Text = dir.Path();
    form->ComboBoxFindStr.Text = " 会議 ";
    form->CheckBoxMailOpen.Checked = true;
    form->RadioGroupFindPos.ItemIndex = 2;
    toolkit.PressOK();
    form->ShowModal();
    EXPECT_TRUE(form->OkPressed);
    EXPECT_FALSE(toolkit.StepsLeft());
    EXPECT_EQ(form->ComboBoxDir.Text, dir.Path() + "\\");
    EXPECT_EQ(ReadIni(), "[DirHistory]\r\nCount=1\r\nHistory0=" + dir.Path() + "\\\r\n\r\n"
                         "[FindHistory]\r\nCount=1\r\nHistory0= 会議 \r\n\r\n"
                         "[State]\r\nCloseMailOnly=0\r\nMailOpen=1\r\nSelectMail=0\r\nFindPos=2\r\n"
                         "UpperCase=0\r\nRegexp=0\r\n\r\n");
    // A second dialog sees what was saved, the search text with its spaces.
    auto again = Loaded();
    EXPECT_EQ(again->ComboBoxFindStr.Text, " 会議 ");
    EXPECT_EQ(again->RadioGroupFindPos.ItemIndex, 2);
}

TEST_F(FormExportTest, OkWithoutSearchTextLeavesFindHistoryAlone)
{
    WriteIni("[FindHistory]\r\nCount=3\r\nHistory0=keep\r\n");
    auto form = Loaded();
    form->ComboBoxDir.Text = dir.Path() + "\\";
    form->ComboBoxFindStr.Text = "";
    toolkit.PressOK();
    form->ShowModal();
    EXPECT_EQ(form->ComboBoxDir.Text, dir.Path() + "\\");  // already ends in a backslash
    const std::string text = ReadIni();
    EXPECT_NE(text.find("[FindHistory]\r\nCount=3\r\nHistory0=keep\r\n"), std::string::npos);
    EXPECT_LT(text.find("[FindHistory]"), text.find("[DirHistory]"));
}

TEST_F(FormExportTest, OkWithoutAnExistingDirectoryWarnsAndStaysOpen)
{
    TempDir::WriteFile(dir / "file", "x");
    for (const std::string& bad : {std::string(), dir / "missing", dir / "file"}) {
        auto form = Loaded();
        form->ComboBoxDir.Text = bad;
        toolkit.PressOK();
        toolkit.PressCancel();
        form->ShowModal();
        EXPECT_FALSE(form->OkPressed) << bad;
        EXPECT_EQ(form->ComboBoxDir.Text, bad);
        EXPECT_FALSE(toolkit.StepsLeft());  // the dialog stayed open for the Cancel
    }
    ASSERT_EQ(toolkit.Warnings.size(), 3u);
    EXPECT_EQ(toolkit.Warnings[0], "指定されたフォルダが見つかりませんでした。\n処理を終了します。");
    EXPECT_FALSE(std::filesystem::exists(Ini()));
}

TEST_F(FormExportTest, BackslashRuleWithTrailByteAndRelativePath)
{
    std::filesystem::create_directory(dir / "ソ");
    auto form = Loaded();
    form->ComboBoxDir.Text = dir / "ソ";  // ends in the trail byte 0x5C
    toolkit.PressOK();
    form->ShowModal();
    EXPECT_EQ(form->ComboBoxDir.Text, dir / "ソ\\");

    // A relative path is tested against the current directory and stored as typed.
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    auto relative = Loaded();
    relative->ComboBoxDir.Text = "ソ";
    toolkit.PressOK();
    relative->ShowModal();
    std::filesystem::current_path(cwd);
    EXPECT_TRUE(relative->OkPressed);
    EXPECT_EQ(relative->ComboBoxDir.Items.front(), dir / "ソ\\");
    auto loaded = Loaded();
    EXPECT_EQ(loaded->ComboBoxDir.Items, (std::vector<std::string>{"ソ\\", dir / "ソ\\"}));
}

TEST_F(FormExportTest, SavingFailureShowsTheErrorAndCancelDoesNotExport)
{
    std::filesystem::create_directory(dir / "settings.ini");  // cannot be read or replaced
    TFormExport form(toolkit);
    form.IniFileName = Ini();
    form.ComboBoxDir.Text = dir.Path();
    toolkit.PressOK();
    toolkit.PressCancel();
    form.ShowModal();
    ASSERT_EQ(toolkit.Errors.size(), 1u);
    EXPECT_FALSE(toolkit.StepsLeft());  // the dialog stayed open
    EXPECT_FALSE(form.OkPressed);       // the user's Cancel is honoured
    EXPECT_EQ(form.ComboBoxDir.Text, dir.Path() + "\\");
}

TEST_F(FormExportTest, BrowseStep)
{
    auto form = Loaded();
    form->ComboBoxDir.Text = "typed";
    toolkit.QueueFolderChoice(std::nullopt);
    toolkit.PressBrowse();
    toolkit.QueueFolderChoice(std::string("/chosen"));
    toolkit.PressBrowse();
    toolkit.PressCancel();
    toolkit.EnterValues([](TFormExport& f) { EXPECT_EQ(f.ComboBoxDir.Text, "/chosen"); });
    form->ShowModal();
    EXPECT_EQ(toolkit.FolderBrowserTitles, (std::vector<std::string>{"フォルダの選択", "フォルダの選択"}));
    EXPECT_EQ(toolkit.BringToFrontCalls, 2);
    EXPECT_EQ(form->ComboBoxDir.Text, "/chosen");
    EXPECT_FALSE(form->OkPressed);
    EXPECT_TRUE(toolkit.StepsLeft());  // the dialog closed at the Cancel
    EXPECT_FALSE(std::filesystem::exists(Ini()));
}
