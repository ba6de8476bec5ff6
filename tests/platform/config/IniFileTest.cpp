#include "qmx/platform/IniFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "ScratchFolder.h"

namespace qmx::platform {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const std::string kFixtures = QMX_FIXTURES;
const std::string kDefault = "<default>";

// One file holding every rule; the tests read it with LF, with CRLF and behind a UTF-8 BOM.
const std::string kRules =
    "key0=before any section\n"
    "[General]\n"
    "Name = Alice \n"
    "\tTab\t=\tvalue with tabs\t\n"
    "Quoted=\"  padded  \"\n"
    "Single='x'\n"
    "Twice=\"\"a\"\"\n"
    "Mismatched=\"abc'\n"
    "Lonely=\"\n"
    "Empty=\n"
    "Inner=a \"b\" c\n"
    "Comment=b ;c\n"
    ";Hidden=1\n"
    "   ; Hidden2=1\n"
    "NoEquals\n"
    "=novalue\n"
    "Eq=a=b\n"
    "Dup=first\n"
    "DUP=second\n"
    "\n"
    "[general]\n"
    "Name=Bob\n"
    "Extra=1\n"
    "[ Spaced ]\n"
    "k=v\n"
    "[Other]ignored text\n"
    "k=o\n"
    "[Unclosed\n"
    "k=u\n"
    "[Empty Section]\n"
    "[Last]\n"
    "k=no line end";

std::string WithCrLf(const std::string& text) { return std::regex_replace(text, std::regex("\n"), "\r\n"); }

TEST(TIniFileRules, ReadStringFollowsThePrivateProfileRules) {
    struct ReadCase {
        const char* section;
        const char* ident;
        std::string expected;
    };
    const ReadCase cases[] = {
        {"General", "Name", "Alice"},
        {"GENERAL", "name", "Alice"},
        {" General ", "Name", "Alice"},
        {"General", "Tab", "value with tabs"},
        {"General", "Quoted", "  padded  "},
        {"General", "Single", "x"},
        {"General", "Twice", "\"a\""},  // one pair only
        {"General", "Mismatched", "\"abc'"},
        {"General", "Lonely", "\""},
        {"General", "Empty", ""},  // present: empty, not the default
        {"General", "Inner", "a \"b\" c"},
        {"General", "Comment", "b ;c"},
        {"General", "Hidden", kDefault},
        {"General", "; Hidden2", kDefault},
        {"General", "NoEquals", kDefault},
        {"General", "", kDefault},
        {"General", "Eq", "a=b"},
        {"General", "dup", "first"},
        {"General", "Extra", kDefault},  // in the ignored second [general]
        {"Spaced", "k", "v"},
        {"Other", "k", "o"},
        {"Unclosed", "k", "u"},
        {"Last", "k", "no line end"},
        {"", "key0", kDefault},
        {"Missing", "k", kDefault},
    };
    const std::pair<const char*, std::string> variants[] = {
        {"LF", kRules},
        {"CRLF", WithCrLf(kRules)},
        {"UTF-8 BOM", "\xEF\xBB\xBF" + kRules},
    };
    for (const auto& [label, text] : variants) {
        SCOPED_TRACE(label);
        const TIniFile ini = TIniFile::FromText(text, "rules.ini", CP_WESTERN);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.section) + "/" + c.ident);
            EXPECT_EQ(ini.ReadString(c.section, c.ident, kDefault), c.expected);
            EXPECT_EQ(ini.ValueExists(c.section, c.ident), c.expected != kDefault);
        }
        EXPECT_THAT(ini.ReadSections(), ElementsAre("General", "Spaced", "Other", "Unclosed", "Empty Section", "Last"));
        EXPECT_THAT(ini.ReadSection("general"), ElementsAre("Name", "Tab", "Quoted", "Single", "Twice", "Mismatched",
                                                            "Lonely", "Empty", "Inner", "Comment", "Eq", "Dup", "DUP"));
        EXPECT_THAT(ini.ReadSectionValues("GENERAL"),
                    ElementsAre("Name=Alice", "Tab=value with tabs", "Quoted=  padded  ", "Single=x", "Twice=\"a\"",
                                "Mismatched=\"abc'", "Lonely=\"", "Empty=", "Inner=a \"b\" c", "Comment=b ;c",
                                "Eq=a=b", "Dup=first", "DUP=first"));
        EXPECT_TRUE(ini.SectionExists("empty section"));
        EXPECT_THAT(ini.ReadSection("Empty Section"), IsEmpty());
        EXPECT_FALSE(ini.SectionExists("Missing"));
        EXPECT_THAT(ini.ReadSection("Missing"), IsEmpty());
        EXPECT_THAT(ini.ReadSectionValues("Missing"), IsEmpty());
        EXPECT_EQ(ini.FileName(), "rules.ini");
    }
}

TEST(TIniFileRules, ReadIntegerTakesOnlyWholeNumbers) {
    struct IntegerCase {
        const char* value;
        int expected;  // -99: the default
    };
    const IntegerCase cases[] = {
        {"12", 12},
        {"-7", -7},
        {"+5", 5},
        {"007", 7},
        {"  42  ", 42},
        {"\"42\"", 42},
        {"0x1F", 31},
        {"0XfF", 255},
        {"0xFFFFFFFF", -1},
        {"0x00000010", 16},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", -99},
        {"-2147483649", -99},
        {"0x123456789", -99},
        {"0x", -99},
        {"0x1G", -99},
        {"0x-1", -99},
        {"-0x1", -99},
        {"12abc", -99},
        {"1 2", -99},
        {"1.5", -99},
        {"abc", -99},
        {"", -99},
        {"+", -99},
        {"-", -99},
        {"+-1", -99},
        {"--1", -99},
        {"- 1", -99},
        {"$1F", -99},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("value \"") + c.value + "\"");
        const TIniFile ini = TIniFile::FromText(std::string("[S]\nv=") + c.value + "\n", "", CP_WESTERN);
        EXPECT_EQ(ini.ReadInteger("S", "v", -99), c.expected);
    }
    const TIniFile ini = TIniFile::FromText("[S]\none=1\nzero=0\ntwo=2\nyes=yes\n", "", CP_WESTERN);
    EXPECT_EQ(ini.ReadInteger("S", "missing", 211), 211);
    EXPECT_TRUE(ini.ReadBool("S", "one", false));
    EXPECT_TRUE(ini.ReadBool("S", "two", false));
    EXPECT_FALSE(ini.ReadBool("S", "zero", true));
    EXPECT_TRUE(ini.ReadBool("S", "yes", true));  // not a number: the default
    EXPECT_FALSE(ini.ReadBool("S", "yes", false));
    EXPECT_TRUE(ini.ReadBool("S", "missing", true));
}

TEST(TIniFileRules, NulBytesAndHugeLinesAreReadSafely) {
    const TIniFile nul = TIniFile::FromText(std::string("[S]\na=b\0junk=1\nc=d\n[T\0]x\nk=1\n", 29), "", CP_WESTERN);
    EXPECT_EQ(nul.ReadString("S", "a", kDefault), "b");
    EXPECT_EQ(nul.ReadString("S", "c", kDefault), "d");
    EXPECT_THAT(nul.ReadSection("S"), ElementsAre("a", "c"));
    EXPECT_EQ(nul.ReadString("T", "k", kDefault), "1");

    const std::string huge(1024 * 1024, 'x');
    const TIniFile big = TIniFile::FromText("[S]\nhuge=" + huge + "\r\nafter=1\r\n" + huge + "\r\nlast=2\r\n", "",
                                            CP_WESTERN);
    EXPECT_EQ(big.ReadString("S", "huge", kDefault), huge);
    EXPECT_EQ(big.ReadInteger("S", "after", 0), 1);
    EXPECT_EQ(big.ReadInteger("S", "last", 0), 2);
}

TEST(TIniFileRules, DoubleByteTextIsScannedByCharacter) {
    // GBK: 乚 = 81 5D (']' as trail byte), 盡 = B1 4D ('M'), 眒 = B1 6D ('m').
    const TIniFile ini(kFixtures + "/ini/gbk.ini", CP_GB2312);
    EXPECT_EQ(ini.LoadError(), "");
    EXPECT_THAT(ini.ReadSections(), ElementsAre("\x81\x5D", "Keys"));
    EXPECT_EQ(ini.ReadString("\x81\x5D", "KEY", kDefault), "trail byte is ]");
    EXPECT_EQ(ini.ReadString("keys", "\xB1\x4D", kDefault), "full");
    EXPECT_EQ(ini.ReadString("keys", "\xB1\x6D", kDefault), kDefault);
}

TEST(TIniFileRules, ByteOrderMarksConvertToTheCodePage) {
    // 名 = C3 FB, 值 = D6 B5 in GBK.
    const TIniFile utf8(kFixtures + "/ini/sample-utf8-bom.ini", CP_GB2312);
    EXPECT_EQ(utf8.ReadString("Client Components", "LangType", kDefault), "CHT");
    EXPECT_EQ(utf8.ReadString("server information", "ComputerName", kDefault), "host1;host2;");
    EXPECT_EQ(utf8.ReadInteger("Server Information", "ServerPort", 211), 1024);
    EXPECT_EQ(utf8.ReadString("\xC3\xFB", "\xC3\xFB", kDefault), "\xD6\xB5");

    std::string utf16 = "\xFF\xFE";
    for (char16_t unit : std::u16string(u"[S]\r\n\u540D=\u503C\r\n")) {
        utf16 += static_cast<char>(unit & 0xFF);
        utf16 += static_cast<char>(unit >> 8);
    }
    EXPECT_EQ(TIniFile::FromText(utf16, "", CP_GB2312).ReadString("S", "\xC3\xFB", kDefault), "\xD6\xB5");

    // Without a mark the bytes are the code page's and stay as they are.
    EXPECT_EQ(TIniFile::FromText("[S]\nk=\xE5\x80\xBC\xFF\n", "", CP_GB2312).ReadString("S", "k", ""),
              "\xE5\x80\xBC\xFF");
}

TEST(TIniFileLoading, MissingAndUnreadableFilesReadAsEmpty) {
    test::ScratchFolder folder;
    const std::string missing = (folder.Path() / "none.ini").string();
    const TIniFile none(missing);
    EXPECT_EQ(none.FileName(), missing);
    EXPECT_EQ(none.LoadError(), "");
    EXPECT_EQ(none.ReadString("S", "k", kDefault), kDefault);
    EXPECT_THAT(none.ReadSections(), IsEmpty());

    const TIniFile folderAsFile(folder.Path().string());
    EXPECT_THAT(folderAsFile.LoadError(), HasSubstr("is a folder"));
    EXPECT_THAT(folderAsFile.ReadSections(), IsEmpty());

    const TIniFile belowAFile(folder.WriteFile("plain", "x") + "/sub.ini");
    EXPECT_EQ(belowAFile.LoadError(), "");  // a missing file, like any other

    const TIniFile onDisk(folder.WriteFile("a.ini", WithCrLf(kRules)), CP_WESTERN);
    EXPECT_EQ(onDisk.LoadError(), "");
    EXPECT_EQ(onDisk.ReadString("general", "NAME", kDefault), "Alice");
    EXPECT_EQ(onDisk.ReadString("Last", "k", kDefault), "no line end");
}

} // namespace
} // namespace qmx::platform
