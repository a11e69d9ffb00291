#include "viewer/RecordingCsv.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <stdexcept>

#include "trend/TrendCsv.h"

namespace qx::viewer {

namespace {

std::string number(double v) {
    if (std::isnan(v)) return {};
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", v);
    return text;
}

std::string withUnit(const char* name, const std::string& unit) {
    return unit.empty() ? std::string(name) : std::string(name) + " [" + unit + "]";
}

}  // namespace

std::string localIsoTime(int64_t ms) {
    const int64_t seconds = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
    const auto t = static_cast<std::time_t>(seconds);
    std::tm local{};
    localtime_r(&t, &local);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(ms - seconds * 1000));
    return text;
}

void writeRecordingCsv(std::ostream& out, const Recording& recording, double fromMs, double toMs) {
    if (toMs < fromMs) std::swap(fromMs, toMs);
    const auto ms = [](double t) { return static_cast<int64_t>(std::llround(t)); };
    out << "# " << trend::oneLine(recording.run("device_name")) << ", recording start "
        << trend::oneLine(recording.run("started")) << ", shown " << localIsoTime(ms(fromMs)) << " to "
        << localIsoTime(ms(toMs)) << "\n";
    const std::string flowUnit = recording.run("flow_unit");
    out << "time," << trend::csvCell(withUnit("flow", flowUnit)) << ','
        << trend::csvCell(withUnit("temperature", recording.run("temperature_unit"))) << ','
        << trend::csvCell(withUnit("switch point", flowUnit)) << ','
        << trend::csvCell(withUnit("taught maximum", flowUnit)) << ','
        << trend::csvCell(withUnit("taught minimum", flowUnit)) << ",events\n";

    const auto& events = recording.events();
    auto event = std::lower_bound(events.begin(), events.end(), fromMs, [](const RecordedEvent& e, double t) {
        return static_cast<double>(e.tMs) < t;
    });
    const auto eventsUpTo = [&](double t) {
        std::string text;
        for (; event != events.end() && static_cast<double>(event->tMs) <= t &&
               static_cast<double>(event->tMs) <= toMs;
             ++event)
            text += (text.empty() ? "" : "; ") + event->kind + ": " + trend::oneLine(event->text);
        return text;
    };
    const int32_t end = recording.firstAfter(toMs);
    for (int32_t i = recording.firstAtOrAfter(fromMs); i < end; ++i) {
        out << localIsoTime(recording.time(i));
        for (int q = 0; q < kQuantityCount; ++q)
            out << ',' << number(recording.value(static_cast<Quantity>(q), i));
        out << ',' << trend::csvCell(eventsUpTo(static_cast<double>(recording.time(i)))) << "\n";
    }
    for (; event != events.end() && static_cast<double>(event->tMs) <= toMs; ++event)
        out << localIsoTime(event->tMs) << ",,,,,,"
            << trend::csvCell(event->kind + ": " + trend::oneLine(event->text)) << "\n";
}

void exportRecordingCsv(const std::string& path, const Recording& recording, double fromMs, double toMs) {
    errno = 0;
    std::ofstream out(path, std::ios::binary);
    if (out) writeRecordingCsv(out, recording, fromMs, toMs);
    if (out) out.close();
    if (!out) throw std::runtime_error(path + ": " + (errno ? std::strerror(errno) : "cannot be written"));
}

}  // namespace qx::viewer
