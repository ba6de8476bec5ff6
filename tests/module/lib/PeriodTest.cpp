#include <gtest/gtest.h>

#include "lib/LibStrsPeriod.h"
#include "lib/LibStrsText.h"

namespace qmx {
namespace {

Variant EveryDays(const char* n) { return VarArrayOf({Variant(std::int32_t(0)), Variant(n)}); }
Variant Weekly(const char* n, int weekday) {
    return VarArrayOf({Variant(std::int32_t(1)), VarArrayOf({Variant(n), Variant(std::int32_t(weekday))})});
}
Variant MonthlyOnDay(const char* n, const char* day) {
    return VarArrayOf({Variant(std::int32_t(2)), VarArrayOf({Variant(std::int32_t(0)), Variant(n), Variant(day)})});
}
Variant MonthlyOnWeekday(const char* n, int ordinal, int weekday) {
    return VarArrayOf({Variant(std::int32_t(2)), VarArrayOf({Variant(std::int32_t(1)), Variant(n),
                                                             Variant(std::int32_t(ordinal)),
                                                             Variant(std::int32_t(weekday))})});
}
Variant Hourly(double hours) { return VarArrayOf({Variant(std::int32_t(3)), Variant(hours)}); }

enum Weekday { Sunday, Monday, Tuesday, Wednesday, Thursday, Friday, Saturday };
enum Ordinal { First, Second, Third, Fourth, Last };

struct RunCase {
    const char* start;
    Variant rule;
    const char* expected;
};

TEST(FirstPeriodRunDateTest, KnownSchedules) {
    const RunCase cases[] = {
        {"20040303", EveryDays("3"), "20040303"},
        // Weekly from Wednesday 3 March 2004.
        {"20040303", Weekly("1", Monday), "20040308"},
        {"20040303", Weekly("1", Friday), "20040305"},
        {"20040303", Weekly("1", Wednesday), "20040303"},
        {"20040303", Weekly("2", Friday), "20040312"},
        {"20040303", Weekly("2", Monday), "20040315"},
        {"20040303", Weekly("1", Sunday), "20040307"},
        {"20040303", Weekly("1", Saturday), "20040306"},
        {"20041229", Weekly("1", Monday), "20050103"},
        // Monthly on a day.
        {"20040131", MonthlyOnDay("1", "30"), "20040229"},
        {"20040110", MonthlyOnDay("1", "20"), "20040120"},
        {"20040110", MonthlyOnDay("1", "10"), "20040110"},
        {"20040110", MonthlyOnDay("1", "5"), "20040205"},
        {"20040110", MonthlyOnDay("3", "20"), "20040320"},
        {"20040110", MonthlyOnDay("3", "5"), "20040405"},
        {"20041215", MonthlyOnDay("1", "10"), "20050110"},
        {"20040401", MonthlyOnDay("1", "31"), "20040430"},
        {"20040401", MonthlyOnDay("1", "45"), "20040430"},  // no such day: the month's last
        {"20040401", MonthlyOnDay("1", "100"), "20040430"},
        {"20040401", MonthlyOnDay("1", "0"), "20040531"},
        // Monthly on a weekday.
        {"20040320", MonthlyOnWeekday("1", First, Monday), "20040405"},
        {"20040301", MonthlyOnWeekday("1", First, Monday), "20040301"},
        {"20040301", MonthlyOnWeekday("1", Second, Monday), "20040308"},
        {"20040301", MonthlyOnWeekday("1", Fourth, Sunday), "20040328"},
        {"20040301", MonthlyOnWeekday("1", Last, Wednesday), "20040331"},
        {"20040301", MonthlyOnWeekday("1", Last, Thursday), "20040325"},
        {"20040301", MonthlyOnWeekday("1", First, Thursday), "20040304"},
        {"20040320", MonthlyOnWeekday("2", Third, Friday), "20040416"},
        {"20040301", MonthlyOnWeekday("2", Third, Friday), "20040416"},
        {"20040301", MonthlyOnWeekday("1", Third, Friday), "20040319"},
        {"20040201", MonthlyOnWeekday("1", Last, Sunday), "20040229"},
        // N below 1 counts as 1.
        {"20040303", Weekly("0", Monday), "20040308"},
        {"20040320", MonthlyOnWeekday("0", First, Monday), "20040405"},
        {"20040320", MonthlyOnWeekday("-5", First, Monday), "20040405"},
        {"20040110", MonthlyOnDay("0", "5"), "20040205"},
    };
    for (const RunCase& c : cases)
        EXPECT_EQ(FirstPeriodRunDate(c.start, c.rule), c.expected) << c.start << " " << VarToStr(c.rule[0]);
}

TEST(FirstPeriodRunDateTest, RefusesWhatItCannotSchedule) {
    const RunCase cases[] = {
        {"20040303", Hourly(1.5), ""},
        {"20040303", VarArrayOf({Variant(std::int32_t(7)), Variant("1")}), ""},
        {"20040303", VarArrayOf({Variant(std::int32_t(-1)), Variant("1")}), ""},
        {"20040303", Weekly("1", 7), ""},
        {"20040303", Weekly("1", -1), ""},
        {"20040303", Weekly("x", Monday), ""},
        {"20040320", MonthlyOnWeekday("1", 5, Monday), ""},
        {"20040320", MonthlyOnWeekday("1", -1, Monday), ""},
        {"20040320", MonthlyOnWeekday("1", First, 7), ""},
        {"20040320", MonthlyOnWeekday("1", First, -1), ""},
        {"20040110", MonthlyOnDay("one", "5"), ""},
        {"20040110", MonthlyOnDay("1", "five"), ""},
        {"20040110", VarArrayOf({Variant(std::int32_t(2)), VarArrayOf({Variant(std::int32_t(2)), Variant("1"),
                                                                       Variant("5")})}),
         ""},
        // Unreadable start dates and rules.
        {"2004031", Weekly("1", Monday), ""},
        {"", MonthlyOnDay("1", "5"), ""},
        {"20040303", Variant("not a rule"), ""},
        {"20040303", VarArrayOf({Variant("x")}), ""},
        {"20040303", VarArrayOf({Variant(std::int32_t(1))}), ""},
        {"20040303", VarArrayOf({Variant(std::int32_t(1)), Variant("1")}), ""},
        // Past the last year.
        {"99991231", Weekly("1", Monday), ""},
        {"99991215", MonthlyOnDay("1", "10"), ""},
        {"99991215", MonthlyOnWeekday("1", First, Monday), ""},
    };
    for (const RunCase& c : cases) EXPECT_EQ(FirstPeriodRunDate(c.start, c.rule), c.expected) << c.start;
}

TEST(FirstPeriodRunDateTest, ReadsNumbersGivenAsTextsOrNumbers) {
    Variant textual = VarArrayOf({Variant("1"), VarArrayOf({Variant("1"), Variant("1")})});
    EXPECT_EQ(FirstPeriodRunDate("20040303", textual), "20040308");
    Variant numeric = VarArrayOf({Variant(std::int32_t(2)), VarArrayOf({Variant(std::int32_t(0)),
                                                                        Variant(std::int32_t(1)),
                                                                        Variant(std::int32_t(20))})});
    EXPECT_EQ(FirstPeriodRunDate("20040110", numeric), "20040120");
}

struct ShiftCase {
    const char* base;
    const char* amount;
    const char* unit;
    const char* mode;
    const char* days;
    const char* expected;
};

TEST(ShiftRelativeDateTest, MovesByWeeksAndMonths) {
    const ShiftCase cases[] = {
        // Monday 15 March 2004.
        {"20040315", "0", "0", "1", "0", "20040314"},
        {"20040315", "0", "0", "2", "0", "20040320"},
        {"20040315", "0", "0", "9", "0", "20040320"},
        {"20040315", "-1", "1", "2", "0", "20040229"},
        {"20040315", "-1", "1", "1", "0", "20040201"},
        {"20040315", "1", "0", "0", "2", "20040324"},
        {"20040315", "-2", "0", "0", "-1", "20040229"},
        {"20040315", "1", "0", "1", "x", "20040321"}, // days are read only when added
        {"20040315", "1", "1", "0", "-15", "20040331"},
        {"20040331", "1", "1", "0", "0", "20040430"},
        {"20040331", "1", "1", "7", "0", "20040430"},
        {"20040315", "12", "1", "2", "0", "20050331"},
        {"20040315", "0", "1", "0", "0", "20040315"},
        // Year-months move by months only.
        {"200403", "2", "0", "1", "5", "200405"},
        {"200411", "3", "1", "2", "0", "200502"},
        {"200401", "-1", "x", "x", "x", "200312"},
        // Unreadable input.
        {"", "1", "1", "0", "0", ""},
        {"2004", "1", "1", "0", "0", ""},
        {"2004031", "1", "1", "0", "0", ""},
        {"20040315", "x", "1", "0", "0", ""},
        {"20040315", "1", "1", "0", "x", ""},
        {"200403", "", "1", "0", "0", ""},
        {"99991215", "1", "1", "0", "0", ""},
        {"99991231", "0", "0", "2", "0", ""},
        {"999912", "1", "1", "0", "0", ""},
    };
    for (const ShiftCase& c : cases)
        EXPECT_EQ(ShiftRelativeDate(c.base, c.amount, c.unit, c.mode, c.days), c.expected)
            << c.base << " " << c.amount << " " << c.unit << " " << c.mode << " " << c.days;
}

TEST(WeekEdgeDateTest, SundayAndSaturdayOfTheWeek) {
    const std::tuple<const char*, int, const char*, const char*> cases[] = {
        {"20040315", 0, "1", "20040314"}, {"20040315", 0, "2", "20040320"}, {"20040314", 0, "1", "20040314"},
        {"20040320", 0, "2", "20040320"}, {"20040320", 0, "1", "20040314"}, {"20040315", 1, "1", "20040321"},
        {"20040315", -1, "2", "20040313"}, {"20040315", 0, "", "20040320"}, {"bad", 0, "1", ""},
    };
    for (const auto& [base, weeks, edge, expected] : cases)
        EXPECT_EQ(WeekEdgeDate(base, weeks, edge), expected) << base << " " << weeks << " " << edge;
}

// A rule record from its fields.
AnsiString Rule(std::initializer_list<const char*> fields) {
    AnsiString rule;
    for (const char* field : fields) {
        if (!rule.empty()) rule += FieldSeparator;
        rule += field;
    }
    return rule;
}

Variant JobParts(Variant conditions, std::vector<AnsiString> rules) {
    std::vector<Variant> list{Variant(static_cast<std::int32_t>(rules.size()))};
    for (AnsiString& rule : rules) list.emplace_back(std::move(rule));
    Variant parts = VarArrayCreate({{1, 3}});
    parts[1] = std::move(conditions);
    parts[2] = Variant("schedule");
    parts[3] = VarArrayOf(std::move(list));
    return parts;
}

Variant Conditions() {
    Variant conditions = VarArrayCreate({{1, 4}});
    conditions[1] = Variant("keep");
    conditions[2] = Variant("20000101");
    conditions[3] = VarArrayOf({Variant("range"), Variant("20000101"), Variant("20001231")});
    conditions[4] = Variant("200001");
    return conditions;
}

TEST(ApplyRelativeDateRulesTest, MovesSingleDatesAndRanges) {
    const Variant parts = JobParts(Conditions(), {
        Rule({"1", "edDate", "Y", "-1", "1", "2", "0", "D", "2"}),
        Rule({"0", "spDate", "Y", "0", "0", "1", "0", "Y", "0", "0", "2", "0", "D", "3"}),
        Rule({"1", "edMonth", "Y", "1", "1", "0", "0", "M", "4"}),
    });
    const Variant result = ApplyRelativeDateRules(parts, "20040315");
    ASSERT_TRUE(result.IsArray());
    EXPECT_EQ(VarArrayLowBound(result, 1), 1);
    EXPECT_EQ(result[1], Variant("keep"));
    EXPECT_EQ(result[2], Variant("20040229"));
    EXPECT_EQ(result[3], VarArrayOf({Variant("range"), Variant("20040314"), Variant("20040320")}));
    EXPECT_EQ(result[4], Variant("200404"));
    // The input is not touched.
    EXPECT_EQ(parts[1], Conditions());
}

TEST(ApplyRelativeDateRulesTest, ZeroShiftsSwitchesAndOrder) {
    const Variant parts = JobParts(Conditions(), {
        // All zeros: the reference date itself (a year-month for a non-"D" condition).
        Rule({"1", "edDate", "Y", "0", "1", "0", "0", "D", "2"}),
        Rule({"1", "edMonth", "Y", "0", "0", "0", "0", "M", "4"}),
        // Not moved: stays; only the end of the range moves.
        Rule({"1", "edKeep", "N", "5", "1", "0", "0", "D", "1"}),
        Rule({"0", "spDate", "N", "1", "1", "1", "0", "Y", "1", "1", "0", "0", "D", "3"}),
    });
    const Variant result = ApplyRelativeDateRules(parts, "20040315");
    ASSERT_TRUE(result.IsArray());
    EXPECT_EQ(result[1], Variant("keep"));
    EXPECT_EQ(result[2], Variant("20040315"));
    EXPECT_EQ(result[3], VarArrayOf({Variant("range"), Variant("20000101"), Variant("20040415")}));
    EXPECT_EQ(result[4], Variant("200403"));

    // A later rule for the same index wins.
    const Variant twice = JobParts(Conditions(), {
        Rule({"1", "a", "Y", "1", "0", "0", "0", "D", "2"}),
        Rule({"1", "b", "Y", "2", "0", "0", "0", "D", "2"}),
    });
    EXPECT_EQ(ApplyRelativeDateRules(twice, "20040301")[2], Variant("20040315"));

    // No rules: a copy of the conditions.
    EXPECT_EQ(ApplyRelativeDateRules(JobParts(Conditions(), {}), "20040301"), Conditions());
}

TEST(ApplyRelativeDateRulesTest, AnEmptyRunDateGivesEmptyDates) {
    // The hourly schedule has no first run date.
    const Variant parts = JobParts(Conditions(), {
        Rule({"1", "edDate", "Y", "-1", "1", "2", "0", "D", "2"}),
        Rule({"1", "edMonth", "Y", "0", "0", "0", "0", "M", "4"}),
    });
    const Variant result = ApplyRelativeDateRules(parts, "");
    ASSERT_TRUE(result.IsArray());
    EXPECT_EQ(result[2], Variant(""));
    EXPECT_EQ(result[4], Variant(""));
}

TEST(ApplyRelativeDateRulesTest, AnyErrorGivesAnEmptyText) {
    const Variant empty("");
    const std::vector<AnsiString> badRules[] = {
        {Rule({"1", "edDate", "Y", "1", "1", "0", "0", "D", "x"})},        // index not a number
        {Rule({"1", "edDate", "Y", "1", "1", "0", "0", "D", "9"})},        // index outside the array
        {Rule({"1", "edDate", "Y", "1", "1", "0", "0", "D", "0"})},
        {Rule({"0", "spDate", "Y", "1", "1", "0", "0", "N", "", "", "", "", "D", "2"})}, // not an array
        {Rule({"1", "edDate", "Y", "one", "1", "0", "0", "D", "2"})},      // amount not a number
        {Rule({"1", "edDate"})},                                            // too short: no index
        {Rule({"1", "edDate", "Y", "1", "1", "0", "0", "D", "2"}), "garbage"},
    };
    for (const auto& rules : badRules)
        EXPECT_EQ(ApplyRelativeDateRules(JobParts(Conditions(), rules), "20040315"), empty) << rules[0];

    EXPECT_EQ(ApplyRelativeDateRules(Variant("not parts"), "20040315"), empty);
    EXPECT_EQ(ApplyRelativeDateRules(VarArrayOf({Variant("a")}), "20040315"), empty);
    Variant overCount = JobParts(Conditions(), {Rule({"1", "a", "Y", "1", "0", "0", "0", "D", "2"})});
    overCount[3][0] = Variant(std::int32_t(5));
    EXPECT_EQ(ApplyRelativeDateRules(overCount, "20040315"), empty);
}

} // namespace
} // namespace qmx
