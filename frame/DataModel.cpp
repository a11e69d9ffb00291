#include "frame/DataModel.h"

#include "frame/FrameDatabase.h"
#include "platform/LibraryFolder.h"

namespace qx::frame {

std::string flowMonitorDescriptionPath() {
    return platform::libraryFolder() + "/devices/flowmonitor.json";
}

std::shared_ptr<FrameDataModel> createFrameModel(const DeviceOptions& options) {
    return createFrameModel(
        options, options.descriptionPath.empty() ? flowMonitorDescriptionPath() : options.descriptionPath);
}

std::shared_ptr<FrameDataModel> createFrameModel(const DeviceOptions& options, const std::string& path) {
    auto file = std::make_shared<const DescriptionFile>(readDescriptionFile(path));
    std::shared_ptr<FrameDatabase> database;
    if (options.databasePresent) {
        auto idx = file->items.find("IDX");
        database =
            FrameDatabase::create(idx != file->items.end() ? idx->second.toInt32() : 0, options.category);
    }
    auto model = FrameDataModel::build(file, options, std::move(database), options.language);
    auto& env = *model->frameDescription()->frameEnvironment();
    env.put("STATE", host::Variant(options.state));
    env.put("LOCAL_COMM", host::Variant(options.localComm));
    return model;
}

std::shared_ptr<FrameParameter> findParameter(const host::IDataModel& model, const std::string& name) {
    auto description = std::dynamic_pointer_cast<FrameDescription>(model.description());
    return description ? description->findParameter(name) : nullptr;
}

std::vector<std::shared_ptr<FrameParameter>> listParameters(const host::IDataModel& model) {
    auto description = std::dynamic_pointer_cast<FrameDescription>(model.description());
    return description ? description->parameters() : std::vector<std::shared_ptr<FrameParameter>>{};
}

std::shared_ptr<FrameParameter> asFrameParameter(const host::ParameterPtr& parameter) {
    return std::dynamic_pointer_cast<FrameParameter>(parameter);
}

}  // namespace qx::frame
