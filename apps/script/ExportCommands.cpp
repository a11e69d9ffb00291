// export csv|png <file>: the trend as the view's charts hold it, for a spreadsheet or a report.
// The console has no window: the picture takes the view's size, and Qt draws it offscreen.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "chart/TrendPng.h"
#include "display/TrendPane.h"
#include "script/Console.h"
#include "trend/TrendCsv.h"
#include "view/QX_FlowWiz.h"

namespace qx::console {

namespace {

constexpr int32_t kTwipsPerPixel = 15;

// The bound parameter's name and unit in the model's language; its own name while unbound.
trend::TrendColumn columnOf(const host::ParameterPtr& parameter, const char* name) {
    if (!parameter) return {name, ""};
    return {parameter->displayName(), parameter->unit()};
}

// The picture's legend and axis titles speak the view's language; English where it has none.
int32_t pictureLanguage(const view::QX_FlowWiz& view) {
    const auto settings = view.frame().mModel ? view.frame().mModel->settings() : nullptr;
    return settings && settings->language() != 0 ? settings->language() : 1033;
}

// The date of the day on which the present trend started: today, or yesterday when its time of day
// lies after the present one (the trend ran across midnight).
std::string trendStartDate(const platform::Scheduler& scheduler, double trendStartSeconds) {
    const int64_t days = scheduler.startDay() + scheduler.nowMs() / 86'400'000 -
                         (trendStartSeconds > scheduler.timeOfDay() ? 1 : 0);
    const std::chrono::sys_days day{std::chrono::days(days)};
    const std::chrono::year_month_day ymd{day};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return text;
}

}  // namespace

void Console::cmdExport(const Command& c) {
    auto& view = liveView(c);
    const std::string& kind = c.words[1].text;
    if (kind != "csv" && kind != "png") fail(c, "export csv or png, not " + kind);
    const auto& flow = view.trend().flow.object;
    const auto& temp = view.trend().temp.object;
    if (!flow || !temp) fail(c, "export after the view has let go of its charts");
    std::filesystem::path path = c.words[2].text;
    if (path.is_relative()) path = std::filesystem::path(scriptFolder_) / path;

    trend::TrendSource source{
        *flow, *temp, view.frame().mModel ? view.frame().mModel->displayName() : std::string(),
        columnOf(view.refs().PROINFLOW_RAW, "PROINFLOW_RAW"), columnOf(view.refs().PROINTEMP, "PROINTEMP")};
    if (datedExports_)
        source.startDate = trendStartDate(frame_.scheduler(), flow->chartArea().axis("X").timeScale().base());
    try {
        if (kind == "csv")
            trend::exportTrendCsv(path.string(), source);
        else
            ui::exportTrendPng(path.string(), source, view.width() / kTwipsPerPixel,
                               view.height() / kTwipsPerPixel, pictureLanguage(view));
    } catch (const std::runtime_error& e) {
        fail(c, e.what());
    }
    emit("exported " + c.words[2].text);
}

}  // namespace qx::console
