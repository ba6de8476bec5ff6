#include "qmx/platform/RegistryHive.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScratchFolder.h"

namespace qmx::platform {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kHeader = "Windows Registry Editor Version 5.00\r\n";
const std::string kFixtures = QMX_FIXTURES;

std::vector<std::string> Diagnostics(const RegistryHive& hive) {
    std::vector<std::string> texts;
    for (const auto& diagnostic : hive.Diagnostics()) texts.push_back(diagnostic.ToString());
    return texts;
}

const RegValue* FindValue(const RegistryHive& hive, RegRoot root, std::string_view path, std::string_view name) {
    auto key = hive.FindKey(root, path);
    return key ? hive.FindValue(*key, name) : nullptr;
}

std::vector<AnsiString> ValueNames(const RegistryHive& hive, RegRoot root, std::string_view path) {
    auto key = hive.FindKey(root, path);
    return key ? hive.ValueNames(*key) : std::vector<AnsiString>{"<no key>"};
}

std::string Utf16LeWithBom(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// --- value types -------------------------------------------------------------------------------

struct ValueCase {
    const char* label;
    std::string lines;  // below [HKEY_CURRENT_USER\K]
    std::string name;
    RegValueType type;
    std::string text = {};
    std::uint64_t number = 0;
    std::vector<std::string> strings = {};
    std::vector<std::uint8_t> data = {};
};

TEST(RegistryHiveValues, EveryValueFormReadsAsWritten) {
    const ValueCase cases[] = {
        {"text", R"("S"="plain")", "S", RegValueType::String, "plain"},
        {"escapes", R"("S"="C:\\Dir\\ \"q\"")", "S", RegValueType::String, R"(C:\Dir\ "q")"},
        {"empty text", R"("S"="")", "S", RegValueType::String, ""},
        {"default value", R"(@="def")", "", RegValueType::String, "def"},
        {"escaped name with '='", R"("a\"b=c"="v")", "a\"b=c", RegValueType::String, "v"},
        {"blanks around '='", "\"S\" =\t\"v\"", "S", RegValueType::String, "v"},
        {"text converted to the code page", "\"\xE5\x90\x8D\"=\"\xE5\x80\xBC\"", "\xC3\xFB", RegValueType::String,
         "\xD6\xB5"},
        {"dword", "\"D\"=dword:0000001f", "D", RegValueType::DWord, "", 31, {}, {0x1f, 0, 0, 0}},
        {"dword upper case", "\"D\"=DWORD:FFFFFFFF", "D", RegValueType::DWord, "", 0xFFFFFFFF, {},
         {0xff, 0xff, 0xff, 0xff}},
        {"dword short", "\"D\"=dword:7", "D", RegValueType::DWord, "", 7, {}, {7, 0, 0, 0}},
        {"binary", "\"B\"=hex:de,ad,BE,ef", "B", RegValueType::Binary, "", 0, {}, {0xde, 0xad, 0xbe, 0xef}},
        {"empty binary", "\"B\"=hex:", "B", RegValueType::Binary},
        {"continued hex list", "\"B\"=hex:01,02,\\\r\n  03,\\\r\n  04", "B", RegValueType::Binary, "", 0, {},
         {1, 2, 3, 4}},
        {"hex(3) is binary", "\"B\"=hex(3):05", "B", RegValueType::Binary, "", 0, {}, {5}},
        {"hex(0)", "\"N\"=hex(0):", "N", RegValueType::None},
        {"hex(1)", "\"S\"=hex(1):41,00,00,00", "S", RegValueType::String, "A", 0, {}, {0x41, 0, 0, 0}},
        {"hex(2)", "\"E\"=hex(2):25,00,50,00,25,00,00,00", "E", RegValueType::ExpandString, "%P%", 0, {},
         {0x25, 0, 0x50, 0, 0x25, 0, 0, 0}},
        {"hex(2) converted to the code page", "\"E\"=hex(2):3c,50,00,00", "E", RegValueType::ExpandString,
         "\xD6\xB5", 0, {}, {0x3c, 0x50, 0, 0}},
        {"hex(2) without terminator", "\"E\"=hex(2):41,00", "E", RegValueType::ExpandString, "A", 0, {},
         {0x41, 0}},
        {"hex(7)", "\"M\"=hex(7):61,00,00,00,62,00,63,00,00,00,00,00", "M", RegValueType::MultiString, "", 0,
         {"a", "bc"}, {0x61, 0, 0, 0, 0x62, 0, 0x63, 0, 0, 0, 0, 0}},
        {"hex(4)", "\"D\"=hex(4):2a,01,00,00", "D", RegValueType::DWord, "", 0x12a, {}, {0x2a, 1, 0, 0}},
        {"hex(b)", "\"Q\"=hex(b):01,00,00,00,00,00,00,80", "Q", RegValueType::QWord, "", 0x8000000000000001ull, {},
         {1, 0, 0, 0, 0, 0, 0, 0x80}},
        {"other hex(n) kept as bytes", "\"L\"=hex(5):00,00,00,01", "L", RegValueType::DWordBigEndian, "", 0, {},
         {0, 0, 0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        RegistryHive hive(CP_GB2312);
        ASSERT_TRUE(hive.LoadFromText(kHeader + "[HKEY_CURRENT_USER\\K]\r\n" + c.lines + "\r\n", "t.reg"));
        EXPECT_THAT(Diagnostics(hive), IsEmpty());
        const RegValue* value = FindValue(hive, RegRoot::CurrentUser, "K", c.name);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->Name, c.name);
        EXPECT_EQ(value->Type, c.type);
        EXPECT_EQ(value->Text, c.text);
        EXPECT_EQ(value->Number, c.number);
        EXPECT_EQ(value->Strings, c.strings);
        EXPECT_EQ(value->Data, c.data);
    }
}

TEST(RegistryHiveValues, Regedit4TextBytesAreCodePageBytes) {
    RegistryHive hive(CP_GB2312);
    ASSERT_TRUE(hive.LoadFromText("REGEDIT4\n\n[HKEY_CURRENT_USER\\K]\n"
                                  "\"E\"=hex(2):d6,b5,00\n"
                                  "\"M\"=hex(7):61,00,62,63,00,00\n",
                                  "t.reg"));
    EXPECT_THAT(Diagnostics(hive), IsEmpty());
    EXPECT_EQ(FindValue(hive, RegRoot::CurrentUser, "K", "E")->Text, "\xD6\xB5");
    EXPECT_THAT(FindValue(hive, RegRoot::CurrentUser, "K", "M")->Strings, ElementsAre("a", "bc"));
}

// --- bad input -----------------------------------------------------------------------------------

struct BadLineCase {
    const char* label;
    std::string line;
    std::string reason;
};

TEST(RegistryHiveBadInput, ABadValueLineIsSkippedWithItsDiagnostic) {
    const BadLineCase cases[] = {
        {"unterminated text", R"("A"="abc)", "missing closing quote"},
        {"unterminated name", R"("A=1)", "missing closing quote"},
        {"backslash at the end", R"("A"="a\)", "missing closing quote"},
        {"unknown escape", R"("A"="a\n")", R"(bad escape sequence "\n" (only \\ and \" are allowed))"},
        {"text after the quote", R"("A"="a" b)", "text after the closing quote"},
        {"no '='", R"("A" "b")", "missing '=' after the value name"},
        {"unknown type", R"("A"=qword:1)", R"(unknown value type "qword")"},
        {"bare number", R"("A"=12)", R"(unknown value type "12")"},
        {"dword of 9 digits", R"("A"=dword:123456789)", "dword value needs 1 to 8 hex digits"},
        {"empty dword", R"("A"=dword:)", "dword value needs 1 to 8 hex digits"},
        {"dword not hex", R"("A"=dword:12g)", "dword value needs 1 to 8 hex digits"},
        {"bad hex byte", R"("A"=hex:01,1g)", R"(bad byte "1g" in hex list)"},
        {"empty hex byte", R"("A"=hex:01,,02)", R"(bad byte "" in hex list)"},
        {"hex byte of 3 digits", R"("A"=hex:123)", R"(bad byte "123" in hex list)"},
        {"bad hex type", R"("A"=hex(x):00)", "bad type number in hex(...)"},
        {"unclosed hex type", R"("A"=hex(2:00)", "bad type number in hex(...)"},
        {"no ':' after hex type", R"("A"=hex(2)00)", "missing ':' after hex(...)"},
        {"odd UTF-16 text", R"("A"=hex(2):41)", "text value of an odd number of bytes"},
        {"short qword", R"("A"=hex(b):01,02)", "hex(b) value needs 8 bytes"},
        {"short dword", R"("A"=hex(4):01)", "hex(4) value needs 4 bytes"},
        {"garbage", "garbage", R"(unrecognised line "garbage")"},
        {"control bytes", "\x01\x02", R"(unrecognised line "\x01\x02")"},
        {"NUL byte", std::string("\"A\"=\"x\0y\"", 10), "NUL byte in line"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        RegistryHive hive(CP_WESTERN);
        EXPECT_TRUE(hive.LoadFromText(kHeader + "[HKEY_CURRENT_USER\\K]\r\n" + c.line + "\r\n\"Good\"=\"yes\"\r\n",
                                      "t.reg"));
        EXPECT_THAT(Diagnostics(hive), ElementsAre("t.reg:3: " + c.reason));
        EXPECT_THAT(ValueNames(hive, RegRoot::CurrentUser, "K"), ElementsAre("Good"));
    }
}

TEST(RegistryHiveBadInput, ABadKeyLineSkipsItsValuesInsteadOfGivingThemToThePreviousKey) {
    const BadLineCase cases[] = {
        {"no ']'", "[HKEY_CURRENT_USER\\K", "key line without closing ']'"},
        {"unknown root", "[HKEY_NOWHERE\\K]", R"(unknown root key "HKEY_NOWHERE")"},
        {"empty key name", "[HKEY_CURRENT_USER\\A\\\\B]", R"(empty key name in "HKEY_CURRENT_USER\A\\B")"},
        {"no root", "[]", R"(unknown root key "")"},
        {"NUL byte", std::string("[HKEY_CURRENT_USER\\\0]", 21), "NUL byte in line"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        RegistryHive hive(CP_WESTERN);
        hive.LoadFromText(kHeader + "[HKEY_CURRENT_USER\\Prev]\r\n\"P\"=\"1\"\r\n" + c.line +
                              "\r\n\"V\"=\"2\"\r\n[HKEY_CURRENT_USER\\After]\r\n\"W\"=\"3\"\r\n",
                          "t.reg");
        EXPECT_THAT(Diagnostics(hive), ElementsAre("t.reg:4: " + c.reason));
        EXPECT_THAT(ValueNames(hive, RegRoot::CurrentUser, "Prev"), ElementsAre("P"));
        EXPECT_THAT(ValueNames(hive, RegRoot::CurrentUser, "After"), ElementsAre("W"));
    }
}

TEST(RegistryHiveBadInput, AFileWithoutHeaderIsRejectedWhole) {
    struct HeaderCase {
        const char* label;
        std::string text;
        bool accepted;
        std::vector<std::string> diagnostics;
    };
    const std::string missing =
        "missing header \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"; file ignored";
    const HeaderCase cases[] = {
        {"empty file", "", false, {"t.reg:1: empty file: no header; file ignored"}},
        {"blank lines only", "\r\n  \r\n", false, {"t.reg:2: empty file: no header; file ignored"}},
        {"no header", "[HKEY_CURRENT_USER\\K]\r\n\"A\"=\"1\"\r\n", false, {"t.reg:1: " + missing}},
        {"other version", "Windows Registry Editor Version 4.00\r\n[HKEY_CURRENT_USER\\K]\r\n", false,
         {"t.reg:1: " + missing}},
        {"header after a comment", "; note\r\n" + kHeader + "[HKEY_CURRENT_USER\\K]\r\n", false,
         {"t.reg:1: " + missing}},
        {"blank lines and blanks around the header", "\r\n  \r\n  REGEDIT4  \r\n[HKEY_CURRENT_USER\\K]\r\n", true, {}},
        {"LF only", "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n", true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        RegistryHive hive(CP_WESTERN);
        EXPECT_EQ(hive.LoadFromText(c.text, "t.reg"), c.accepted);
        EXPECT_EQ(Diagnostics(hive), c.diagnostics);
        EXPECT_EQ(hive.FindKey(RegRoot::CurrentUser, "K").has_value(), c.accepted);
    }
}

TEST(RegistryHiveBadInput, OtherLinesAndQuietlyIgnoredOnes) {
    RegistryHive hive(CP_WESTERN);
    hive.LoadFromText(kHeader +
                          "\"Early\"=\"1\"\r\n"                      // 2: no key yet
                          "; comment\r\n"
                          "   ; indented comment\r\n"
                          "[HKEY_CURRENT_USER\\K]\r\n"
                          "\"X\"=\"1\"\r\n"
                          "\"X\"=-\r\n"                              // deletes nothing
                          "[-HKEY_CURRENT_USER\\Gone]\r\n"
                          "\"Y\"=\"1\"\r\n"
                          "\"Z\"=hex:01,\\\r\n"                      // continuation of an ignored key
                          "  02\r\n"
                          "[HKEY_CURRENT_USER\\K]\r\n"
                          "\"Last\"=hex:01,\\\r\n",                  // 13: the list never ends
                      "t.reg");
    EXPECT_THAT(Diagnostics(hive), ElementsAre("t.reg:2: value before the first key line",
                                               "t.reg:13: hex list continues past the end of the file"));
    EXPECT_THAT(ValueNames(hive, RegRoot::CurrentUser, "K"), ElementsAre("X"));
    EXPECT_EQ(FindValue(hive, RegRoot::CurrentUser, "K", "X")->Text, "1");
    EXPECT_FALSE(hive.FindKey(RegRoot::CurrentUser, "Gone"));
}

TEST(RegistryHiveBadInput, OverlongLinesAreSkippedAndTheRestIsRead) {
    constexpr std::size_t kMaxLine = 1024 * 1024;  // the parser's limit
    const std::string tooLong = "line longer than " + std::to_string(kMaxLine) + " bytes";
    const std::string longText(kMaxLine + 1, 'x');
    std::string longList = "\"List\"=hex:00,\\\r\n";
    std::string bytes;
    for (int i = 0; i < 32; ++i) bytes += "00,";
    for (std::size_t joined = 0; joined <= kMaxLine; joined += bytes.size()) longList += "  " + bytes + "\\\r\n";
    longList += "  00\r\n";

    RegistryHive hive(CP_WESTERN);
    hive.LoadFromText(kHeader + "[HKEY_CURRENT_USER\\K]\r\n"
                                "\"Long\"=\"" + longText + "\"\r\n"
                                "\"A\"=\"1\"\r\n"
                                "[HKEY_CURRENT_USER\\" + longText + "]\r\n"
                                "\"Lost\"=\"1\"\r\n"
                                "[HKEY_CURRENT_USER\\L]\r\n" +
                          longList + "\"After\"=\"1\"\r\n",
                      "t.reg");
    EXPECT_THAT(Diagnostics(hive), ElementsAre("t.reg:3: " + tooLong, "t.reg:5: " + tooLong,
                                               "t.reg:8: hex list longer than " + std::to_string(kMaxLine) +
                                                   " bytes"));
    EXPECT_THAT(ValueNames(hive, RegRoot::CurrentUser, "K"), ElementsAre("A"));
    EXPECT_THAT(ValueNames(hive, RegRoot::CurrentUser, "L"), ElementsAre("After"));
}

TEST(RegistryHiveBadInput, StrictModeRaisesAtTheFirstProblemAndAddsNothing) {
    RegistryHive hive(CP_WESTERN);
    const std::string text = kHeader + "[HKEY_CURRENT_USER\\K]\r\n\"A\"=\"1\"\r\n\"B\"=\"2\r\n\"C\"=12\r\n";
    try {
        hive.LoadFromText(text, "t.reg", RegParseMode::Strict);
        FAIL() << "no ERegistryException";
    } catch (const ERegistryException& error) {
        EXPECT_EQ(error.Message(), "t.reg:4: missing closing quote");
    }
    EXPECT_FALSE(hive.FindKey(RegRoot::CurrentUser, "K"));
    EXPECT_THAT(Diagnostics(hive), ElementsAre("t.reg:4: missing closing quote"));

    EXPECT_THROW(hive.LoadFromText("[HKEY_CURRENT_USER\\K]\r\n", "t.reg", RegParseMode::Strict), ERegistryException);
    test::ScratchFolder folder;
    const std::string missing = (folder.Path() / "none.reg").string();
    try {
        hive.LoadFromFile(missing, RegParseMode::Strict);
        FAIL() << "no ERegistryException";
    } catch (const ERegistryException& error) {
        EXPECT_EQ(error.Message(), missing + ": cannot open: No such file or directory");
    }
    // The same text loads leniently, without the bad lines.
    RegistryHive lenient(CP_WESTERN);
    EXPECT_TRUE(lenient.LoadFromText(text, "t.reg"));
    EXPECT_THAT(ValueNames(lenient, RegRoot::CurrentUser, "K"), ElementsAre("A"));
    EXPECT_EQ(lenient.Diagnostics().size(), 2u);
}

TEST(RegistryHiveBadInput, FilesThatCannotBeReadAreDiagnostics) {
    test::ScratchFolder folder;
    RegistryHive hive(CP_WESTERN);
    EXPECT_FALSE(hive.LoadFromFile((folder.Path() / "none.reg").string()));
    EXPECT_FALSE(hive.LoadFromFile(folder.Path().string()));
    EXPECT_THAT(Diagnostics(hive),
                ElementsAre((folder.Path() / "none.reg").string() + ": cannot open: No such file or directory",
                            folder.Path().string() + ": is a folder, not a file"));
}

// --- encodings -----------------------------------------------------------------------------------

TEST(RegistryHiveEncoding, EveryEncodingGivesCodePageBytes) {
    // 名 = C3 FB and 值 = D6 B5 in GBK.
    const std::string body = "[HKEY_CURRENT_USER\\\xE5\x90\x8D]\r\n\"\xE5\x90\x8D\"=\"\xE5\x80\xBC\"\r\n";
    struct EncodingCase {
        const char* label;
        std::string bytes;
    };
    const EncodingCase cases[] = {
        {"UTF-8", kHeader + body},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + kHeader + body},
        {"UTF-16LE with BOM", Utf16LeWithBom(u"Windows Registry Editor Version 5.00\r\n"
                                             u"[HKEY_CURRENT_USER\\\u540D]\r\n\"\u540D\"=\"\u503C\"\r\n")},
        {"GBK without BOM", "REGEDIT4\r\n[HKEY_CURRENT_USER\\\xC3\xFB]\r\n\"\xC3\xFB\"=\"\xD6\xB5\"\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        RegistryHive hive(CP_GB2312);
        ASSERT_TRUE(hive.LoadFromText(c.bytes, "t.reg"));
        EXPECT_THAT(Diagnostics(hive), IsEmpty());
        const RegValue* value = FindValue(hive, RegRoot::CurrentUser, "\xC3\xFB", "\xC3\xFB");
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->Text, "\xD6\xB5");
    }
}

TEST(RegistryHiveEncoding, FixtureFilesInEachEncoding) {
    RegistryHive hive(CP_GB2312);
    ASSERT_TRUE(hive.LoadFromFile(kFixtures + "/registry/override-utf16.reg"));
    ASSERT_TRUE(hive.LoadFromFile(kFixtures + "/registry/legacy-gbk.reg"));
    EXPECT_THAT(Diagnostics(hive), IsEmpty());
    // 客户端 in GBK.
    EXPECT_EQ(FindValue(hive, RegRoot::LocalMachine, "Software\\QMX\\Taskora", "ClientPath")->Text,
              "D:\\\xBF\xCD\xBB\xA7\xB6\xCB\\");
    EXPECT_EQ(FindValue(hive, RegRoot::CurrentUser, "Software\\\xD6\xD0\xCE\xC4", "\xC3\xFB")->Text, "\xD6\xB5");
    EXPECT_EQ(FindValue(hive, RegRoot::CurrentUser, "Software\\\xD6\xD0\xCE\xC4", "Text")->Text, "\xD6\xD0");
}

TEST(RegistryHiveEncoding, UnsupportedOrBrokenEncodingsAreReported) {
    RegistryHive hive(CP_WESTERN);
    EXPECT_FALSE(hive.LoadFromText("\xFE\xFF\0W", "be.reg"));
    EXPECT_TRUE(hive.LoadFromText(Utf16LeWithBom(u"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n") + "\x41", "odd.reg"));
    EXPECT_TRUE(hive.LoadFromText("\xEF\xBB\xBF" + kHeader + "[HKEY_CURRENT_USER\\K]\r\n\"B\"=\"\xFF\"\r\n", "bad.reg"));
    EXPECT_THAT(Diagnostics(hive),
                ElementsAre("be.reg: UTF-16 big-endian files are not supported; file ignored",
                            "odd.reg: UTF-16 file of odd length; the last byte is ignored",
                            "bad.reg: invalid UTF-8 sequences read as '?'"));
    EXPECT_EQ(FindValue(hive, RegRoot::CurrentUser, "K", "B")->Text, "?");
}

// --- names and merging ---------------------------------------------------------------------------

TEST(RegistryHiveNames, NamesMatchWithoutRegardToCaseButDoubleByteCharactersOnlyThemselves) {
    // GBK: 盡 = B1 4D ('M' as trail byte), 眒 = B1 6D ('m'), 乗 = 81 5C ('\' as trail byte).
    RegistryHive hive(CP_GB2312);
    ASSERT_TRUE(hive.LoadFromText(kHeader +
                                      "[HKEY_CURRENT_USER\\Software\\\xE7\x9B\xA1]\r\n"
                                      "\"\xE7\x9B\xA1Name\"=\"full\"\r\n"
                                      "[HKEY_CURRENT_USER\\Software\\\xE4\xB9\x97]\r\n"
                                      "\"Trail\"=\"backslash\"\r\n",
                                  "t.reg"));
    ASSERT_THAT(Diagnostics(hive), IsEmpty());
    auto key = hive.FindKey(RegRoot::CurrentUser, "SOFTWARE\\\xB1\x4D");
    ASSERT_TRUE(key);
    EXPECT_FALSE(hive.FindKey(RegRoot::CurrentUser, "software\\\xB1\x6D"));
    ASSERT_NE(hive.FindValue(*key, "\xB1\x4DNAME"), nullptr);
    EXPECT_EQ(hive.FindValue(*key, "\xB1\x4Dname")->Text, "full");
    EXPECT_EQ(hive.FindValue(*key, "\xB1\x6Dname"), nullptr);

    // A trail byte '\' neither splits the path nor counts as a trailing delimiter.
    EXPECT_NE(FindValue(hive, RegRoot::CurrentUser, "Software\\\x81\x5C", "trail"), nullptr);
    EXPECT_NE(FindValue(hive, RegRoot::CurrentUser, "\\Software\\\x81\x5C\\", "trail"), nullptr);
    EXPECT_FALSE(hive.FindKey(RegRoot::CurrentUser, "Software\\\x81"));
    EXPECT_THAT(hive.SubKeyNames(*hive.FindKey(RegRoot::CurrentUser, "Software")),
                ElementsAre("\xB1\x4D", "\x81\x5C"));
}

TEST(RegistryHiveNames, KeyPathsAndRoots) {
    RegistryHive hive(CP_WESTERN);
    ASSERT_TRUE(hive.LoadFromText(kHeader +
                                      "[HKLM\\A\\B\\C]\r\n\"V\"=\"1\"\r\n"
                                      "[hkey_classes_root\\Prog.Id]\r\n@=\"x\"\r\n"
                                      "[HKU\\U]\r\n[HKCC\\C]\r\n[HKCU\\Trailing\\]\r\n"
                                      "[HKEY_USERS]\r\n\"OnRoot\"=\"1\"\r\n",
                                  "t.reg"));
    EXPECT_THAT(Diagnostics(hive), IsEmpty());
    EXPECT_TRUE(hive.FindKey(RegRoot::LocalMachine, "A"));  // created on the way
    EXPECT_TRUE(hive.FindKey(RegRoot::LocalMachine, "A\\B"));
    EXPECT_TRUE(hive.FindKey(RegRoot::LocalMachine, "\\a\\b\\c\\"));
    EXPECT_FALSE(hive.FindKey(RegRoot::LocalMachine, "A\\\\B"));
    EXPECT_FALSE(hive.FindKey(RegRoot::CurrentUser, "A"));  // roots are apart
    EXPECT_TRUE(hive.FindKey(RegRoot::CurrentUser, "Trailing"));
    EXPECT_TRUE(hive.FindKey(RegRoot::Users, "U"));
    EXPECT_TRUE(hive.FindKey(RegRoot::CurrentConfig, "C"));
    EXPECT_EQ(FindValue(hive, RegRoot::ClassesRoot, "PROG.ID", "")->Text, "x");
    EXPECT_NE(FindValue(hive, RegRoot::Users, "", "OnRoot"), nullptr);
    EXPECT_TRUE(hive.FindKey(RegRoot::CurrentConfig, ""));  // a root always exists
}

TEST(RegistryHiveNames, LaterLoadsAndLaterLinesOverrideAndAddInPlace) {
    RegistryHive hive(CP_WESTERN);
    ASSERT_TRUE(hive.LoadFromText(kHeader + "[HKCU\\K]\r\n\"A\"=\"1\"\r\n\"B\"=\"2\"\r\n\"B\"=\"2b\"\r\n"
                                            "[HKCU\\K\\Sub1]\r\n", "one.reg"));
    ASSERT_TRUE(hive.LoadFromText(kHeader + "[hkcu\\k]\r\n\"b\"=dword:3\r\n\"C\"=\"4\"\r\n"
                                            "[HKCU\\K\\Sub2]\r\n[HKCU\\K]\r\n\"a\"=\"5\"\r\n", "two.reg"));
    ASSERT_FALSE(hive.LoadFromText("[HKCU\\K]\r\n\"A\"=\"rejected\"\r\n", "three.reg"));
    auto key = hive.FindKey(RegRoot::CurrentUser, "K");
    ASSERT_TRUE(key);
    EXPECT_THAT(hive.ValueNames(*key), ElementsAre("A", "B", "C"));  // first spelling, first place
    EXPECT_EQ(hive.FindValue(*key, "A")->Text, "5");
    EXPECT_EQ(hive.FindValue(*key, "B")->Type, RegValueType::DWord);
    EXPECT_EQ(hive.FindValue(*key, "B")->Number, 3u);
    EXPECT_THAT(hive.SubKeyNames(*key), ElementsAre("Sub1", "Sub2"));
    EXPECT_EQ(hive.Diagnostics().size(), 1u);
}

} // namespace
} // namespace qmx::platform
