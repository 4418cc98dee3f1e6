// The settings file's reader and writer: the file syntax it accepts and the file it writes.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/platform.h"
#include "ui/ini_file.h"
#include "ui/temp_dir.h"

TEST(IniFile, ReadsTheFileSyntax)
{
    TempDir dir;
    TempDir::WriteFile(dir / "s.ini",
                       "orphan=dropped\r\n"
                       "[State]\n"
                       "; comment=1\r"
                       "FindPos=2\r\n"
                       "\r\n"
                       " Spaced = a b \n"
                       "Eq=x=y\n"
                       "Empty=\n"
                       "Bare\n"
                       "Bare=found\n"
                       "FindPos=9\n"
                       "[dirhistory]\n"
                       "count=0x2\n");
    const TIniFile ini(dir / "s.ini");
    EXPECT_EQ(ini.ReadString("State", "orphan", "none"), "none");
    EXPECT_EQ(ini.ReadString("State", "; comment", "none"), "none");
    EXPECT_EQ(ini.ReadInteger("state", "findpos", 0), 2);  // case ignored, first line wins
    EXPECT_EQ(ini.ReadString("State", " Spaced ", ""), " a b ");  // nothing trimmed
    EXPECT_EQ(ini.ReadString("State", "Spaced", "none"), "none");
    EXPECT_EQ(ini.ReadString("State", "Eq", ""), "x=y");
    EXPECT_EQ(ini.ReadString("State", "Empty", "none"), "");
    EXPECT_EQ(ini.ReadString("State", "Bare", "none"), "found");  // a line without "=" has no key
    EXPECT_EQ(ini.ReadInteger("DirHistory", "Count", 0), 2);
    EXPECT_EQ(ini.ReadInteger("DirHistory", "Missing", 5), 5);
    EXPECT_EQ(ini.ReadInteger("Nowhere", "Count", 5), 5);
}

TEST(IniFile, WritesInPlaceAppendsAndSerialisesWithCrLf)
{
    TempDir dir;
    TempDir::WriteFile(dir / "s.ini", "; lost\n[A]\nk1=1\nnoequals\nk2=2\n[B]\nx=y\n");
    TIniFile ini(dir / "s.ini");
    ini.WriteString("a", "K1", "one");  // replaced where it stands, key keeps its spelling
    ini.WriteString("A", "k3", "3");    // appended at the end of its section
    ini.WriteString("A", "noequals", "n");  // a line without "=" is not its key
    ini.WriteInteger("C", "n", -4);     // new section after the last one
    ini.WriteBool("C", "b", true);
    ini.UpdateFile();
    EXPECT_EQ(TempDir::ReadFile(dir / "s.ini"),
              "[A]\r\nk1=one\r\nnoequals\r\nk2=2\r\nk3=3\r\nnoequals=n\r\n\r\n[B]\r\nx=y\r\n\r\n[C]\r\nn=-4\r\nb=1\r\n\r\n");
}

TEST(IniFile, MissingFileReadsEmptyAndIsCreatedOnWrite)
{
    TempDir dir;
    TIniFile ini(dir / "new.ini");
    EXPECT_EQ(ini.ReadString("S", "k", "d"), "d");
    ini.WriteString("S", "k", "v");
    ini.UpdateFile();
    EXPECT_EQ(TempDir::ReadFile(dir / "new.ini"), "[S]\r\nk=v\r\n\r\n");
}

TEST(IniFile, ErrorsOfReadingAndWriting)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "dir.ini");
    EXPECT_THROW(TIniFile(dir / "dir.ini"), qv::EInOutError);

    TIniFile ini(dir / "missing/s.ini");
    ini.WriteString("S", "k", "v");
    EXPECT_THROW(ini.UpdateFile(), qv::EFCreateError);

    // A value that would break the line structure is refused.
    EXPECT_THROW(ini.WriteString("S", "k", "a\r\nCount=99"), qv::Exception);
}
