// Reading synonym dictionaries: the row format, the errors that name the offending
// line, and handing a loaded dictionary to the preprocessor. Literals are CP932 bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "regexp/preprocessor.h"
#include "regexp/synonym_file.h"

namespace {

TEST(SynonymFile, ParsesRowsAndSkipsBlankLines) {
    const std::string text =
        "color,colour\r\n"
        "\r\n"
        "  gray , grey\t\n"
        "New York,NYC\n"
        "ソ,表,\x83\x5C\x95\x5C\n"  // trail bytes 0x5C stay inside their characters
        "   \t \n"
        "a,b\r"                     // a lone CR ends a line too
        "c,d";                      // no line end at the end
    const REDictionary_t expected = {
        {"color", "colour"}, {"gray", "grey"}, {"New York", "NYC"},
        {"ソ", "表", "ソ表"}, {"a", "b"}, {"c", "d"},
    };
    EXPECT_EQ(ParseSynonymDic(text), expected);
    EXPECT_TRUE(ParseSynonymDic("").empty());
    EXPECT_TRUE(ParseSynonymDic("\r\n\n").empty());
}

struct BadCase {
    std::string text;
    ESynonymDicError::Kind kind;
    int line;
};

TEST(SynonymFile, MalformedTextNamesTheLine) {
    const BadCase cases[] = {
        {"a,b\n,c", ESynonymDicError::sdeEmptyForm, 2},
        {"a,b\n\nc,,d", ESynonymDicError::sdeEmptyForm, 3},
        {"a,b,\n", ESynonymDicError::sdeEmptyForm, 1},
        {"a, ,b", ESynonymDicError::sdeEmptyForm, 1},
        {"a,b\r\nalone\r\n", ESynonymDicError::sdeSingleForm, 2},
        {"a,b\r\r\nc", ESynonymDicError::sdeSingleForm, 3},
        {"a,\x82", ESynonymDicError::sdeBrokenDBCS, 1},
        {"a,\x82\nb,c", ESynonymDicError::sdeBrokenDBCS, 1},
        {"a,b\n\x82,c", ESynonymDicError::sdeBrokenDBCS, 2},  // lead byte before a comma
        {"a,\x82\x7F", ESynonymDicError::sdeBrokenDBCS, 1},
        {std::string("a,b\0c", 5), ESynonymDicError::sdeControlChar, 1},
        {"x,y\na,\x1B" "b", ESynonymDicError::sdeControlChar, 2},
    };
    for (const auto &c : cases) {
        try {
            ParseSynonymDic(c.text, "syn.txt");
            ADD_FAILURE() << "no error for line " << c.line;
        } catch (const ESynonymDicError &e) {
            EXPECT_EQ(e.ErrorKind, c.kind) << e.what();
            EXPECT_EQ(e.LineNo, c.line) << e.what();
            const std::string message = e.what();
            EXPECT_NE(message.find("\"syn.txt\" の " + std::to_string(c.line) + " 行目"), std::string::npos)
                << message;
        }
    }
}

class SynonymFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = ::testing::TempDir() + "qv_synonyms_" + info->name() + ".txt";
    }
    void TearDown() override { std::remove(path_.c_str()); }
    void Write(const std::string &bytes) {
        std::ofstream out(path_, std::ios::binary);
        out << bytes;
    }
    std::string path_;
};

TEST_F(SynonymFileOnDisk, LoadedDictionaryDrivesTheSynonymPass) {
    Write("color,colour\r\nｶﾞｽ,ガス\r\n");
    TREPreProcessor pp;
    pp.ListOfSynonymDic().push_back(std::make_shared<const REDictionary_t>(LoadSynonymDic(path_)));
    pp.SetUseSynonymDic(true);
    pp.SetTargetRegExpStr("colors?|ガス");
    pp.Run();
    EXPECT_EQ(pp.ProcessedRegExpStr(), "(color|colour)s?|(ｶﾞｽ|ガス)");
    pp.SetTargetRegExpStr("ガス|ｶﾞｽ");
    pp.Run();
    EXPECT_EQ(pp.ProcessedRegExpStr(), "(ｶﾞｽ|ガス)|(ｶﾞｽ|ガス)");
}

TEST_F(SynonymFileOnDisk, ErrorsNameTheFile) {
    Write("a,b\nc\n");
    try {
        LoadSynonymDic(path_);
        ADD_FAILURE() << "no error";
    } catch (const ESynonymDicError &e) {
        EXPECT_EQ(e.ErrorKind, ESynonymDicError::sdeSingleForm);
        EXPECT_EQ(e.LineNo, 2);
        EXPECT_NE(std::string(e.what()).find(path_), std::string::npos);
    }
}

TEST_F(SynonymFileOnDisk, UnreadableFileIsReported) {
    for (const std::string &name : {path_ + ".missing", ::testing::TempDir()}) {
        try {
            LoadSynonymDic(name);
            ADD_FAILURE() << "no error for " << name;
        } catch (const ESynonymDicError &e) {
            EXPECT_EQ(e.ErrorKind, ESynonymDicError::sdeCannotRead) << name;
            EXPECT_EQ(e.LineNo, 0);
            EXPECT_NE(std::string(e.what()).find(name), std::string::npos);
        }
    }
}

TEST_F(SynonymFileOnDisk, EmptyFileIsAnEmptyDictionary) {
    Write("");
    EXPECT_TRUE(LoadSynonymDic(path_).empty());
}

}  // namespace
