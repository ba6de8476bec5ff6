// The XML document object model: code-page texts in and out, XPath selection, null attributes,
// parse and XPath failures without exceptions, serialisation, and tree editing with handles that
// stay valid.
#include <gtest/gtest.h>

#include "qmx/platform/XmlDom.h"

using namespace qmx;
using namespace qmx::platform;

namespace {

// 中文 and 許 in both Chinese code pages. 許 has the trail byte 'S' in GBK and '\' in BIG5, and
// 丂 (GBK 81 40) has '@': bytes a byte-wise reader would take for markup or delimiters.
const std::string kGbChinese = "\xD6\xD0\xCE\xC4";
const std::string kGbXu = "\xD4\x53";
const std::string kGbAt = "\x81\x40";
const std::string kBig5Chinese = "\xA4\xA4\xA4\xE5";
const std::string kBig5Xu = "\xB3\x5C";
const std::string kGbZhe = "\xD5\xE2"; // 这: Simplified only, BIG5 has no such character

const char* const kReceivers =
    "<?xml version=\"1.0\" encoding=\"GB2312\"?>"
    "<MD007><Receiver><R1 ID=\"a\" Type=\"5\" Mail=\"\"/><R2 ID=\"b\"/></Receiver><Title Value=\"T1\"/></MD007>";

XmlDocument Parsed(std::string_view text, CodePage codePage = CP_GB2312) {
    XmlDocument document;
    EXPECT_TRUE(document.LoadXML(text, codePage)) << document.ParseError();
    return document;
}

} // namespace

TEST(XmlDomTest, ChineseDocumentsComeBackByteForByte) {
    struct Case {
        CodePage codePage;
        std::string name;
        std::string body;
    };
    const Case cases[] = {
        {CP_GB2312, kGbChinese + kGbXu, kGbAt + "x" + kGbXu},
        {CP_BIG5, kBig5Chinese + kBig5Xu, kBig5Xu + "\\" + kBig5Chinese},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePage);
        const std::string text = std::string("<?xml version=\"1.0\" encoding=\"") +
                                 (c.codePage == CP_BIG5 ? "BIG5" : "GB2312") + "\"?><Root><R1 ID=\"u1\" Name=\"" +
                                 c.name + "\"/><T>" + c.body + "</T></Root>";
        XmlDocument document = Parsed(text, c.codePage);
        EXPECT_EQ(document.XML(c.codePage), text);
        EXPECT_EQ(document.SelectSingleNode("//R1").GetAttribute("Name", c.codePage).AsString(), c.name);
        EXPECT_EQ(document.SelectSingleNode("/Root/T").Text(c.codePage), c.body);
    }
}

TEST(XmlDomTest, TextsConvertBetweenCodePages) {
    XmlDocument document = Parsed("<Root Name=\"" + kGbChinese + "\">" + kGbXu + "</Root>", CP_GB2312);
    EXPECT_EQ(document.DocumentElement().GetAttribute("Name", CP_BIG5).AsString(), kBig5Chinese);
    EXPECT_EQ(document.XML(CP_BIG5), "<Root Name=\"" + kBig5Chinese + "\">" + kBig5Xu + "</Root>");

    // A name and a value written in one page read back in the other.
    XmlNode root = document.DocumentElement();
    root.SetAttribute(kBig5Chinese, kBig5Xu, CP_BIG5);
    EXPECT_EQ(root.GetAttribute(kGbChinese, CP_GB2312).AsString(), kGbXu);
}

TEST(XmlDomTest, CharacterTheCodePageLacksIsWrittenAsReference) {
    XmlDocument document = Parsed("<T>" + kGbZhe + kGbChinese + "</T>", CP_GB2312);
    const AnsiString big5 = document.XML(CP_BIG5);
    EXPECT_EQ(big5, "<T>&#36825;" + kBig5Chinese + "</T>");
    // Read back, nothing is lost.
    EXPECT_EQ(Parsed(big5, CP_BIG5).DocumentElement().Text(CP_GB2312), kGbZhe + kGbChinese);
    // A plain text has no references: the code page's default character stands in.
    EXPECT_EQ(document.DocumentElement().Text(CP_BIG5), "?" + kBig5Chinese);
}

TEST(XmlDomTest, XPathSelectsElementsAndAttributesInDocumentOrder) {
    XmlDocument document = Parsed(kReceivers);

    const XmlNodeList receivers = document.SelectNodes("//Receiver/*");
    ASSERT_EQ(receivers.size(), 2u);
    EXPECT_EQ(receivers[0].NodeName(), "R1");
    EXPECT_EQ(receivers[1].NodeName(), "R2");

    const XmlNode title = document.SelectSingleNode("//MD007/Title/@Value");
    EXPECT_EQ(title.NodeType(), XmlNodeType::Attribute);
    EXPECT_EQ(title.NodeName(), "Value");
    EXPECT_EQ(title.Text(), "T1");
    EXPECT_EQ(title.XML(), "Value=\"T1\"");

    // Relative to a node, with predicates, and selecting upwards.
    const XmlNode receiver = document.SelectSingleNode("//MD007/Receiver");
    EXPECT_EQ(receiver.SelectSingleNode("R2").GetAttribute("ID").AsString(), "b");
    EXPECT_EQ(receiver.SelectSingleNode("*[@Type='5']"), receivers[0]);
    EXPECT_EQ(receivers[1].SelectSingleNode(".."), receiver);
    EXPECT_EQ(document.SelectNodes("//R1/@*").size(), 3u);
    EXPECT_TRUE(document.SelectSingleNode("//Missing").IsNull());
    EXPECT_TRUE(document.XPathError().empty());

    EXPECT_EQ(receiver.XML(), "<Receiver><R1 ID=\"a\" Type=\"5\" Mail=\"\"/><R2 ID=\"b\"/></Receiver>");
}

TEST(XmlDomTest, MissingAttributeIsNullAndEmptyOneIsText) {
    XmlDocument document = Parsed(kReceivers);
    const XmlNode r1 = document.SelectSingleNode("//R1");
    EXPECT_TRUE(r1.GetAttribute("Mob").IsNull());
    EXPECT_EQ(r1.GetAttribute("Mail").Type(), VarType::String);
    EXPECT_EQ(r1.GetAttribute("Mail").AsString(), "");
    // Names are case-sensitive, as XML's are.
    EXPECT_TRUE(r1.GetAttribute("id").IsNull());
    // Not an element: no attributes, no error.
    EXPECT_TRUE(document.SelectSingleNode("//R1/@ID").GetAttribute("ID").IsNull());
    EXPECT_TRUE(XmlNode().GetAttribute("ID").IsNull());
}

TEST(XmlDomTest, TextThatIsNotXmlGivesDocumentWithoutRoot) {
    const char* const texts[] = {
        "", "N", "<a>", "<a></b>", "<a/><b/>", "<a/>junk", "junk<a/>", "<a x=1/>", "<?xml version=\"1.0\"?>",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        XmlDocument document;
        bool loaded = true;
        EXPECT_NO_THROW(loaded = document.LoadXML(text));
        EXPECT_FALSE(loaded);
        EXPECT_TRUE(document.DocumentElement().IsNull());
        EXPECT_FALSE(document.ParseError().empty());
        EXPECT_TRUE(document.SelectNodes("//*").empty());
        EXPECT_EQ(document.XML(), "");
    }
}

TEST(XmlDomTest, ParseErrorTellsLineAndColumnAndALaterLoadClearsIt) {
    XmlDocument document;
    EXPECT_FALSE(document.LoadXML("<a>\n  <b></c>\n</a>"));
    EXPECT_NE(document.ParseError().find("line 2"), std::string::npos) << document.ParseError();

    EXPECT_TRUE(document.LoadXML("<a/>"));
    EXPECT_EQ(document.ParseError(), "");
    EXPECT_EQ(document.DocumentElement().NodeName(), "a");

    // A failed load drops what was loaded before.
    EXPECT_FALSE(document.LoadXML("<a"));
    EXPECT_TRUE(document.DocumentElement().IsNull());
}

TEST(XmlDomTest, BadXPathAnswersNothingAndRecordsWhy) {
    XmlDocument document = Parsed(kReceivers);
    const XmlNode receiver = document.SelectSingleNode("//Receiver");
    for (const char* xpath : {"//R1[", "count(//R1)", "", "//R1/@", "R1[@ID='a'"}) {
        SCOPED_TRACE(xpath);
        XmlNodeList nodes;
        EXPECT_NO_THROW(nodes = receiver.SelectNodes(xpath));
        EXPECT_TRUE(nodes.empty());
        EXPECT_TRUE(document.SelectSingleNode(xpath).IsNull());
        EXPECT_NE(document.XPathError().find(xpath), std::string::npos) << document.XPathError();
    }
    EXPECT_FALSE(document.SelectSingleNode("//R1").IsNull());
    EXPECT_EQ(document.XPathError(), "");
}

TEST(XmlDomTest, SerialisesWithoutIndentationAndEscapes) {
    XmlDocument document = Parsed("<?xml version=\"1.0\" encoding=\"GB2312\"?><Root/>");
    XmlNode r1 = document.CreateElement("R1");
    r1.SetAttribute("ID", "u&1\"<");
    r1.SetAttribute("Name", kGbChinese, CP_GB2312);
    r1.SetAttribute("Mob", std::int32_t(138));
    r1.SetAttribute("Note", u"\u4E2D"); // a WideString is taken as characters
    document.DocumentElement().AppendChild(r1);
    XmlNode text = document.CreateElement("T");
    text.SetText("a<b>&\"c");
    document.DocumentElement().AppendChild(text);

    EXPECT_EQ(document.XML(CP_GB2312),
              "<?xml version=\"1.0\" encoding=\"GB2312\"?><Root><R1 ID=\"u&amp;1&quot;&lt;\" Name=\"" + kGbChinese +
                  "\" Mob=\"138\" Note=\"\xD6\xD0\"/><T>a&lt;b&gt;&amp;\"c</T></Root>");
    EXPECT_EQ(document.DocumentElement().XML(CP_GB2312),
              "<Root><R1 ID=\"u&amp;1&quot;&lt;\" Name=\"" + kGbChinese +
                  "\" Mob=\"138\" Note=\"\xD6\xD0\"/><T>a&lt;b&gt;&amp;\"c</T></Root>");
    EXPECT_EQ(text.Text(), "a<b>&\"c");

    // Indentation of a loaded text is dropped; blanks inside texts are kept.
    EXPECT_EQ(Parsed("<a>\n  <b> x  y </b>\n  <c/>\n</a>\n").XML(), "<a><b> x  y </b><c/></a>");
}

TEST(XmlDomTest, RepairedHeaderWithEntityDeclarationParses) {
    const std::string text = "<?xml version=\"1.0\" encoding=\"GB2312\"?><!DOCTYPE SC[<!ENTITY stdd \"&amp;stdd;\">]>"
                             "<Response><Status code=\"0\" Description=\"ok&stdd;\"/></Response>";
    XmlDocument document = Parsed(text);
    EXPECT_EQ(document.SelectSingleNode("//Status[@code]").GetAttribute("code").AsString(), "0");
    EXPECT_EQ(document.SelectSingleNode("//Status[@Description]").GetAttribute("Description").AsString(), "ok&stdd;");
}

TEST(XmlDomTest, RemovedAndCreatedNodesStayUsableOutsideTheTree) {
    XmlDocument document = Parsed(kReceivers);
    XmlNode receiver = document.SelectSingleNode("//Receiver");
    XmlNode r1 = receiver.SelectSingleNode("R1");

    XmlNode removed = receiver.RemoveChild(r1);
    EXPECT_EQ(removed, r1);
    EXPECT_TRUE(r1.ParentNode().IsNull());
    EXPECT_EQ(r1.GetAttribute("ID").AsString(), "a");
    EXPECT_EQ(receiver.ChildNodes().size(), 1u);
    EXPECT_TRUE(document.SelectSingleNode("//R1").IsNull());
    EXPECT_EQ(document.SelectNodes("//*").size(), 4u); // MD007, Receiver, R2, Title

    // Created but not appended: not part of the document either.
    XmlNode created = document.CreateElement("R9");
    EXPECT_TRUE(document.SelectSingleNode("//R9").IsNull());
    EXPECT_EQ(document.DocumentElement().XML().find("R9"), std::string::npos);

    // Both go back in where asked.
    document.SelectSingleNode("//Title").AppendChild(r1);
    receiver.AppendChild(created);
    EXPECT_EQ(document.DocumentElement().XML(),
              "<MD007><Receiver><R2 ID=\"b\"/><R9/></Receiver><Title Value=\"T1\"><R1 ID=\"a\" Type=\"5\" "
              "Mail=\"\"/></Title></MD007>");
    EXPECT_EQ(r1.ParentNode().NodeName(), "Title");

    // SetText moves the old children out the same way.
    XmlNode title = document.SelectSingleNode("//Title");
    title.SetText("t");
    EXPECT_EQ(title.XML(), "<Title Value=\"T1\">t</Title>");
    EXPECT_EQ(r1.GetAttribute("Type").AsString(), "5");
}

TEST(XmlDomTest, NodesOutliveTheDocumentObjectAndLaterLoads) {
    XmlNode kept;
    {
        XmlDocument document = Parsed(kReceivers);
        kept = document.SelectSingleNode("//R2");
    }
    EXPECT_EQ(kept.GetAttribute("ID").AsString(), "b");
    EXPECT_EQ(kept.ParentNode().NodeName(), "Receiver");
    EXPECT_EQ(kept.OwnerDocument().DocumentElement().NodeName(), "MD007");

    XmlDocument document = kept.OwnerDocument();
    ASSERT_TRUE(document.LoadXML("<Other/>"));
    EXPECT_EQ(kept.GetAttribute("ID").AsString(), "b"); // the earlier content lives on
    EXPECT_EQ(document.DocumentElement().NodeName(), "Other");
    EXPECT_TRUE(document.SelectSingleNode("//R2").IsNull());

    // Appended into the new content, a node of the earlier content is copied.
    XmlNode copy = document.DocumentElement().AppendChild(kept);
    EXPECT_NE(copy, kept);
    EXPECT_EQ(document.XML(), "<Other><R2 ID=\"b\"/></Other>");
}

TEST(XmlDomTest, InvalidChangesRaise) {
    XmlDocument document = Parsed(kReceivers);
    XmlNode receiver = document.SelectSingleNode("//Receiver");
    EXPECT_THROW(document.AppendChild(document.CreateElement("Second")), EXmlError);
    EXPECT_THROW(receiver.SelectSingleNode("R1").AppendChild(receiver), EXmlError);
    EXPECT_THROW(receiver.AppendChild(receiver), EXmlError);
    EXPECT_THROW(document.CreateElement("a b"), EXmlError);
    EXPECT_THROW(document.CreateElement("//R1"), EXmlError);
    EXPECT_THROW(document.CreateElement(""), EXmlError);
    EXPECT_THROW(receiver.SetAttribute("1x", "v"), EXmlError);
    EXPECT_THROW(document.DocumentElement().RemoveChild(document.SelectSingleNode("//R1")), EXmlError);
    EXPECT_THROW(XmlNode().SetAttribute("a", "b"), EXmlError);
    EXPECT_THROW(receiver.AppendChild(XmlNode()), EXmlError);
    EXPECT_THROW(receiver.AppendChild(document.SelectSingleNode("//R1/@ID")), EXmlError);
    // Nothing changed.
    EXPECT_EQ(document.XML(), kReceivers);
}

TEST(XmlDomTest, NullNodeReadsEmpty) {
    const XmlNode none;
    EXPECT_EQ(none.NodeType(), XmlNodeType::Null);
    EXPECT_EQ(none.NodeName(), "");
    EXPECT_EQ(none.Text(), "");
    EXPECT_EQ(none.XML(), "");
    EXPECT_TRUE(none.ChildNodes().empty());
    EXPECT_TRUE(none.SelectNodes("//*").empty());
    EXPECT_TRUE(none.ParentNode().IsNull());
}

TEST(XmlDomTest, DocumentBuiltFromNothing) {
    XmlDocument document;
    EXPECT_TRUE(document.DocumentElement().IsNull());
    XmlNode root = document.AppendChild(document.CreateElement("Root"));
    root.AppendChild(document.CreateTextNode(kGbChinese, CP_GB2312));
    EXPECT_EQ(document.DocumentElement(), root);
    EXPECT_EQ(root.ParentNode().NodeType(), XmlNodeType::Document);
    EXPECT_EQ(document.XML(CP_BIG5), "<Root>" + kBig5Chinese + "</Root>");
    EXPECT_EQ(document.SelectSingleNode("/Root/text()").NodeType(), XmlNodeType::Text);
}

TEST(XmlDomTest, DeepNestingIsReadWithoutExhaustingTheStack) {
    constexpr int kDepth = 200000;
    std::string text;
    for (int i = 0; i < kDepth; ++i)
        text += "<a>";
    text += "x";
    for (int i = 0; i < kDepth; ++i)
        text += "</a>";
    XmlDocument document = Parsed(text);
    EXPECT_EQ(document.DocumentElement().Text(), "x");
    EXPECT_EQ(document.XML(), text);
}
