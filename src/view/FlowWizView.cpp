#include "FlowWizView.h"

#include "platform/ChartObject.h"
#include "view/QX_FlowWiz.h"

namespace qx {

void registerViewComponents(platform::ControlFactories& factories) {
    platform::registerChartComponent(factories);
}

FlowWizView createFlowWizView(const platform::UiContext& ui) {
    auto view = view::QX_FlowWiz::create(ui);
    view::QX_FlowWiz* raw = view.get();  // alive while the FlowWizView holds it
    return {view, &view->Controls(), [raw] { raw->UserControl_Resize(); }, view, view, view, view};
}

}  // namespace qx
