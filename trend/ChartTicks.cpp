#include "trend/ChartTicks.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace qx::trend {

namespace {

// Far more ticks than any plot has room for means a range the axis cannot label sensibly.
constexpr size_t kTickLimit = 1000;

double unitSeconds(platform::TimeUnit unit) {
    switch (unit) {
        case platform::TimeUnit::Seconds:
            return 1;
        case platform::TimeUnit::Minutes:
            return 60;
        case platform::TimeUnit::Hours:
            return 3600;
    }
    return 1;
}

std::string numberLabel(double v, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v == 0 ? 0.0 : v);  // no "-0"
    return text;
}

}  // namespace

std::vector<AxisTick> valueTicks(double min, double max, int maxCount) {
    std::vector<AxisTick> ticks;
    if (!(max > min) || maxCount < 1) return ticks;
    const double rough = (max - min) / maxCount;
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10 * magnitude;
    for (double m : {1.0, 2.0, 5.0})
        if (m * magnitude >= rough) {
            step = m * magnitude;
            break;
        }
    const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    const double first = std::ceil(min / step - 1e-9);
    for (double k = first; k * step <= max + step * 1e-9 && ticks.size() < kTickLimit; ++k)
        ticks.push_back({k * step, numberLabel(k * step, decimals)});
    return ticks;
}

std::vector<AxisTick> timeTicks(const platform::ChartTimeScale& scale, double min, double max, int maxCount) {
    std::vector<AxisTick> ticks;
    if (!(max > min) || maxCount < 1) return ticks;
    static constexpr std::array<double, 19> kSteps = {
        1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 900, 1800, 3600, 7200, 10800, 21600, 43200, 86400, 172800};
    const double unit = unitSeconds(scale.unit());
    const double from = scale.base() + min * unit, to = scale.base() + max * unit;
    double step = kSteps.back();
    for (double s : kSteps)
        if ((to - from) / s <= maxCount) {
            step = s;
            break;
        }
    for (double t = std::ceil(from / step) * step; t <= to && ticks.size() < kTickLimit; t += step) {
        const double value = (t - scale.base()) / unit;
        ticks.push_back({value, scale.label(value)});
    }
    return ticks;
}

}  // namespace qx::trend
