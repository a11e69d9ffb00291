// The teach panel's value fields for the procedure on show, and whether the device offers a
// switch point as a percentage of the taught span.
#include "view/QX_FlowWiz.h"

namespace qx::view {

// The max/min fields, or on firmware 1 the quick-teach fields in their place; Label1 belongs to
// firmware 1 whichever procedure is shown.
void QX_FlowWiz::ShowMaxMinFields(bool show) {
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             LabelTMin.get(), LabeTMax.get(), LaTMax.get(), LaTMin.get(), LaTMaxW.get(), LaTMinW.get(),
             LabBma.get(), LabBMi.get()})
        c->setVisible(show);
    const bool quickFields = mFwVersion == 1 && !show;
    for (platform::Control* c : std::initializer_list<platform::Control*>{LabelTQuick.get(), LaTQuick.get(),
                                                                          LaTQuickW.get(), LabBQ.get()})
        c->setVisible(quickFields);
    Label1->setVisible(mFwVersion == 1);
}

bool QX_FlowWiz::IsSwitchPointAvailable() {
    return device::ParameterRefs::hasValue(refs_.TEACHDO_SWPOINT);
}

}  // namespace qx::view
