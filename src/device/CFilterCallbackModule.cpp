#include "device/CFilterCallbackModule.h"

namespace qx::device {

void CFilterCallbackModule::IBase_CallbackModule_OnLanguageChanged(const host::ObjectPtr& m) {
    if (auto target = target_.lock()) target->IBase_CallbackModule_OnLanguageChanged(m);
}

void CFilterCallbackModule::IBase_CallbackModule_OnUnload(const host::ObjectPtr& m) {
    if (auto target = target_.lock()) target->IBase_CallbackModule_OnUnload(m);
}

void CFilterCallbackModule::IBase_CallbackModule_OnEnvironmentChanged(const host::ObjectPtr& m,
                                                                      const std::string& key,
                                                                      const platform::Variant& value) {
    if (auto target = target_.lock()) target->IBase_CallbackModule_OnEnvironmentChanged(m, key, value);
}

}  // namespace qx::device
