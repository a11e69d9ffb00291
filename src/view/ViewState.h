#pragma once
// The view's own state by concern. The view holds each group as a private base, so its member
// functions keep using the fields by name, while everyone else reads a group through the view's
// const accessor and only the view writes it.
#include <cstdint>
#include <memory>
#include <string>

#include "device/CFilterCallbackModule.h"
#include "host/DataModel.h"
#include "host/Device.h"
#include "host/FrameServices.h"
#include "host/Resource.h"
#include "host/Slider.h"
#include "host/Toolbar.h"
#include "host/ViewInterfaces.h"
#include "platform/StandardControls.h"
#include "wizard/TeachState.h"

namespace qx::view {

// A parameter slider: the child control in its frame and the slider's own object.
struct SliderRef {
    std::shared_ptr<platform::ControlExtender> control;
    std::shared_ptr<host::ISlider> object;
    explicit operator bool() const { return control && object; }
};

// What the view holds of its frame, from init (or the call that hands an object over) until the
// release, and what it still owes the frame.
struct FrameLink {
    host::DataModelPtr mModel;       // the applied model
    host::DataModelPtr mFrameModel;  // the model the frame handed over
    std::shared_ptr<host::IResource> mRes;
    std::shared_ptr<host::IMessageHandler> mMessageHandler;
    host::ToolbarPtr mToolbar;
    std::shared_ptr<host::ICallbackReceiver> mReceiver;
    host::DevicePtr mDevice;
    host::CommunicationPtr mSpecComm;
    SliderRef mSliderFL, mSliderTP;  // the sliders of the manual settings
    bool mReleasePending = false;
    std::string mMessageDetails;  // of the last detailed message
};

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
