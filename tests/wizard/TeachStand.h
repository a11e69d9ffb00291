#pragma once
// Shared by the teach-in and manual-setting tests: one view hosted by the stand-in frame on
// virtual time, bound to the simulated flow monitor and polling it, with a record of what the
// device received, what the status line and the message boxes showed, and the wizard states
// passed through. A person's clicks go through the control models and are refused, as a person
// would be, when the control is disabled or hidden.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "frame/StandFrame.h"
#include "platform/StandardControls.h"
#include "view/QX_FlowWiz.h"

namespace qx::teach::test {

using frame::DeviceOptions;
using frame::Presence;
using view::QX_FlowWiz;
using Category = DeviceOptions::Category;

inline constexpr uint32_t kAmber = 52222;
inline constexpr uint32_t kWhite = 0xFFFFFF;
inline constexpr int64_t kPollMs = 1000;
// A flow change is reported settled 2000 ms after it; two more polls bring that to the view.
inline constexpr int64_t kSettleAndPollMs = 4000;

// A device variant in the neutral language, where every text the view looks up is its key.
inline DeviceOptions device(int32_t fw, Category category = Category::Match) {
    DeviceOptions options;
    options.fw = fw;
    options.category = category;
    options.language = 0;
    return options;
}

struct Status {
    std::string text;
    uint32_t colour;
};

class TeachStand {
  public:
    // The view is bound, "Poll" is pressed as the toolbar arrives, and the first read has been
    // answered: the wizard is idle in state 0.
    // `prepare` sets the device's own values before the frame's model takes them.
    explicit TeachStand(const DeviceOptions& options = device(1),
                        const std::function<void(frame::FlowMonitorSim&)>& prepare = {}) {
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
        view->LaStatus->observe([this](const platform::Control&, const std::string& property) {
            if (property == "Caption")
                statuses.push_back({v().LaStatus->caption(), v().LaStatus->backColor()});
            if (property == "BackColor" && !statuses.empty())
                statuses.back().colour = v().LaStatus->backColor();
        });
        f.init(frame::InitTarget::Device);
        f.setToolbar();
        f.wait(100);
    }

    QX_FlowWiz& v() { return *view; }

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
    // The flow changes and has settled by the time the view has read it again.
    void settleAt(double value) {
        f.sim().setFlow(value);
        wait(kSettleAndPollMs);
    }

    // ---- whole procedures ----
    // Teaches the maximum at `max` and the minimum at `min`, then waits until the wizard has
    // shown its success and gone back to state 0.
    void teachMaxMin(double max, double min) {
        ASSERT_TRUE(click(*v().ComTeachMaxMin));
        settleAt(max);
        ASSERT_TRUE(click(*v().ComTMax));
        wait(kPollMs);  // the device teaches the flow present when the job reaches it
        settleAt(min);
        ASSERT_TRUE(click(*v().ComTMin));
        wait(6 * kPollMs);
    }

    // ---- what was seen ----
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
    int blinking() const { return view->CtlLedIM1->blinkingIndex(); }
    bool allLampsOff() const {
        for (int i = 0; i < 10; ++i)
            if (view->CtlLedIM1->lampColor(i) != kWhite) return false;
        return true;
    }

    // Forget what was recorded so far, so that a test looks only at what follows.
    void forget() {
        writes.clear();
        statuses.clear();
        states = {v().mTeachState};
    }

    // Declared before the frame, so that they outlive the view that reports to them.
    std::vector<std::string> writes;  // each job as NAME="text" pairs in job order
    std::vector<Status> statuses;
    std::vector<int32_t> states{0};  // the wizard states passed through
    frame::StandFrame f;
    QX_FlowWiz* view = nullptr;

  private:
    void noteState() {
        if (view && f.hasView() && states.back() != view->mTeachState) states.push_back(view->mTeachState);
    }
};

}  // namespace qx::teach::test
