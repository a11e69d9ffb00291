#pragma once
// The device description of a stand-in data model: modules → groups → parameters built from a
// description file for one set of device options, with its items, environment and settings.
#include <memory>
#include <string>
#include <vector>

#include "frame/DeviceDescriptionFile.h"
#include "frame/DeviceOptions.h"
#include "frame/FrameEnvironment.h"
#include "frame/FrameParameter.h"
#include "frame/FrameSettings.h"
#include "frame/NamedCollection.h"
#include "host/DataModel.h"

namespace qx::frame {

class FrameGroup : public host::IGroup {
  public:
    explicit FrameGroup(std::string name) : name_(std::move(name)) {}
    std::string className() const override { return "Group"; }
    std::string name() const override { return name_; }
    std::shared_ptr<host::Collection<host::IValueObject>> valueObjects() const override {
        return valueObjects_;
    }

    void add(std::shared_ptr<FrameParameter> parameter);
    const std::vector<std::shared_ptr<FrameParameter>>& parameters() const { return parameters_; }

  private:
    std::string name_;
    std::vector<std::shared_ptr<FrameParameter>> parameters_;
    std::shared_ptr<NamedCollection<host::IValueObject>> valueObjects_ =
        std::make_shared<NamedCollection<host::IValueObject>>();
};

class FrameModule : public host::IModule {
  public:
    explicit FrameModule(std::string name) : name_(std::move(name)) {}
    std::string className() const override { return "Module"; }
    std::string name() const override { return name_; }
    std::shared_ptr<host::Collection<host::IGroup>> groups() const override { return groupCollection_; }

    void add(std::shared_ptr<FrameGroup> group);
    const std::vector<std::shared_ptr<FrameGroup>>& frameGroups() const { return groups_; }

  private:
    std::string name_;
    std::vector<std::shared_ptr<FrameGroup>> groups_;
    std::shared_ptr<NamedCollection<host::IGroup>> groupCollection_ =
        std::make_shared<NamedCollection<host::IGroup>>();
};

class FrameDescription : public host::IDeviceDescription,
                         public std::enable_shared_from_this<FrameDescription> {
  public:
    // The options decide the firmware's list texts, which optional parameters exist and which
    // hold no value, and the item "FWversion". The environment starts empty.
    static std::shared_ptr<FrameDescription> create(std::shared_ptr<const DescriptionFile> file,
                                                    const DeviceOptions& options,
                                                    std::shared_ptr<FrameSettings> settings);

    std::string className() const override { return "DeviceDescription"; }
    std::shared_ptr<host::Collection<host::IModule>> modules() const override { return moduleCollection_; }
    void notifyEnvironmentChanged() override { ++environmentNotices_; }
    host::Variant item(const std::string& name) const override;  // error 3265 for an unknown item
    std::shared_ptr<host::ISettings> settings() const override { return settings_; }
    std::shared_ptr<host::IEnvironment> environment() const override { return environment_; }
    // The applied copy: the same parameters holding this model's present values (reset returns
    // to them), the same database and language, and an environment of its own.
    std::shared_ptr<host::IDataModel> createModel() override;
    // The frame's language switch: the settings of this model and of every applied copy made
    // from it that still exists take the language number.
    void switchLanguage(int32_t language);

    // Frame side.
    const std::vector<std::shared_ptr<FrameModule>>& frameModules() const { return modules_; }
    // Every parameter in walk order: modules, their groups, their value objects.
    std::vector<std::shared_ptr<FrameParameter>> parameters() const;
    std::shared_ptr<FrameParameter> findParameter(const std::string& name) const;  // none when absent
    const std::shared_ptr<FrameEnvironment>& frameEnvironment() const { return environment_; }
    const std::shared_ptr<FrameSettings>& frameSettings() const { return settings_; }
    const DeviceOptions& options() const { return options_; }
    const std::shared_ptr<const DescriptionFile>& file() const { return file_; }
    int environmentNotices() const { return environmentNotices_; }
    void restoreStartValues();

  private:
    FrameDescription(std::shared_ptr<const DescriptionFile> file, const DeviceOptions& options,
                     std::shared_ptr<FrameSettings> settings);
    void build();

    std::shared_ptr<const DescriptionFile> file_;
    DeviceOptions options_;
    std::shared_ptr<FrameSettings> settings_;
    std::vector<std::weak_ptr<FrameSettings>> copySettings_;
    std::shared_ptr<FrameEnvironment> environment_ = FrameEnvironment::create();
    std::vector<std::shared_ptr<FrameModule>> modules_;
    std::shared_ptr<NamedCollection<host::IModule>> moduleCollection_ =
        std::make_shared<NamedCollection<host::IModule>>();
    int environmentNotices_ = 0;
};

}  // namespace qx::frame
