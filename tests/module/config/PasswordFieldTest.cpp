#include <gtest/gtest.h>

#include <filesystem>

#include "TaskoraInstall.h"
#include "config/LibSys.h"
#include "qmx/CodePage.h"

namespace qmx {
namespace {

using testing::TaskoraInstall;

std::string TodayLogName() {
    std::time_t now = std::time(nullptr);
    std::tm today{};
    localtime_r(&now, &today);
    return "Log/" + detail::GeneratorLogFileName(today);
}

// The lines of a generator log with their time stamps removed ("[...] " at a line's start).
std::vector<std::string> LogLinesWithoutStamps(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (line.starts_with("[")) line.erase(0, line.find("] ") + 2);
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

TEST(PasswordFieldTest, EncodingIsByteExact) {
    EXPECT_EQ(EncodeSQLSa("abc"), "B0986C");
    EXPECT_EQ(EncodeSQLSa("DecodeSQLSa"), "22596CF62395A65126D42C");
    EXPECT_EQ(EncodeSQLSa(Utf8ToAnsi("口令密码9", CP_GB2312)), "DFB638EE1E7385EB9C");
    EXPECT_EQ(EncodeSQLSa(""), EncodeSQLSa(EmptyPasswordMarker));
    EXPECT_EQ(EncodeSQLSa(""), "AB51EB1473C5BE42B9162E46C331F47AB0D789776331D26EB3534E36630DC841B85C0F86");
}

TEST(PasswordFieldTest, DecodingRestoresEveryText) {
    const std::string texts[] = {
        "a", "abc", "12345678", "123456789abcdefghij", // the rotation wraps after 8 positions
        Utf8ToAnsi("口令密码9", CP_GB2312), std::string("\x00\x01\x7F\x80\xFF", 5), std::string(300, '\xA5'),
    };
    for (const std::string& text : texts) EXPECT_EQ(DecodeSQLSa(EncodeSQLSa(text)), text);
    EXPECT_EQ(DecodeSQLSa(EncodeSQLSa("")), "");
    EXPECT_EQ(DecodeSQLSa("b0986c"), "abc"); // either letter case
    EXPECT_EQ(DecodeSQLSa("B0986"), "ab");   // an odd digit at the end is ignored
    EXPECT_EQ(DecodeSQLSa("B"), "");
}

class PasswordLogTest : public ::testing::Test {
protected:
    void SetUp() override { install.UseFolder(); }
    TaskoraInstall install;
};

TEST_F(PasswordLogTest, EmptyStoredTextDecodesWithoutReport) {
    EXPECT_EQ(DecodeSQLSa(""), "");
    EXPECT_FALSE(std::filesystem::exists(install.Folder() + TodayLogName()));
}

TEST_F(PasswordLogTest, BadPairGivesTheMarkerAndOneReport) {
    for (const char* stored : {"B0ZZ6C", "B0 86C", "+1", "B0986G"}) {
        EXPECT_EQ(DecodeSQLSa(stored), "QM_Say_Password_Error") << stored;
    }
    const std::vector<std::string> lines = LogLinesWithoutStamps(install.ReadFile(TodayLogName()));
    const std::string hyphens(34, '-');
    const std::vector<std::string> first = {
        hyphens + " on 22596CF62395A65126D42C " + hyphens,
        Utf8ToAnsi("讯息信息:", CP_GB2312),
        "Exception is EConvertError",
        "Message 01: '$ZZ' is not a valid integer value",
        "ErrorMessage Count: 1",
        "Programer Message: " + Utf8ToAnsi("解析 Sa 时发生错误!", CP_GB2312),
    };
    ASSERT_EQ(lines.size(), 4 * first.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 6), first);
    EXPECT_EQ(lines[6 + 3], "Message 01: '$ 8' is not a valid integer value");
    EXPECT_EQ(lines[12 + 3], "Message 01: '$+1' is not a valid integer value");
    EXPECT_EQ(lines[18 + 3], "Message 01: '$6G' is not a valid integer value");
}

} // namespace
} // namespace qmx
