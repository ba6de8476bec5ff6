#include "qmx/reference/LocalClock.h"

#include <sys/time.h>

#include <cstdio>
#include <ctime>

#include "qmx/Calendar.h"

namespace qmx::reference {

AnsiString TodayYmd() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[48];
    std::snprintf(text, sizeof text, "%04d%02d%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return text;
}

double NowDateTime() {
    timeval now{};
    gettimeofday(&now, nullptr);
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + now.tv_usec / 1e6;
    return static_cast<double>(DayNumberOf(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday)) + seconds / 86400.0;
}

} // namespace qmx::reference
