// Properties over many generated dates, rules and texts (fixed seeds, so a failure repeats).
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "lib/LibStrsDates.h"
#include "lib/LibStrsPeriod.h"
#include "lib/LibStrsText.h"
#include "qmx/CodePage.h"

namespace qmx {
namespace {

using namespace std::chrono;

constexpr int kRounds = 20000;

// Date values of the calendar from <chrono>, independent of the code under test.
double DateOf(year_month_day ymd) {
    return static_cast<double>((sys_days(ymd) - sys_days(1899y / December / 30)).count());
}
year_month_day YmdOf(double date) {
    return year_month_day(sys_days(1899y / December / 30) + days(static_cast<int>(date)));
}
year_month_day FromCompact(const AnsiString& text) {
    return year{std::stoi(text.substr(0, 4))} / month{unsigned(std::stoi(text.substr(4, 2)))} /
           day{unsigned(std::stoi(text.substr(6, 2)))};
}
AnsiString Compact(year_month_day ymd) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02u%02u", int(ymd.year()), unsigned(ymd.month()), unsigned(ymd.day()));
    return text;
}
// 1 = Sunday ... 7 = Saturday.
int DayOfWeekOf(year_month_day ymd) { return static_cast<int>(weekday(sys_days(ymd)).c_encoding()) + 1; }

class Generator {
public:
    explicit Generator(unsigned seed) : engine_(seed) {}
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
    year_month_day DateBetween(int firstYear, int lastYear) {
        const double low = DateOf(year{firstYear} / January / 1);
        const double high = DateOf(year{lastYear} / December / 31);
        return YmdOf(std::uniform_int_distribution<int>(int(low), int(high))(engine_));
    }

private:
    std::mt19937 engine_;
};

TEST(DatePropertyTest, ParsingAFormattedDateGivesItBack) {
    Generator gen(1);
    const char* separators[] = {"/", "-", ".", " "};
    for (int i = 0; i < kRounds; ++i) {
        const int style = gen.Between(1, 5);
        // Styles 4 and 5 write the era's year, positive from 1912 on.
        const year_month_day ymd = gen.DateBetween(style >= 4 ? 1912 : 1753, 9999);
        const char* separator = separators[gen.Between(0, 3)];
        const double date = DateOf(ymd);
        const AnsiString text = FormatStyledDate(style, separator, date);
        ASSERT_EQ(ParseStyledDate(text, style, separator), date) << "style " << style << ": '" << text << "'";
        const AnsiString yearMonth = FormatStyledYearMonth(style, separator, date);
        ASSERT_EQ(yearMonth.size(), text.size() - 3) << yearMonth;
    }
}

TEST(DatePropertyTest, CompactDatesRoundTrip) {
    Generator gen(2);
    for (int i = 0; i < kRounds; ++i) {
        const year_month_day ymd = gen.DateBetween(1, 9999);
        const AnsiString text = Compact(ymd);
        ASSERT_EQ(YmdToDate(text), DateOf(ymd)) << text;
        ASSERT_EQ(AddToYmd(DateOf(ymd), "D", 0), text);
        ASSERT_EQ(IsValidYmd(text), int(ymd.year()) >= 1753) << text;
    }
}

TEST(DatePropertyTest, AddingMonthsNeverGivesAnInvalidDate) {
    Generator gen(3);
    for (int i = 0; i < kRounds; ++i) {
        const year_month_day from = gen.DateBetween(1, 9999);
        const int amount = i % 2 == 0 ? gen.Between(-240, 240) : gen.Between(-130000, 130000);
        const AnsiString result = AddToYmd(Variant(Compact(from)), "M", amount);
        const int months = int(from.year()) * 12 + int(unsigned(from.month())) - 1 + amount;
        const int targetYear = months >= 0 ? months / 12 : -1;
        if (targetYear < 1 || targetYear > 9999) {
            ASSERT_EQ(result, "") << Compact(from) << " + " << amount;
            continue;
        }
        ASSERT_NE(YmdToDate(result), 0) << Compact(from) << " + " << amount << " = " << result;
        const year_month_day to = FromCompact(result);
        ASSERT_EQ(int(to.year()), targetYear);
        ASSERT_EQ(unsigned(to.month()), unsigned(months % 12 + 1));
        const unsigned lastDay = unsigned((to.year() / to.month() / last).day());
        ASSERT_EQ(unsigned(to.day()), std::min(unsigned(from.day()), lastDay));
    }
}

Variant Params(std::initializer_list<int> values) {
    std::vector<Variant> list;
    for (int value : values) list.emplace_back(AnsiString(std::to_string(value)));
    return VarArrayOf(std::move(list));
}

TEST(PeriodPropertyTest, WeeklyRunsFallOnTheWeekdayWithinNWeeks) {
    Generator gen(4);
    for (int i = 0; i < kRounds; ++i) {
        const year_month_day start = gen.DateBetween(1753, 9998);
        const int every = gen.Between(1, 10);
        const int weekdayIndex = gen.Between(0, 6);
        const Variant rule = VarArrayOf({Variant(std::int32_t(1)), Params({every, weekdayIndex})});
        const AnsiString result = FirstPeriodRunDate(Compact(start), rule);
        ASSERT_TRUE(IsValidYmd(result) && !result.empty()) << Compact(start);
        const year_month_day run = FromCompact(result);
        ASSERT_GE(result, Compact(start));
        ASSERT_EQ(DayOfWeekOf(run), weekdayIndex + 1) << Compact(start) << " -> " << result;
        ASSERT_LT(DateOf(run) - DateOf(start), 7.0 * every);
    }
}

TEST(PeriodPropertyTest, MonthlyRunsFallOnTheDayOrTheMonthsLastDay) {
    Generator gen(5);
    for (int i = 0; i < kRounds; ++i) {
        const year_month_day start = gen.DateBetween(1753, 9998);
        const int every = gen.Between(1, 12);
        const int dayOfMonth = gen.Between(1, 31);
        const Variant rule = VarArrayOf({Variant(std::int32_t(2)), Params({0, every, dayOfMonth})});
        const AnsiString result = FirstPeriodRunDate(Compact(start), rule);
        ASSERT_TRUE(IsValidYmd(result) && !result.empty()) << Compact(start);
        const year_month_day run = FromCompact(result);
        ASSERT_GE(result, Compact(start));
        const unsigned lastDay = unsigned((run.year() / run.month() / last).day());
        ASSERT_TRUE(unsigned(run.day()) == unsigned(dayOfMonth) ||
                    (unsigned(dayOfMonth) > lastDay && unsigned(run.day()) == lastDay))
            << Compact(start) << " day " << dayOfMonth << " -> " << result;
        const int monthsAhead = (int(run.year()) - int(start.year())) * 12 + int(unsigned(run.month())) -
                                int(unsigned(start.month()));
        ASSERT_TRUE(monthsAhead == every - 1 || monthsAhead == every) << Compact(start) << " -> " << result;
    }
}

TEST(PeriodPropertyTest, MonthlyWeekdayRunsFallOnTheOrdinalWeekday) {
    Generator gen(6);
    for (int i = 0; i < kRounds; ++i) {
        const year_month_day start = gen.DateBetween(1753, 9998);
        const int every = gen.Between(1, 12);
        const int ordinal = gen.Between(0, 4);
        const int weekdayIndex = gen.Between(0, 6);
        const Variant rule = VarArrayOf({Variant(std::int32_t(2)), Params({1, every, ordinal, weekdayIndex})});
        const AnsiString result = FirstPeriodRunDate(Compact(start), rule);
        ASSERT_TRUE(IsValidYmd(result) && !result.empty()) << Compact(start);
        const year_month_day run = FromCompact(result);
        ASSERT_GE(result, Compact(start));
        ASSERT_EQ(DayOfWeekOf(run), weekdayIndex + 1) << Compact(start) << " -> " << result;
        const unsigned lastDay = unsigned((run.year() / run.month() / last).day());
        if (ordinal == 4)
            ASSERT_GT(unsigned(run.day()) + 7, lastDay) << result;
        else
            ASSERT_EQ((unsigned(run.day()) - 1) / 7, unsigned(ordinal)) << result;
    }
}

// The replacement loop as written plainly: find the first occurrence from the very start, at a
// character boundary, replace it, and start over.
AnsiString NaiveReplaceAll(AnsiString text, const AnsiString& search, const AnsiString& replacement) {
    for (int steps = 0; steps < 100000; ++steps) {
        std::size_t found = std::string::npos;
        for (std::size_t i = 0; i + search.size() <= text.size(); i += CharLengthAt(text, i, CP_GB2312))
            if (text.compare(i, search.size(), search) == 0) {
                found = i;
                break;
            }
        if (found == std::string::npos) return text;
        text.replace(found, search.size(), replacement);
    }
    return "(endless)";
}

TEST(TextPropertyTest, ReplaceAllTextMatchesTheStartOverLoop) {
    Generator gen(7);
    // Letters, the GBK lead byte 0x81 and '|', which is also a trail byte.
    const char alphabet[] = {'a', 'b', '|', '\x81'};
    auto randomText = [&](int low, int high) {
        AnsiString text(static_cast<std::size_t>(gen.Between(low, high)), ' ');
        for (char& c : text) c = alphabet[gen.Between(0, 3)];
        return text;
    };
    int compared = 0;
    for (int i = 0; i < kRounds; ++i) {
        const AnsiString text = randomText(0, 24);
        const AnsiString search = randomText(1, 3);
        const AnsiString replacement = randomText(0, 3);
        if (AnsiSameText(search, replacement, CP_GB2312) || replacement.find(search) != std::string::npos)
            continue;
        const AnsiString expected = NaiveReplaceAll(text, search, replacement);
        if (expected == "(endless)" || expected.size() > text.size() * 4 + 4096) continue;
        ASSERT_EQ(ReplaceAllText(text, search, replacement, false), expected)
            << "'" << text << "' '" << search << "' -> '" << replacement << "'";
        ++compared;
    }
    EXPECT_GT(compared, kRounds / 2);
}

} // namespace
} // namespace qmx
