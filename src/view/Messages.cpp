// Messages to the user through the frame's message handler, and the texts they are built from.
#include "support/ResourceComponent.h"
#include "view/QX_FlowWiz.h"

namespace qx::view {

void QX_FlowWiz::ReportMessage(const std::string& text, const std::string& caption) {
    must(mMessageHandler).ShowMessage(text, caption);
}

// The details of the last "MESSAGE" the frame logged go with the next detailed message only.
void QX_FlowWiz::ReportMessageWithDetails(const std::string& text, const std::string& caption) {
    std::string full = text;
    if (!mMessageDetails.empty()) full += "\r\nDetails:" + mMessageDetails;
    must(mMessageHandler).ShowDetailedMessage(full, caption);
    mMessageDetails.clear();
}

std::string QX_FlowWiz::WizardTitle() {
    return lookUpText("IDS_TEACH_WIZ");
}

std::shared_ptr<host::IResource> QX_FlowWiz::GetResource() {
    if (!mRes) mRes = support::createResourceComponent()->open(7, support::resourceFilePath());
    return mRes;
}

std::string QX_FlowWiz::lookUpText(const std::string& key) {
    int32_t option = 0;
    return must(GetResource()).text(key, option);
}

// The device name is asked before the title is looked up.
std::string QX_FlowWiz::messageCaption() {
    const std::string device = must(mModel).displayName();
    return device + " " + WizardTitle();
}

}  // namespace qx::view
