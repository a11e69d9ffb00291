#include "device/CFilterCallbackModule.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/RuntimeError.h"

namespace qx::device {
namespace {

using ::testing::_;
using ::testing::Truly;

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

void callAll(CFilterCallbackModule& filter, const host::ObjectPtr& m) {
    filter.IBase_CallbackModule_OnLanguageChanged(m);
    filter.IBase_CallbackModule_OnUnload(m);
    filter.IBase_CallbackModule_OnEnvironmentChanged(m, "STATE", platform::Variant(6));
}

TEST(CFilterCallbackModule, WithoutTargetEveryCallbackIsDropped) {
    CFilterCallbackModule filter;
    EXPECT_NO_THROW(callAll(filter, std::make_shared<Model>()));
    EXPECT_NO_THROW(callAll(filter, nullptr));
}

TEST(CFilterCallbackModule, ForwardsEachCallbackWithItsArguments) {
    auto target = std::make_shared<testing::StrictMock<MockTarget>>();
    CFilterCallbackModule filter;
    filter.AttachTarget(target);
    host::ObjectPtr m = std::make_shared<Model>();

    testing::InSequence order;
    EXPECT_CALL(*target, IBase_CallbackModule_OnLanguageChanged(m));
    EXPECT_CALL(*target, IBase_CallbackModule_OnUnload(m));
    EXPECT_CALL(*target, IBase_CallbackModule_OnEnvironmentChanged(
                             m, "GLB_ENV_CHANGED", Truly([](const platform::Variant& v) {
                                 return v.textIf() && *v.textIf() == "LOCAL_COMM";
                             })));
    filter.IBase_CallbackModule_OnLanguageChanged(m);
    filter.IBase_CallbackModule_OnUnload(m);
    filter.IBase_CallbackModule_OnEnvironmentChanged(m, "GLB_ENV_CHANGED", platform::Variant("LOCAL_COMM"));
}

TEST(CFilterCallbackModule, DetachedFilterDropsCallbacks) {
    auto target = std::make_shared<testing::StrictMock<MockTarget>>();
    CFilterCallbackModule filter;
    filter.AttachTarget(target);
    filter.DetachTarget();
    callAll(filter, std::make_shared<Model>());  // a strict mock fails on any call
}

TEST(CFilterCallbackModule, DoesNotKeepItsTargetAlive) {
    // The data model holds the filter; if the filter owned the view, neither would ever go away.
    auto target = std::make_shared<testing::StrictMock<MockTarget>>();
    std::weak_ptr<MockTarget> watch = target;
    CFilterCallbackModule filter;
    filter.AttachTarget(target);
    target.reset();
    EXPECT_TRUE(watch.expired());
    EXPECT_NO_THROW(callAll(filter, std::make_shared<Model>()));
}

TEST(CFilterCallbackModule, TargetFailureReachesTheCaller) {
    auto target = std::make_shared<MockTarget>();
    CFilterCallbackModule filter;
    filter.AttachTarget(target);
    EXPECT_CALL(*target, IBase_CallbackModule_OnEnvironmentChanged(_, _, _)).WillOnce([](auto&&...) {
        platform::raise(platform::kTypeMismatch);
    });
    EXPECT_CALL(*target, IBase_CallbackModule_OnUnload(_)).WillOnce([](auto&&...) {
        platform::raise(platform::kObjectNotSet);
    });

    try {
        filter.IBase_CallbackModule_OnEnvironmentChanged(nullptr, "STATE", platform::Variant(1));
        FAIL() << "the failure was swallowed";
    } catch (const platform::RuntimeError& e) {
        EXPECT_EQ(e.number(), platform::kTypeMismatch);
    }
    EXPECT_THROW(filter.IBase_CallbackModule_OnUnload(nullptr), platform::RuntimeError);
}

}  // namespace
}  // namespace qx::device
