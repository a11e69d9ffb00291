#pragma once
// The view's own state by concern. The view holds each group as a private base, so its member
// functions keep using the fields by name, while everyone else reads a group through the view's
// const accessor and only the view writes it.
#include <cstdint>
#include <memory>
#include <string>

#include "device/CFilterCallbackModule.h"
#include "wizard/TeachState.h"

namespace qx::view {

// What the binding to the frame's model found out.
struct BindingState {
    std::string mModule = "$$MODULE";
    std::string mContext = "MONITOR";
    bool mCategoryMatch = false;  // the device keeps its taught limits in the *_SAVE parameters
    int16_t mFwVersion = 0;
    std::shared_ptr<device::CFilterCallbackModule> mFilter;
};

// Where the teach-in stands and what the teach panel shows of it.
struct WizardProgress {
    wizard::TeachState mTeachState = wizard::TeachState::Idle;
    wizard::TeachMode mTeachMode = wizard::TeachMode::None;
    int16_t mTeachMin = 0, mTeachMax = 0, mFlow = 0, mFlowUnsettled = 0;
    int16_t mSwitchPointFlow = 0;
    bool mTeachActive = false, mQuickTeachActive = false;
    bool mQuickButtonVisible = false, mSwitchPointSettable = false;
    bool mSliderTPLoaded = false, mRefreshSwitchInputs = false;
    int16_t SuccessTicks = 0;
};

// The run-time counter and the status message waiting for the one on display.
struct StatusLine {
    int32_t mRunTime = 0;  // seconds shown in LaTime
    std::string mPendingStatus;
    int32_t mPendingStyle = 0;
};

}  // namespace qx::view
