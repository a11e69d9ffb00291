#pragma once
// The wizard's decisions: which procedure runs, what each state of it shows, what a teach button
// writes and where the device's answer leads. It holds the wizard's progress and what the binding
// found out, and acts on the screen only through WizardScreen, so it knows no control.
#include <cstdint>

#include "platform/PackageInternal.h"
#include "view/ViewState.h"
#include "wizard/WizardScreen.h"

namespace qx::wizard {

// The smallest span between the taught maximum and minimum the device accepts; the flow must
// also exceed it before a maximum may be taught. Firmware 0 counts in coarser steps.
inline int16_t minimumSpan(int16_t fwVersion) {
    return fwVersion != 0 ? 10 : 51;
}

class QX_FLOW_INTERNAL TeachIn {
  public:
    TeachIn(view::WizardProgress& progress, const view::BindingState& binding, WizardScreen& screen)
        : w_(progress), binding_(binding), screen_(screen) {}

    // A person's commands of the teach panel.
    void startMaxMin();
    void startQuick();
    void teachMaximum();
    void teachMinimum();
    void teachQuick();
    void cancel();

    // The device answered the teach job: the next command code, or the state that follows.
    void continueAfterAnswer();
    // The part of each view update that shows the present state and takes the moves that need
    // no answer from the device. States that wait for the device change nothing. Failures reach
    // the caller (the view update), which logs them.
    void step();

  private:
    void idle(int16_t span);
    void waitForMaximum(int16_t span);
    void waitForMinimum(int16_t span);
    void maxMinFinished();
    void waitForSettledFlow();
    void quickFinished();
    void showProcedure();
    void sendCode(TeachCode code, TeachState next);

    view::WizardProgress& w_;
    const view::BindingState& binding_;
    WizardScreen& screen_;
};

}  // namespace qx::wizard
