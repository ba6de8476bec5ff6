#include "qmx/toolkit/FormResourceParser.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

using namespace qmx;

namespace {

// Case names for the test list: printable ASCII only.
std::string Escaped(const char* text) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        auto c = static_cast<unsigned char>(*p);
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

// The value of the single property P of a one-object resource.
TFormValue ValueOf(const std::string& valueText) {
    auto resource = ParseFormResource("object f: TF\n  P = " + valueText + "\nend\n", "t.qfm");
    EXPECT_EQ(resource.Root.Properties.size(), 1u);
    return resource.Root.Properties.at(0).Value;
}

struct IntegerCase {
    const char* text;
    std::int64_t value;
};

void PrintTo(const IntegerCase& c, std::ostream* out) { *out << Escaped(c.text); }

class FormResourceIntegers : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(FormResourceIntegers, Reads) {
    TFormValue value = ValueOf(GetParam().text);
    EXPECT_EQ(value.Kind, TFormValueKind::Integer);
    EXPECT_EQ(value.Integer, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, FormResourceIntegers, ::testing::Values(
    IntegerCase{"100", 100}, IntegerCase{"0", 0}, IntegerCase{"-5", -5}, IntegerCase{"$FF", 255},
    IntegerCase{"$ff", 255}, IntegerCase{"-$10", -16}, IntegerCase{"$FFFFFFFFFFFFFFFF", -1},
    IntegerCase{"9223372036854775807", INT64_MAX}, IntegerCase{"-9223372036854775808", INT64_MIN},
    IntegerCase{"$80000000", 0x80000000LL}));

struct FloatCase {
    const char* text;
    double value;
};

void PrintTo(const FloatCase& c, std::ostream* out) { *out << Escaped(c.text); }

class FormResourceFloats : public ::testing::TestWithParam<FloatCase> {};

TEST_P(FormResourceFloats, Reads) {
    TFormValue value = ValueOf(GetParam().text);
    EXPECT_EQ(value.Kind, TFormValueKind::Float);
    EXPECT_DOUBLE_EQ(value.Float, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, FormResourceFloats, ::testing::Values(
    FloatCase{"1.5", 1.5}, FloatCase{"-0.25", -0.25}, FloatCase{"2.5E3", 2500}, FloatCase{"1e-2", 0.01},
    FloatCase{"7E+2", 700}));

struct StringCase {
    const char* text;
    const char* value; // code page 936 bytes
};

void PrintTo(const StringCase& c, std::ostream* out) { *out << Escaped(c.text); }

class FormResourceStrings : public ::testing::TestWithParam<StringCase> {};

TEST_P(FormResourceStrings, Reads) {
    TFormValue value = ValueOf(GetParam().text);
    EXPECT_EQ(value.Kind, TFormValueKind::String);
    EXPECT_EQ(value.Text, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, FormResourceStrings, ::testing::Values(
    StringCase{"'abc'", "abc"}, StringCase{"''", ""}, StringCase{"'it''s'", "it's"},
    StringCase{"''''", "'"}, StringCase{"'a'#13#10'b'", "a\r\nb"}, StringCase{"#$41#66", "AB"},
    StringCase{"#13#10", "\r\n"}, StringCase{"'a' +\n   'b' +\n 'c'", "abc"},
    StringCase{"'a'#9 + #9'b'", "a\t\tb"}, StringCase{"'// not a comment'", "// not a comment"},
    StringCase{"'{x}'", "{x}"},
    // UTF-8 in the file, GBK bytes in the tree; #codes are Unicode code points.
    StringCase{"'条件选项'", "\xCC\xF5\xBC\xFE\xD1\xA1\xCF\xEE"}, StringCase{"#20013", "\xD6\xD0"},
    StringCase{"'条件' + '选项'", "\xCC\xF5\xBC\xFE\xD1\xA1\xCF\xEE"},
    StringCase{"'x😀'", "x?"})); // not in the code page: the default character

TEST(FormResourceParser, StringsConvertToTheCodePageAsked) {
    auto resource = ParseFormResource("object f: TF\n Caption = '條件'\nend", "t.qfm", CP_BIG5);
    EXPECT_EQ(resource.Root.Properties.at(0).Value.Text, AnsiString("\xB1\xF8\xA5\xF3"));
}

TEST(FormResourceParser, IdentifiersSetsListsBinary) {
    TFormValue identifier = ValueOf("clBtnFace");
    EXPECT_EQ(identifier.Kind, TFormValueKind::Identifier);
    EXPECT_EQ(identifier.Text, "clBtnFace");
    EXPECT_EQ(ValueOf("dmMain.dsCustomers").Text, "dmMain.dsCustomers");

    TFormValue set = ValueOf("[biSystemMenu, biMinimize]");
    EXPECT_EQ(set.Kind, TFormValueKind::Set);
    EXPECT_EQ(set.Elements, (std::vector<AnsiString>{"biSystemMenu", "biMinimize"}));
    TFormValue empty = ValueOf("[]");
    EXPECT_EQ(empty.Kind, TFormValueKind::Set);
    EXPECT_TRUE(empty.Elements.empty());

    TFormValue list = ValueOf("(\n  'one'\n  'two' + 'three'\n  3 Left [a] ())");
    ASSERT_EQ(list.Kind, TFormValueKind::List);
    ASSERT_EQ(list.Items.size(), 6u);
    EXPECT_EQ(list.Items[0].Text, "one");
    EXPECT_EQ(list.Items[0].Line, 3);
    EXPECT_EQ(list.Items[1].Text, "twothree");
    EXPECT_EQ(list.Items[2].Integer, 3);
    EXPECT_EQ(list.Items[3].Kind, TFormValueKind::Identifier);
    EXPECT_EQ(list.Items[4].Kind, TFormValueKind::Set);
    EXPECT_EQ(list.Items[5].Kind, TFormValueKind::List);
    EXPECT_TRUE(ValueOf("()").Items.empty());

    TFormValue binary = ValueOf("{0A0b\n  0C ff}");
    EXPECT_EQ(binary.Kind, TFormValueKind::Binary);
    EXPECT_EQ(binary.Text, std::string("\x0A\x0B\x0C\xFF", 4));
    EXPECT_TRUE(binary.ResourceName.empty());
    EXPECT_TRUE(ValueOf("{}").Text.empty());
    TFormValue named = ValueOf("{ 'BTN_OK' }");
    EXPECT_EQ(named.Kind, TFormValueKind::Binary);
    EXPECT_EQ(named.ResourceName, "BTN_OK");
    EXPECT_TRUE(named.Text.empty());
}

TEST(FormResourceParser, Collections) {
    TFormValue columns = ValueOf("<\n  item\n    Caption = 'No'\n    Width = 60\n  end\n"
                                 "  item\n    Caption = 'Name'\n    Font.Style = [fsBold]\n  end>");
    ASSERT_EQ(columns.Kind, TFormValueKind::Collection);
    ASSERT_EQ(columns.CollectionItems.size(), 2u);
    const auto& first = columns.CollectionItems[0];
    EXPECT_EQ(first.Line, 3);
    ASSERT_EQ(first.Properties.size(), 2u);
    EXPECT_EQ(first.Properties[0].Name, "Caption");
    EXPECT_EQ(first.Properties[1].Value.Integer, 60);
    EXPECT_EQ(first.Properties[1].Line, 5);
    EXPECT_EQ(columns.CollectionItems[1].Properties[1].Name, "Font.Style");
    EXPECT_TRUE(ValueOf("<>").CollectionItems.empty());
    EXPECT_EQ(ValueOf("< item end >").CollectionItems.size(), 1u);
}

TEST(FormResourceParser, FormTreeInFileOrderWithLines) {
    const char* text =
        "\xEF\xBB\xBF// the option form\r\n"
        "object frmBaseGene: TfrmBaseGene\r\n"
        "  Left = 100\r\n"
        "  Caption = '条件选项'\r\n"
        "  Font.Charset = 134\r\n"
        "  OnKeyDown = FormKeyDown\r\n"
        "  object pgOption: TExtPageControl\r\n"
        "    Align = alClient\r\n"
        "    OBJECT tsMain: TTabSheet\r\n"
        "    End\r\n"
        "  end\r\n"
        "  object btnOk: TButton [2]\r\n"
        "  end\r\n"
        "END\r\n";
    TFormResource resource = ParseFormResource(text, "frmBaseGene.qfm");
    EXPECT_EQ(resource.ResourceName, "frmBaseGene.qfm");
    const TFormObject& root = resource.Root;
    EXPECT_EQ(root.Name, "frmBaseGene");
    EXPECT_EQ(root.ClassName, "TfrmBaseGene");
    EXPECT_FALSE(root.Inherited);
    EXPECT_EQ(root.Line, 2);
    ASSERT_EQ(root.Properties.size(), 4u);
    const char* names[] = {"Left", "Caption", "Font.Charset", "OnKeyDown"};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(root.Properties[i].Name, names[i]);
        EXPECT_EQ(root.Properties[i].Line, static_cast<int>(i) + 3);
    }
    EXPECT_EQ(root.Properties[3].Value.Kind, TFormValueKind::Identifier);
    ASSERT_EQ(root.Children.size(), 2u);
    const TFormObject& page = root.Children[0];
    EXPECT_EQ(page.ClassName, "TExtPageControl");
    EXPECT_EQ(page.Line, 7);
    EXPECT_EQ(page.Index, -1);
    ASSERT_EQ(page.Children.size(), 1u);
    EXPECT_EQ(page.Children[0].Name, "tsMain");
    EXPECT_EQ(page.Children[0].Line, 9);
    EXPECT_EQ(root.Children[1].Index, 2);
}

TEST(FormResourceParser, InheritedObjects) {
    TFormResource resource = ParseFormResource(
        "inherited frmKlnb07: TfrmKlnb07\n"
        "  Caption = 'KLNB07'\n"
        "  inherited pgOption: TExtPageControl\n"
        "    Height = 300\n"
        "  end\n"
        "  object edNew: TEdit\n"
        "  end\n"
        "end\n", "frmKlnb07.qfm");
    EXPECT_TRUE(resource.Root.Inherited);
    ASSERT_EQ(resource.Root.Children.size(), 2u);
    EXPECT_TRUE(resource.Root.Children[0].Inherited);
    EXPECT_EQ(resource.Root.Children[0].Properties.at(0).Value.Integer, 300);
    EXPECT_FALSE(resource.Root.Children[1].Inherited);
}

TEST(FormResourceParser, LineEndingsCountLines) {
    // LF, CRLF and a lone CR each end one line.
    auto resource = ParseFormResource("object f: TF\n A = 1\r\n B = 2\r C = 3\n\n D = 4\nend", "t.qfm");
    ASSERT_EQ(resource.Root.Properties.size(), 4u);
    EXPECT_EQ(resource.Root.Properties[0].Line, 2);
    EXPECT_EQ(resource.Root.Properties[1].Line, 3);
    EXPECT_EQ(resource.Root.Properties[2].Line, 4);
    EXPECT_EQ(resource.Root.Properties[3].Line, 6);
}

struct ErrorCase {
    const char* text;
    int line;
    const char* reason;
};

void PrintTo(const ErrorCase& c, std::ostream* out) { *out << Escaped(c.text); }

class FormResourceErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(FormResourceErrors, NameResourceAndLine) {
    const ErrorCase& c = GetParam();
    try {
        ParseFormResource(c.text, "frmX.qfm");
        FAIL() << "parsed: " << c.text;
    } catch (const EFormResourceError& error) {
        EXPECT_EQ(error.ResourceName(), "frmX.qfm");
        EXPECT_EQ(error.Line(), c.line) << c.text;
        EXPECT_EQ(error.Reason(), c.reason) << c.text;
        EXPECT_EQ(error.Message(), "frmX.qfm(" + std::to_string(c.line) + "): " + c.reason);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FormResourceErrors, ::testing::Values(
    ErrorCase{"", 1, "expected 'object' or 'inherited'"},
    ErrorCase{"// only a comment\n", 2, "expected 'object' or 'inherited'"},
    ErrorCase{"form f: TF\nend", 1, "expected 'object' or 'inherited'"},
    ErrorCase{"object : TF\nend", 1, "expected identifier"},
    ErrorCase{"object f TF\nend", 1, "expected ':'"},
    ErrorCase{"object f:\n\nend", 3, "expected 'end'"},
    ErrorCase{"object f: TF [x]\nend", 1, "expected a creation index"},
    ErrorCase{"object f: TF [1\nend", 2, "expected ']'"},
    ErrorCase{"object f: TF\n  Left 100\nend", 2, "expected '='"},
    ErrorCase{"object f: TF\n  Font. = 1\nend", 2, "expected identifier"},
    ErrorCase{"object f: TF\n  Left =\nend", 3, "expected a value"},
    ErrorCase{"object f: TF\n  Left = =\nend", 2, "expected a value"},
    ErrorCase{"object f: TF\n  Left = 1\n", 3, "expected 'end'"},
    ErrorCase{"object f: TF\n  object g: TG\n  end\n  Left = 1\nend", 4, "expected 'end'"},
    ErrorCase{"object f: TF\nend\nobject g: TG\nend", 3, "expected end of resource"},
    ErrorCase{"object f: TF\n  Caption = 'abc\nend", 2, "unterminated string"},
    ErrorCase{"object f: TF\n  Caption = 'a' +\n\n  5\nend", 4, "expected a string after '+'"},
    ErrorCase{"object f: TF\n  Caption = #\nend", 2, "invalid character code"},
    ErrorCase{"object f: TF\n  Caption = #55296\nend", 2, "invalid character code"},
    ErrorCase{"object f: TF\n  Caption = #$110000\nend", 2, "invalid character code"},
    ErrorCase{"object f: TF\n  Caption = '\xC3('\nend", 2, "invalid UTF-8 text"},
    ErrorCase{"object f: TF\n  Caption = '\xED\xA0\x80'\nend", 2, "invalid UTF-8 text"},
    ErrorCase{"object f: TF\n  Left = 99999999999999999999\nend", 2, "integer out of range"},
    ErrorCase{"object f: TF\n  Left = $1FFFFFFFFFFFFFFFF\nend", 2, "integer out of range"},
    ErrorCase{"object f: TF\n  Left = 1e999\nend", 2, "number out of range"},
    ErrorCase{"object f: TF\n  Left = 12abc\nend", 2, "invalid number"},
    ErrorCase{"object f: TF\n  Left = $\nend", 2, "invalid number"},
    ErrorCase{"object f: TF\n  Left = 1.2.3\nend", 2, "invalid number"},
    ErrorCase{"object f: TF\n  S = [a b]\nend", 2, "expected ',' or ']'"},
    ErrorCase{"object f: TF\n  S = [a,]\nend", 2, "expected identifier"},
    ErrorCase{"object f: TF\n  S = [1]\nend", 2, "expected identifier"},
    ErrorCase{"object f: TF\n  L = ('a'\n", 3, "expected ')'"},
    ErrorCase{"object f: TF\n  C = < Caption = 'x' >\nend", 2, "expected 'item' or '>'"},
    ErrorCase{"object f: TF\n  C = < item\n  Width = 1\n>\nend", 4, "expected 'end'"},
    ErrorCase{"object f: TF\n  G = {0A0\n}\nend", 3, "odd number of hex digits in binary data"},
    ErrorCase{"object f: TF\n  G = {0X}\nend", 2, "invalid binary data"},
    ErrorCase{"object f: TF\n  G = {0A0B\n", 3, "unterminated binary data"},
    ErrorCase{"object f: TF\n  G = {''}\nend", 2, "expected a resource name"},
    ErrorCase{"object f: TF\n  G = {'A' 'B'}\nend", 2, "expected '}'"},
    ErrorCase{"object f: TF\n  Left = 1 ;\nend", 2, "unexpected character ';'"},
    ErrorCase{"object f: TF\n  Left = \x01\nend", 2, "unexpected byte $01"},
    ErrorCase{"object f: TF\n  标题 = 1\nend", 2, "unexpected byte $E6"},
    ErrorCase{"object f: TF\n  Left = end\nend", 2, "expected a value"}));

TEST(FormResourceParser, DeepNestingIsAnErrorNotAStackOverflow) {
    std::string lists = "object f: TF\n  L = " + std::string(100000, '(');
    EXPECT_THROW(ParseFormResource(lists, "t.qfm"), EFormResourceError);
    std::string objects;
    for (int i = 0; i < 5000; ++i) objects += "object a: TA\n";
    try {
        ParseFormResource(objects, "t.qfm");
        FAIL();
    } catch (const EFormResourceError& error) {
        EXPECT_EQ(error.Reason(), "nesting too deep");
    }
}

// Every prefix of a valid resource and random byte strings either parse or raise the resource
// error: nothing else escapes, nothing crashes.
TEST(FormResourceParser, GarbageNeverCrashes) {
    const std::string valid =
        "inherited frmKlnb07: TfrmKlnb07 [0]\n"
        "  Caption = '条件' + #13#10'x'''\n"
        "  Left = -$10\n  Ratio = 1.5E2\n  BorderIcons = [biSystemMenu]\n"
        "  Items.Strings = ('one' 'two' (1 2))\n"
        "  Columns = < item Caption = 'No' Width = 60 end >\n"
        "  Glyph.Data = {0A0B} Picture.Data = {'IMG'}\n"
        "  object edNew: TEdit\n  end\nend\n";
    ASSERT_NO_THROW(ParseFormResource(valid, "t.qfm"));
    auto parsesOrRaises = [](const std::string& text) {
        try {
            ParseFormResource(text, "t.qfm");
        } catch (const EFormResourceError&) {
        }
    };
    for (std::size_t length = 0; length < valid.size(); ++length) parsesOrRaises(valid.substr(0, length));

    std::mt19937 random(7);
    const std::string alphabet = "object end inherited item = : [ ] ( ) < > { } , + . ' # $ - 0 9 A f _ \n\r\t";
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        std::size_t length = random() % 200;
        for (std::size_t i = 0; i < length; ++i)
            text += round % 2 ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
        parsesOrRaises(text);
        // Mutations of the valid text reach deeper into the grammar.
        std::string mutated = valid;
        for (int k = 0; k < 3; ++k) mutated[random() % mutated.size()] = static_cast<char>(random() % 256);
        parsesOrRaises(mutated);
    }
}

} // namespace
