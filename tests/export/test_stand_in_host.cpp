// The stand-in host itself: the mail folder and its state file, the walk, header and body,
// and the accounting of host strings that the export tests rely on to catch leaks.
#include <filesystem>

#include "export/host_fixture.h"

TEST(MailFolder, StateFileFlagsNameAndOrder)
{
    TempDir dir;
    TempDir::WriteFile(dir / "b.eml", "B");
    TempDir::WriteFile(dir / "a.eml", "A");
    TempDir::WriteFile(dir / "c d.eml", "CD");
    TempDir::WriteFile(dir / ".hidden", "x");
    std::filesystem::create_directory(dir / "sub");
    TempDir::WriteFile(dir / "folder.state", "; comment\r\nname= Box \r\nb.eml RS\r\nc d.eml  s\r\nunknown R\r\na.eml -\r\n");
    TMailFolder folder(dir.Path());
    ASSERT_EQ(folder.Mails().size(), 3u);
    EXPECT_EQ(folder.Mails()[0].Id, "a.eml");
    EXPECT_EQ(folder.Mails()[1].Id, "b.eml");
    EXPECT_EQ(folder.Mails()[2].Id, "c d.eml");
    EXPECT_EQ(folder.DisplayName(), " Box ");
    EXPECT_FALSE(folder.Find("a.eml")->Read || folder.Find("a.eml")->Selected);
    EXPECT_TRUE(folder.Find("b.eml")->Read && folder.Find("b.eml")->Selected);
    EXPECT_TRUE(!folder.Find("c d.eml")->Read && folder.Find("c d.eml")->Selected);

    folder.Find("a.eml")->Read = true;
    folder.SaveState();
    TMailFolder again(dir.Path());
    EXPECT_TRUE(again.Find("a.eml")->Read);
    EXPECT_TRUE(again.Find("c d.eml")->Selected);
    EXPECT_EQ(again.DisplayName(), " Box ");
}

TEST(MailFolder, DefaultNameAndMissingFolder)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "Inbox");
    EXPECT_EQ(TMailFolder(dir / "Inbox").DisplayName(), "Inbox");
    EXPECT_THROW(TMailFolder(dir / "none"), qv::EInOutError);
}

TEST(MailFolder, HeaderAndBody)
{
    struct Case {
        std::string source, header, body;
    } cases[] = {{"H: 1\r\n\r\nbody\r\n", "H: 1\r\n", "body\r\n"},
                 {"H: 1\nH: 2\n\nb\n\nc", "H: 1\nH: 2\n", "b\n\nc"},
                 {"no body", "no body", ""},
                 {"\nonly body", "", "only body"},
                 {"H\r\rb", "H\r", "b"}};
    for (const Case& c : cases) {
        EXPECT_EQ(TMailFolder::HeaderOf(c.source), c.header) << c.source;
        EXPECT_EQ(TMailFolder::BodyOf(c.source), c.body) << c.source;
    }
}

namespace {
class StandInHost : public HostFixture {};
}  // namespace

TEST_F(StandInHost, WalkDeliversEveryMailAndEndsWithMinusOne)
{
    AddMail("1", "a");
    AddMail("2", "b", "S");
    AddMail("3", "c");
    Open();
    char id[256];
    std::vector<std::pair<int, std::string>> walk;
    int start = -1;
    do {
        start = api->QVA_GetNextMail(start, id, 256, 0);
        walk.emplace_back(start, id);
    } while (start != -1);
    EXPECT_EQ(walk, (std::vector<std::pair<int, std::string>>{{0, "1"}, {1, "2"}, {-1, "3"}}));
    EXPECT_EQ(api->QVA_GetNextMail(-1, id, 256, 1), -1);
    EXPECT_STREQ(id, "2");
}

TEST_F(StandInHost, EmptyFolderDeliversAnEmptyIdentifier)
{
    Open();
    char id[256] = "junk";
    EXPECT_EQ(api->QVA_GetNextMail(-1, id, 256, 0), -1);
    EXPECT_STREQ(id, "");
    EXPECT_EQ(api->QVA_GetSource(id), nullptr);
}

TEST_F(StandInHost, AccountingReportsLeaksDoubleAndForeignFrees)
{
    AddMail("1", "H\n\nB");
    Open();
    char* source = api->QVA_GetSource("1");
    char* header = api->QVA_GetHeader("1");
    api->QVA_SetCurrentMail("1");
    char type[80] = {};
    char* text = api->QVA_GetText(type, 80);
    EXPECT_STREQ(source, "H\n\nB");
    EXPECT_STREQ(header, "H\n");
    EXPECT_STREQ(text, "B");
    EXPECT_EQ(host->Outstanding(), 3u);
    api->QVA_Free(source);
    api->QVA_Free(header);
    EXPECT_EQ(host->Problems().size(), 1u);  // text still outstanding
    api->QVA_Free(text);
    EXPECT_TRUE(host->Problems().empty());

    api->QVA_Free(text);
    char foreign[] = "x";
    api->QVA_Free(foreign);
    api->QVA_Free(nullptr);
    EXPECT_EQ(host->Problems().size(), 3u);
    api.reset();
    qv::platform::SetModules(nullptr);
    host.reset();  // the faults were expected here
}

TEST_F(StandInHost, SetStatusWritesTheStateFileBack)
{
    AddMail("1", "a");
    Open();
    api->QVA_SetStatus("1", 1, 0);
    EXPECT_EQ(api->QVA_GetStatus("1"), 1);
    EXPECT_TRUE(TMailFolder(tmp / "mails").Find("1")->Read);
    api->QVA_SetStatus("1", 0, 1);
    EXPECT_EQ(api->QVA_GetStatus("1"), 0);
}
