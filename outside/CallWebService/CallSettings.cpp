#include "CallSettings.h"

#include <cerrno>
#include <cstdlib>

namespace qmx::callws {
namespace {

long long SettingOr(const char* name, long long defaultValue, long long low, long long high) {
    const char* text = std::getenv(name);
    if (!text || !*text) return defaultValue;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < low || value > high) return defaultValue;
    return value;
}

} // namespace

CallSettings CallSettingsFromEnvironment() {
    CallSettings settings;
    settings.ConnectTimeoutSeconds =
        static_cast<long>(SettingOr("QMX_CALLWS_CONNECT_TIMEOUT", settings.ConnectTimeoutSeconds, 1, 600));
    settings.LowSpeedTimeSeconds =
        static_cast<long>(SettingOr("QMX_CALLWS_LOW_SPEED_TIME", settings.LowSpeedTimeSeconds, 1, 600));
    settings.TotalTimeoutSeconds =
        static_cast<long>(SettingOr("QMX_CALLWS_TIMEOUT", settings.TotalTimeoutSeconds, 1, 3600));
    settings.MaxResponseBytes = static_cast<std::size_t>(
        SettingOr("QMX_CALLWS_MAX_RESPONSE", static_cast<long long>(settings.MaxResponseBytes), 1024, 64LL << 20));
    return settings;
}

} // namespace qmx::callws
