#pragma once
// The stand-in data model: the device's display name, its view modules, its description and
// settings, and the registrations of the view and its callbacks. Registrations do not own what
// they register, so the view and the model never keep each other alive.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frame/DeviceDescriptionFile.h"
#include "frame/DeviceOptions.h"
#include "frame/FrameDescription.h"
#include "frame/FrameViewModule.h"
#include "host/DataModel.h"
#include "host/ViewInterfaces.h"

namespace qx::frame {

class FrameDataModel : public host::IDataModel, public std::enable_shared_from_this<FrameDataModel> {
  public:
    // A model of the device described by `file` for `options`, with `database` (may be none) and
    // the settings' language `language`. The environment starts empty.
    static std::shared_ptr<FrameDataModel> build(std::shared_ptr<const DescriptionFile> file,
                                                 const DeviceOptions& options,
                                                 std::shared_ptr<FrameDatabase> database, int32_t language);

    std::string className() const override { return "DataModel"; }
    std::string displayName() const override { return displayName_; }
    std::shared_ptr<host::Collection<host::IViewModule>> viewModules() const override { return viewModules_; }
    void registerView(const std::weak_ptr<host::Object>& view) override { view_ = view; }
    // Adds the callback to those told about environment changes (once, however often it comes)
    // and hands the very same callback back.
    std::shared_ptr<host::IBase_CallbackModule> exchangeCallback(
        const std::shared_ptr<host::IBase_CallbackModule>& callback) override;
    std::shared_ptr<host::IDeviceDescription> description() const override { return description_; }
    std::shared_ptr<host::ISettings> settings() const override { return description_->settings(); }

    // Frame side.
    const std::shared_ptr<FrameDescription>& frameDescription() const { return description_; }
    host::ObjectPtr registeredView() const { return view_.lock(); }
    // The registered callbacks that still exist, in the order they first came.
    std::vector<std::shared_ptr<host::IBase_CallbackModule>> callbacks() const;
    // The frame's notice that environment value `name` changed: every registered callback gets
    // OnEnvironmentChanged (this model, "GLB_ENV_CHANGED", name).
    void announceEnvironmentChange(const std::string& name);
    // The frame's language and unload notices to every registered callback, with this model.
    void announceLanguageChange();
    void announceUnload();
    // The context of a view module; none when the model has no such module or context.
    std::shared_ptr<FrameContext> context(const std::string& module, const std::string& context) const;

  private:
    void announce(const std::function<void(host::IBase_CallbackModule&)>& notice);

    FrameDataModel(std::string displayName, std::shared_ptr<FrameDescription> description,
                   const std::vector<std::string>& contextNames);

    std::string displayName_;
    std::shared_ptr<FrameDescription> description_;
    std::vector<std::shared_ptr<FrameViewModule>> modules_;
    std::shared_ptr<NamedCollection<host::IViewModule>> viewModules_ =
        std::make_shared<NamedCollection<host::IViewModule>>();
    std::weak_ptr<host::Object> view_;
    std::vector<std::weak_ptr<host::IBase_CallbackModule>> callbacks_;
};

}  // namespace qx::frame
