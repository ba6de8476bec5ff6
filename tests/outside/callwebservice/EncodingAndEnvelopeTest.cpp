// The parts of a call that carry exact rules: charsets, the code-page text of the answer, and
// the envelope both ways.
#include <gtest/gtest.h>

#include "CallError.h"
#include "SoapEnvelope.h"
#include "TextEncoding.h"

namespace qmx::callws {
namespace {

TEST(TextEncodingTest, CharsetOfTheAnswer) {
    struct Case {
        const char* ContentType;
        std::string Body;
        const char* Charset;
    };
    const Case cases[] = {
        {"text/xml; charset=utf-8", "<a/>", "utf-8"},
        {"text/xml;charset=\"GBK\"", "<a/>", "GBK"},
        {"text/xml; Charset = big5 ; x=y", "<a/>", "big5"},
        {"text/xml", "<?xml version=\"1.0\" encoding=\"GB2312\"?><a/>", "GB2312"},
        {"", "<?xml version='1.0' encoding='big5'?><a/>", "big5"},
        {"", "\xFF\xFE<\0a\0/\0>\0", "UTF-16LE"},
        {"", "\xEF\xBB\xBF<a/>", "UTF-8"},
        {"", "<?xml version=\"1.0\"?><a/>", "UTF-8"},
        {"", "", "UTF-8"},
    };
    for (const Case& c : cases) EXPECT_EQ(BodyCharset(c.ContentType, c.Body), c.Charset) << c.ContentType << c.Body;
}

TEST(TextEncodingTest, DecodingToUtf8) {
    EXPECT_EQ(DecodeToUtf8("\xD6\xD0\xCE\xC4", "gb2312"), "中文");
    EXPECT_EQ(DecodeToUtf8("\xA4\xA4\xA4\xE5", "BIG5"), "中文");
    EXPECT_EQ(DecodeToUtf8("\xEF\xBB\xBFok", "utf-8"), "ok");
    EXPECT_EQ(DecodeToUtf8(std::string("\xFF\xFEo\0k\0", 6), "utf-16"), "ok");
    EXPECT_EQ(DecodeToUtf8("", "utf-8"), "");
    EXPECT_THROW(DecodeToUtf8("abc", "no-such-charset"), CallError);
    EXPECT_THROW(DecodeToUtf8("\xC3(", "utf-8"), CallError);
}

TEST(TextEncodingTest, AnswerInTheCodePage) {
    // XML keeps every character: what GB2312 cannot hold becomes a reference.
    EXPECT_EQ(Utf8ToCodePage("<a>中\xF0\x9F\x98\x80</a>", CP_GB2312, true), "<a>\xD6\xD0&#128512;</a>");
    EXPECT_EQ(Utf8ToCodePage("中\xF0\x9F\x98\x80", CP_GB2312, false), "\xD6\xD0?");
    // Bytes that are no UTF-8 (a stray continuation byte, a cut sequence, a surrogate) give '?'.
    EXPECT_EQ(Utf8ToCodePage("a\x80" "b\xE4\xB8", CP_GB2312, true), "a?b??");
    EXPECT_EQ(Utf8ToCodePage("\xED\xA0\x80", CP_GB2312, true), "???");
    EXPECT_EQ(Utf8ToCodePage("中", CP_BIG5, true), "\xA4\xA4");
    EXPECT_EQ(Utf8ToCodePage("\xC3\xA9", CP_WESTERN, true), "\xE9");
    const std::string large(100000, 'x');
    EXPECT_EQ(Utf8ToCodePage(large, CP_GB2312, true), large);
}

TEST(TextEncodingTest, DeclarationNamesTheFilesEncoding) {
    const std::pair<const char*, const char*> cases[] = {
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><a/>", "<?xml version=\"1.0\" encoding=\"GB2312\"?><a/>"},
        {"<?xml version='1.0' encoding = 'utf-8' standalone='yes'?><a/>",
         "<?xml version='1.0' encoding = 'GB2312' standalone='yes'?><a/>"},
        {"<?xml version=\"1.0\"?><a encoding=\"x\"/>", "<?xml version=\"1.0\"?><a encoding=\"x\"/>"},
        {"<a encoding=\"UTF-8\"/>", "<a encoding=\"UTF-8\"/>"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(WithDeclaredEncoding(text, "GB2312"), expected);
    EXPECT_EQ(EncodingNameOf(CP_GB2312), "GB2312");
    EXPECT_EQ(EncodingNameOf(CP_BIG5), "BIG5");
    EXPECT_EQ(EncodingNameOf(CP_WESTERN), "windows-1252");
}

TEST(SoapEnvelopeTest, RequestCarriesMethodAndTextEscaped) {
    const std::string envelope = BuildSoapRequest("A.b", "<x a=\"1\">&amp;\r\n</x>");
    EXPECT_NE(envelope.find("<ws:Method>A.b</ws:Method>"), std::string::npos);
    EXPECT_NE(envelope.find("<ws:Request>&lt;x a=&quot;1&quot;&gt;&amp;amp;&#13;\n&lt;/x&gt;</ws:Request>"),
              std::string::npos)
        << envelope;
    // What one side escapes, the other reads back as it was.
    const std::string answer = "<s:Envelope xmlns:s=\"" + std::string(SoapNamespace) +
                               "\"><s:Body><r:R xmlns:r=\"u\"><r:return>" +
                               envelope.substr(envelope.find("<ws:Request>") + 12,
                                               envelope.find("</ws:Request>") - envelope.find("<ws:Request>") - 12) +
                               "</r:return></r:R></s:Body></s:Envelope>";
    const SoapAnswer read = ReadSoapAnswer(answer);
    EXPECT_EQ(read.What, SoapAnswer::Kind::Result);
    EXPECT_EQ(read.Text, "<x a=\"1\">&amp;\r\n</x>");
}

TEST(SoapEnvelopeTest, KindsOfAnswer) {
    const std::string open = "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\"><soap:Body>";
    const std::string close = "</soap:Body></soap:Envelope>";
    struct Case {
        std::string Body;
        SoapAnswer::Kind Kind;
        const char* Text;
    };
    const Case cases[] = {
        {open + "<R><Return><![CDATA[<a/>]]> tail</Return></R>" + close, SoapAnswer::Kind::Result, "<a/> tail"},
        {open + "<soap:Fault><soap:Code><soap:Value>x</soap:Value></soap:Code><soap:Reason><soap:Text>Bad"
                "</soap:Text></soap:Reason></soap:Fault>" + close,
         SoapAnswer::Kind::Fault, "Bad"},
        {open + "<Fault/>" + close, SoapAnswer::Kind::Fault, "a fault without description"},
        {open + close, SoapAnswer::Kind::NoResult, "an envelope with an empty body"},
        {"<Response/>", SoapAnswer::Kind::NoEnvelope, ""},
        {"not xml at all", SoapAnswer::Kind::NoEnvelope, ""},
    };
    for (const Case& c : cases) {
        const SoapAnswer answer = ReadSoapAnswer(c.Body);
        EXPECT_EQ(answer.What, c.Kind) << c.Body;
        EXPECT_EQ(answer.Text, c.Text) << c.Body;
    }
}

TEST(SoapEnvelopeTest, EntityDeclarationsAreNeverExpanded) {
    std::string doctype = "<!DOCTYPE s:Envelope [<!ENTITY a0 \"xxxxxxxxxx\">";
    for (int i = 1; i < 10; ++i) {
        doctype += "<!ENTITY a" + std::to_string(i) + " \"";
        for (int j = 0; j < 10; ++j) doctype += "&a" + std::to_string(i - 1) + ";";
        doctype += "\">";
    }
    doctype += "]>";
    const SoapAnswer answer = ReadSoapAnswer(doctype + "<s:Envelope xmlns:s=\"x\"><s:Body><R><Return>&a9;</Return></R>"
                                                       "</s:Body></s:Envelope>");
    EXPECT_EQ(answer.What, SoapAnswer::Kind::Result);
    EXPECT_EQ(answer.Text, "&a9;");
}

} // namespace
} // namespace qmx::callws
