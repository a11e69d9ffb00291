#pragma once
// A forwarding callback module: passes each data-model callback on to its target, or drops it
// while no target is attached. The data model holds the filter; the filter only watches its
// target, so a registration never keeps the view (or any other target) alive.
#include <memory>

#include "host/ViewInterfaces.h"
#include "platform/PackageInternal.h"

namespace qx::device {

class QX_FLOW_INTERNAL CFilterCallbackModule : public host::IBase_CallbackModule {
  public:
    void AttachTarget(std::weak_ptr<host::IBase_CallbackModule> target) { target_ = std::move(target); }
    void DetachTarget() { target_.reset(); }

    // Each forwards with the same arguments when the target is attached and alive; a failure of
    // the target reaches the caller.
    void IBase_CallbackModule_OnLanguageChanged(const host::ObjectPtr& m) override;
    void IBase_CallbackModule_OnUnload(const host::ObjectPtr& m) override;
    void IBase_CallbackModule_OnEnvironmentChanged(const host::ObjectPtr& m, const std::string& key,
                                                   const platform::Variant& value) override;

  private:
    std::weak_ptr<host::IBase_CallbackModule> target_;
};

}  // namespace qx::device
