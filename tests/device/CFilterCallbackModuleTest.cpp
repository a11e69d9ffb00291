#include "device/CFilterCallbackModule.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/RuntimeError.h"

namespace qx::device {
namespace {

struct Model : host::Object {
    std::string className() const override { return "Model"; }
};

class MockTarget : public host::IBase_CallbackModule {
  public:
    MOCK_METHOD(void, IBase_CallbackModule_OnLanguageChanged, (const host::ObjectPtr&), (override));
    MOCK_METHOD(void, IBase_CallbackModule_OnUnload, (const host::ObjectPtr&), (override));
    MOCK_METHOD(void, IBase_CallbackModule_OnEnvironmentChanged,
                (const host::ObjectPtr&, const std::string&, const platform::Variant&), (override));
};

TEST(CFilterCallbackModule, DropsEveryCallbackWithoutALiveTarget) {
    // Never attached, detached, and a target that went away: the filter only watches its target,
    // since the data model holds the filter and the view must still be able to go away.
    for (int setup = 0; setup < 3; ++setup) {
        SCOPED_TRACE(setup);
        auto target = std::make_shared<testing::StrictMock<MockTarget>>();
        std::weak_ptr<MockTarget> watch = target;
        CFilterCallbackModule filter;
        if (setup > 0) filter.AttachTarget(target);
        if (setup == 1) filter.DetachTarget();
        if (setup == 2) target.reset();
        EXPECT_EQ(watch.expired(), setup == 2);
        filter.IBase_CallbackModule_OnLanguageChanged(nullptr);  // a strict mock fails on any call
        filter.IBase_CallbackModule_OnUnload(nullptr);
        filter.IBase_CallbackModule_OnEnvironmentChanged(nullptr, "STATE", platform::Variant(6));
    }
}

TEST(CFilterCallbackModule, ForwardsEachCallbackWithItsArguments) {
    auto target = std::make_shared<testing::StrictMock<MockTarget>>();
    CFilterCallbackModule filter;
    filter.AttachTarget(target);
    host::ObjectPtr m = std::make_shared<Model>();

    testing::InSequence order;
    EXPECT_CALL(*target, IBase_CallbackModule_OnLanguageChanged(m));
    EXPECT_CALL(*target, IBase_CallbackModule_OnUnload(m));
    EXPECT_CALL(*target,
                IBase_CallbackModule_OnEnvironmentChanged(
                    m, "GLB_ENV_CHANGED", testing::Property(&platform::Variant::toText, "LOCAL_COMM")));
    filter.IBase_CallbackModule_OnLanguageChanged(m);
    filter.IBase_CallbackModule_OnUnload(m);
    filter.IBase_CallbackModule_OnEnvironmentChanged(m, "GLB_ENV_CHANGED", platform::Variant("LOCAL_COMM"));
}

TEST(CFilterCallbackModule, TargetFailureReachesTheCaller) {
    auto target = std::make_shared<MockTarget>();
    CFilterCallbackModule filter;
    filter.AttachTarget(target);
    EXPECT_CALL(*target, IBase_CallbackModule_OnEnvironmentChanged(testing::_, testing::_, testing::_))
        .WillOnce([](auto&&...) { platform::raise(platform::kTypeMismatch); });
    EXPECT_THROW(filter.IBase_CallbackModule_OnEnvironmentChanged(nullptr, "STATE", platform::Variant(1)),
                 platform::RuntimeError);
}

}  // namespace
}  // namespace qx::device
