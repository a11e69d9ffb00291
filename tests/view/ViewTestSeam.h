#pragma once
// The one door through which tests reach the view's inside. A test goes through the operations
// a frame or a person performs wherever it can; it comes here only for a state those do not reach
// within a test's means (a stale id, a command left waiting, a poll button the user left some
// way, a frame object that fails on cue, chart ranges a short run cannot build), or to run one
// internal step alone. Each door below says which.
#include <cstdint>
#include <string>

#include "display/TrendPane.h"

#include "view/QX_FlowWiz.h"

namespace qx::view {

struct ViewTestSeam {
    static device::JobBook& jobs(QX_FlowWiz& v) { return v.jobs_; }
    // To take a parameter away from a bound view.
    static device::ParameterRefs& refs(QX_FlowWiz& v) { return v.refs_; }

    // Puts the wizard straight into a state of the teach-in, as a long run of answers would.
    static void enterTeachState(QX_FlowWiz& v, wizard::TeachState state) { v.mTeachState = state; }
    static WizardProgress& progress(QX_FlowWiz& v) { return v; }
    static BindingState& binding(QX_FlowWiz& v) { return v; }
    static StatusLine& status(QX_FlowWiz& v) { return v; }

    // A frame object the stand-in frame cannot make fail on cue (a resource, a line) is put in.
    static FrameLink& frame(QX_FlowWiz& v) { return v; }
    // Ranges and points a short run does not build.
    static display::TrendPane& trend(QX_FlowWiz& v) { return *v.trend_; }

    // One internal step alone, to look at it without what the timers and answers do around it.
    static void update(QX_FlowWiz& v) { v.UpdateView(); }
    static void readValuesOnce(QX_FlowWiz& v) { v.ReadValuesOnce(); }
    static host::ParameterList pollList(QX_FlowWiz& v) { return v.BuildPollList(); }
    static void resetPolling(QX_FlowWiz& v) { v.ResetPolling(); }
    static void showStatus(QX_FlowWiz& v, const std::string& text, int32_t style) {
        v.ShowStatus(text, style);
    }
    static std::string lookUpText(QX_FlowWiz& v, const std::string& key) { return v.lookUpText(key); }
    static void reportMessage(QX_FlowWiz& v, const std::string& text, const std::string& caption) {
        v.ReportMessage(text, caption);
    }
    static void reportMessageWithDetails(QX_FlowWiz& v, const std::string& text, const std::string& caption) {
        v.ReportMessageWithDetails(text, caption);
    }
    static std::string sendWriteJob(QX_FlowWiz& v, host::WriteItem& item) { return v.SendWriteJob(item); }
    // The Set button's handler itself, whatever the button's state.
    static void setTaughtValues(QX_FlowWiz& v) { v.ComSetTeach_Click(); }
    static void clearLevelLamps(QX_FlowWiz& v, int16_t keep) { v.ClearLevelLamps(keep); }
    static void showMaxMinFields(QX_FlowWiz& v, bool show) { v.ShowMaxMinFields(show); }
    static void enableSettingInput(QX_FlowWiz& v, wizard::SettingPane pane, bool enabled) {
        v.enableSettingInput(pane, enabled);
    }

    // 0 never clicked, 1 left pressed, 2 left released.
    static void leavePollButton(QX_FlowWiz& v, int32_t mode) {
        if (mode == 0)
            v.jobs_.forgetPollButton();
        else
            v.jobs_.notePollButton(mode == 1);
    }
};

// The poll mode as the console prints it.
inline int32_t pollMode(const QX_FlowWiz& v) {
    return static_cast<int32_t>(v.jobs().pollMode());
}

}  // namespace qx::view
