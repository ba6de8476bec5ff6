// The place-for-the-result protocol and the argument checks of the entries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QmlanguageLibrary.h"

namespace qmx::test {
namespace {

const QmlanguageLibrary& Lib() { return QmlanguageLibrary::Get(); }

TEST(QmlanguageResult, TooSmallPlaceTellsTheLengthAndWritesNothing) {
    const std::string source = Gb("头发 hair");
    const std::string expected = Big5("頭髮 hair");
    size_t length = 12345;
    // The length alone.
    EXPECT_EQ(Lib().gbToBig5(source.data(), source.size(), nullptr, 0, &length), QML_BUFFER_TOO_SMALL);
    EXPECT_EQ(length, expected.size());
    // Room for the text but not its NUL.
    std::vector<char> place(expected.size(), 'x');
    length = 0;
    EXPECT_EQ(Lib().gbToBig5(source.data(), source.size(), place.data(), place.size(), &length),
              QML_BUFFER_TOO_SMALL);
    EXPECT_EQ(length, expected.size());
    EXPECT_EQ(std::string(place.begin(), place.end()), std::string(expected.size(), 'x'));
    // Exactly enough.
    place.assign(expected.size() + 1, 'x');
    EXPECT_EQ(Lib().gbToBig5(source.data(), source.size(), place.data(), place.size(), &length), QML_OK);
    EXPECT_EQ(std::string(place.data()), expected);
}

TEST(QmlanguageResult, EmptySourceGivesEmptyText) {
    for (auto entry : {Lib().gbToBig5, Lib().big5ToGb}) {
        char place[4] = {'x', 'x', 'x', 'x'};
        size_t length = 99;
        EXPECT_EQ(entry(nullptr, 0, place, sizeof place, &length), QML_OK);
        EXPECT_EQ(length, 0u);
        EXPECT_EQ(place[0], '\0');
        // Even an empty text needs its NUL.
        EXPECT_EQ(entry("", 0, nullptr, 0, &length), QML_BUFFER_TOO_SMALL);
        EXPECT_EQ(length, 0u);
    }
}

TEST(QmlanguageResult, TwiceTheSourceLengthIsAlwaysEnough) {
    // The single byte 0x80 is the euro sign in GBK, two bytes in BIG5: the largest growth.
    const std::string euros(50, '\x80');
    const QmlAnswer answer = Call(Lib().gbToBig5, euros);
    ASSERT_EQ(answer.status, QML_OK);
    std::string expected;
    for (int i = 0; i < 50; ++i) expected += Big5("€");
    EXPECT_EQ(answer.text, expected);
}

TEST(QmlanguageResult, MissingPointersAreRefusedAndNothingIsWritten) {
    const std::string source = Gb("发票");
    char place[16] = "unchanged";
    size_t length = 7;
    for (auto entry : {Lib().gbToBig5, Lib().big5ToGb, Lib().getBig5Data, Lib().getGbData}) {
        EXPECT_EQ(entry(nullptr, 4, place, sizeof place, &length), QML_INVALID_ARGUMENT);
        EXPECT_EQ(entry(source.data(), source.size(), nullptr, sizeof place, &length), QML_INVALID_ARGUMENT);
        EXPECT_EQ(entry(source.data(), source.size(), place, sizeof place, nullptr), QML_INVALID_ARGUMENT);
    }
    EXPECT_EQ(length, 7u);
    EXPECT_STREQ(place, "unchanged");
}

} // namespace
} // namespace qmx::test
