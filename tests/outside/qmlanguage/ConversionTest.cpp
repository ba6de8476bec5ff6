// GBtoBIG5 and BIG5toGB as the module calls them: quality of the conversion, what passes
// unchanged, what becomes a substitute, long texts and many threads.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "QmlanguageLibrary.h"

namespace qmx::test {
namespace {

struct Pair {
    const char* simplified;
    const char* traditional;
};

// Words whose Traditional form is not one character for one: the phrase decides.
const Pair kQuality[] = {
    {"发票", "發票"},
    {"头发", "頭髮"},
    {"后来", "後來"},
    {"干部", "幹部"},
    {"面条", "麵條"},
    {"皇后", "皇后"},
    {"头发里面的面条", "頭髮裡面的麵條"},
    {"销售发票草稿导出 KLNB07 客户编号 0001, 含税金额 1234.56;", "銷售發票草稿導出 KLNB07 客戶編號 0001, 含稅金額 1234.56;"},
    {"着", "著"},
};

const QmlanguageLibrary& Lib() { return QmlanguageLibrary::Get(); }

TEST(QmlanguageConversion, QualityTableBothWays) {
    for (const auto& pair : kQuality) {
        SCOPED_TRACE(pair.simplified);
        const QmlAnswer toBig5 = Call(Lib().gbToBig5, Gb(pair.simplified));
        ASSERT_EQ(toBig5.status, QML_OK);
        EXPECT_EQ(toBig5.text, Big5(pair.traditional));
        const QmlAnswer toGb = Call(Lib().big5ToGb, Big5(pair.traditional));
        ASSERT_EQ(toGb.status, QML_OK);
        EXPECT_EQ(toGb.text, Gb(pair.simplified));
    }
}

TEST(QmlanguageConversion, AsciiAndNulPassUnchanged) {
    std::string ascii;
    for (int c = 0; c < 0x80; ++c) ascii += static_cast<char>(c); // NUL included
    for (auto entry : {Lib().gbToBig5, Lib().big5ToGb}) {
        EXPECT_EQ(Call(entry, ascii).text, ascii);
        EXPECT_EQ(Call(entry, "").status, QML_OK);
        EXPECT_EQ(Call(entry, "").text, "");
    }
    // A NUL inside Chinese text ends nothing: the phrases on both sides still convert.
    const std::string gb = Gb("头发") + '\0' + Gb("后来");
    const std::string big5 = Big5("頭髮") + '\0' + Big5("後來");
    EXPECT_EQ(Call(Lib().gbToBig5, gb).text, big5);
    EXPECT_EQ(Call(Lib().big5ToGb, big5).text, gb);
}

TEST(QmlanguageConversion, InvalidBytesBecomeOneQuestionMarkEach) {
    struct Case {
        std::string gb;
        std::string big5;
    } cases[] = {
        {"A\xFF" "B", "A?B"},                           // no character starts with 0xFF
        {Gb("中") + "\xD6", Big5("中") + "?"},          // a lead byte at the end
        {"\x81 " + Gb("发票"), "? " + Big5("發票")},    // a lead byte before a space
        {"\xFF\xFF" + Gb("头发"), "??" + Big5("頭髮")}, // the phrase after them still converts
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gb);
        const QmlAnswer answer = Call(Lib().gbToBig5, c.gb);
        ASSERT_EQ(answer.status, QML_OK);
        EXPECT_EQ(answer.text, c.big5);
    }
    EXPECT_EQ(Call(Lib().big5ToGb, Big5("發票") + "\xFF" + "\xA4").text, Gb("发票") + "??");
}

TEST(QmlanguageConversion, CharactersTheTargetLacksGetTheDocumentedFallbacks) {
    const std::string big5Substitute = "\xA1\x48"; // ？
    const std::string gbSubstitute = "\xA3\xBF";   // ？
    struct Case {
        QmlanguageConvertProc entry;
        std::string source;
        std::string expected;
    } cases[] = {
        // 酶 and 硷 (whose Traditional form 礆 BIG5 lacks too) have no BIG5 form: the substitute,
        // two bytes wide like the character it stands for.
        {Lib().gbToBig5, Gb("蛋白酶"), Big5("蛋白") + big5Substitute},
        {Lib().gbToBig5, Gb("硷") + Gb("发票"), big5Substitute + Big5("發票")},
        // Look-alikes BIG5 holds.
        {Lib().gbToBig5, Gb("金额≤100且≥5"), Big5("金額≦100且≧5")},
        {Lib().gbToBig5, Gb("━┃ā"), Big5("─│") + "a"},
        // Rare Traditional characters whose Simplified form GBK lacks stay Traditional.
        {Lib().big5ToGb, Big5("林暐與陳煇"), Gb("林暐与陈煇")},
        {Lib().big5ToGb, Big5("單價‧數量"), Gb("单价·数量")},
        // Neither the converted nor the original form fits, and no look-alike: the substitute.
        {Lib().gbToBig5, Gb("①号"), big5Substitute + Big5("號")},
        // A private character of BIG5's user area has no GB form.
        {Lib().big5ToGb, "\xC6\xA1" + Big5("號"), gbSubstitute + Gb("号")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        const QmlAnswer answer = Call(c.entry, c.source);
        ASSERT_EQ(answer.status, QML_OK);
        EXPECT_EQ(answer.text, c.expected);
    }
}

TEST(QmlanguageConversion, LongTextConvertsWhole) {
    const std::string unit = Gb("头发里面的面条, 销售发票草稿导出 KLNB07; ");
    const std::string expectedUnit = Big5("頭髮裡面的麵條, 銷售發票草稿導出 KLNB07; ");
    std::string text, expected;
    while (text.size() < (1u << 20)) {
        text += unit;
        expected += expectedUnit;
    }
    const QmlAnswer answer = Call(Lib().gbToBig5, text);
    ASSERT_EQ(answer.status, QML_OK);
    EXPECT_EQ(answer.text.size(), text.size());
    EXPECT_TRUE(answer.text == expected) << "the long text differs from the unit converted alone";
    const QmlAnswer back = Call(Lib().big5ToGb, answer.text);
    ASSERT_EQ(back.status, QML_OK);
    EXPECT_TRUE(back.text == text) << "the long text does not come back";
}

TEST(QmlanguageConversion, ManyThreadsAtOnceFromTheFirstCall) {
    // Nothing has converted yet in this process when the tests run one by one: the threads also
    // race for loading the tables.
    constexpr int kThreads = 8;
    constexpr int kRounds = 200;
    std::vector<std::thread> threads;
    std::vector<int> wrong(kThreads, 0);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &wrong] {
            for (int round = 0; round < kRounds; ++round) {
                const Pair& pair = kQuality[(t + round) % std::size(kQuality)];
                const bool toBig5 = (t + round) % 2 == 0;
                const QmlAnswer answer = toBig5 ? Call(Lib().gbToBig5, Gb(pair.simplified))
                                                : Call(Lib().big5ToGb, Big5(pair.traditional));
                const std::string expected = toBig5 ? Big5(pair.traditional) : Gb(pair.simplified);
                if (answer.status != QML_OK || answer.text != expected) ++wrong[t];
            }
        });
    }
    for (auto& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(wrong[t], 0) << "thread " << t;
}

} // namespace
} // namespace qmx::test
