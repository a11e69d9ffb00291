// The view's side of the conversation with the device: when reads are sent, how job ids are
// tracked (answers that come before their id included), what each answer and connection status
// does, and what the user is told.
#include "view/ViewStand.h"

namespace qx::view::test {
namespace {

using frame::InitTarget;

class ConnectionTest : public ViewStandTest {};

frame::DeviceOptions neutral() {
    frame::DeviceOptions options;
    options.language = 0;
    return options;
}

int flowPoints(const QX_FlowWiz& v) {
    return v.mFlowChart->group(1).data().numPoints();
}

int pollValue(const frame::StandFrame& f) {
    return f.toolbar()->buttons().find("Poll")->value();
}

// Connected, "Poll" released again with nothing outstanding: the connection stays up and no
// timer sends anything, so a test sends what it needs.
struct IdleConnection : BoundStand {
    IdleConnection() : BoundStand(neutral()) {
        startPolling();
        f.press("Poll");
    }
};

TEST_F(ConnectionTest, PressWhileConnectedAndIdleReadsAtOnce) {
    inFreshThread([&] {
        IdleConnection s;
        auto& v = *s.view;
        ASSERT_TRUE(v.mSpecComm->IsConnected());
        EXPECT_FALSE(v.Timer1->enabled());
        s.f.link().latencyMs = 10'000;
        clearLog();
        s.f.press("Poll");
        EXPECT_EQ(v.mUuids->Count(), 1);
        EXPECT_EQ(v.mFifo->Count(), 0);
        EXPECT_TRUE(v.Timer1->enabled());
        EXPECT_EQ(v.mPollMode, 1);
        // Clicks, answers and statuses log nothing of their own when nothing fails.
        s.f.link().latencyMs = 50;
        s.f.wait(15'000);
        v.mSpecComm->Connecting(false);
        s.f.wait(100);
        EXPECT_FALSE(v.mSpecComm->IsConnected());
        EXPECT_EQ(messages(), std::vector<std::string>{});
    });
}

// The queued read follows the answer that leaves only itself outstanding.
TEST_F(ConnectionTest, PressWhileAReadIsOutstandingReadsRightAfterItsAnswer) {
    inFreshThread([&] {
        IdleConnection s;
        auto& v = *s.view;
        s.f.link().latencyMs = 500;
        v.ReadValuesOnce();
        s.f.press("Poll");
        EXPECT_EQ(v.mFifo->Count(), 1);
        EXPECT_EQ(v.mUuids->Count(), 1);
        const size_t readsBefore = s.reads.size();
        s.f.wait(500);
        EXPECT_EQ(s.reads.size(), readsBefore + 1);
        EXPECT_EQ(v.mFifo->Count(), 0);
        EXPECT_EQ(v.mUuids->Count(), 1);  // the follow-up read
        s.f.wait(500);
        EXPECT_EQ(s.reads.size(), readsBefore + 2);
    });
}

TEST_F(ConnectionTest, PressingAgainWhileConnectingQueuesOneRead) {
    inFreshThread([&] {
        BoundStand s(neutral());
        auto& v = *s.view;
        s.f.link().latencyMs = 500;
        s.f.press("Poll");
        s.f.press("Poll");  // released while connecting: nothing to disconnect yet
        EXPECT_EQ(v.mFifo->Count(), 1);
        EXPECT_FALSE(v.Timer1->enabled());
        s.f.press("Poll");
        EXPECT_EQ(v.mFifo->Count(), 1);
        s.f.wait(500);
        EXPECT_TRUE(v.mSpecComm->IsConnected());
        EXPECT_EQ(v.mFifo->Count(), 0);
        EXPECT_EQ(v.mUuids->Count(), 1);
        s.f.wait(499);
        EXPECT_EQ(s.reads.size(), 0u);
        s.f.wait(1);
        EXPECT_EQ(s.reads.size(), 1u);
    });
}

TEST_F(ConnectionTest, ConnectedWithNothingWaitingSendsNothing) {
    inFreshThread([&] {
        BoundStand s(neutral());
        auto& v = *s.view;
        v.mSpecComm->Connecting(true);
        s.f.wait(1000);
        EXPECT_TRUE(v.mSpecComm->IsConnected());
        EXPECT_EQ(v.mUuids->Count(), 0);
        EXPECT_TRUE(s.reads.empty());
        EXPECT_EQ(flowPoints(v), 0);
    });
}

// An answer that comes inside the queuing call waits in the early collection until its id is
// returned; then it is forgotten: it never counts as pending and updates nothing.
TEST_F(ConnectionTest, EarlyAnswersNeverCountAndUpdateNothing) {
    inFreshThread([&] {
        frame::DeviceOptions options = neutral();
        options.localComm = 7;
        BoundStand s(options);
        auto& v = *s.view;
        s.startPolling();
        s.f.press("Poll");
        const int points = flowPoints(v);
        std::vector<int32_t> counts;
        s.f.link().early = true;
        s.f.link().onRead = [&](size_t) { counts.push_back(v.mUuids2->Count()); };
        const std::string id = v.SendReadJob(v.BuildPollList());
        EXPECT_FALSE(id.empty());
        EXPECT_EQ(counts, std::vector<int32_t>{0});  // the device acted before the answer came
        EXPECT_EQ(v.mUuids->Count(), 0);
        EXPECT_EQ(v.mUuids2->Count(), 0);
        EXPECT_EQ(flowPoints(v), points);
        // "Poll" is released and nothing is outstanding, yet the answer's handling never ran.
        EXPECT_TRUE(v.mSpecComm->IsConnected());
        EXPECT_EQ(environmentValue(*s.f.model(), "LOCAL_COMM").toInt32(), 7);

        // An answer nobody asked for stays in the early collection until the connection ends.
        v.IBase_Communication_OnJobResponse("stray", "SUCCESS", 0);
        EXPECT_TRUE(v.mUuids2->IsInside("stray"));
        EXPECT_EQ(flowPoints(v), points);
        v.mSpecComm->Connecting(false);
        s.f.wait(50);
        EXPECT_EQ(v.mUuids2->Count(), 0);
        // Not connected: nothing is queued and nothing tracked.
        EXPECT_EQ(v.SendReadJob(v.BuildPollList()), "");
        EXPECT_EQ(v.mUuids->Count() + v.mUuids2->Count(), 0);
    });
}

// Without a communication object every answer is an early one.
TEST_F(ConnectionTest, AnswersWithoutCommunicationObjectAreOnlyRecorded) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Model);
        v.mUuids->Add("a");
        v.IBase_Communication_OnJobResponse("a", "SUCCESS", 0);
        EXPECT_TRUE(v.mUuids->IsInside("a"));
        EXPECT_TRUE(v.mUuids2->IsInside("a"));
        EXPECT_EQ(flowPoints(v), 0);
        v.IBase_Communication_OnConnectStatusChanged("DISCONNECTED");
        EXPECT_TRUE(v.mUuids->IsInside("a"));  // nothing to reset without one
    });
}

// A failed job stops polling and disconnects, also with "Poll" pressed; its id stays pending
// until the disconnection empties the collections. The user is not told.
TEST_F(ConnectionTest, FailedJobDisconnectsWithoutAMessage) {
    inFreshThread([&] {
        BoundStand s(neutral());
        auto& v = *s.view;
        s.startPolling();
        s.f.link().failNext(frame::SimLink::FailKind::Read, 1);
        v.mTeachActive = true;
        v.mQuickTeachActive = true;
        s.f.wait(950);  // the tick's read fails
        EXPECT_EQ(v.mUuids->Count(), 1);
        EXPECT_FALSE(v.Timer1->enabled());
        EXPECT_FALSE(v.mTeachActive);
        EXPECT_FALSE(v.mQuickTeachActive);
        EXPECT_TRUE(v.mSpecComm->IsConnected());
        EXPECT_EQ(pollValue(s.f), 1);
        s.f.wait(50);
        EXPECT_FALSE(v.mSpecComm->IsConnected());
        EXPECT_EQ(v.mUuids->Count(), 0);
        EXPECT_EQ(pollValue(s.f), 0);
        EXPECT_TRUE(v.mChartBreakPending);
        EXPECT_FALSE(v.TimerCnt->enabled());
        EXPECT_TRUE(s.f.messageHandler()->shown().empty());
    });
}

// The answer that leaves nothing outstanding disconnects when "Poll" is released (the button's
// value alone counts) or a release is pending, and keeps the connection otherwise.
TEST_F(ConnectionTest, LastAnswerDisconnectsUnlessPollIsPressed) {
    struct Case {
        const char* label;
        int32_t poll;
        bool releasePending;
        bool connected;
    };
    for (const Case& c : {Case{"pressed", 1, false, true}, Case{"released", 0, false, false},
                          Case{"pressed, release pending", 1, true, false}}) {
        SCOPED_TRACE(c.label);
        inFreshThread([&] {
            SCOPED_TRACE(c.label);  // traces are kept per thread
            BoundStand s(neutral());
            auto& v = *s.view;
            s.startPolling();
            s.f.link().latencyMs = 300;
            s.f.wait(1000);
            ASSERT_EQ(v.mUuids->Count(), 1);
            s.f.toolbar()->buttons().find("Poll")->setValue(c.poll);
            v.mReleasePending = c.releasePending;
            s.f.wait(300);
            EXPECT_EQ(v.Timer1->enabled(), c.connected);
            s.f.wait(300);
            EXPECT_EQ(s.f.communication()->IsConnected(), c.connected);
        });
    }
}

// Each status clears the teach-in flags; the end of the connection resets the bookkeeping and
// releases "Poll"; only a failed connection tells the user, and only while the view is visible.
TEST_F(ConnectionTest, EachConnectionStatusDoesItsOwnPart) {
    struct Case {
        const char* status;
        bool ends, timerCnt, message;
    };
    for (bool visible : {true, false}) {
        for (const Case& c :
             {Case{"DISCONNECTED", true, false, false}, Case{"DISCONNECTED ABORT", true, false, false},
              Case{"CONNECT FAILED", true, true, true}, Case{"Disconnected", false, true, false},
              Case{"", false, true, false}}) {
            SCOPED_TRACE(std::string(c.status) + (visible ? ", visible" : ", hidden"));
            inFreshThread([&] {
                SCOPED_TRACE(std::string(c.status) +
                             (visible ? ", visible" : ", hidden"));  // traces are kept per thread
                IdleConnection s;
                auto& v = *s.view;
                v.setVisible(visible);
                s.f.link().latencyMs = 10'000;
                s.f.press("Poll");  // reads at once
                v.mFifo->Add("ReadOnce");
                v.mUuids2->Add("early");
                v.mTeachJobId = "teach";
                v.mTeachActive = true;
                v.mQuickTeachActive = true;
                v.mChartBreakPending = false;
                v.TimerCnt->setEnabled(true);
                ASSERT_TRUE(v.Timer1->enabled());
                v.IBase_Communication_OnConnectStatusChanged(c.status);
                EXPECT_FALSE(v.mTeachActive);
                EXPECT_FALSE(v.mQuickTeachActive);
                EXPECT_EQ(v.mChartBreakPending, c.ends);
                EXPECT_EQ(v.mUuids->Count() + v.mFifo->Count() + v.mUuids2->Count(), c.ends ? 0 : 3);
                EXPECT_EQ(v.mTeachJobId.empty(), c.ends);
                EXPECT_EQ(pollValue(s.f), c.ends ? 0 : 1);
                EXPECT_EQ(v.TimerCnt->enabled(), c.timerCnt);
                EXPECT_TRUE(v.Timer1->enabled());  // the statuses never stop the poll timer
                const auto& shown = s.f.messageHandler()->shown();
                ASSERT_EQ(shown.size(), c.message && visible ? 1u : 0u);
                if (!shown.empty()) {
                    EXPECT_TRUE(shown[0].detailed);
                    EXPECT_EQ(shown[0].text, "IDS_VERBINDUNG_KONNTE_NICHT_AUFGEBAUT_");
                    EXPECT_EQ(shown[0].caption, "FM1 IDS_TEACH_WIZ");
                }
            });
        }
    }
}

// An abort by the device: "Poll" is released but the poll timer runs on, sending nothing.
TEST_F(ConnectionTest, AbortKeepsThePollTimerRunningIdle) {
    inFreshThread([&] {
        frame::DeviceOptions options = neutral();
        options.localComm = 2;
        BoundStand s(options);
        auto& v = *s.view;
        s.startPolling();
        s.f.link().latencyMs = 5000;
        s.f.wait(1000);
        ASSERT_EQ(v.mUuids->Count(), 1);
        s.f.link().abort();
        s.f.wait(0);
        EXPECT_EQ(v.mUuids->Count(), 0);
        EXPECT_EQ(pollValue(s.f), 0);
        EXPECT_TRUE(v.Timer1->enabled());
        EXPECT_FALSE(v.TimerCnt->enabled());
        EXPECT_EQ(environmentValue(*s.f.model(), "LOCAL_COMM").toInt32(), 2);
        const size_t reads = s.reads.size();
        s.f.wait(10'000);
        EXPECT_EQ(s.reads.size(), reads);
        EXPECT_EQ(v.mUuids->Count(), 0);
    });
}

// A refused connection tells the user at once, with the details the frame logged last, and
// leaves "Poll" released.
TEST_F(ConnectionTest, RefusedConnectionTellsTheUserAndLeavesPollReleased) {
    for (bool visible : {true, false}) {
        SCOPED_TRACE(visible ? "visible" : "hidden");
        inFreshThread([&] {
            SCOPED_TRACE(visible ? "visible" : "hidden");  // traces are kept per thread
            BoundStand s(neutral());
            auto& v = *s.view;
            v.setVisible(visible);
            s.f.link().connectOutcome = frame::SimLink::ConnectOutcome::Refuse;
            v.ISpec_Log_Log("MESSAGE", "Port", "busy", {});
            s.f.press("Poll");
            EXPECT_EQ(pollValue(s.f), 0);
            EXPECT_EQ(v.mPollMode, 2);
            EXPECT_FALSE(v.Timer1->enabled());
            EXPECT_EQ(v.mFifo->Count(), 0);
            const auto& shown = s.f.messageHandler()->shown();
            if (visible) {
                ASSERT_EQ(shown.size(), 1u);
                EXPECT_TRUE(shown[0].detailed);
                EXPECT_EQ(shown[0].text, "IDS_VERBINDUNG_KONNTE_NICHT_AUFGEBAUT_\r\nDetails:Port: busy");
                EXPECT_EQ(shown[0].caption, "FM1 IDS_TEACH_WIZ");
                EXPECT_EQ(v.mMessageDetails, "");
            } else {
                EXPECT_TRUE(shown.empty());
                EXPECT_EQ(v.mMessageDetails, "Port: busy");
            }
        });
    }
}

TEST_F(ConnectionTest, RefusedConnectionWithoutHandlerIsLogged) {
    inFreshThread([&] {
        frame::StandFrame f;
        f.setOptions(neutral());
        auto& v = f.create();
        f.init(InitTarget::Device, std::nullopt, std::nullopt, false);
        v.mPollMode = 2;
        f.setToolbar();
        f.link().connectOutcome = frame::SimLink::ConnectOutcome::Refuse;
        clearLog();
        f.press("Poll");
        EXPECT_EQ(messages(),
                  std::vector<std::string>{onError("ConnectAndUploadDepends", platform::kObjectNotSet)});
        EXPECT_EQ(pollValue(f), 0);
        EXPECT_EQ(v.mPollMode, 2);
    });
}

// The answer to the teach command only continues the teach-in; in the states that wait for the
// user it changes nothing, and it never refreshes the view itself.
TEST_F(ConnectionTest, TeachJobAnswerInAWaitingStateChangesNothing) {
    for (int32_t state : {5, 6, 10}) {
        SCOPED_TRACE(state);
        inFreshThread([&] {
            SCOPED_TRACE(state);  // traces are kept per thread
            IdleConnection s;
            auto& v = *s.view;
            const int points = flowPoints(v);
            v.mTeachState = state;
            host::WriteItem item = v.pQUICK_2;
            v.mTeachJobId = v.SendWriteJob(item);
            ASSERT_FALSE(v.mTeachJobId.empty());
            s.f.wait(50);
            EXPECT_EQ(v.mUuids->Count(), 0);
            EXPECT_EQ(v.mTeachState, state);
            EXPECT_EQ(flowPoints(v), points);
        });
    }
    // Any other answer refreshes the view.
    inFreshThread([&] {
        IdleConnection s;
        auto& v = *s.view;
        const int points = flowPoints(v);
        host::WriteItem item = v.pQUICK_2;
        v.SendWriteJob(item);
        s.f.wait(50);
        EXPECT_EQ(flowPoints(v), points + 1);
    });
}

// The answer to a set button's job makes the temperature slider show the device's value again.
TEST_F(ConnectionTest, SettingJobAnswerReloadsTheSwitchPointSlider) {
    for (bool settingJob : {true, false}) {
        SCOPED_TRACE(settingJob ? "setting job" : "other job");
        inFreshThread([&] {
            SCOPED_TRACE(settingJob ? "setting job" : "other job");  // traces are kept per thread
            IdleConnection s;
            auto& v = *s.view;
            ASSERT_TRUE(v.mSliderTPLoaded);
            v.mSliderTP.object->setProperty("value", 99);
            host::WriteItem item = v.pSWPOINT;
            const std::string id = v.SendWriteJob(item);
            if (settingJob) v.mSettingJobId = id;
            s.f.wait(50);
            EXPECT_EQ(v.mSliderTP.object->getProperty("value").toDouble(), settingJob ? 60 : 99);
            EXPECT_TRUE(v.mSliderTPLoaded);
        });
    }
}

TEST_F(ConnectionTest, ReleasedCommunicationObjectResetsTheBookkeeping) {
    inFreshThread([&] {
        IdleConnection s;
        auto& v = *s.view;
        s.f.toolbar()->buttons().find("Poll")->setValue(1);
        v.mFifo->Add("ReadOnce");
        v.mUuids->Add("a");
        v.mUuids2->Add("b");
        v.mTeachJobId = "a";
        clearLog();
        v.IBase_Communication_OnReleased();
        const auto log = entries();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].tag, "QX_FlowWiz.IBase_Communication_OnReleased()");
        EXPECT_EQ(log[0].message, "");
        EXPECT_EQ(v.mFifo->Count() + v.mUuids->Count() + v.mUuids2->Count(), 0);
        EXPECT_EQ(v.mTeachJobId, "");
        EXPECT_EQ(pollValue(s.f), 0);
    });
}

// Without a toolbar the answers still work until the last one, which must ask "Poll" and fails:
// the failure is logged and the connection stays, even with a release pending.
TEST_F(ConnectionTest, WithoutToolbarTheLastAnswerFailsOnThePollButton) {
    for (bool releasePending : {false, true}) {
        SCOPED_TRACE(releasePending ? "release pending" : "no release pending");
        clearLog();
        inFreshThread([&] {
            SCOPED_TRACE(releasePending ? "release pending"
                                        : "no release pending");  // traces are kept per thread
            BoundStand s(neutral(), false);
            auto& v = *s.view;
            v.mSpecComm->Connecting(true);
            s.f.wait(50);
            s.f.link().latencyMs = 100;
            v.ReadValuesOnce();
            s.f.wait(10);
            v.ReadValuesOnce();
            v.Timer1->setEnabled(true);
            v.mReleasePending = releasePending;
            s.f.wait(90);  // the first answer
            EXPECT_EQ(v.mUuids->Count(), 1);
            EXPECT_EQ(loggedStarting("IBase_Communication_OnJobResponse"), 0);
            s.f.wait(10);  // the last answer
            EXPECT_EQ(v.mUuids->Count(), 0);
            EXPECT_EQ(logged(onError("IBase_Communication_OnJobResponse", platform::kObjectNotSet)), 1);
            EXPECT_TRUE(v.Timer1->enabled());
            s.f.wait(100);
            EXPECT_TRUE(v.mSpecComm->IsConnected());
            EXPECT_EQ(flowPoints(v), 2);  // both answers refreshed the view first
        });
    }
}

}  // namespace
}  // namespace qx::view::test
