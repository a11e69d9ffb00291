#pragma once
// Shared by the view-update, state-step, trend-chart and time-window tests: one view hosted by
// the stand-in frame on virtual time, bound to the simulated flow monitor, with the neutral
// language so that every text the view shows is its key. The log switches are read once per
// thread, so a case that looks at the log runs in a thread of its own.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "frame/StandFrame.h"
#include "platform/ChartObject.h"
#include "platform/DebugOutput.h"
#include "platform/Registry.h"
#include "view/QX_FlowWiz.h"

namespace qx::live::test {

using frame::DeviceOptions;
using frame::Presence;
using platform::ChartObject;
using view::QX_FlowWiz;

inline constexpr uint32_t kGreen = 0x80FF80;
inline constexpr uint32_t kAmber = 52222;
inline constexpr uint32_t kWhite = 0xFFFFFF;
inline constexpr int64_t kPollMs = 1000;
inline constexpr int64_t kStatusMs = 2000;  // a status message stays at least this long

class LiveViewTest : public testing::Test {
  protected:
    void SetUp() override {
        platform::registryStore().clear();
        platform::registryStore().setDword("SOFTWARE\\QXX\\Controls", "Debug", 1);
        platform::setDebugOutputSink([this](const std::string& text) {
            std::lock_guard lock(mutex_);
            log_.push_back(text);
        });
    }
    void TearDown() override {
        platform::setDebugOutputSink({});
        platform::registryStore().clear();
    }

    // Runs f in a thread that has not logged yet, so that the log is on for it.
    static void inFreshThread(const std::function<void()>& f) { std::thread(f).join(); }

    // The logged pieces that contain `part`.
    std::vector<std::string> loggedWith(const std::string& part) {
        std::lock_guard lock(mutex_);
        std::vector<std::string> out;
        for (const auto& line : log_)
            if (line.find(part) != std::string::npos) out.push_back(line);
        return out;
    }

  private:
    std::mutex mutex_;
    std::vector<std::string> log_;
};

// A view bound to the simulated device. With `polling` the device is reachable and "Poll" is
// pressed as the toolbar arrives, so a read is answered every second; without it the test
// plays the job-response handler and calls UpdateView itself.
class Live {
  public:
    explicit Live(DeviceOptions options = {}, bool polling = true,
                  int64_t clockMs = frame::StandFrame::kStartMs) {
        f.setClock(clockMs);
        options.language = 0;
        if (!polling) options.state = 0;  // "Poll" stays disabled
        f.setOptions(options);
        view = &f.create();
        f.init(frame::InitTarget::Device);
        f.setToolbar();
        if (polling) f.wait(100);  // connected, the first read answered
    }

    QX_FlowWiz& v() { return *view; }
    ChartObject& flowChart() { return *view->mFlowChart; }
    ChartObject& tempChart() { return *view->mTempChart; }

    // One poll cycle: the next read and its answer.
    void poll(int count = 1) { f.wait(kPollMs * count); }
    // An update with a status line free to show its message at once.
    void update() {
        f.wait(kStatusMs);
        view->UpdateView();
    }
    // The applied model's value of a parameter, as a read job would bring it.
    static void put(const host::ParameterPtr& p, const std::string& text) { p->setValueText(text); }

    std::string status() const { return view->LaStatus->caption(); }
    uint32_t statusColour() const { return view->LaStatus->backColor(); }
    uint32_t lamp(int i) const { return view->CtlLedIM1->lampColor(i); }
    int blinking() const { return view->CtlLedIM1->blinkingIndex(); }
    host::IButton& toolbarButton(const std::string& key) { return *f.toolbar()->Buttons()->item(key); }

    frame::StandFrame f;
    QX_FlowWiz* view = nullptr;
};

// The points of one chart group as "x:y1/y2/..." with "-" for a hole, X in whole seconds.
inline std::string pointText(const ChartObject& chart, int group, int32_t p) {
    const auto& d = chart.group(group).data();
    auto x = d.x(p);
    std::string s = x ? std::to_string(static_cast<long>(std::lround(*x * 3600))) : "-";
    s += ":";
    for (int series = 1; series <= d.seriesCount(); ++series) {
        auto y = d.y(series, p);
        if (series > 1) s += "/";
        s += y ? std::to_string(*y) : "-";
    }
    return s;
}

inline std::vector<std::string> points(const ChartObject& chart, int group) {
    std::vector<std::string> out;
    for (int32_t p = 1; p <= chart.group(group).data().numPoints(); ++p)
        out.push_back(pointText(chart, group, p));
    return out;
}

}  // namespace qx::live::test
