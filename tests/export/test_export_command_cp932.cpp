// The native export command: options as the dialog's answers, its report, the settings file
// beside the run, and clear failures with non-zero exit codes for bad input.
#include <filesystem>
#include <sstream>

#include "export/host_fixture.h"
#include "export_command.h"

namespace {

class ExportCommand : public ::testing::Test {
protected:
    ExportCommand()
    {
        std::filesystem::create_directory(tmp / "mails");
        std::filesystem::create_directory(tmp / "out");
        TempDir::WriteFile(tmp / "mails/01.eml", "Subject: 会議\n\n本文\n");
        TempDir::WriteFile(tmp / "mails/02.eml", "Subject: x\n\n会議の本文\n");
        TempDir::WriteFile(tmp / "mails/03.eml", "Subject: y\n\nABC\n");
        TempDir::WriteFile(tmp / "mails/folder.state", "name=受信箱\n03.eml R\n");
    }

    int Run(std::vector<std::string> args)
    {
        out.str("");
        err.str("");
        args.insert(args.begin(), {"--settings", tmp / "s.ini"});
        return RunExportCommand(args, out, err);
    }
    std::vector<std::string> OutFiles() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(tmp / "out")) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir tmp;
    std::ostringstream out, err;
};

}  // namespace

TEST_F(ExportCommand, ExportsWithTheGivenAnswersAndReports)
{
    // The search text arrives in UTF-8 and is searched for in CP932.
    EXPECT_EQ(Run({"--dir", tmp / "out", "--find", u8"会議", "--find-pos", "body", "--mark-read", tmp / "mails"}), 0)
        << err.str();
    EXPECT_EQ(OutFiles(), (std::vector<std::string>{"1.eml"}));
    EXPECT_EQ(TempDir::ReadFile(tmp / "out/1.eml"), "Subject: x\r\n\r\n会議の本文\r\n");
    const std::string report = out.str();
    EXPECT_NE(report.find(u8"Folder 受信箱 (3 mails)"), std::string::npos) << report;
    EXPECT_NE(report.find("02.eml -> " + tmp.Path() + "/out/1.eml"), std::string::npos) << report;
    EXPECT_NE(report.find("1 of 3 mails exported"), std::string::npos) << report;
    EXPECT_NE(TempDir::ReadFile(tmp / "mails/folder.state").find("02.eml R"), std::string::npos);

    // A second run without answers takes the saved ones: same directory and search text.
    EXPECT_EQ(Run({tmp / "mails"}), 0) << err.str();
    EXPECT_EQ(OutFiles(), (std::vector<std::string>{"1.eml", "2.eml"}));
    EXPECT_NE(out.str().find(u8"text \"会議\" in body"), std::string::npos) << out.str();
}

TEST_F(ExportCommand, BadInputFailsWithAMessage)
{
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string message;
    } cases[] = {
        {{"--dir", tmp / "out", tmp / "none"}, 1, tmp / "none"},
        {{"--dir", tmp / "missing", tmp / "mails"}, 1, u8"指定されたフォルダが見つかりませんでした。"},
        {{"--dir", tmp / "out", "--find", "x", "--regexp", tmp / "mails"}, 1, u8"正規表現"},
        {{"--bogus", tmp / "mails"}, 2, "unknown option --bogus"},
        {{"--find-pos", "top", tmp / "mails"}, 2, "unknown search position"},
        {{"--dir"}, 2, "needs a directory"},
        {{}, 2, "no mail folder"},
        {{"a", "b"}, 2, "more than one"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.args), c.code) << c.message;
        EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    }
    EXPECT_TRUE(OutFiles().empty());
}

TEST_F(ExportCommand, SettingsFileThatCannotBeReadOrWritten)
{
    std::filesystem::create_directory(tmp / "dir.ini");
    std::ostringstream o, e;
    EXPECT_EQ(RunExportCommand({"--settings", tmp / "dir.ini", "--dir", tmp / "out", tmp / "mails"}, o, e), 1);
    EXPECT_NE(e.str().find("dir.ini"), std::string::npos) << e.str();

    std::ostringstream o2, e2;
    EXPECT_EQ(RunExportCommand({"--settings", tmp / "missing/s.ini", "--dir", tmp / "out", tmp / "mails"}, o2, e2), 1);
    EXPECT_NE(e2.str().find("s.ini"), std::string::npos) << e2.str();
    EXPECT_TRUE(OutFiles().empty());  // the dialog never confirmed: nothing exported
}

TEST_F(ExportCommand, CancelAndBracketedFolder)
{
    EXPECT_EQ(Run({"--dir", tmp / "out", "--cancel", tmp / "mails"}), 0);
    EXPECT_NE(out.str().find("cancelled"), std::string::npos);
    TempDir::WriteFile(tmp / "mails/folder.state", "name=[Trash]\n");
    EXPECT_EQ(Run({"--dir", tmp / "out", tmp / "mails"}), 0);
    EXPECT_NE(out.str().find("bracketed"), std::string::npos);
    EXPECT_TRUE(OutFiles().empty());
    EXPECT_FALSE(std::filesystem::exists(tmp / "s.ini"));
}

TEST_F(ExportCommand, ProgressLinesOnLongFolders)
{
    for (int i = 0; i < 250; ++i) TempDir::WriteFile(tmp / ("mails/m" + std::to_string(1000 + i)), "x");
    EXPECT_EQ(Run({"--dir", tmp / "out", "--find", "nothing matches", tmp / "mails"}), 0) << err.str();
    EXPECT_NE(out.str().find("100 of 253 mails examined"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("200 of 253 mails examined"), std::string::npos);
}
