// The walk that "Poll" starts over the data model: which value objects ask their parameter to
// refresh, in which order, and which modules are walked.
#include <gtest/gtest.h>

#include "frame/NamedCollection.h"
#include "support/ParameterWalk.h"

namespace qx::support::test {
namespace {

using frame::NamedCollection;

// A model tree that records the refreshes, in order, as "<module>.<name>".
struct Record {
    std::vector<std::string> refreshed;
};

class WalkParameter : public host::IParameter {
  public:
    WalkParameter(std::string name, Record& record) : name_(std::move(name)), record_(record) {}
    std::string className() const override { return "Parameter"; }
    std::string name() const override { return name_; }
    std::string valueText() const override { return ""; }
    void setValueText(const std::string&) override {}
    int32_t noValue() const override { return 0; }
    void refresh() override { record_.refreshed.push_back(name_); }
    std::string displayName() const override { return name_; }
    std::string unit() const override { return ""; }
    host::Variant minimum() const override { return {}; }
    host::Variant maximum() const override { return {}; }
    std::shared_ptr<host::IParameterBinding> binding() const override { return nullptr; }
    std::shared_ptr<host::IValueObject> valueObject() const override { return nullptr; }

  private:
    std::string name_;
    Record& record_;
};

class WalkValue : public host::IValueObject {
  public:
    WalkValue(int32_t flags, int32_t state, std::shared_ptr<host::IParameter> parameter)
        : flags_(flags), state_(state), parameter_(std::move(parameter)) {}
    std::string className() const override { return "ValueObject"; }
    host::Variant value() const override { return {}; }
    void setValue(const host::Variant&) override {}
    int32_t flags() const override { return flags_; }
    int32_t state() const override { return state_; }
    std::shared_ptr<host::IParameter> parameter() const override { return parameter_; }

  private:
    int32_t flags_, state_;
    std::shared_ptr<host::IParameter> parameter_;
};

class WalkGroup : public host::IGroup {
  public:
    std::string className() const override { return "Group"; }
    std::string name() const override { return "G"; }
    std::shared_ptr<host::Collection<host::IValueObject>> valueObjects() const override { return values; }
    std::shared_ptr<NamedCollection<host::IValueObject>> values =
        std::make_shared<NamedCollection<host::IValueObject>>();
};

class WalkModule : public host::IModule {
  public:
    explicit WalkModule(std::string name) : name_(std::move(name)) {}
    std::string className() const override { return "Module"; }
    std::string name() const override { return name_; }
    std::shared_ptr<host::Collection<host::IGroup>> groups() const override { return groups_; }
    std::shared_ptr<NamedCollection<host::IGroup>> groups_ =
        std::make_shared<NamedCollection<host::IGroup>>();

  private:
    std::string name_;
};

class WalkDescription : public host::IDeviceDescription {
  public:
    std::string className() const override { return "DeviceDescription"; }
    std::shared_ptr<host::Collection<host::IModule>> modules() const override { return modules_; }
    void notifyEnvironmentChanged() override {}
    host::Variant item(const std::string&) const override { return {}; }
    std::shared_ptr<host::ISettings> settings() const override { return nullptr; }
    std::shared_ptr<host::IEnvironment> environment() const override { return nullptr; }
    std::shared_ptr<host::IDataModel> createModel() override { return nullptr; }
    std::shared_ptr<NamedCollection<host::IModule>> modules_ =
        std::make_shared<NamedCollection<host::IModule>>();
};

class WalkModel : public host::IDataModel {
  public:
    std::string className() const override { return "DataModel"; }
    std::string displayName() const override { return "Walk"; }
    std::shared_ptr<host::Collection<host::IViewModule>> viewModules() const override { return nullptr; }
    void registerView(const std::weak_ptr<host::Object>&) override {}
    std::shared_ptr<host::IBase_CallbackModule> exchangeCallback(
        const std::shared_ptr<host::IBase_CallbackModule>& callback) override {
        return callback;
    }
    std::shared_ptr<host::IDeviceDescription> description() const override { return description_; }
    std::shared_ptr<host::ISettings> settings() const override { return nullptr; }

    // Adds a module of groups, each a list of (flags, state) value objects named <module>.<n>.
    void addModule(const std::string& name,
                   const std::vector<std::vector<std::pair<int32_t, int32_t>>>& groups) {
        auto module = std::make_shared<WalkModule>(name);
        int n = 0;
        for (const auto& values : groups) {
            auto group = std::make_shared<WalkGroup>();
            for (const auto& [flags, state] : values) {
                const std::string parameter = name + "." + std::to_string(++n);
                group->values->add(parameter,
                                   std::make_shared<WalkValue>(
                                       flags, state, std::make_shared<WalkParameter>(parameter, record)));
            }
            module->groups_->add("G" + std::to_string(module->groups_->count() + 1), group);
        }
        description_->modules_->add(name, module);
    }

    Record record;

  private:
    std::shared_ptr<WalkDescription> description_ = std::make_shared<WalkDescription>();
};

std::shared_ptr<WalkModel> twoModules() {
    auto model = std::make_shared<WalkModel>();
    // Flags 0 and negative flags never match the mask -1; states other than 2 and 3 are skipped.
    model->addModule("A", {{{1, 2}, {0, 2}, {-4, 3}, {6, 3}}, {{1, 1}, {0x40000000, 2}, {1, 4}}});
    model->addModule("B", {{{2, 3}}, {}, {{1, 0}, {8, 2}}});
    return model;
}

TEST(ToolbarParameterWalk, AllModulesAreWalkedInOrderWithTheMatchingParametersOnly) {
    auto model = twoModules();
    WalkModelParameters(model, "$$MODULE", -1);
    EXPECT_EQ(model->record.refreshed, (std::vector<std::string>{"A.1", "A.4", "A.6", "B.1", "B.3"}));
}

TEST(ToolbarParameterWalk, NamedModuleIsTheOnlyOneWalked) {
    auto model = twoModules();
    WalkModelParameters(model, "B", -1);
    EXPECT_EQ(model->record.refreshed, (std::vector<std::string>{"B.1", "B.3"}));
}

// The mask and the flag word must share a bit, and the shared bits must be positive as a signed
// number.
TEST(ToolbarParameterWalk, MaskSelectsByCommonBits) {
    auto model = std::make_shared<WalkModel>();
    model->addModule("M", {{{1, 2}, {2, 2}, {3, 3}, {static_cast<int32_t>(0x80000001u), 2}}});
    WalkModelParameters(model, "M", 2);
    EXPECT_EQ(model->record.refreshed, (std::vector<std::string>{"M.2", "M.3"}));
    model->record.refreshed.clear();
    WalkModelParameters(model, "M", static_cast<int32_t>(0x80000000u));
    EXPECT_TRUE(model->record.refreshed.empty());  // the shared bit makes a negative number
}

TEST(ToolbarParameterWalk, UnknownModuleOrNoModelFailsTowardsTheCaller) {
    auto model = twoModules();
    try {
        WalkModelParameters(model, "C", -1);
        ADD_FAILURE() << "an unknown module was walked";
    } catch (const platform::RuntimeError& e) {
        EXPECT_EQ(e.number(), platform::kItemNotFound);
    }
    EXPECT_TRUE(model->record.refreshed.empty());
    EXPECT_THROW(WalkModelParameters(nullptr, "$$MODULE", -1), platform::RuntimeError);
}

}  // namespace
}  // namespace qx::support::test
