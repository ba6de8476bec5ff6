// Relative date rules and period rules from arbitrary bytes. The first line is the run date, every
// further line a rule text; the conditions hold single values and ranges, so both kinds of rule
// find something to move (or fail on). The calls must answer, never crash or hang, and a result
// is either the empty text or a condition array of the same shape.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "lib/LibStrsPeriod.h"
#include "lib/LibStrsText.h"

using namespace qmx;

namespace {

Variant Conditions() {
    Variant conditions = VarArrayCreate({{1, 4}});
    conditions[1] = Variant("20040101");
    conditions[2] = VarArrayOf({Variant("range"), Variant("20040101"), Variant("20041231")});
    conditions[3] = Variant("200401");
    conditions[4] = Variant(std::int32_t(5));
    return conditions;
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return lines;
        start = end + 1;
    }
}

void CheckRules(const std::vector<std::string_view>& lines) {
    std::vector<Variant> rules{Variant(static_cast<std::int32_t>(lines.size() - 1))};
    for (std::size_t i = 1; i < lines.size(); ++i) rules.emplace_back(lines[i]);
    Variant parts = VarArrayCreate({{1, 3}});
    parts[1] = Conditions();
    parts[3] = VarArrayOf(std::move(rules));
    const Variant result = ApplyRelativeDateRules(parts, lines[0]);
    if (result.IsArray()) {
        if (result.AsArray().Bounds() != Conditions().AsArray().Bounds()) __builtin_trap();
    } else if (result != Variant("")) {
        __builtin_trap();
    }
}

// The fields of each rule line also drive the shift and the period rule directly.
void CheckShiftsAndPeriods(const std::vector<std::string_view>& lines) {
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view rule = lines[i];
        auto field = [&](int index) { return GetDelimitedField(rule, FieldSeparatorText, index); };
        const AnsiString shifted = ShiftRelativeDate(lines[0], field(1), field(2), field(3), field(4));
        if (!shifted.empty() && shifted.size() != 6 && shifted.size() != 8) __builtin_trap();

        const Variant period = VarArrayOf(
            {Variant(field(1)), VarArrayOf({Variant(field(2)), Variant(field(3)), Variant(field(4)), Variant(field(5))})});
        const AnsiString first = FirstPeriodRunDate(lines[0], period);
        // A run date other than the start itself (kind 0) is a compact date not before the start.
        if (!first.empty() && first != lines[0] && (first.size() != 8 || first < lines[0])) __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> lines = Lines(std::string_view(reinterpret_cast<const char*>(data), size));
    CheckRules(lines);
    CheckShiftsAndPeriods(lines);
    return 0;
}
