// The table entries (GetBIG5Data, GetGBData, SaveOrder) and how the tables are loaded.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "QmlanguageLibrary.h"

namespace qmx::test {
namespace {

namespace fs = std::filesystem;

const QmlanguageLibrary& Lib() { return QmlanguageLibrary::Get(); }

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char byte : bytes) {
        out += digits[byte >> 4];
        out += digits[byte & 15];
    }
    return out;
}

// A folder of its own under the temporary folder, removed at the end of the test.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "qmlanguage-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : "";
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) fs::remove_all(path_, ignored);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

TEST(QmlanguageTables, CandidatesOfOneCharacter) {
    struct Case {
        QmlanguageConvertProc entry;
        std::string character;
        std::string expected;
    } cases[] = {
        {Lib().getBig5Data, Gb("发"), Big5("發髮")},
        {Lib().getBig5Data, Gb("干"), Big5("幹乾干")},
        {Lib().getBig5Data, Gb("中"), Big5("中")},
        {Lib().getBig5Data, "A", "A"},
        {Lib().getBig5Data, Gb("酶"), "\xA1\x48"}, // the substitute: BIG5 has no form of it
        {Lib().getGbData, Big5("乾"), Gb("干乾")},
        {Lib().getGbData, Big5("著"), Gb("着")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.character);
        const QmlAnswer answer = CallAnySize(c.entry, c.character);
        ASSERT_EQ(answer.status, QML_OK);
        EXPECT_EQ(answer.text, c.expected);
    }
    // Not exactly one valid character.
    for (const std::string& bad : {Gb("发票"), std::string(), std::string("\xFF"), std::string("\xB7")})
        EXPECT_EQ(CallAnySize(Lib().getBig5Data, bad).status, QML_INVALID_ARGUMENT) << bad;
}

// The lines of a saved table by source code.
std::map<std::string, std::string> ReadTable(const fs::path& path, std::string* header) {
    std::ifstream in(path, std::ios::binary);
    std::map<std::string, std::string> lines;
    std::string line, previousCode;
    std::getline(in, *header);
    while (std::getline(in, line)) {
        const std::string code = line.substr(0, line.find('\t'));
        EXPECT_LT(previousCode, code) << "not in code order";
        previousCode = code;
        lines[code] = line;
    }
    return lines;
}

TEST(QmlanguageTables, SaveOrderWritesEveryCharacterWithHowItConverts) {
    TempFolder folder;
    const fs::path gbTable = folder.Path() / "gb.txt";
    const fs::path big5Table = folder.Path() / "big5.txt";
    ASSERT_EQ(Lib().saveOrder(gbTable.c_str(), QML_GB_TO_BIG5), QML_OK);
    ASSERT_EQ(Lib().saveOrder(big5Table.c_str(), QML_BIG5_TO_GB), QML_OK);

    std::string header;
    const auto gb = ReadTable(gbTable, &header);
    EXPECT_EQ(header.rfind("# CP936 -> CP950", 0), 0u) << header;
    EXPECT_EQ(gb.at("B7A2"), "B7A2\t发\tB56F\t發\ttable");
    EXPECT_EQ(gb.at("D6D0"), "D6D0\t中\tA4A4\t中\ttable");
    EXPECT_EQ(gb.at("C3B8"), "C3B8\t酶\tA148\t？\tsubstitute");
    EXPECT_EQ(gb.at("A1DC"), "A1DC\t≤\tA1D8\t≦\talike");
    EXPECT_EQ(gb.count("A1A0"), 0u) << "A1A0 is no GBK character";
    // Every GB2312 hanzi (rows B0 to F7) has its line.
    int hanzi = 0;
    for (const auto& [code, line] : gb) hanzi += code >= "B0A1" && code <= "F7FE" && code.substr(2) >= "A1";
    EXPECT_EQ(hanzi, 6763);

    const auto big5 = ReadTable(big5Table, &header);
    EXPECT_EQ(header.rfind("# CP950 -> CP936", 0), 0u) << header;
    EXPECT_EQ(big5.at("B56F"), "B56F\t發\tB7A2\t发\ttable");
    EXPECT_EQ(big5.at(Hex(Big5("暐"))), Hex(Big5("暐")) + "\t暐\t" + Hex(Gb("暐")) + "\t暐\tkept");
    EXPECT_EQ(big5.at("A145"), "A145\t‧\tA1A4\t·\talike");
}

TEST(QmlanguageTables, SaveOrderRefusesBadArgumentsAndReportsWriteFailures) {
    TempFolder folder;
    const fs::path table = folder.Path() / "t.txt";
    EXPECT_EQ(Lib().saveOrder(nullptr, QML_GB_TO_BIG5), QML_INVALID_ARGUMENT);
    EXPECT_EQ(Lib().saveOrder(table.c_str(), 3), QML_INVALID_ARGUMENT);
    EXPECT_FALSE(fs::exists(table));
    EXPECT_EQ(Lib().saveOrder((folder.Path() / "missing" / "t.txt").c_str(), QML_GB_TO_BIG5), QML_IO_ERROR);
}

TEST(QmlanguageTables, LoadedOnceAndKeptForTheProcess) {
    ASSERT_EQ(Call(Lib().gbToBig5, Gb("发票")).text, Big5("發票"));
    // Loading again from here would fail; a kept table does not notice.
    TempFolder empty;
    setenv("QMLANGUAGE_DATA_DIR", empty.Path().c_str(), 1);
    const QmlAnswer answer = Call(Lib().gbToBig5, Gb("头发"));
    unsetenv("QMLANGUAGE_DATA_DIR");
    EXPECT_EQ(answer.status, QML_OK);
    EXPECT_EQ(answer.text, Big5("頭髮"));
}

TEST(QmlanguageTablesDeathTest, MissingTablesAnswerNotAvailableNeverCrash) {
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // a fresh process that has loaded nothing yet
    TempFolder empty;
    EXPECT_EXIT(
        {
            setenv("QMLANGUAGE_DATA_DIR", empty.Path().c_str(), 1);
            std::ostringstream failures;
            const std::string text = Gb("发票");
            for (int attempt = 0; attempt < 2; ++attempt) // a second call answers the same
                if (const int status = Call(Lib().gbToBig5, text).status; status != QML_NOT_AVAILABLE)
                    failures << "GBtoBIG5 answered " << status << "; ";
            if (Call(Lib().getGbData, Big5("發")).status != QML_NOT_AVAILABLE) failures << "GetGBData; ";
            if (Lib().saveOrder((empty.Path() / "t.txt").c_str(), QML_BIG5_TO_GB) != QML_NOT_AVAILABLE)
                failures << "SaveOrder; ";
            // What needs no tables still works.
            if (Call(Lib().gbToBig5, "ASCII only").text != "ASCII only") failures << "ASCII; ";
            if (Call(Lib().big5ToGb, "").status != QML_OK) failures << "empty; ";
            std::fputs(failures.str().c_str(), stderr);
            std::exit(failures.str().empty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "^$");
}

} // namespace
} // namespace qmx::test
