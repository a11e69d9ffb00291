// The frame asks the view to let go of its objects: at once when nothing is under way, or later,
// when the device is disconnected. The deferred releases that end well (connected, reads in
// flight, abort, teach-in, failed connection) are the console scenarios'.
#include "frame/FrameParameter.h"
#include "frame/FrameSettings.h"
#include "view/ViewChildren.h"
#include "view/ViewStand.h"

namespace qx::view::test {
namespace {

class ReleaseTest : public ViewTest {};

std::vector<std::string> releasedItemNames(const frame::SimDevice& device) {
    std::vector<std::string> names;
    for (const auto& [item, code] : device.releasedItems())
        names.push_back(dynamic_cast<frame::FrameDeviceItem&>(*item).parameterName() + "/" +
                        std::to_string(code));
    return names;
}

void setTimers(QX_FlowWiz& v, bool enabled) {
    for (auto* timer :
         {childTimer(v, "Timer1").get(), childTimer(v, "TimerCnt").get(), childTimer(v, "TimerState").get()})
        timer->setEnabled(enabled);
    childLamps(v)->SetLED(3, 255, enabled);  // a blinking lamp runs the lamp column's own timer
}
// A timer still running after the release keeps the released view busy for nothing.
bool anyTimer(const QX_FlowWiz& v) {
    return childTimer(v, "Timer1")->enabled() || childTimer(v, "TimerCnt")->enabled() ||
           childTimer(v, "TimerState")->enabled() || childLamps(v)->blinkTimer().enabled();
}

// Everything the release drops; the receiver is kept only while a release is pending.
void expectReleased(const QX_FlowWiz& v) {
    EXPECT_FALSE(v.frame().mModel || v.frame().mFrameModel || v.frame().mSpecComm || v.frame().mDevice ||
                 v.frame().mMessageHandler || v.frame().mToolbar || v.frame().mRes);
    EXPECT_FALSE(v.trend().flow.object || v.trend().temp.object || v.frame().mSliderFL ||
                 v.frame().mSliderTP);
    EXPECT_EQ(v.jobs().pending()->Count(), 0);
    EXPECT_EQ(v.jobs().pending()->Callback(), nullptr);
    EXPECT_FALSE(anyTimer(v));
    EXPECT_EQ(v.frame().mReceiver != nullptr, v.frame().mReleasePending);
}

TEST_F(ReleaseTest, BeforeInitDropsTheViewsOwnObjectsAndAnswersFalse) {
    frame::StandFrame f;
    auto& v = f.create();
    f.registerCallback();
    setTimers(v, true);
    ViewTestSeam::jobs(v).track("orphan");
    EXPECT_FALSE(f.release());
    EXPECT_EQ(messages().back(), "IQX_ActiveXConfig2_PrepareToRelease():");
    expectReleased(v);
    EXPECT_NE(v.Controls().find("mSliderFL"), nullptr);  // the controls stay until destruction
}

// The device items of the written parameters go back to the device with code 2, in a fixed
// order; parameters the binding did not find, and a switch point without value, are skipped.
// The applied copy forgets its own values unless the models are combined.
TEST_F(ReleaseTest, IdleReleaseGivesTheWrittenItemsBackAndDropsEverything) {
    struct Case {
        const char* label;
        std::function<void(DeviceOptions&)> options;
        bool combine;
        std::vector<std::string> items;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"full device", [](auto&) {}, false,
         {"TEACH_MAX_SAVE/2", "TEACH_MIN_SAVE/2", "SWPOINT/2", "TEACHDO_SWPOINT/2", "TEACHDO_QUICK_MODE/2"}},
        {"other category, switch point without value",
         [](auto& o) { o.category = DeviceOptions::Category::Other, o.swPoint = Presence::NoValue; }, false,
         {"TEACH_MAX/2", "TEACH_MIN/2", "SWPOINT/2", "TEACHDO_QUICK_MODE/2"}},
        {"no teach limits, no quick mode, combined models",
         [](auto& o) { o.teachPresent = false, o.quickMode = Presence::Missing; }, true,
         {"SWPOINT/2", "TEACHDO_SWPOINT/2"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        if (c.combine) platform::registryStore().setDword(kControlsKey, "CombineModels", 42);
        inFreshThread([&] {
            SCOPED_TRACE(c.label);
            BoundStand s(with(c.options));
            auto& v = *s.view;
            auto settings = std::dynamic_pointer_cast<frame::FrameSettings>(v.frame().mModel->settings());
            ASSERT_EQ(v.frame().mModel == s.f.model(), c.combine);
            auto comm = s.f.communication();
            ViewTestSeam::lookUpText(v, "IDS_TMax");
            setTimers(v, true);
            EXPECT_FALSE(s.f.release());
            EXPECT_EQ(releasedItemNames(*s.f.device()), c.items);
            expectReleased(v);
            EXPECT_EQ(settings->resetCount(), c.combine ? 0 : 1);
            EXPECT_FALSE(comm->Connecting(true));  // released: it takes no more requests
        });
    }
}

// In a module of its own the view tells its context that it leaves; a context that cannot be
// found does not stop the release.
TEST_F(ReleaseTest, ReleaseInAModuleTellsTheContextAndToleratesAMissingOne) {
    for (const char* context : {"MONITOR", "NOWHERE"}) {
        SCOPED_TRACE(context);
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device, "TEACH_FMX", "MONITOR");
        f.init(InitTarget::Device, "TEACH_FMX", context);  // the same model, bound in that context
        auto copy = std::dynamic_pointer_cast<frame::FrameDataModel>(v.frame().mModel);
        const int before = copy->context("TEACH_FMX", "MONITOR")->notices();
        EXPECT_FALSE(f.release());
        EXPECT_EQ(copy->context("TEACH_FMX", "MONITOR")->notices(),
                  before + (v.binding().mContext == "MONITOR"));
        EXPECT_EQ(v.frame().mModel, nullptr);
    }
}

// One waiting command is work still pending: the view stops its timers, keeps every frame
// object and answers true, as often as it is asked.
TEST_F(ReleaseTest, CommandWaitingInTheQueueDefersTheRelease) {
    BoundStand s;
    auto& v = *s.view;
    ViewTestSeam::jobs(v).queueRead();
    setTimers(v, true);
    EXPECT_TRUE(s.f.release());
    EXPECT_FALSE(anyTimer(v));
    EXPECT_TRUE(v.frame().mReleasePending);
    EXPECT_EQ(v.frame().mFrameModel, s.f.model());
    EXPECT_TRUE(v.frame().mModel && v.frame().mSpecComm && v.frame().mMessageHandler && v.frame().mReceiver &&
                v.trend().flow.object && v.frame().mSliderFL);
    EXPECT_EQ(releasedItemNames(*s.f.device()).size(), 5u);  // the items go back already
    EXPECT_TRUE(s.f.release());
    EXPECT_EQ(releasedItemNames(*s.f.device()).size(), 10u);
    EXPECT_EQ(s.f.receiver()->releasedCount(), 0);
}

// A device that refuses to disconnect is logged and released as if it were disconnected.
TEST_F(ReleaseTest, RefusedDisconnectionIsLoggedAndTheReleaseGoesOn) {
    BoundStand s;
    s.connectIdle();
    auto& v = *s.view;
    auto guarded = std::make_shared<GuardedCommunication>(v.frame().mSpecComm);
    guarded->refuseDisconnect = true;
    ViewTestSeam::frame(v).mSpecComm = guarded;
    clearLog();
    EXPECT_FALSE(s.f.release());
    EXPECT_EQ(messages(), (std::vector<std::string>{"IQX_ActiveXConfig2_PrepareToRelease():",
                                                    "IQX_ActiveXConfig2_PrepareToRelease(): PROBLEM: "
                                                    "mSpecComm.Connecting(False) returned False!"}));
    EXPECT_EQ(guarded->disconnectRequests, 1);
    EXPECT_EQ(guarded->releases, 1);
    EXPECT_FALSE(v.frame().mReleasePending);
    expectReleased(v);
    s.f.wait(1000);
    EXPECT_EQ(s.f.receiver()->releasedCount(), 0);
}

// Telling a receiver that is not there, or the user without a message handler, fails in the
// status handling and is logged; only the missing receiver leaves the release itself complete.
TEST_F(ReleaseTest, DeferredReleaseFailuresAreLogged) {
    for (bool handler : {true, false}) {
        clearLog();
        SCOPED_TRACE(handler ? "no receiver" : "connect failed, no handler");
        BoundStand s(neutral(), true, handler);
        if (handler) {
            s.view->IQX_ActiveXApp_RegisterCallback(nullptr);
            s.connectIdle();
        } else {
            s.f.link().connectOutcome = frame::SimLink::ConnectOutcome::Fail;
            s.f.press("Poll");
        }
        EXPECT_TRUE(s.f.release());
        s.f.wait(50);
        EXPECT_EQ(logged(onError("IBase_Communication_OnConnectStatusChanged", platform::kObjectNotSet)), 1);
        EXPECT_EQ(s.view->frame().mModel == nullptr, handler);
        EXPECT_EQ(s.f.receiver()->releasedCount(), 0);
    }
}

// A release during a teach-in sends the end-of-teach command and waits. When that leaves no
// answer and no status change to come (the answer came inside the sending call, or the line was
// already gone), the view finishes the release itself; a status change that comes anyway, or a
// second look at the same turn, never brings a second notice.
TEST_F(ReleaseTest, ReleaseDuringTeachInEndsWithOneNoticeWhenNothingIsLeftToCome) {
    struct Case {
        const char* label;
        std::function<void(BoundStand&)> beforeRelease, afterRelease;
    };
    auto teach = [](BoundStand& s) {
        childButton(*s.view, "ComTeachMaxMin")->click();
        s.f.wait(100);
    };
    auto earlyAnswer = [teach](BoundStand& s) {
        teach(s);
        s.f.link().early = true;
    };
    auto lineGone = [teach](BoundStand& s) {
        s.f.link().connectOutcome = frame::SimLink::ConnectOutcome::Refuse;
        s.f.link().abort();
        s.f.wait(100);
        teach(s);
    };
    auto nothing = [](BoundStand&) {};
    const std::vector<Case> cases = {
        {"answer inside the call", earlyAnswer, nothing},
        {"line already gone", lineGone, nothing},
        {"answer inside the call, then the device drops the line", earlyAnswer,
         [](BoundStand& s) { s.f.link().abort(); }},
        {"line already gone, then the user polls again", lineGone,
         [](BoundStand& s) {
             s.f.link().connectOutcome = frame::SimLink::ConnectOutcome::Ok;
             s.f.press("Poll");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        BoundStand s;
        s.startPolling();
        c.beforeRelease(s);
        EXPECT_TRUE(s.f.release());
        c.afterRelease(s);
        s.f.wait(60000);
        EXPECT_EQ(s.f.receiver()->releasedCount(), 1);
        EXPECT_EQ(s.f.model()->description()->environment()->get("LOCAL_COMM").toInt32(), 0);
        EXPECT_FALSE(s.f.communication()->IsConnected());
    }
}

}  // namespace
}  // namespace qx::view::test
