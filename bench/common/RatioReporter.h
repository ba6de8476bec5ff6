#pragma once
// Console reporter that also remembers each benchmark's real time, so a benchmark program can
// print the ratios it is judged by (ours against the raw library, in the same run).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace qmx::bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                times_[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    // Prints "label: a/b = r (goal: r <= limit)" for each pair; returns false when a goal is missed.
    bool PrintRatios(const std::vector<std::pair<std::string, std::string>>& pairs, double limit,
                     const char* label) const {
        bool ok = true;
        for (const auto& [ours, reference] : pairs) {
            auto a = times_.find(ours), b = times_.find(reference);
            if (a == times_.end() || b == times_.end() || b->second <= 0) continue;
            const double ratio = a->second / b->second;
            std::printf("%s: %s / %s = %.3f (goal: at most %.2f)%s\n", label, ours.c_str(), reference.c_str(),
                        ratio, limit, ratio <= limit ? "" : "  MISSED");
            ok = ok && ratio <= limit;
        }
        return ok;
    }

private:
    std::map<std::string, double> times_;
};

// Runs the registered benchmarks with the reporter and returns it for the ratio lines.
inline RatioReporter& RunWithRatios(int argc, char** argv) {
    static RatioReporter reporter;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter;
}

} // namespace qmx::bench
