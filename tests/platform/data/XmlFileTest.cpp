// XML files: the declared encoding or byte order mark decides how the bytes are read, Save writes
// the encoding it is asked for and a declaration that says so.
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "qmx/platform/XmlDom.h"

using namespace qmx;
using namespace qmx::platform;
using qmx::test::TempFolder;

namespace {

const std::string kGbChinese = "\xD6\xD0\xCE\xC4";   // 中文
const std::string kBig5Chinese = "\xA4\xA4\xA4\xE5"; // 中文
const std::string kUtf8Chinese = "\xE4\xB8\xAD\xE6\x96\x87";
const std::string kBig5Xu = "\xB3\x5C"; // 許, trail byte '\'

std::string Declared(std::string_view encoding, std::string_view body) {
    return "<?xml version=\"1.0\" encoding=\"" + std::string(encoding) + "\"?>" + std::string(body);
}

} // namespace

TEST(XmlFileTest, DeclaredOrMarkedEncodingDecidesHowTheFileIsRead) {
    TempFolder folder;
    struct Case {
        const char* name;
        std::string bytes;
    };
    std::string utf16 = "\xFF\xFE";
    for (char16_t c : std::u16string(u"<a n=\"\u4E2D\u6587\">\u4E2D\u6587</a>")) {
        utf16 += static_cast<char>(c & 0xFF);
        utf16 += static_cast<char>(c >> 8);
    }
    const Case cases[] = {
        {"gb.xml", Declared("GB2312", "<a n=\"" + kGbChinese + "\">" + kGbChinese + "</a>")},
        {"gbk.xml", Declared("gbk", "<a n=\"" + kGbChinese + "\">" + kGbChinese + "</a>")},
        {"big5.xml", Declared("BIG5", "<a n=\"" + kBig5Chinese + "\">" + kBig5Chinese + "</a>")},
        {"utf8.xml", "<a n=\"" + kUtf8Chinese + "\">" + kUtf8Chinese + "</a>"},
        {"bom.xml", "\xEF\xBB\xBF" + Declared("UTF-8", "<a n=\"" + kUtf8Chinese + "\">" + kUtf8Chinese + "</a>")},
        {"utf16.xml", utf16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        XmlDocument document;
        ASSERT_TRUE(document.Load(folder.Write(c.name, c.bytes))) << document.ParseError();
        EXPECT_EQ(document.DocumentElement().Text(CP_GB2312), kGbChinese);
        EXPECT_EQ(document.DocumentElement().GetAttribute("n", CP_BIG5).AsString(), kBig5Chinese);
    }
}

TEST(XmlFileTest, ChineseFilesComeBackByteForByte) {
    TempFolder folder;
    for (auto [encoding, codePage, text] :
         {std::tuple{"GB2312", CP_GB2312, kGbChinese}, std::tuple{"BIG5", CP_BIG5, kBig5Chinese + kBig5Xu}}) {
        SCOPED_TRACE(encoding);
        const std::string bytes = Declared(encoding, "<Root><R1 Name=\"" + text + "\"/><T>" + text + "</T></Root>");
        XmlDocument document;
        ASSERT_TRUE(document.Load(folder.Write("in.xml", bytes))) << document.ParseError();
        EXPECT_EQ(document.XML(codePage), bytes);
        document.Save(folder.File("out.xml"));
        EXPECT_EQ(folder.Read("out.xml"), bytes);
    }
}

TEST(XmlFileTest, SaveWritesTheEncodingAskedForAndDeclaresIt) {
    TempFolder folder;
    XmlDocument document;
    ASSERT_TRUE(document.Load(folder.Write("gb.xml", Declared("GB2312", "<a>" + kGbChinese + "</a>"))));

    document.Save(folder.File("big5.xml"), "BIG5");
    EXPECT_EQ(folder.Read("big5.xml"), Declared("BIG5", "<a>" + kBig5Chinese + "</a>"));
    document.Save(folder.File("utf8.xml"), "UTF-8");
    EXPECT_EQ(folder.Read("utf8.xml"), Declared("UTF-8", "<a>" + kUtf8Chinese + "</a>"));

    XmlDocument reread;
    ASSERT_TRUE(reread.Load(folder.File("big5.xml")));
    EXPECT_EQ(reread.DocumentElement().Text(CP_GB2312), kGbChinese);

    // Without a declaration: one is added, except for UTF-8, which needs none.
    XmlDocument bare;
    ASSERT_TRUE(bare.LoadXML("<a>" + kGbChinese + "</a>", CP_GB2312));
    bare.Save(folder.File("bare-gb.xml"), "GB2312");
    EXPECT_EQ(folder.Read("bare-gb.xml"), Declared("GB2312", "<a>" + kGbChinese + "</a>"));
    bare.Save(folder.File("bare-utf8.xml"));
    EXPECT_EQ(folder.Read("bare-utf8.xml"), "<a>" + kUtf8Chinese + "</a>");
}

TEST(XmlFileTest, UnreadableFilesGiveNoRootAndAReason) {
    TempFolder folder;
    struct Case {
        const char* name;
        std::string bytes; // empty name: the file is not written
        const char* reason;
    };
    const Case cases[] = {
        {"missing.xml", {}, "cannot read"},
        {"unknown.xml", Declared("X-NOSUCH", "<a/>"), "X-NOSUCH"},
        {"gb-undeclared.xml", "<a>" + kGbChinese + "</a>", "not UTF-8"},
        {"broken.xml", Declared("GB2312", "<a><b></a>"), "line 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.bytes.empty()) folder.Write(c.name, c.bytes);
        XmlDocument document;
        bool loaded = true;
        EXPECT_NO_THROW(loaded = document.Load(folder.File(c.name)));
        EXPECT_FALSE(loaded);
        EXPECT_TRUE(document.DocumentElement().IsNull());
        EXPECT_NE(document.ParseError().find(c.reason), std::string::npos) << document.ParseError();
        EXPECT_NE(document.ParseError().find(c.name), std::string::npos) << document.ParseError();
    }
}

TEST(XmlFileTest, SaveFailuresRaiseAndLeaveTheOldFile) {
    TempFolder folder;
    XmlDocument document;
    ASSERT_TRUE(document.LoadXML("<a/>"));
    EXPECT_THROW(document.Save(folder.File("x.xml"), "X-NOSUCH"), EXmlError);
    EXPECT_THROW(document.Save(folder.File("no/such/folder/x.xml")), EXmlError);

    folder.Write("kept.xml", "<old/>");
    EXPECT_THROW(document.Save(folder.File("kept.xml"), "X-NOSUCH"), EXmlError);
    EXPECT_EQ(folder.Read("kept.xml"), "<old/>");
    document.Save(folder.File("kept.xml"));
    EXPECT_EQ(folder.Read("kept.xml"), "<a/>");
}
