#pragma once
// The view as the container and the frame hold it: a control to site and resize, and the
// interfaces the frame calls. Whoever knows the view's type makes one with hostedView(), so the
// frame itself is compiled without the view's definition, as a frame hosts any such control.
#include <functional>
#include <memory>

#include "host/ViewInterfaces.h"
#include "platform/Control.h"

namespace qx::frame {

struct HostedView {
    std::shared_ptr<platform::Control> control;
    // The control's resize event, which the container raises once it has sited the control.
    std::function<void()> resize;
    std::shared_ptr<host::IQX_ActiveXConfig2> config;
    std::shared_ptr<host::IQX_ActiveXApp> app;
    std::shared_ptr<host::IQX_ActiveXAppEvts> events;
    std::shared_ptr<host::IBase_CallbackModule> callbacks;
};

template <class View>
HostedView hostedView(const std::shared_ptr<View>& view) {
    View* raw = view.get();  // alive while the HostedView holds it
    return {view, [raw] { raw->UserControl_Resize(); }, view, view, view, view};
}

}  // namespace qx::frame
