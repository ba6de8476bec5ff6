// TStrings behaviour (through TStringList): Text, CommaText and DelimitedText, names and values,
// Assign, files.
#include "qmx/toolkit/StringList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

using namespace qmx;

namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(const TStrings& list) {
    Lines lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Get(i));
    return lines;
}

void Fill(TStrings& list, const Lines& lines) {
    list.Clear();
    for (const auto& line : lines) list.Add(line);
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
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

// The system ANSI code page for one test.
class ScopedAcp {
public:
    explicit ScopedAcp(const char* acp) {
        if (const char* old = std::getenv("QMX_ACP")) old_ = old;
        setenv("QMX_ACP", acp, 1);
    }
    ~ScopedAcp() {
        if (old_) setenv("QMX_ACP", old_->c_str(), 1);
        else unsetenv("QMX_ACP");
    }

private:
    std::optional<std::string> old_;
};

struct TextCase {
    std::string text;
    Lines lines;
};

void PrintTo(const TextCase& c, std::ostream* out) { *out << Escaped(c.text); }

class StringsSetText : public ::testing::TestWithParam<TextCase> {};

TEST_P(StringsSetText, SplitsOnCrLfOrCrlf) {
    TStringList list;
    list.SetText(GetParam().text);
    EXPECT_EQ(LinesOf(list), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Cases, StringsSetText, ::testing::Values(
    TextCase{"", {}}, TextCase{"a", {"a"}}, TextCase{"a\r\nb", {"a", "b"}},
    TextCase{"a\r\nb\r\n", {"a", "b"}}, TextCase{"a\nb\rc", {"a", "b", "c"}},
    TextCase{"a\r\n\r\n", {"a", ""}}, TextCase{"\r\n", {""}}, TextCase{"\n\n", {"", ""}},
    TextCase{"a\n\rb", {"a", "", "b"}}, TextCase{"a\r\r\nb", {"a", "", "b"}},
    TextCase{" x \t", {" x \t"}},
    TextCase{std::string("a\0b\r\nc", 6), {std::string("a\0b", 3), "c"}}));

TEST(Strings, TextEndsEveryLineWithCrlfAndRoundTrips) {
    TStringList list;
    EXPECT_EQ(list.Text(), "");
    Fill(list, {"a", "", "\xD6\xD0\xCE\xC4"});
    EXPECT_EQ(list.Text(), "a\r\n\r\n\xD6\xD0\xCE\xC4\r\n");
    TStringList copy;
    copy.SetText(list.Text());
    EXPECT_EQ(LinesOf(copy), LinesOf(list));
    Fill(list, {""});
    EXPECT_EQ(list.Text(), "\r\n");
}

struct CommaCase {
    Lines lines;
    std::string text;
};

void PrintTo(const CommaCase& c, std::ostream* out) { *out << Escaped(c.text); }

class StringsCommaTextWrite : public ::testing::TestWithParam<CommaCase> {};

TEST_P(StringsCommaTextWrite, QuotesWhereNeededAndReadsBack) {
    TStringList list;
    Fill(list, GetParam().lines);
    EXPECT_EQ(list.CommaText(), GetParam().text);
    TStringList back;
    back.SetCommaText(list.CommaText());
    EXPECT_EQ(LinesOf(back), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Cases, StringsCommaTextWrite, ::testing::Values(
    CommaCase{{}, ""}, CommaCase{{""}, "\"\""}, CommaCase{{"a", "b"}, "a,b"},
    CommaCase{{"a b"}, "\"a b\""}, CommaCase{{"a,b", "c"}, "\"a,b\",c"},
    CommaCase{{"say \"hi\""}, "\"say \"\"hi\"\"\""}, CommaCase{{"a", ""}, "a,"},
    CommaCase{{"", "a"}, ",a"}, CommaCase{{"", ""}, ","}, CommaCase{{"tab\there"}, "\"tab\there\""},
    CommaCase{{"x=1", "y='2'"}, "x=1,y='2'"}, CommaCase{{"\xD6\xD0\xCE\xC4"}, "\xD6\xD0\xCE\xC4"}));

class StringsCommaTextRead : public ::testing::TestWithParam<CommaCase> {};

TEST_P(StringsCommaTextRead, SplitsAtCommasAndBlanksOutsideQuotes) {
    TStringList list;
    list.Add("old");
    list.SetCommaText(GetParam().text);
    EXPECT_EQ(LinesOf(list), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Cases, StringsCommaTextRead, ::testing::Values(
    CommaCase{{}, ""}, CommaCase{{}, "   "}, CommaCase{{"a", "b"}, "a,b"},
    CommaCase{{"a", "b"}, "a b"}, CommaCase{{"a", "b"}, "  a ,  b  "},
    CommaCase{{"a b", "c"}, "\"a b\",c"}, CommaCase{{"a", "", "b"}, "a,,b"},
    CommaCase{{"a", ""}, "a,"}, CommaCase{{"a"}, "a, "}, CommaCase{{"", "a"}, " , a"},
    CommaCase{{"a\"b"}, "\"a\"\"b\""}, CommaCase{{""}, "\"\""},
    CommaCase{{"unterminated, rest"}, "\"unterminated, rest"},
    CommaCase{{"ab", "cd", "e"}, "\"ab\"cd,e"}, CommaCase{{"a'b"}, "a'b"},
    CommaCase{{std::string("a\0b", 3)}, std::string("a\0b", 3)}));

TEST(Strings, DelimitedTextUsesDelimiterAndQuoteCharAndCommaTextLeavesThem) {
    TStringList list;
    list.SetDelimiter(';');
    list.SetQuoteChar('\'');
    Fill(list, {"a", "b;c", "it's", "d,e"});
    EXPECT_EQ(list.DelimitedText(), "a;'b;c';'it''s';d,e");
    EXPECT_EQ(list.CommaText(), "a,b;c,it's,\"d,e\"");
    list.SetCommaText("x,y");
    EXPECT_EQ(list.Delimiter(), ';');
    EXPECT_EQ(list.QuoteChar(), '\'');
    list.SetDelimitedText("'p;q';r s");
    EXPECT_EQ(LinesOf(list), (Lines{"p;q", "r", "s"}));
}

TEST(Strings, DelimitersAreNeverTrailBytes) {
    ScopedAcp acp("936");
    // "\x81\x7C" is one GBK character whose trail byte is '|'.
    TStringList list;
    list.SetDelimiter('|');
    Fill(list, {"\x81\x7C", "b"});
    EXPECT_EQ(list.DelimitedText(), "\x81\x7C|b");
    list.SetDelimitedText("\x81\x7C|b|\"\x81\x7C\"");
    EXPECT_EQ(LinesOf(list), (Lines{"\x81\x7C", "b", "\x81\x7C"}));
    list.SetNameValueSeparator('|');
    Fill(list, {"\x81\x7Cx|v"});
    EXPECT_EQ(list.Names(0), "\x81\x7Cx");
    EXPECT_EQ(list.ValueFromIndex(0), "v");
    EXPECT_EQ(list.Values("\x81\x7Cx"), "v");
}

TEST(Strings, NamesAndValues) {
    TStringList list;
    Fill(list, {"a=1", "B=2", "c", "=x", "d=e=f"});
    EXPECT_EQ(list.Names(0), "a");
    EXPECT_EQ(list.Names(2), "");
    EXPECT_EQ(list.Names(3), "");
    EXPECT_EQ(list.ValueFromIndex(4), "e=f");
    EXPECT_EQ(list.ValueFromIndex(2), "");
    EXPECT_EQ(list.ValueFromIndex(-1), "");
    EXPECT_EQ(list.Values("b"), "2");
    EXPECT_EQ(list.Values("D"), "e=f");
    EXPECT_EQ(list.Values("zz"), "");
    EXPECT_EQ(list.IndexOfName("A"), 0);
    EXPECT_EQ(list.IndexOfName("c"), -1); // a line without '=' has no name
    EXPECT_EQ(list.IndexOfName(""), 3);

    list.SetValues("b", "3");
    EXPECT_EQ(list.Get(1), "b=3");
    list.SetValues("new", "v");
    EXPECT_EQ(list.Get(5), "new=v");
    list.SetValues("a", "");
    EXPECT_EQ(list.IndexOfName("a"), -1);
    EXPECT_EQ(list.Count(), 5);
    list.SetValues("absent", "");
    EXPECT_EQ(list.Count(), 5);

    list.SetValueFromIndex(0, "9"); // "b=3"
    EXPECT_EQ(list.Get(0), "b=9");
    list.SetValueFromIndex(0, "");
    EXPECT_EQ(LinesOf(list), (Lines{"c", "=x", "d=e=f", "new=v"}));
    EXPECT_THROW(list.Names(4), EStringListError);
}

TEST(Strings, IndexOfIgnoresCaseIndexOfObjectFindsTheObject) {
    TStringList list;
    TObject first, second;
    list.AddObject("Alpha", &first);
    list.AddObject("beta", &second);
    list.Add("ALPHA");
    EXPECT_EQ(list.IndexOf("alpha"), 0);
    EXPECT_EQ(list.IndexOf("BETA"), 1);
    EXPECT_EQ(list.IndexOf("gamma"), -1);
    EXPECT_EQ(list.IndexOfObject(&second), 1);
    EXPECT_EQ(list.IndexOfObject(nullptr), 2);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("ALPHA"), 2);
    EXPECT_EQ(list.IndexOf("alpha"), -1);
}

TEST(Strings, AssignAddStringsEquals) {
    TStringList source;
    TObject object;
    source.AddObject("a", &object);
    source.Add("b");
    source.SetDelimiter(';');
    TStringList target;
    target.Add("old");
    target.Assign(&source);
    EXPECT_EQ(LinesOf(target), (Lines{"a", "b"}));
    EXPECT_EQ(target.Objects(0), &object);
    EXPECT_EQ(target.Delimiter(), ';');
    EXPECT_TRUE(target.Equals(&source));

    target.Assign(&target); // nothing lost
    EXPECT_EQ(LinesOf(target), (Lines{"a", "b"}));
    target.AddStrings(&target); // doubled, not endless
    EXPECT_EQ(LinesOf(target), (Lines{"a", "b", "a", "b"}));
    EXPECT_FALSE(target.Equals(&source));

    TStringList upper;
    Fill(upper, {"A", "B"});
    EXPECT_FALSE(upper.Equals(&source)); // exact bytes

    TPersistent other;
    try {
        target.Assign(&other);
        FAIL();
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "Cannot assign a TPersistent to a TStringList");
    }
    EXPECT_THROW(target.Assign(nullptr), EConvertError);
}

class StringsFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("qmx-strings-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path dir_;
};

TEST_F(StringsFiles, SaveAndLoadKeepTheBytes) {
    TStringList list;
    Fill(list, {"\xCC\xF5\xBC\xFE", "", "x=1"});
    list.SaveToFile(Path("a.txt"));
    EXPECT_EQ(Read(Path("a.txt")), "\xCC\xF5\xBC\xFE\r\n\r\nx=1\r\n");
    TStringList loaded;
    loaded.LoadFromFile(Path("a.txt"));
    EXPECT_EQ(LinesOf(loaded), LinesOf(list));

    std::ofstream(Path("lf.txt"), std::ios::binary) << "one\ntwo";
    loaded.LoadFromFile(Path("lf.txt"));
    EXPECT_EQ(LinesOf(loaded), (Lines{"one", "two"}));
}

TEST_F(StringsFiles, MissingFilesRaise) {
    TStringList list;
    list.Add("kept");
    EXPECT_THROW(list.LoadFromFile(Path("missing.txt")), EFOpenError);
    EXPECT_EQ(LinesOf(list), (Lines{"kept"}));
    EXPECT_THROW(list.SaveToFile(Path("no/such/folder.txt")), EFCreateError);
}

} // namespace
