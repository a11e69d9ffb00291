#include "frame/FrameDataModel.h"

#include <algorithm>

namespace qx::frame {

FrameDataModel::FrameDataModel(std::string displayName, std::shared_ptr<FrameDescription> description,
                               const std::vector<std::string>& contextNames)
    : displayName_(std::move(displayName)), description_(std::move(description)) {
    for (const auto& m : description_->frameModules()) {
        auto module = std::make_shared<FrameViewModule>(m->name(), contextNames);
        viewModules_->add(m->name(), module);
        modules_.push_back(std::move(module));
    }
}

std::shared_ptr<FrameDataModel> FrameDataModel::build(std::shared_ptr<const DescriptionFile> file,
                                                      const DeviceOptions& options,
                                                      std::shared_ptr<FrameDatabase> database,
                                                      int32_t language) {
    auto settings = std::make_shared<FrameSettings>(language, std::move(database));
    auto description = FrameDescription::create(file, options, std::move(settings));
    return std::shared_ptr<FrameDataModel>(
        new FrameDataModel(file->displayName, description, file->viewContexts));
}

std::shared_ptr<host::IBase_CallbackModule> FrameDataModel::exchangeCallback(
    const std::shared_ptr<host::IBase_CallbackModule>& callback) {
    std::erase_if(callbacks_, [](const auto& c) { return c.expired(); });
    const bool known = std::any_of(callbacks_.begin(), callbacks_.end(),
                                   [&](const auto& c) { return c.lock() == callback; });
    if (callback && !known) callbacks_.push_back(callback);
    return callback;
}

std::vector<std::shared_ptr<host::IBase_CallbackModule>> FrameDataModel::callbacks() const {
    std::vector<std::shared_ptr<host::IBase_CallbackModule>> live;
    for (const auto& c : callbacks_)
        if (auto p = c.lock()) live.push_back(std::move(p));
    return live;
}

void FrameDataModel::announce(const std::function<void(host::IBase_CallbackModule&)>& notice) {
    // A callback may register or drop callbacks while it is told; the list is taken first.
    for (const auto& c : callbacks()) notice(*c);
}

void FrameDataModel::announceEnvironmentChange(const std::string& name) {
    const host::ObjectPtr self = shared_from_this();
    announce([&](host::IBase_CallbackModule& c) {
        c.IBase_CallbackModule_OnEnvironmentChanged(self, "GLB_ENV_CHANGED", host::Variant(name));
    });
}

void FrameDataModel::announceLanguageChange() {
    const host::ObjectPtr self = shared_from_this();
    announce([&](host::IBase_CallbackModule& c) { c.IBase_CallbackModule_OnLanguageChanged(self); });
}

void FrameDataModel::announceUnload() {
    const host::ObjectPtr self = shared_from_this();
    announce([&](host::IBase_CallbackModule& c) { c.IBase_CallbackModule_OnUnload(self); });
}

std::shared_ptr<FrameContext> FrameDataModel::context(const std::string& module,
                                                      const std::string& context) const {
    for (const auto& m : modules_)
        if (m->name() == module) return m->context(context);
    return nullptr;
}

}  // namespace qx::frame
