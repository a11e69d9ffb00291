#pragma once
// The interfaces the view implements for the frame, members in interface order. Arguments the
// original passed by reference are const references here; nothing writes back through them.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "Export.h"
#include "host/Object.h"
#include "host/Toolbar.h"
#include "platform/Variant.h"

namespace qx::host {

class IMessageHandler;
class ICallbackReceiver;

class QX_FLOW_EXPORT IQX_ActiveXConfig2 {
  public:
    virtual ~IQX_ActiveXConfig2() = default;
    virtual void IQX_ActiveXConfig2_init(const ObjectPtr& obj, const std::optional<std::string>& args,
                                         const std::optional<std::string>& argtype,
                                         const std::shared_ptr<IMessageHandler>& messagehandler) = 0;
    virtual bool IQX_ActiveXConfig2_PrepareToRelease() = 0;
};

class QX_FLOW_EXPORT IQX_ActiveXApp {
  public:
    virtual ~IQX_ActiveXApp() = default;
    virtual void IQX_ActiveXApp_SetToolbar(const ToolbarPtr& ctrlToolbar) = 0;
    virtual bool IQX_ActiveXApp_SetActionArea(const ObjectPtr& ctrlActionArea) = 0;
    virtual ObjectPtr IQX_ActiveXApp_GetAppliedDataModel() = 0;
    virtual bool IQX_ActiveXApp_RegisterCallback(const std::shared_ptr<ICallbackReceiver>& receiver) = 0;
};

class QX_FLOW_EXPORT IQX_ActiveXAppEvts {
  public:
    virtual ~IQX_ActiveXAppEvts() = default;
    virtual void IQX_ActiveXAppEvts_ActionAreaButtonClick(const std::string& key) = 0;
    virtual void IQX_ActiveXAppEvts_ToolbarButtonClick(const ButtonPtr& button) = 0;
    virtual void IQX_ActiveXAppEvts_ToolbarButtonMenuClick(const ObjectPtr& buttonMenu) = 0;
};

class QX_FLOW_EXPORT IBase_CallbackModule {
  public:
    virtual ~IBase_CallbackModule() = default;
    virtual void IBase_CallbackModule_OnLanguageChanged(const ObjectPtr& m) = 0;
    virtual void IBase_CallbackModule_OnUnload(const ObjectPtr& m) = 0;
    virtual void IBase_CallbackModule_OnEnvironmentChanged(const ObjectPtr& m, const std::string& key,
                                                           const platform::Variant& value) = 0;
};

class QX_FLOW_EXPORT IBase_Communication {
  public:
    virtual ~IBase_Communication() = default;
    virtual void IBase_Communication_OnJobResponse(const std::string& id, const std::string& status,
                                                   int32_t kind) = 0;
    virtual void IBase_Communication_OnConnectStatusChanged(const std::string& status) = 0;
    virtual void IBase_Communication_OnReleased() = 0;
};

class QX_FLOW_EXPORT ISpec_Log {
  public:
    virtual ~ISpec_Log() = default;
    virtual void ISpec_Log_Log(const std::string& kind, const std::string& DataObj, const std::string& data,
                               const platform::Variant& ignored) = 0;
    virtual void ISpec_Log_Init(const ObjectPtr& client) = 0;
};

}  // namespace qx::host
