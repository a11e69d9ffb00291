#pragma once
// The flow wizard view as an integrator's frame creates and holds it, without the view's own
// header: the control the container sites, its child controls by name (as models a person or a
// widget binding uses), and the interfaces the frame calls. The view runs on the thread of the
// scheduler in the UiContext; every call below belongs on that thread.
#include <functional>
#include <memory>

#include "Export.h"
#include "host/ViewInterfaces.h"
#include "platform/Control.h"
#include "platform/Controls.h"

namespace qx {

struct FlowWizView {
    // The view as a control; it lives as long as any of the pointers here.
    std::shared_ptr<platform::Control> control;
    // Its child controls, found by name; valid while `control` lives.
    platform::Controls* controls = nullptr;
    // The control's resize event, which the container raises once it has sited and sized it.
    std::function<void()> resize;
    std::shared_ptr<host::IQX_ActiveXConfig2> config;
    std::shared_ptr<host::IQX_ActiveXApp> app;
    std::shared_ptr<host::IQX_ActiveXAppEvts> events;
    std::shared_ptr<host::IBase_CallbackModule> callbacks;
};

// The view's own components that a container must be able to create by program id (the chart).
// The frame adds its own (the parameter slider, a host::ISlider) to the same factories.
QX_FLOW_EXPORT void registerViewComponents(platform::ControlFactories& factories);

// The container creates the view: the form design, then the creation steps. The factories of
// `ui` must hold the view's components and the frame's slider.
QX_FLOW_EXPORT FlowWizView createFlowWizView(const platform::UiContext& ui);

}  // namespace qx
