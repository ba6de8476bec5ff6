#include <gtest/gtest.h>

#include "notify/LibXml.h"
#include "qmx/CodePage.h"

namespace qmx {
namespace {

using platform::XmlDocument;
using platform::XmlNode;

AnsiString Gb(std::string_view utf8) { return Utf8ToAnsi(utf8, CP_GB2312); }

TEST(LibXmlTest, TextThatIsNoXmlGivesADocumentWithoutRoot) {
    for (const char* text : {"", "N", "<Root>", "<a/><b/>", "<a/>tail", "<?xml version=\"1.0\"?>", "<a>&undefined;</a>x"}) {
        XmlDocument document;
        EXPECT_NO_THROW(document = LoadXmlText(text, CP_GB2312)) << text;
        EXPECT_TRUE(document.DocumentElement().IsNull()) << text;
    }
    EXPECT_TRUE(NewXmlDocument().DocumentElement().IsNull());
}

TEST(LibXmlTest, Gb2312ReceiversDocumentBothWays) {
    const AnsiString text = Gb("<?xml version=\"1.0\" encoding=\"GB2312\"?><Root><R1 ID=\"u01\" Name=\"王小明\" Msg=\"YNN\"/>"
                               "<R3 ID=\"u03\" Name=\"&lt;李&gt; &amp; 陈\" Type=\"5\" Msg=\"NYY\"/></Root>");
    XmlDocument document = LoadXmlText(text, CP_GB2312);
    const XmlNode root = document.DocumentElement();
    ASSERT_FALSE(root.IsNull());
    const XmlNode first = FindXmlNode(root, "R1", false, CP_GB2312);
    EXPECT_EQ(GetXmlAttr(first, "Name", CP_GB2312), Gb("王小明"));
    EXPECT_EQ(GetXmlAttr(first, "Mob", CP_GB2312), ""); // missing: empty, not Null
    EXPECT_EQ(GetXmlAttr(FindXmlNode(root, "R3", false, CP_GB2312), "Name", CP_GB2312), Gb("<李> & 陈"));

    XmlNode changed = first;
    SetXmlAttr(changed, "Mail", Gb("王@例子.cn"), CP_GB2312); // new: after the others
    SetXmlAttr(changed, "Msg", "YYY", CP_GB2312);             // existing: in place
    // Serialised without indentation, back in GB2312, the declaration kept.
    EXPECT_EQ(document.XML(CP_GB2312),
              Gb("<?xml version=\"1.0\" encoding=\"GB2312\"?><Root><R1 ID=\"u01\" Name=\"王小明\" Msg=\"YYY\" "
                 "Mail=\"王@例子.cn\"/><R3 ID=\"u03\" Name=\"&lt;李> &amp; 陈\" Type=\"5\" Msg=\"NYY\"/></Root>"));
    EXPECT_EQ(first.XML(CP_GB2312), Gb("<R1 ID=\"u01\" Name=\"王小明\" Msg=\"YYY\" Mail=\"王@例子.cn\"/>"));
}

TEST(LibXmlTest, FindXmlNodeSelectsOrCreates) {
    XmlDocument document = LoadXmlText("<Root><A k=\"1\"/><B><A k=\"2\"/></B></Root>", CP_GB2312);
    XmlNode root = document.DocumentElement();
    EXPECT_EQ(GetXmlAttr(FindXmlNode(root, "//A", false), "k"), "1");
    EXPECT_EQ(GetXmlAttr(FindXmlNode(root, "B/A", false), "k"), "2");
    EXPECT_TRUE(FindXmlNode(root, "C", false).IsNull());
    EXPECT_EQ(root.ChildNodes().size(), 2u); // nothing made without create

    const XmlNode created = FindXmlNode(root, "C", true);
    ASSERT_FALSE(created.IsNull());
    EXPECT_EQ(created.NodeName(), "C");
    EXPECT_EQ(root.LastChild(), created);
    EXPECT_EQ(FindXmlNode(root, "C", true), created); // found the second time, not made again
    EXPECT_EQ(root.ChildNodes().size(), 3u);

    // An empty document gets its root element the same way.
    XmlDocument empty = NewXmlDocument();
    const XmlNode madeRoot = FindXmlNode(empty, "Root", true);
    EXPECT_EQ(empty.DocumentElement(), madeRoot);
}

TEST(LibXmlTest, BadPathsAnswerNoNode) {
    XmlDocument document = LoadXmlText("<Root><A/></Root>", CP_GB2312);
    XmlNode root = document.DocumentElement();
    for (const char* path : {"//[", "A[", "", "count(", "@@"}) {
        EXPECT_TRUE(FindXmlNode(root, path, false).IsNull()) << path;
        EXPECT_TRUE(FindXmlNode(root, path, true).IsNull()) << path; // no element name either
    }
    // A second root element cannot be made.
    EXPECT_TRUE(FindXmlNode(document, "Other", true).IsNull());
    EXPECT_TRUE(FindXmlNode(XmlNode(), "A", true).IsNull());
    EXPECT_EQ(GetXmlAttr(XmlNode(), "A"), "");
    EXPECT_EQ(root.ChildNodes().size(), 1u);
    XmlNode none;
    EXPECT_THROW(SetXmlAttr(none, "a", "b"), platform::EXmlError);
    EXPECT_THROW(SetXmlAttr(root, "bad name", "b"), platform::EXmlError);
}

TEST(LibXmlTest, EntityDeclarationsAreNotExpanded) {
    std::string text = "<!DOCTYPE Root [<!ENTITY l0 \"lol\">";
    for (int i = 1; i <= 9; ++i) {
        text += "<!ENTITY l" + std::to_string(i) + " \"";
        for (int j = 0; j < 10; ++j) text += "&l" + std::to_string(i - 1) + ";";
        text += "\">";
    }
    text += "]><Root a=\"&l9;\">&l9;</Root>";
    XmlDocument document = LoadXmlText(text, CP_GB2312);
    const XmlNode root = document.DocumentElement();
    ASSERT_FALSE(root.IsNull()) << document.ParseError();
    EXPECT_EQ(root.Text(), "&l9;");
    EXPECT_EQ(GetXmlAttr(root, "a"), "&l9;");
}

} // namespace
} // namespace qmx
