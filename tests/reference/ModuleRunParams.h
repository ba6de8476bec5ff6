#pragma once
// Run-parameter arrays as the invoice-draft export form sends them to Request: twelve
// environment rows, seven condition rows, every text a WideString.
#include <string>

#include "qmx/Variant.h"

namespace qmx::test {

struct RunParamsOptions {
    std::string DataSource = "DODaza60";
    std::string User = "796";
    int RunMode = 0;
    bool Periodic = false;
    std::string Receivers;
    // Periodic: the range start yyyymmdd ("" for today) and the period rule's kind: 0 every
    // day, 3 every two and a half hours.
    std::string StartDate;
    int PeriodKind = 0;
};

Variant ModuleRunParams(const RunParamsOptions& options = {});

// The relative date rule that moves sp01 (condition row 1) to the month of the run date.
std::string MonthRangeRule(int row = 1);

// The date value of now.
double NowDays();

} // namespace qmx::test
