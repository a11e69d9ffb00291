#include "viewer/TimeAxis.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace qx::viewer {

std::vector<TimeTick> timeTicks(double fromMs, double toMs, int maxCount) {
    std::vector<TimeTick> ticks;
    if (!(toMs > fromMs) || maxCount < 1) return ticks;
    static constexpr int64_t kSteps[] = {100,     200,     500,     1000,     2000,     5000,     10000,
                                         15000,   30000,   60000,   120000,   300000,   600000,   900000,
                                         1800000, 3600000, 7200000, 10800000, 21600000, 43200000, 86400000};
    int64_t step = kSteps[std::size(kSteps) - 1];
    for (const int64_t s : kSteps)
        if ((toMs - fromMs) / static_cast<double>(s) <= maxCount) {
            step = s;
            break;
        }
    // Round in local time: the offset from UTC of the window's start (a change of summer time
    // inside the window shifts later labels by that hour, which the labels then say).
    const auto start = static_cast<std::time_t>(std::floor(fromMs / 1000));
    std::tm local{};
    localtime_r(&start, &local);
    const double offset = static_cast<double>(local.tm_gmtoff) * 1000;
    const double first =
        std::ceil((fromMs + offset) / static_cast<double>(step)) * static_cast<double>(step) - offset;
    for (double t = first; t <= toMs; t += static_cast<double>(step)) {
        const auto ms = static_cast<int64_t>(std::llround(t));
        const auto seconds = static_cast<std::time_t>(ms / 1000);
        std::tm tm{};
        localtime_r(&seconds, &tm);
        char text[32];
        if (step < 1000)
            std::snprintf(text, sizeof text, "%02d:%02d:%02d.%01d", tm.tm_hour, tm.tm_min, tm.tm_sec,
                          static_cast<int>(ms % 1000 / 100));
        else if (step < 60000)
            std::snprintf(text, sizeof text, "%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
        else if (step < 86400000)
            std::snprintf(text, sizeof text, "%02d:%02d", tm.tm_hour, tm.tm_min);
        else
            std::snprintf(text, sizeof text, "%04d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
        ticks.push_back({t, text});
    }
    return ticks;
}

}  // namespace qx::viewer
