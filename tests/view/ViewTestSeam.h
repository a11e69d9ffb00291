#pragma once
// The one door through which tests put the view into a state its operations do not reach within
// a test's means (a stale id, a command left waiting, a poll button the user left some way), so
// that the view's state can change shape without the tests reaching into it.
#include <cstdint>

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
