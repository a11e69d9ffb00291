#pragma once
// The one place where the reliability tests look inside the view: its job bookkeeping, the wizard
// state and its timers. Everything else they see through the frame, the device and the controls.
#include <string>

#include "platform/Timer.h"
#include "view/QX_FlowWiz.h"

namespace qx::reliability::test {

struct ViewProbe {
    view::QX_FlowWiz& v;

    int jobs() const { return v.jobs().pending()->Count(); }
    int early() const { return v.jobs().early()->Count(); }
    int commands() const { return v.jobs().commands()->Count(); }
    int teachState() const { return wizard::number(v.progress().mTeachState); }

    // The view's own timers, found by name: poll, run time and status line.
    bool anyTimerRunning() const {
        for (const char* name : {"Timer1", "TimerCnt", "TimerState"}) {
            const auto* timer = dynamic_cast<const platform::Timer*>(v.Controls().find(name).get());
            if (timer && timer->enabled()) return true;
        }
        return false;
    }
};

}  // namespace qx::reliability::test
