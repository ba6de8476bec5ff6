#include <gtest/gtest.h>

#include <limits>

#include "lib/LibStrsDates.h"

namespace qmx {
namespace {

// 2004-03-05 as a date value.
constexpr double kMarch5th2004 = 38051;
constexpr double kFirstDay = -693593; // 0001-01-01
constexpr double kLastDay = 2958465;  // 9999-12-31

struct StyleCase {
    int style;
    const char* separator;
    double date;
    const char* dateText;
    const char* yearMonthText;
};

TEST(StyledDateTest, FormatsEveryStyle) {
    const double year2011 = YmdToDate("20110102");
    const StyleCase cases[] = {
        {1, "/", kMarch5th2004, "2004/03/05", "2004/03"},
        {2, "/", kMarch5th2004, "03/05/2004", "03/2004"},
        {3, "/", kMarch5th2004, "05/03/2004", "03/2004"},
        {4, "/", kMarch5th2004, "93/03/05", "93/03"},
        {5, "/", kMarch5th2004, "093/03/05", "093/03"},
        {4, "-", year2011, "100-01-02", "100-01"},
        {5, ".", year2011, "100.01.02", "100.01"},
        {1, "-/", kMarch5th2004, "2004-03-05", "2004-03"}, // only the first character counts
        {1, "", kMarch5th2004, "20040305", "200403"},
        {1, "/", kMarch5th2004 + 0.75, "2004/03/05", "2004/03"}, // the time of day is ignored
        {1, "/", YmdToDate("00010101"), "0001/01/01", "0001/01"},
    };
    for (const StyleCase& c : cases) {
        EXPECT_EQ(FormatStyledDate(c.style, c.separator, c.date), c.dateText) << c.style << " " << c.date;
        EXPECT_EQ(FormatStyledYearMonth(c.style, c.separator, c.date), c.yearMonthText) << c.style;
    }
}

TEST(StyledDateTest, FormatGivesEmptyForNoDateBadStyleOrOutOfRange) {
    for (int style = 0; style <= 6; ++style) {
        EXPECT_EQ(FormatStyledDate(style, "/", 0), "") << style;
        EXPECT_EQ(FormatStyledYearMonth(style, "/", 0), "") << style;
    }
    for (int style : {0, 6, -1, 100}) {
        EXPECT_EQ(FormatStyledDate(style, "/", kMarch5th2004), "") << style;
        EXPECT_EQ(FormatStyledYearMonth(style, "/", kMarch5th2004), "") << style;
    }
    for (double date : {kLastDay + 1, kFirstDay - 1, std::numeric_limits<double>::quiet_NaN(), 1e300}) {
        EXPECT_EQ(FormatStyledDate(1, "/", date), "") << date;
        EXPECT_EQ(FormatStyledYearMonth(1, "/", date), "") << date;
    }
}

struct ParseCase {
    const char* text;
    int style;
    const char* separator;
    const char* expected; // compact date, "" for 0
};

TEST(StyledDateTest, ParsesEveryStyle) {
    const ParseCase cases[] = {
        {"2004/03/05", 1, "/", "20040305"},
        {"03/05/2004", 2, "/", "20040305"},
        {"05/03/2004", 3, "/", "20040305"},
        {"93/03/05", 4, "/", "20040305"},
        {"093/03/05", 5, "/", "20040305"},
        {"100-01-02", 4, "-", "20110102"},
        {" 2004 / 3 / 5 ", 1, "/", "20040305"},
        {"2004/03/05/extra", 1, "/", "20040305"},
        // The day counts on from the first of the month.
        {"2004/02/30", 1, "/", "20040301"},
        {"2004/02/31", 1, "/", "20040302"},
        {"2003/12/40", 1, "/", "20040109"},
        {"0001/01/01", 1, "/", "00010101"},
        {"9999/12/31", 1, "/", "99991231"},
        // Invalid.
        {"2004/13/01", 1, "/", ""},
        {"2004//01", 1, "/", ""},
        {"", 1, "/", ""},
        {"   ", 1, "/", ""},
        {"2004/00/01", 1, "/", ""},
        {"2004/03/00", 1, "/", ""},
        {"-1/03/05", 1, "/", ""},
        {"2004/x3/05", 1, "/", ""},
        {"2004/03", 1, "/", ""},
        {"10000/01/01", 1, "/", ""},
        {"9999/12/32", 1, "/", ""}, // past the last day
        {"2004/03/05", 0, "/", ""},
        {"2004/03/05", 6, "/", ""},
        {"2004-03-05", 1, "/", ""},
        {"99999999/01/01", 4, "/", ""},
    };
    for (const ParseCase& c : cases) {
        const double date = ParseStyledDate(c.text, c.style, c.separator);
        const AnsiString compact = date == 0 ? AnsiString() : AddToYmd(date, "D", 0);
        EXPECT_EQ(compact, c.expected) << "'" << c.text << "' style " << c.style;
    }
}

TEST(CompactDateTest, YmdToDateNeedsARealDateOfEightDigits) {
    EXPECT_EQ(YmdToDate("20040305"), kMarch5th2004);
    EXPECT_EQ(YmdToDate("99991231"), kLastDay);
    EXPECT_EQ(YmdToDate("00010101"), kFirstDay);
    for (const char* bad : {"", "2004035", "200403051", "20040230", "20041301", "00000101", "20040001",
                            "20040300", "abcdefgh", "2004-3-5", " 2004030", "+2004030"})
        EXPECT_EQ(YmdToDate(bad), 0) << bad;
}

TEST(CompactDateTest, Validity) {
    const std::pair<const char*, bool> cases[] = {
        {"", true},          {"17530101", true},  {"99991231", true},  {"20040229", true},
        {"17521231", false}, {"20030229", false}, {"abcdefgh", false}, {"19000229", false},
        {"20000229", true},  {"2004031", false},  {"200403011", false}, {"20040431", false},
        {"2004 301", false}, {"00010101", false},
    };
    for (const auto& [text, valid] : cases) EXPECT_EQ(IsValidYmd(text), valid) << "'" << text << "'";
}

struct AddCase {
    const char* date;
    const char* unit;
    int amount;
    const char* expected;
};

TEST(AddToYmdTest, AddsYearsMonthsAndDays) {
    const AddCase cases[] = {
        {"20040131", "M", 1, "20040229"},
        {"20030131", "M", 1, "20030228"},
        {"20040331", "M", -1, "20040229"},
        {"20040531", "m", 1, "20040630"},
        {"20041215", "M", 1, "20050115"},
        {"20040115", "M", -1, "20031215"},
        {"20041231", "M", 12, "20051231"},
        {"20040115", "M", -13, "20021215"},
        {"20040229", "Y", 1, "20040229"}, // the 29th does not exist in 2005: unchanged
        {"20040229", "Y", 4, "20080229"},
        {"20040305", "y", -4, "20000305"},
        {"20040305", "D", 27, "20040401"},
        {"20040301", "d", -1, "20040229"},
        {"20041231", "D", 1, "20050101"},
        {"20040305", "M", 0, "20040305"},
        {"20040305", "W", 1, ""},
        {"20040305", "", 1, ""},
        {"20040305", "MM", 1, ""},
        {"2004030", "D", 1, ""},
        {"", "D", 1, ""},
        // Leaving years 1..9999 ends with an empty text.
        {"99991231", "D", 1, ""},
        {"99991215", "M", 1, ""},
        {"00010115", "M", -1, ""},
        {"99990101", "Y", 1, ""},
        {"00010101", "D", -1, ""},
        {"20040305", "M", std::numeric_limits<int>::max(), ""},
        {"20040305", "M", std::numeric_limits<int>::min(), ""},
        {"20040305", "D", std::numeric_limits<int>::min(), ""},
    };
    for (const AddCase& c : cases)
        EXPECT_EQ(AddToYmd(Variant(c.date), c.unit, c.amount), c.expected)
            << c.date << " " << c.unit << " " << c.amount;
}

TEST(AddToYmdTest, ReadsStringsAndDatesOnly) {
    EXPECT_EQ(AddToYmd(Variant(u"20040131"), "M", 1), "20040229");
    EXPECT_EQ(AddToYmd(Variant::FromDate(kMarch5th2004), "D", 1), "20040306");
    EXPECT_EQ(AddToYmd(kMarch5th2004, "D", 1), "20040306");
    EXPECT_EQ(AddToYmd(Variant::FromDate(0), "D", 1), "");
    EXPECT_EQ(AddToYmd(0.0, "D", 1), "");
    EXPECT_EQ(AddToYmd(Variant(std::int32_t(20040305)), "D", 1), "");
    EXPECT_EQ(AddToYmd(Variant(kMarch5th2004), "D", 1), ""); // a plain number is not a date
    EXPECT_EQ(AddToYmd(Variant(), "D", 1), "");
    EXPECT_EQ(AddToYmd(Variant::Null(), "D", 1), "");
    EXPECT_EQ(AddToYmd(VarArrayOf({Variant("20040305")}), "D", 1), "");
}

TEST(DaysInMonthOfTest, GregorianLeapYears) {
    const std::tuple<int, int, int> cases[] = {
        {1900, 2, 28}, {2000, 2, 29}, {2004, 2, 29}, {2003, 2, 28}, {2004, 1, 31},
        {2004, 4, 30}, {2004, 12, 31}, {2004, 13, 0}, {2004, 0, 0},  {2004, -1, 0},
    };
    for (const auto& [year, month, days] : cases) EXPECT_EQ(DaysInMonthOf(year, month), days) << year << "-" << month;
}

} // namespace
} // namespace qmx
