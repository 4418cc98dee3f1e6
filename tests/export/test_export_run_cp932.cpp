// One export run end to end through the stand-in host and the headless dialog: the folder-name
// rule, the selection pass, the write pass with its numbering, marking, and the errors.
#include <filesystem>

#include "export/host_fixture.h"
#include "platform/strutil.h"

namespace {

std::string Mail(const std::string& subject, const std::string& body)
{
    return "From: a@example.jp\nSubject: " + subject + "\n\n" + body;
}

class ExportRun : public HostFixture {
protected:
    // Five mails: 1 read with 会議 in the body, 2 unread with 会議 only in the subject,
    // 3 unread with 会議 in the body, 4 unread and selected, 5 unread with ABC in the body.
    void OpenSample(const std::string& name = "Inbox")
    {
        AddMail("1", Mail("a", "会議です\n"), "R");
        AddMail("2", Mail("会議", "なし\n"));
        AddMail("3", Mail("b", "次の会議\n"));
        AddMail("4", Mail("c", "選択\n"), "S");
        AddMail("5", Mail("d", "xABCx\n"));
        Open(name);
    }
};

}  // namespace

TEST_F(ExportRun, UnreadBodyMatchesAreWrittenAndMarked)
{
    OpenSample("  受信箱  ");
    Export([](TFormExport& f) {
        f.CheckBoxCloseMailOnly.Checked = true;
        f.CheckBoxMailOpen.Checked = true;
        f.ComboBoxFindStr.Text = " 会議\t";
        f.RadioGroupFindPos.ItemIndex = 1;
    });
    ASSERT_EQ(toolkit.DialogsShown.size(), 1u);
    EXPECT_EQ(toolkit.DialogsShown[0].Caption, "エクスポート受信箱");
    EXPECT_EQ(OutFiles(), (std::vector<std::string>{"1.eml"}));
    EXPECT_EQ(TempDir::ReadFile(Out("1.eml")), "From: a@example.jp\r\nSubject: b\r\n\r\n次の会議\r\n");
    EXPECT_TRUE(folder->Find("3")->Read);
    EXPECT_FALSE(folder->Find("2")->Read);
    // The read flag reached the state file beside the mails.
    EXPECT_NE(TempDir::ReadFile(tmp / "mails/folder.state").find("3 R"), std::string::npos);
    EXPECT_EQ(toolkit.ProgressTexts, (std::vector<std::string>{"エクスポートするメールを取得しています。",
                                                               "メールをエクスポートしています。"}));
    EXPECT_EQ(toolkit.MessageWindowsAlive, 0);
    EXPECT_EQ(CountCalls("GetHeader"), 0);  // body only
}

TEST_F(ExportRun, BracketRule)
{
    struct Case {
        std::string name;
        bool dialog;
    } cases[] = {{"[Mailbox]", false}, {"]", false}, {"x]", false}, {"[a]b]", true},
                 {" [Box] ", false}, {"x\x81]", false},  // ']' as the trail byte of ‐
                 {"[]]", true}, {"Box", true}, {"", true}};
    for (const Case& c : cases) {
        EXPECT_EQ(TExportParam::IsBracketedName(qv::TrimSpaces(c.name)), !c.dialog) << c.name;
    }
    OpenSample("[a]b]");
    toolkit.PressCancel();
    Execute();
    ASSERT_EQ(toolkit.DialogsShown.size(), 1u);
    EXPECT_EQ(toolkit.DialogsShown[0].Caption, "エクスポート[a]b]");
}

TEST_F(ExportRun, BracketedFolderEndsBeforeTheDialog)
{
    OpenSample("[Mailbox]");
    Execute();
    EXPECT_TRUE(toolkit.DialogsShown.empty());
    EXPECT_EQ(host->Calls, (std::vector<std::string>{"GetVersion", "GetCurrentFolder", "GetFolderDisplayName"}));
}

TEST_F(ExportRun, CancelEndsTheRun)
{
    OpenSample();
    toolkit.EnterValues([&](TFormExport& f) { f.ComboBoxDir.Text = OutDir(); });
    toolkit.PressCancel();
    Execute();
    EXPECT_EQ(toolkit.MessageWindowsCreated, 0);
    EXPECT_EQ(CountCalls("GetNextMail"), 0);
    EXPECT_FALSE(std::filesystem::exists(Ini()));
}

TEST_F(ExportRun, HeaderAndBodyAskTheHeaderOnlyWhenTheBodyFails)
{
    OpenSample();
    Export([](TFormExport& f) { f.ComboBoxFindStr.Text = "会議"; });
    EXPECT_EQ(OutFiles(), (std::vector<std::string>{"1.eml", "2.eml", "3.eml"}));  // mails 1, 2, 3
    EXPECT_EQ(CountCalls("GetHeader 1"), 0);
    EXPECT_EQ(CountCalls("GetHeader 2"), 1);
    EXPECT_EQ(CountCalls("GetHeader 3"), 0);
    EXPECT_EQ(CountCalls("GetHeader 4"), 1);
}

TEST_F(ExportRun, HeaderOnlyNeverTouchesTheBody)
{
    OpenSample();
    Export([](TFormExport& f) {
        f.ComboBoxFindStr.Text = "会議";
        f.RadioGroupFindPos.ItemIndex = 2;
    });
    EXPECT_EQ(OutFiles(), (std::vector<std::string>{"1.eml"}));
    EXPECT_EQ(CountCalls("SetCurrentMail"), 0);
    EXPECT_EQ(CountCalls("GetText"), 0);
}

TEST_F(ExportRun, SearchPositionMinusOneExaminesNothing)
{
    OpenSample();
    Export([](TFormExport& f) {
        f.ComboBoxFindStr.Text = "会議";
        f.RadioGroupFindPos.ItemIndex = -1;
    });
    EXPECT_TRUE(OutFiles().empty());
    EXPECT_EQ(CountCalls("GetSource"), 0);
}

TEST_F(ExportRun, BlankSearchStringMeansNoCondition)
{
    OpenSample();
    Export([](TFormExport& f) {
        f.ComboBoxFindStr.Text = " \t ";
        f.CheckBoxSelectMail.Checked = true;
    });
    EXPECT_EQ(OutFiles(), (std::vector<std::string>{"1.eml"}));  // only the selected mail 4
    EXPECT_EQ(TempDir::ReadFile(Out("1.eml")), "From: a@example.jp\r\nSubject: c\r\n\r\n選択\r\n");
    EXPECT_EQ(CountCalls("GetText"), 0);
}

TEST_F(ExportRun, StatusIsAskedForEveryMail)
{
    OpenSample();
    Export([](TFormExport&) {});
    EXPECT_EQ(OutFiles().size(), 5u);
    EXPECT_EQ(CountCalls("GetStatus"), 5);
}

TEST_F(ExportRun, CaseFolding)
{
    OpenSample();
    Export([](TFormExport& f) { f.ComboBoxFindStr.Text = "abc"; });
    EXPECT_EQ(OutFiles(), (std::vector<std::string>{"1.eml"}));
    std::filesystem::remove(Out("1.eml"));
    Export([](TFormExport& f) {
        f.ComboBoxFindStr.Text = "abc";
        f.CheckBoxUpperCase.Checked = true;
    });
    EXPECT_TRUE(OutFiles().empty());
}

TEST(MatchCondition, PlainSearch)
{
    struct Case {
        const char* text;
        std::string find;
        bool caseSensitive, match;
    } cases[] = {
        {"xABCx", "abc", false, true},  {"xabcx", "ABC", false, true}, {"xABCx", "abc", true, false},
        {"xabcx", "ABC", true, false},  {"ＡＢＣ", "ａｂｃ", false, true}, {"ＡＢＣ", "ａｂｃ", true, false},
        {"x\x81]y", "]", false, false},  // 0x5D only as a trail byte
        {"ヂ", "A", false, false},        // trail byte 0x61 is not a letter
        {"ヂ", "ア", false, false},
        {"", "a", false, false},         {nullptr, "a", false, false},
        {"会議\x81\x40", "会議\x81\x40", false, true}, {"会議", "会議\x81\x40", false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TExportParam::MatchCondition(c.text, c.find, c.caseSensitive, false), c.match)
            << (c.text ? c.text : "(null)") << " / " << c.find;
}

TEST(MatchCondition, RegularExpressionIsReportedAsUnavailable)
{
    try {
        TExportParam::MatchCondition("abc", "b+", false, true);
        FAIL() << "no error";
    } catch (const qv::Exception& error) {
        EXPECT_NE(std::string(error.what()).find("正規表現"), std::string::npos);
    }
}

TEST(LineCutting, CrLfAfterEveryLine)
{
    struct Case {
        const char* source;
        std::string written;
    } cases[] = {{"A\nB", "A\r\nB\r\n"},           {"A\r\n", "A\r\n"},
                 {"A\n\rB", "A\r\n\r\nB\r\n"},     {"A\rB", "A\r\nB\r\n"},
                 {"", ""},                          {"\n", "\r\n"},
                 {"A\r\n\r\nB\n\n", "A\r\n\r\nB\r\n\r\n"}, {"ソ\n表", "ソ\r\n表\r\n"}};
    for (const Case& c : cases) EXPECT_EQ(TExportParam::ToCrLfLines(c.source), c.written) << c.source;
}

TEST_F(ExportRun, NumberingSkipsTakenNamesAndNeverOverwrites)
{
    AddMail("a", "first");
    AddMail("b", "second");
    Open();
    TempDir::WriteFile(Out("1.eml"), "old one");
    TempDir::WriteFile(Out("3.eml"), "old three");
    Export([](TFormExport&) {});
    EXPECT_EQ(TempDir::ReadFile(Out("1.eml")), "old one");
    EXPECT_EQ(TempDir::ReadFile(Out("2.eml")), "first\r\n");
    EXPECT_EQ(TempDir::ReadFile(Out("3.eml")), "old three");
    EXPECT_EQ(TempDir::ReadFile(Out("4.eml")), "second\r\n");
}

TEST_F(ExportRun, NameTakenBetweenTestAndCreationTakesTheNextNumber)
{
    AddMail("a", "first");
    Open();
    // A dangling link passes the existence test but makes the exclusive creation fail, as a
    // file created by someone else at that moment would.
    std::filesystem::create_symlink(tmp / "nowhere", Out("1.eml"));
    Export([](TFormExport&) {});
    EXPECT_EQ(TempDir::ReadFile(Out("2.eml")), "first\r\n");
    EXPECT_FALSE(std::filesystem::exists(tmp / "nowhere"));
}

TEST_F(ExportRun, DirectoryNamedLikeTheFileEndsTheRun)
{
    AddMail("a", "first");
    AddMail("b", "second");
    AddMail("c", "third");
    Open();
    std::filesystem::create_directory(Out("2.eml"));
    EXPECT_THROW(Export([](TFormExport& f) { f.CheckBoxMailOpen.Checked = true; }), qv::EFCreateError);
    EXPECT_EQ(TempDir::ReadFile(Out("1.eml")), "first\r\n");  // written before: stays
    EXPECT_TRUE(folder->Find("a")->Read);
    EXPECT_FALSE(folder->Find("b")->Read);
    EXPECT_FALSE(folder->Find("c")->Read);
    EXPECT_EQ(OutFiles(), (std::vector<std::string>{"1.eml", "2.eml"}));
    EXPECT_EQ(toolkit.MessageWindowsAlive, 0);
    EXPECT_EQ(host->Outstanding(), 0u);
}

TEST_F(ExportRun, SourceGoneInTheWritePassUsesNoNumber)
{
    AddMail("a", "first");
    AddMail("b", "second");
    Open();
    int callsForA = 0;
    host->SetSourceFilter([&](const std::string& id) { return id != "a" || ++callsForA == 1; });
    Export([](TFormExport& f) { f.CheckBoxMailOpen.Checked = true; });
    EXPECT_EQ(OutFiles(), (std::vector<std::string>{"1.eml"}));
    EXPECT_EQ(TempDir::ReadFile(Out("1.eml")), "second\r\n");
    EXPECT_FALSE(folder->Find("a")->Read);
}

TEST_F(ExportRun, SourceMissingInTheSelectionPassIsNotListed)
{
    AddMail("a", "first");
    Open();
    host->SetSourceFilter([](const std::string&) { return false; });
    Export([](TFormExport&) {});
    EXPECT_TRUE(OutFiles().empty());
    EXPECT_EQ(CountCalls("GetSource"), 1);
    EXPECT_EQ(toolkit.ProgressTexts.size(), 2u);
}

TEST_F(ExportRun, OlderHostWithoutSetStatusStillWritesFiles)
{
    AddMail("a", "first");
    Open("Inbox", false);
    host->SetVersion("2.00.05");
    host->OmitFunction("QVA_SetStatus");
    ASSERT_TRUE(api->BindHost());
    Export([](TFormExport& f) { f.CheckBoxMailOpen.Checked = true; });
    EXPECT_EQ(OutFiles(), (std::vector<std::string>{"1.eml"}));
    EXPECT_FALSE(folder->Find("a")->Read);
    EXPECT_EQ(CountCalls("SetStatus"), 0);
}

TEST_F(ExportRun, EmptyFolder)
{
    Open();
    Export([](TFormExport&) {});
    EXPECT_TRUE(OutFiles().empty());
    EXPECT_EQ(CountCalls("GetNextMail"), 1);
    EXPECT_EQ(toolkit.MessageWindowsAlive, 0);
}

TEST_F(ExportRun, RegularExpressionErrorEndsTheRunBeforeAnyFile)
{
    OpenSample();
    EXPECT_THROW(Export([](TFormExport& f) {
                     f.ComboBoxFindStr.Text = "会議";
                     f.CheckBoxRegexp.Checked = true;
                 }),
                 qv::Exception);
    EXPECT_TRUE(OutFiles().empty());
    EXPECT_EQ(host->Outstanding(), 0u);  // the body fetched for the test went back
    EXPECT_EQ(toolkit.MessageWindowsAlive, 0);
}

TEST_F(ExportRun, UnreadableSettingsFileEndsTheRunBeforeTheDialog)
{
    OpenSample();
    std::filesystem::create_directory(Ini());
    EXPECT_THROW(Execute(), qv::EInOutError);
    EXPECT_TRUE(toolkit.DialogsShown.empty());
}

TEST_F(ExportRun, SecondRunSeesTheSavedSettings)
{
    OpenSample();
    Export([](TFormExport& f) {
        f.ComboBoxFindStr.Text = "ABC";
        f.CheckBoxUpperCase.Checked = true;
    });
    toolkit.PressCancel();
    Execute();
    ASSERT_EQ(toolkit.DialogsShown.size(), 2u);
    const THeadlessDialogSnapshot& second = toolkit.DialogsShown[1];
    EXPECT_EQ(second.DirText, OutDir() + "\\");
    EXPECT_EQ(second.FindItems, (std::vector<std::string>{"ABC"}));
    EXPECT_TRUE(second.UpperCase);
    EXPECT_EQ(second.ActivePage, 0);
}
