// Relative date rules and first run dates over 10,000 generated rules each.
// Goal: over a million rules per second for each.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "lib/LibStrsPeriod.h"
#include "lib/LibStrsText.h"

namespace {

using namespace qmx;

constexpr int kRules = 10000;
constexpr int kConditions = 64;
constexpr double kGoalRulesPerSecond = 1e6;

AnsiString Join(std::initializer_list<std::string> fields) {
    AnsiString rule;
    for (const std::string& field : fields) {
        if (!rule.empty()) rule += FieldSeparator;
        rule += field;
    }
    return rule;
}

// A job as the option form submits it: single dates, year-months and ranges, each moved by
// one of the shifts the scheme dialog offers.
const Variant& JobParts() {
    static const Variant parts = [] {
        std::mt19937 engine(42);
        auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine); };
        Variant conditions = VarArrayCreate({{1, kConditions}});
        for (int i = 1; i <= kConditions; ++i)
            conditions[i] = i % 4 == 0 ? VarArrayOf({Variant("range"), Variant("20040101"), Variant("20041231")})
                                       : Variant("20040101");
        std::vector<Variant> rules{Variant(std::int32_t(kRules))};
        for (int r = 0; r < kRules; ++r) {
            const int index = pick(1, kConditions);
            auto shift = [&] {
                return std::vector<std::string>{std::to_string(pick(-3, 3)), std::to_string(pick(0, 1)),
                                                std::to_string(pick(0, 2)), std::to_string(pick(-10, 10))};
            };
            if (index % 4 == 0) {
                const auto begin = shift(), end = shift();
                rules.emplace_back(Join({"0", "spDate", "Y", begin[0], begin[1], begin[2], begin[3], "Y", end[0],
                                         end[1], end[2], end[3], "D", std::to_string(index)}));
            } else {
                const auto s = shift();
                rules.emplace_back(Join({"1", "edDate", "Y", s[0], s[1], s[2], s[3], pick(0, 3) == 0 ? "M" : "D",
                                         std::to_string(index)}));
            }
        }
        Variant job = VarArrayCreate({{1, 3}});
        job[1] = std::move(conditions);
        job[2] = Variant("schedule");
        job[3] = VarArrayOf(std::move(rules));
        return job;
    }();
    return parts;
}

struct PeriodCase {
    AnsiString Start;
    Variant Rule;
};

const std::vector<PeriodCase>& PeriodCases() {
    static const std::vector<PeriodCase> cases = [] {
        std::mt19937 engine(7);
        auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine); };
        auto text = [](int value) { return Variant(AnsiString(std::to_string(value))); };
        std::vector<PeriodCase> out;
        for (int i = 0; i < kRules; ++i) {
            char start[16];
            std::snprintf(start, sizeof start, "%04d%02d%02d", pick(1990, 2030), pick(1, 12), pick(1, 28));
            Variant rule;
            switch (i % 3) {
            case 0: rule = VarArrayOf({Variant(std::int32_t(1)), VarArrayOf({text(pick(1, 4)), text(pick(0, 6))})}); break;
            case 1:
                rule = VarArrayOf({Variant(std::int32_t(2)), VarArrayOf({text(0), text(pick(1, 6)), text(pick(1, 31))})});
                break;
            default:
                rule = VarArrayOf({Variant(std::int32_t(2)),
                                   VarArrayOf({text(1), text(pick(1, 6)), text(pick(0, 4)), text(pick(0, 6))})});
                break;
            }
            out.push_back({start, std::move(rule)});
        }
        return out;
    }();
    return cases;
}

void ApplyRelativeDateRules10k(benchmark::State& state) {
    const Variant& parts = JobParts();
    for (auto _ : state) {
        Variant result = ApplyRelativeDateRules(parts, "20040315");
        if (!result.IsArray()) state.SkipWithError("rules failed");
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations() * kRules);
}

void FirstPeriodRunDate10k(benchmark::State& state) {
    const std::vector<PeriodCase>& cases = PeriodCases();
    for (auto _ : state) {
        for (const PeriodCase& c : cases) {
            AnsiString first = FirstPeriodRunDate(c.Start, c.Rule);
            benchmark::DoNotOptimize(first);
        }
    }
    state.SetItemsProcessed(state.iterations() * kRules);
}

// Console output plus the rules-per-second lines the goal is judged by.
class GoalReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            auto rate = run.counters.find("items_per_second");
            if (rate != run.counters.end() && run.run_type == Run::RT_Iteration)
                rates_[run.run_name.function_name] = rate->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintGoals() const {
        for (const auto& [name, rate] : rates_)
            std::printf("%s: %.0f rules per second (goal: over %.0f)%s\n", name.c_str(), rate, kGoalRulesPerSecond,
                        rate > kGoalRulesPerSecond ? "" : "  MISSED");
    }

private:
    std::map<std::string, double> rates_;
};

} // namespace

BENCHMARK(ApplyRelativeDateRules10k)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FirstPeriodRunDate10k)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    GoalReporter reporter;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.PrintGoals();
    return 0;
}
