#pragma once
// Shared by the wizard and display tests: one view hosted by the stand-in frame on virtual time,
// bound to the simulated flow monitor, with the neutral language so that every text the view
// shows is its key, and a record of what the device received, what the status line showed and
// the wizard states passed through. A person's clicks go through the control models and are
// refused, as a person would be, when the control is disabled or hidden.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "display/TrendPane.h"
#include "frame/StandFrame.h"
#include "platform/ChartObject.h"
#include "platform/DebugOutput.h"
#include "platform/Registry.h"
#include "platform/StandardControls.h"
#include "view/QX_FlowWiz.h"
#include "view/ViewChildren.h"
#include "view/ViewTestSeam.h"

namespace qx::stand::test {

using frame::DeviceOptions;
using frame::Presence;
using platform::ChartObject;
using view::QX_FlowWiz;
using view::ViewTestSeam;
using Category = DeviceOptions::Category;

inline constexpr uint32_t kGreen = 0x80FF80;
inline constexpr uint32_t kAmber = 52222;
inline constexpr uint32_t kWhite = 0xFFFFFF;
inline constexpr int64_t kPollMs = 1000;
inline constexpr int64_t kStatusMs = 2000;  // a status message stays at least this long
// A flow change is reported settled 2000 ms after it; two more polls bring that to the view.
inline constexpr int64_t kSettleAndPollMs = 4000;

// Names a parameterised case after its row, so a failure says which row broke.
struct CaseName {
    template <typename Case>
    std::string operator()(const testing::TestParamInfo<Case>& row) const {
        return std::string(row.param.name);
    }
};

inline DeviceOptions device(int32_t fw, Category category = Category::Match) {
    DeviceOptions options;
    options.fw = fw;
    options.category = category;
    return options;
}

// Turns the log on and collects it. The log switches are read once per thread, so a case that
// looks at the log runs in a thread of its own.
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

struct Status {
    std::string text;
    uint32_t colour;
};

// A view bound to the simulated device. With `polling` the device is reachable and "Poll" is
// pressed as the toolbar arrives, so a read is answered every second and the wizard is idle in
// state 0; without it the test plays the job-response handler and calls UpdateView itself.
// `prepare` sets the device's own values before the frame's model takes them.
class WizardStand {
  public:
    explicit WizardStand(DeviceOptions options = {}, bool polling = true,
                         int64_t clockMs = frame::StandFrame::kStartMs,
                         const std::function<void(frame::FlowMonitorSim&)>& prepare = {}) {
        f.setClock(clockMs);
        options.language = 0;
        if (!polling) options.state = 0;  // "Poll" stays disabled
        f.setOptions(options);
        if (prepare) prepare(f.sim());
        view = &f.create();
        f.link().onWrite = [this](const std::vector<frame::WrittenValue>& values) {
            std::string line;
            for (const auto& value : values)
                line += (line.empty() ? "" : " ") + value.name + "=\"" + value.text.value_or("") + "\"";
            writes.push_back(line);
        };
        f.scheduler().afterTask = [this] { noteState(); };
        statusWatch = childLabel(*view, "LaStatus")
                          ->observe([this](const platform::Control&, const std::string& property) {
                              if (property == "Caption") statuses.push_back({status(), statusColour()});
                              if (property == "BackColor" && !statuses.empty())
                                  statuses.back().colour = statusColour();
                          });
        f.init(frame::InitTarget::Device);
        f.setToolbar();
        if (polling) f.wait(100);  // connected, the first read answered
    }

    QX_FlowWiz& v() { return *view; }
    ChartObject& flowChart() { return *view->trend().flow.object; }
    ChartObject& tempChart() { return *view->trend().temp.object; }

    // ---- a person ----
    // Clicks a button; false, and nothing happens, when the person cannot reach it.
    bool click(platform::CommandButton& button) {
        if (!button.usable()) return false;
        button.click();
        noteState();
        return true;
    }
    bool press(const std::string& key) {
        const bool taken = f.press(key);
        noteState();
        return taken;
    }
    host::IButton& toolbarButton(const std::string& key) { return *f.toolbar()->Buttons()->item(key); }

    // ---- the device and time ----
    void wait(int64_t ms) { f.wait(ms); }
    // One poll cycle: the next read and its answer.
    void poll(int count = 1) { f.wait(kPollMs * count); }
    // An update with a status line free to show its message at once.
    void update() {
        f.wait(kStatusMs);
        ViewTestSeam::update(*view);
    }
    // The applied model's value of a parameter, as a read job would bring it.
    static void put(const host::ParameterPtr& p, const std::string& text) { p->setValueText(text); }
    // The flow changes and has settled by the time the view has read it again.
    void settleAt(double value) {
        f.sim().setFlow(value);
        wait(kSettleAndPollMs);
    }

    // ---- whole procedures ----
    // Teaches the maximum at `max` and the minimum at `min`, then waits until the wizard has
    // shown its success and gone back to state 0.
    void teachMaxMin(double max, double min) {
        ASSERT_TRUE(click(*childButton(v(), "ComTeachMaxMin")));
        settleAt(max);
        ASSERT_TRUE(click(*childButton(v(), "ComTMax")));
        wait(kPollMs);  // the device teaches the flow present when the job reaches it
        settleAt(min);
        ASSERT_TRUE(click(*childButton(v(), "ComTMin")));
        wait(6 * kPollMs);
    }

    // ---- what was seen ----
    std::string status() const { return childLabel(*view, "LaStatus")->caption(); }
    uint32_t statusColour() const { return childLabel(*view, "LaStatus")->backColor(); }
    uint32_t lamp(int i) const { return childLamps(*view)->lampColor(i); }
    int blinking() const { return childLamps(*view)->blinkingIndex(); }
    bool allLampsOff() const {
        for (int i = 0; i < 10; ++i)
            if (lamp(i) != kWhite) return false;
        return true;
    }
    // The codes written to QUICK_2 alone, in the order the device received them.
    std::vector<std::string> codes() const {
        std::vector<std::string> out;
        const std::string prefix = "QUICK_2=\"";
        for (const auto& w : writes)
            if (w.rfind(prefix, 0) == 0 && w.find(' ') == std::string::npos)
                out.push_back(w.substr(prefix.size(), w.size() - prefix.size() - 1));
        return out;
    }
    const std::vector<frame::MessageHandler::Message>& messages() const {
        return f.messageHandler()->shown();
    }

    // Forget what was recorded so far, so that a test looks only at what follows.
    void forget() {
        writes.clear();
        statuses.clear();
        states = {wizard::number(v().progress().mTeachState)};
    }

    // Declared before the frame, so that they outlive the view that reports to them.
    std::vector<std::string> writes;  // each job as NAME="text" pairs in job order
    std::vector<Status> statuses;
    platform::Subscription statusWatch;
    std::vector<int32_t> states{0};  // the wizard states passed through
    frame::StandFrame f;
    QX_FlowWiz* view = nullptr;

  private:
    void noteState() {
        if (view && f.hasView() && states.back() != wizard::number(view->progress().mTeachState))
            states.push_back(wizard::number(view->progress().mTeachState));
    }
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

}  // namespace qx::stand::test
