#include <gtest/gtest.h>

#include "notify/BrimstallU.h"
#include "notify/LibXml.h"

namespace qmx {
namespace {

const std::string kDoctype = "<!DOCTYPE SC[<!ENTITY stdd \"&amp;stdd;\">]>";
const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"GB2312\"?>";

TEST(XmlHeaderFixTest, HeadIsCompleted) {
    const std::pair<std::string, std::string> cases[] = {
        // Neither declaration nor document type: both in front, in that order.
        {"<Root/>", kDeclaration + kDoctype + "<Root/>"},
        {"", kDeclaration + kDoctype},
        // A declaration without encoding: the encoding inside, the document type after it.
        {"<?xml version=\"1.0\"?><Root/>", kDeclaration + kDoctype + "<Root/>"},
        // An encoding of its own stays.
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><Root/>",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + kDoctype + "<Root/>"},
        // A document type of its own: only the declaration.
        {"<!DOCTYPE Root><Root/>", kDeclaration + "<!DOCTYPE Root><Root/>"},
        {"<?xml version=\"1.0\"?><!DOCTYPE Root><Root/>", kDeclaration + "<!DOCTYPE Root><Root/>"},
        // Letter case does not matter for what is found.
        {"<?XML version=\"1.0\" ENCODING=\"big5\"?><!doctype r><r/>", "<?XML version=\"1.0\" ENCODING=\"big5\"?><!doctype r><r/>"},
        // Line breaks and blanks before or inside the declaration: the positions are the text's own.
        {"\r\n  <?xml version=\"1.0\"\r\n?><Root/>", "\r\n  <?xml version=\"1.0\"\r\n encoding=\"GB2312\"?>" + kDoctype + "<Root/>"},
        // A declaration that never ends is no XML: left alone.
        {"<?xml version=\"1.0\"", "<?xml version=\"1.0\""},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(FixXmlHeader(text), expected) << text;
}

TEST(XmlHeaderFixTest, OnlyTheFirstHundredBytesDecide) {
    const std::string root = "<Root a=\"" + std::string(120, 'x') + "\"/>";
    EXPECT_EQ(FixXmlHeader(root + "<!doctype>"), kDeclaration + kDoctype + root + "<!doctype>");
}

TEST(XmlHeaderFixTest, ServiceAnswerWithEntityReferencesParses) {
    const std::string answer = "<?xml version=\"1.0\"?><Response><Status code=\"0\" Description=\"ok&stdd;\"/>"
                               "<Record><Field name=\"Id\" value=\"u01\"/><Field name=\"Name\" value=\"A&amp;B\"/></Record>"
                               "<Record><Field name=\"Id\" value=\"u02\"/></Record></Response>\r\n";
    platform::XmlDocument document = LoadXmlFixed(answer, CP_GB2312);
    const platform::XmlNode root = document.DocumentElement();
    ASSERT_FALSE(root.IsNull()) << document.ParseError();
    EXPECT_EQ(GetXmlAttr(FindXmlNode(root, "//Status[@code]", false), "code"), "0");
    EXPECT_EQ(GetXmlAttr(FindXmlNode(root, "//Status[@Description]", false), "Description"), "ok&stdd;");
    std::vector<std::pair<AnsiString, AnsiString>> users;
    for (const platform::XmlNode& record : root.SelectNodes("//Record"))
        users.emplace_back(GetXmlAttr(FindXmlNode(record, "Field[@name='Id']", false), "value"),
                           GetXmlAttr(FindXmlNode(record, "Field[@name='Name']", false), "value"));
    EXPECT_EQ(users, (std::vector<std::pair<AnsiString, AnsiString>>{{"u01", "A&B"}, {"u02", ""}}));
}

} // namespace
} // namespace qmx
