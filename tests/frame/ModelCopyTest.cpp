// The frame's model and the view's applied copy: the copy's own values and their reset, linked
// environment values, and registrations that do not own what they register.
#include <gtest/gtest.h>

#include <vector>

#include "ModelTestSupport.h"

namespace qx::frame::test {
namespace {

std::shared_ptr<FrameDataModel> copyOf(const std::shared_ptr<FrameDataModel>& model) {
    auto copy = std::dynamic_pointer_cast<FrameDataModel>(model->description()->createModel());
    EXPECT_TRUE(copy);
    return copy;
}

TEST(ModelCopy, CopyStartsFromTheFrameModelsValuesAndKeepsItsOwn) {
    DeviceOptions options;
    options.language = 1031;
    options.swPoint = Presence::NoValue;
    auto frame = modelWith(options);
    findParameter(*frame, "SWPOINT")->setValueText("75");
    auto copy = copyOf(frame);
    ASSERT_NE(copy, frame);
    EXPECT_EQ(copy->settings()->language(), 1031);
    EXPECT_EQ(findParameter(*copy, "SWPOINT")->valueText(), "75");
    EXPECT_NE(findParameter(*copy, "TEACHDO_SWPOINT")->noValue(), 0);
    EXPECT_NE(findParameter(*copy, "SWPOINT"), findParameter(*frame, "SWPOINT"));

    findParameter(*copy, "SWPOINT")->setValueText("80");
    EXPECT_EQ(findParameter(*frame, "SWPOINT")->valueText(), "75");
    findParameter(*frame, "TEACH_MAX")->setValueText("900");
    EXPECT_EQ(findParameter(*copy, "TEACH_MAX")->valueText(), "800");
}

TEST(ModelCopy, ResetDiscardsTheCopysOwnValues) {
    auto frame = modelWith();
    findParameter(*frame, "SWPOINT")->setValueText("75");
    auto copy = copyOf(frame);
    findParameter(*copy, "SWPOINT")->setValueText("80");
    findParameter(*copy, "FLOWSP_RAW")->setDeviceValue(std::nullopt);
    copy->settings()->reset();
    EXPECT_EQ(findParameter(*copy, "SWPOINT")->valueText(), "75");
    EXPECT_EQ(findParameter(*copy, "FLOWSP_RAW")->valueText(), "450");
    EXPECT_EQ(copy->frameDescription()->frameSettings()->resetCount(), 1);
    EXPECT_EQ(findParameter(*frame, "SWPOINT")->valueText(), "75");
}

TEST(ModelCopy, LinkedEnvironmentsShareValuesBothWays) {
    DeviceOptions options;
    options.state = 4;
    options.localComm = 3;
    auto frame = modelWith(options);
    auto copy = copyOf(frame);
    auto frameEnv = frame->description()->environment();
    auto copyEnv = copy->description()->environment();
    EXPECT_TRUE(copyEnv->get("STATE").isEmpty());  // a copy starts with no values of its own
    copyEnv->put("STATE", 1);                      // the frame's value wins when they are linked
    copyEnv->put("SRC", "DEV");

    frameEnv->link(copyEnv);
    EXPECT_TRUE(copyEnv->get("STATE").equals(4));
    EXPECT_TRUE(copyEnv->get("LOCAL_COMM").equals(3));
    EXPECT_EQ(frameEnv->get("SRC").toText(), "DEV");
    copyEnv->put("LOCAL_COMM", 5);
    EXPECT_TRUE(frameEnv->get("LOCAL_COMM").equals(5));
    frameEnv->put("FUNCTION:X", true);
    EXPECT_TRUE(copyEnv->get("FUNCTION:X").toBool());

    // A second copy linked to the first shares with the frame's model as well.
    auto second = copyOf(frame);
    second->description()->environment()->link(copyEnv);
    second->description()->environment()->put("CONTEXT_COMM", "MONITOR");
    EXPECT_EQ(frameEnv->get("CONTEXT_COMM").toText(), "MONITOR");
    EXPECT_TRUE(second->description()->environment()->get("STATE").equals(4));

    // Linking again changes nothing.
    frameEnv->link(copyEnv);
    EXPECT_TRUE(copyEnv->get("LOCAL_COMM").equals(5));
}

class ForeignEnvironment : public host::IEnvironment {
  public:
    std::string className() const override { return "Foreign"; }
    void put(const std::string&, const host::Variant&) override {}
    host::Variant get(const std::string&) const override { return {}; }
    void link(const std::shared_ptr<host::IEnvironment>&) override {}
};

TEST(ModelCopy, LinkingAForeignOrNoEnvironmentFails) {
    auto env = modelWith()->description()->environment();
    EXPECT_EQ(errorOf([&] { env->link(std::make_shared<ForeignEnvironment>()); }), platform::kTypeMismatch);
    EXPECT_EQ(errorOf([&] { env->link(nullptr); }), platform::kObjectNotSet);
}

struct RecordingCallback : host::IBase_CallbackModule {
    void IBase_CallbackModule_OnLanguageChanged(const host::ObjectPtr&) override {}
    void IBase_CallbackModule_OnUnload(const host::ObjectPtr&) override {}
    void IBase_CallbackModule_OnEnvironmentChanged(const host::ObjectPtr& m, const std::string& key,
                                                   const host::Variant& value) override {
        calls.push_back({m, key, value.toText()});
    }
    struct Call {
        host::ObjectPtr model;
        std::string key;
        std::string name;
    };
    std::vector<Call> calls;
};

TEST(ModelCopy, RegistrationsDoNotOwnWhatTheyRegister) {
    auto model = modelWith();
    auto view = std::make_shared<FrameDeviceItem>("a view stand-in");
    model->registerView(view);
    EXPECT_EQ(model->registeredView(), view);
    std::weak_ptr<host::Object> gone = view;
    view.reset();
    EXPECT_TRUE(gone.expired());
    EXPECT_FALSE(model->registeredView());

    auto callback = std::make_shared<RecordingCallback>();
    EXPECT_EQ(model->exchangeCallback(callback), callback);
    EXPECT_EQ(model->exchangeCallback(callback), callback);  // registered once
    EXPECT_EQ(callback.use_count(), 1);
    model->announceEnvironmentChange("FUNCTION:X");
    ASSERT_EQ(callback->calls.size(), 1u);
    EXPECT_EQ(callback->calls[0].model, model);
    EXPECT_EQ(callback->calls[0].key, "GLB_ENV_CHANGED");
    EXPECT_EQ(callback->calls[0].name, "FUNCTION:X");

    callback.reset();
    EXPECT_TRUE(model->callbacks().empty());
    model->announceEnvironmentChange("STATE");  // nobody left to tell
}

TEST(ModelCopy, EnvironmentNoticesAreCounted) {
    auto model = modelWith();
    model->description()->notifyEnvironmentChanged();
    model->description()->notifyEnvironmentChanged();
    EXPECT_EQ(model->frameDescription()->environmentNotices(), 2);
    EXPECT_EQ(copyOf(model)->frameDescription()->environmentNotices(), 0);
}

}  // namespace
}  // namespace qx::frame::test
