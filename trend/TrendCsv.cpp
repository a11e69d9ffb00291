#include "trend/TrendCsv.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <stdexcept>

namespace qx::trend {

namespace {

double secondsPerUnit(platform::TimeUnit unit) {
    return unit == platform::TimeUnit::Hours ? 3600 : unit == platform::TimeUnit::Minutes ? 60 : 1;
}

// A time of day in whole seconds, wrapped into one day as the chart's labels wrap it.
std::string isoTime(double secondsSinceMidnight) {
    const auto day = static_cast<long long>(std::llround(secondsSinceMidnight)) % 86400;
    const long long t = day < 0 ? day + 86400 : day;
    char text[16];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", t / 3600, t / 60 % 60, t % 60);
    return text;
}

}  // namespace

// A cell as RFC 4180 wants it: quoted when it holds a separator, a quote or a line break.
std::string csvCell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

// A comment stays on its one line.
std::string oneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

std::optional<int16_t> valueAt(const platform::ChartObject& chart, int32_t p) {
    const auto& data = chart.group(1).data();
    return p <= data.numPoints() ? data.y(1, p) : std::nullopt;
}

std::optional<double> xAt(const platform::ChartObject& chart, int32_t p) {
    const auto& data = chart.group(1).data();
    return p <= data.numPoints() ? data.x(p) : std::nullopt;
}

std::string number(const std::optional<int16_t>& v) {
    return v ? std::to_string(*v) : std::string();
}

void writeTrendCsv(std::ostream& out, const TrendSource& source) {
    const auto& scale = source.flowChart.chartArea().axis("X").timeScale();
    const double unit = secondsPerUnit(scale.unit());
    const std::string date = source.startDate.empty() ? std::string() : oneLine(source.startDate) + " ";
    out << "# " << oneLine(source.deviceName) << ", trend start " << date << isoTime(scale.base()) << "\n";
    out << "time," << csvCell(source.flow.caption()) << ',' << csvCell(source.temperature.caption()) << "\n";
    const int32_t rows = std::max(source.flowChart.group(1).data().numPoints(),
                                  source.temperatureChart.group(1).data().numPoints());
    for (int32_t p = 1; p <= rows; ++p) {
        auto x = xAt(source.flowChart, p);
        if (!x) x = xAt(source.temperatureChart, p);
        out << (x ? isoTime(scale.base() + *x * unit) : std::string()) << ','
            << number(valueAt(source.flowChart, p)) << ',' << number(valueAt(source.temperatureChart, p))
            << "\n";
    }
}

void exportTrendCsv(const std::string& path, const TrendSource& source) {
    errno = 0;
    std::ofstream out(path, std::ios::binary);
    if (out) writeTrendCsv(out, source);
    out.close();
    if (!out) throw std::runtime_error(path + ": " + (errno ? std::strerror(errno) : "cannot be written"));
}

}  // namespace qx::trend
