#include "frame/FrameModelFactory.h"

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
        database = FrameDatabase::create(idx != file->items.end() ? idx->second.toInt32() : 0,
                                         options.category, file->wizard);
    }
    auto model = FrameDataModel::build(file, options, std::move(database), options.language);
    auto& env = *model->frameDescription()->frameEnvironment();
    env.put("STATE", host::Variant(options.state));
    env.put("LOCAL_COMM", host::Variant(options.localComm));
    return model;
}

}  // namespace qx::frame
