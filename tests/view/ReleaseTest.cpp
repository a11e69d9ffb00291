// The frame asks the view to let go of its objects: at once when nothing is under way, or later,
// when the device is disconnected, with exactly one notice to the frame's receiver.
#include "frame/FrameParameter.h"
#include "frame/FrameSettings.h"
#include "view/ViewStand.h"

namespace qx::view::test {
namespace {

using frame::InitTarget;

class ReleaseTest : public ViewStandTest {};

std::vector<std::string> releasedItemNames(const frame::SimDevice& device) {
    std::vector<std::string> names;
    for (const auto& [item, code] : device.releasedItems()) {
        auto* deviceItem = dynamic_cast<frame::FrameDeviceItem*>(item.get());
        names.push_back((deviceItem ? deviceItem->parameterName() : "<other>") + "/" + std::to_string(code));
    }
    return names;
}

void enableTimers(QX_FlowWiz& v) {
    for (auto* timer : {v.Timer1.get(), v.TimerCnt.get(), v.TimerState.get()}) timer->setEnabled(true);
}

void expectTimersStopped(const QX_FlowWiz& v) {
    EXPECT_FALSE(v.Timer1->enabled());
    EXPECT_FALSE(v.TimerCnt->enabled());
    EXPECT_FALSE(v.TimerState->enabled());
}

// Everything the release drops, and the receiver kept only while a release is pending.
void expectReleased(const QX_FlowWiz& v) {
    EXPECT_EQ(v.mModel, nullptr);
    EXPECT_EQ(v.mFrameModel, nullptr);
    EXPECT_EQ(v.mSpecComm, nullptr);
    EXPECT_EQ(v.mDevice, nullptr);
    EXPECT_EQ(v.mMessageHandler, nullptr);
    EXPECT_EQ(v.mToolbar, nullptr);
    EXPECT_EQ(v.mRes, nullptr);
    EXPECT_EQ(v.mFlowChart, nullptr);
    EXPECT_EQ(v.mTempChart, nullptr);
    EXPECT_FALSE(v.mSliderFL);
    EXPECT_FALSE(v.mSliderTP);
    EXPECT_EQ(v.mUuids->Count(), 0);
    EXPECT_EQ(v.mUuids->Callback(), nullptr);
    expectTimersStopped(v);
}

TEST_F(ReleaseTest, BeforeInitDropsTheViewsOwnObjectsAndAnswersFalse) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.registerCallback();
        enableTimers(v);
        v.mUuids->Add("orphan");
        EXPECT_FALSE(f.release());
        EXPECT_EQ(messages().back(), "IQX_ActiveXConfig2_PrepareToRelease():");
        expectReleased(v);
        EXPECT_FALSE(v.mReleasePending);
        EXPECT_EQ(v.mReceiver, nullptr);
        EXPECT_EQ(f.receiver()->releasedCount(), 0);
        // The child controls stay until the container destroys the view.
        EXPECT_NE(v.Controls().find("PC1"), nullptr);
        EXPECT_NE(v.Controls().find("mSliderFL"), nullptr);
    });
}

// The device items of the written parameters go back to the device with code 2, in a fixed
// order; parameters the binding did not find, and a switch point without value, are skipped.
TEST_F(ReleaseTest, IdleReleaseGivesTheWrittenItemsBackAndDropsEverything) {
    struct Case {
        const char* label;
        frame::DeviceOptions options;
        std::vector<std::string> items;
    };
    frame::DeviceOptions other;
    other.category = frame::DeviceOptions::Category::Other;
    other.swPoint = frame::Presence::NoValue;
    frame::DeviceOptions sparse;
    sparse.teachPresent = false;
    sparse.quickMode = frame::Presence::Missing;
    const std::vector<Case> cases = {
        {"full device",
         {},
         {"TEACH_MAX_SAVE/2", "TEACH_MIN_SAVE/2", "SWPOINT/2", "TEACHDO_SWPOINT/2", "TEACHDO_QUICK_MODE/2"}},
        {"other category, switch point without value",
         other,
         {"TEACH_MAX/2", "TEACH_MIN/2", "SWPOINT/2", "TEACHDO_QUICK_MODE/2"}},
        {"no teach limits, no quick mode", sparse, {"SWPOINT/2", "TEACHDO_SWPOINT/2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        inFreshThread([&] {
            SCOPED_TRACE(c.label);  // traces are kept per thread
            BoundStand s(c.options);
            auto& v = *s.view;
            auto appliedSettings = std::dynamic_pointer_cast<frame::FrameSettings>(v.mModel->settings());
            ASSERT_NE(appliedSettings, nullptr);
            auto comm = s.f.communication();
            v.lookUpText("IDS_TMax");
            enableTimers(v);
            EXPECT_FALSE(s.f.release());
            EXPECT_EQ(releasedItemNames(*s.f.device()), c.items);
            expectReleased(v);
            EXPECT_EQ(v.mReceiver, nullptr);
            EXPECT_EQ(s.f.receiver()->releasedCount(), 0);
            EXPECT_EQ(appliedSettings->resetCount(), 1);  // the applied copy forgets its own values
            // The communication object was released: it no longer takes a connection request.
            EXPECT_FALSE(comm->Connecting(true));
        });
    }
}

TEST_F(ReleaseTest, CombinedModelsKeepTheirValues) {
    platform::registryStore().setDword(kControlsKey, "CombineModels", 42);
    inFreshThread([&] {
        BoundStand s;
        ASSERT_EQ(s.view->mModel, s.f.model());
        EXPECT_FALSE(s.f.release());
        EXPECT_EQ(s.f.model()->frameDescription()->frameSettings()->resetCount(), 0);
    });
}

// In a module of its own the view tells its context that it leaves; a context that cannot be
// found does not stop the release.
TEST_F(ReleaseTest, ReleaseInAModuleTellsTheContextAndToleratesAMissingOne) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device, "TEACH_FMX", "MONITOR");
        auto copy = std::dynamic_pointer_cast<frame::FrameDataModel>(v.mModel);
        ASSERT_NE(copy, nullptr);
        const int before = copy->context("TEACH_FMX", "MONITOR")->notices();
        EXPECT_FALSE(f.release());
        EXPECT_EQ(copy->context("TEACH_FMX", "MONITOR")->notices(), before + 1);
        EXPECT_EQ(copy->context("TEACH_FMX", "MONITOR")->lastNotifier().get(),
                  static_cast<host::Object*>(&v));
        EXPECT_EQ(v.mModel, nullptr);
    });
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device, "TEACH_FMX", "MONITOR");
        v.mContext = "NOWHERE";
        EXPECT_FALSE(f.release());
        EXPECT_EQ(v.mModel, nullptr);
        EXPECT_EQ(v.mSpecComm, nullptr);
    });
}

// One waiting command is work still pending: the view stops its timers, keeps every frame
// object and answers true, as often as it is asked.
TEST_F(ReleaseTest, CommandWaitingInTheQueueDefersTheRelease) {
    inFreshThread([&] {
        BoundStand s;
        auto& v = *s.view;
        v.mFifo->Add("ReadOnce");
        enableTimers(v);
        EXPECT_TRUE(s.f.release());
        expectTimersStopped(v);
        EXPECT_TRUE(v.mReleasePending);
        EXPECT_EQ(v.mFrameModel, s.f.model());
        EXPECT_NE(v.mModel, nullptr);
        EXPECT_NE(v.mSpecComm, nullptr);
        EXPECT_EQ(v.mMessageHandler, s.f.messageHandler());
        EXPECT_EQ(v.mReceiver, s.f.receiver());
        EXPECT_TRUE(v.mFlowChart && v.mSliderFL);
        EXPECT_EQ(releasedItemNames(*s.f.device()).size(), 5u);  // the items go back already
        EXPECT_TRUE(s.f.release());
        EXPECT_EQ(releasedItemNames(*s.f.device()).size(), 10u);
        EXPECT_EQ(s.f.receiver()->releasedCount(), 0);
    });
}

// Connected and idle: the view asks to disconnect and finishes when the device is gone.
TEST_F(ReleaseTest, ConnectedIdleReleaseFinishesOnceAfterTheDisconnection) {
    inFreshThread([&] {
        frame::DeviceOptions options;
        options.localComm = 4;
        BoundStand s(options);
        auto& v = *s.view;
        s.startPolling();
        s.f.press("Poll");  // released with nothing outstanding: the connection stays
        ASSERT_TRUE(s.f.communication()->IsConnected());
        std::vector<std::string> statuses;
        s.f.link().onConnection = [&](const std::string& status) { statuses.push_back(status); };
        enableTimers(v);
        EXPECT_TRUE(s.f.release());
        expectTimersStopped(v);
        EXPECT_TRUE(v.mReleasePending);
        EXPECT_NE(v.mModel, nullptr);
        s.f.wait(50);
        EXPECT_EQ(statuses, std::vector<std::string>{"DISCONNECTED"});
        expectReleased(v);
        EXPECT_EQ(s.f.receiver()->releasedCount(), 1);
        EXPECT_EQ(v.mReceiver, nullptr);
        EXPECT_TRUE(v.mReleasePending);  // never cleared
        EXPECT_EQ(environmentValue(*s.f.model(), "LOCAL_COMM").toInt32(), 4);
        s.f.wait(10'000);
        EXPECT_EQ(s.f.receiver()->releasedCount(), 1);
    });
}

// A device that refuses to disconnect is logged and released as if it were disconnected.
TEST_F(ReleaseTest, RefusedDisconnectionIsLoggedAndTheReleaseGoesOn) {
    inFreshThread([&] {
        BoundStand s;
        auto& v = *s.view;
        s.startPolling();
        s.f.press("Poll");
        auto guarded = std::make_shared<GuardedCommunication>(v.mSpecComm);
        guarded->refuseDisconnect = true;
        v.mSpecComm = guarded;
        clearLog();
        EXPECT_FALSE(s.f.release());
        EXPECT_EQ(messages(), (std::vector<std::string>{"IQX_ActiveXConfig2_PrepareToRelease():",
                                                        "IQX_ActiveXConfig2_PrepareToRelease(): PROBLEM: "
                                                        "mSpecComm.Connecting(False) returned False!"}));
        EXPECT_EQ(guarded->disconnectRequests, 1);
        EXPECT_EQ(guarded->releases, 1);
        expectReleased(v);
        EXPECT_FALSE(v.mReleasePending);
        EXPECT_EQ(v.mReceiver, nullptr);
        s.f.wait(1000);
        EXPECT_EQ(s.f.receiver()->releasedCount(), 0);
    });
}

// Reads in flight: the last answer disconnects, the disconnection finishes the release, and
// the shared job counter is back where it was.
TEST_F(ReleaseTest, ReadsInFlightFinishTheReleaseAfterTheLastAnswer) {
    inFreshThread([&] {
        frame::DeviceOptions options;
        options.localComm = 4;
        BoundStand s(options);
        auto& v = *s.view;
        s.startPolling();
        s.f.link().latencyMs = 300;
        s.f.wait(1000);  // the next tick sends a read
        ASSERT_EQ(v.mUuids->Count(), 1);
        EXPECT_EQ(environmentValue(*s.f.model(), "LOCAL_COMM").toInt32(), 5);
        EXPECT_TRUE(s.f.release());
        EXPECT_TRUE(v.mReleasePending);
        s.f.wait(300);  // the answer: nothing outstanding, the view disconnects
        EXPECT_EQ(v.mUuids->Count(), 0);
        EXPECT_FALSE(v.Timer1->enabled());
        EXPECT_NE(v.mModel, nullptr);
        EXPECT_EQ(s.f.receiver()->releasedCount(), 0);
        s.f.wait(300);
        expectReleased(v);
        EXPECT_EQ(s.f.receiver()->releasedCount(), 1);
        EXPECT_EQ(environmentValue(*s.f.model(), "LOCAL_COMM").toInt32(), 4);
        s.f.wait(5000);
        EXPECT_EQ(s.f.receiver()->releasedCount(), 1);
    });
}

// The device drops the connection while a read is pending: the abort finishes the release.
TEST_F(ReleaseTest, AbortWithReadsInFlightFinishesTheRelease) {
    inFreshThread([&] {
        frame::DeviceOptions options;
        options.localComm = 2;
        BoundStand s(options);
        auto& v = *s.view;
        s.startPolling();
        s.f.link().latencyMs = 5000;
        s.f.wait(1000);
        ASSERT_EQ(v.mUuids->Count(), 1);
        EXPECT_TRUE(s.f.release());
        s.f.link().abort();
        s.f.wait(0);
        expectReleased(v);
        EXPECT_EQ(s.f.receiver()->releasedCount(), 1);
        EXPECT_EQ(environmentValue(*s.f.model(), "LOCAL_COMM").toInt32(), 2);
        s.f.wait(10'000);
        EXPECT_EQ(s.f.receiver()->releasedCount(), 1);
    });
}

// A teach-in under way is ended on the device before the view lets go.
TEST_F(ReleaseTest, TeachInUnderWayIsEndedBeforeTheRelease) {
    inFreshThread([&] {
        BoundStand s;
        auto& v = *s.view;
        s.startPolling();
        s.f.press("Poll");
        std::vector<std::string> writes;
        s.f.link().onWrite = [&](const std::vector<frame::WrittenValue>& values) {
            for (const auto& w : values) writes.push_back(w.name + "=" + w.text.value_or("<none>"));
        };
        v.mTeachActive = true;
        v.mQuickTeachActive = true;
        EXPECT_TRUE(s.f.release());
        EXPECT_FALSE(v.mTeachActive);
        EXPECT_FALSE(v.mQuickTeachActive);
        EXPECT_EQ(v.mUuids->Count(), 1);
        s.f.wait(50);  // the write is answered, then the view disconnects
        EXPECT_EQ(writes, std::vector<std::string>{"QUICK_2=5"});
        s.f.wait(50);
        expectReleased(v);
        EXPECT_EQ(s.f.receiver()->releasedCount(), 1);
    });
}

// With no receiver the notice fails and is logged, but the release itself is complete.
TEST_F(ReleaseTest, DeferredReleaseWithoutReceiverFailsAtTheNoticeOnly) {
    inFreshThread([&] {
        BoundStand s;
        auto& v = *s.view;
        v.IQX_ActiveXApp_RegisterCallback(nullptr);
        s.startPolling();
        s.f.press("Poll");
        EXPECT_TRUE(s.f.release());
        s.f.wait(50);
        expectReleased(v);
        EXPECT_EQ(logged(onError("IBase_Communication_OnConnectStatusChanged", platform::kObjectNotSet)), 1);
        EXPECT_EQ(s.f.receiver()->releasedCount(), 0);
    });
}

// A release while connecting waits for the outcome; a failed connection tells the user and then
// finishes the release. Without a message handler the failure branch ends before the release.
TEST_F(ReleaseTest, ConnectFailedAfterADeferredRelease) {
    for (bool handler : {true, false}) {
        SCOPED_TRACE(handler ? "with handler" : "without handler");
        clearLog();
        inFreshThread([&] {
            SCOPED_TRACE(handler ? "with handler" : "without handler");  // traces are kept per thread
            frame::DeviceOptions options;
            options.language = 0;
            frame::StandFrame f;
            f.setOptions(options);
            auto& v = f.create();
            f.init(InitTarget::Device, std::nullopt, std::nullopt, handler);
            f.registerCallback();
            v.mPollMode = 2;
            f.setToolbar();
            f.link().connectOutcome = frame::SimLink::ConnectOutcome::Fail;
            f.press("Poll");
            ASSERT_EQ(v.mFifo->Count(), 1);
            EXPECT_TRUE(f.release());
            f.wait(50);
            EXPECT_EQ(v.mFifo->Count(), 0);
            if (handler) {
                ASSERT_EQ(f.messageHandler()->shown().size(), 1u);
                EXPECT_EQ(f.messageHandler()->shown()[0].text, "IDS_VERBINDUNG_KONNTE_NICHT_AUFGEBAUT_");
                expectReleased(v);
                EXPECT_EQ(f.receiver()->releasedCount(), 1);
            } else {
                EXPECT_EQ(
                    logged(onError("IBase_Communication_OnConnectStatusChanged", platform::kObjectNotSet)),
                    1);
                EXPECT_NE(v.mModel, nullptr);
                EXPECT_NE(v.mSpecComm, nullptr);
                EXPECT_EQ(f.receiver()->releasedCount(), 0);
            }
        });
    }
}

TEST_F(ReleaseTest, ResourceObjectIsMadeAgainAfterTheRelease) {
    inFreshThread([&] {
        BoundStand s;
        auto& v = *s.view;
        v.lookUpText("IDS_TMax");
        auto first = v.mRes;
        ASSERT_NE(first, nullptr);
        EXPECT_FALSE(s.f.release());
        EXPECT_EQ(v.mRes, nullptr);
        v.lookUpText("IDS_TMax");
        EXPECT_NE(v.mRes, nullptr);
        EXPECT_NE(v.mRes, first);
    });
}

}  // namespace
}  // namespace qx::view::test
