// The platform layer's file services: exclusive creation, removal of uncommitted files,
// whole-file replacement and the directory test.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/platform.h"
#include "ui/temp_dir.h"

using qv::platform::NewFile;

TEST(NewFile, CreatesExclusivelyAndNeverReplaces)
{
    TempDir dir;
    TempDir::WriteFile(dir / "taken", "old");
    EXPECT_EQ(NewFile::Create(dir / "taken"), nullptr);
    EXPECT_EQ(TempDir::ReadFile(dir / "taken"), "old");

    auto file = NewFile::Create(dir / "new");
    ASSERT_NE(file, nullptr);
    file->Write("abc");
    file->Commit();
    file.reset();
    EXPECT_EQ(TempDir::ReadFile(dir / "new"), "abc");
}

TEST(NewFile, UncommittedFileIsRemoved)
{
    TempDir dir;
    {
        auto file = NewFile::Create(dir / "half");
        ASSERT_NE(file, nullptr);
        file->Write("partial");
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "half"));
}

TEST(NewFile, FailuresRaiseCreateError)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "sub");
    EXPECT_THROW(NewFile::Create(dir / "sub"), qv::EFCreateError);  // a directory of that name
    EXPECT_THROW(NewFile::Create(dir / "missing/x"), qv::EFCreateError);
}

TEST(NewFile, BackslashIsTheDelimiter)
{
    TempDir dir;
    auto file = NewFile::Create(dir.Path() + "\\x.eml");
    ASSERT_NE(file, nullptr);
    file->Commit();
    EXPECT_TRUE(std::filesystem::exists(dir / "x.eml"));
    EXPECT_TRUE(qv::platform::DirectoryExists(dir.Path() + "\\"));
}

TEST(FileTests, FilesAndDirectories)
{
    TempDir dir;
    TempDir::WriteFile(dir / "f", "x");
    EXPECT_TRUE(qv::platform::FileExists(dir / "f"));
    EXPECT_FALSE(qv::platform::FileExists(dir.Path()));
    EXPECT_TRUE(qv::platform::DirectoryExists(dir.Path()));
    EXPECT_FALSE(qv::platform::DirectoryExists(dir / "f"));
    EXPECT_FALSE(qv::platform::DirectoryExists(dir / "none"));
    EXPECT_FALSE(qv::platform::DirectoryExists(""));
}

TEST(ReplaceWholeFile, ReplacesAndLeavesNoTemporary)
{
    TempDir dir;
    TempDir::WriteFile(dir / "s.ini", "old");
    TempDir::WriteFile(dir / "s.ini.tmp", "stale temporary from a crash");
    qv::platform::ReplaceWholeFile(dir / "s.ini", "new");
    EXPECT_EQ(TempDir::ReadFile(dir / "s.ini"), "new");
    EXPECT_EQ(TempDir::ReadFile(dir / "s.ini.tmp"), "stale temporary from a crash");
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) (void)entry, ++entries;
    EXPECT_EQ(entries, 2);
}

TEST(ReplaceWholeFile, FailureLeavesTheOldFile)
{
    TempDir dir;
    EXPECT_THROW(qv::platform::ReplaceWholeFile(dir / "missing/s.ini", "x"), qv::EFCreateError);
    // The target is a directory: the rename fails, the temporary goes away.
    std::filesystem::create_directory(dir / "d.ini");
    TempDir::WriteFile(dir / "d.ini/inside", "x");
    EXPECT_THROW(qv::platform::ReplaceWholeFile(dir / "d.ini", "x"), qv::EInOutError);
    EXPECT_FALSE(std::filesystem::exists(dir / "d.ini.tmp"));
}

TEST(ReadWholeFile, MissingUnreadableAndPresent)
{
    TempDir dir;
    std::string text = "junk";
    EXPECT_FALSE(qv::platform::ReadWholeFile(dir / "none", text));
    EXPECT_EQ(text, "");
    EXPECT_THROW(qv::platform::ReadWholeFile(dir.Path(), text), qv::EInOutError);
    TempDir::WriteFile(dir / "f", std::string("a\0b", 3));
    EXPECT_TRUE(qv::platform::ReadWholeFile(dir / "f", text));
    EXPECT_EQ(text, std::string("a\0b", 3));
}
