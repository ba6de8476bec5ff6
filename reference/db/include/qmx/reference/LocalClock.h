#pragma once
// The local date and time as the reference objects stamp and number things with them.
#include "qmx/Exception.h"

namespace qmx::reference {

// Today (local time) as yyyymmdd.
AnsiString TodayYmd();
// Now (local time) as a date value: days since 1899-12-30, the time of day as fraction.
double NowDateTime();

} // namespace qmx::reference
