// The view's side of the conversation with the device: when reads are sent, how job ids are
// tracked, what each answer and connection status does, and what the user is told. The plain
// connection, abort, failed-job and early-answer (and stray-answer) sessions are the console
// scenarios'.
#include "view/ViewChildren.h"
#include "view/ViewStand.h"

namespace qx::view::test {
namespace {

class ConnectionTest : public ViewTest {};

// A read queued behind an outstanding one follows the answer that leaves only itself
// outstanding; pressing twice while connecting queues it once, and "CONNECTED" reads only what
// waits.
TEST_F(ConnectionTest, QueuedReadsFollowTheirTurn) {
    // A write answered first, while the read is still out, is not yet the queued read's turn.
    for (bool writeFirst : {false, true}) {
        SCOPED_TRACE(writeFirst ? "a write answered before the outstanding read" : "one outstanding read");
        BoundStand s;
        s.connectIdle();
        auto& v = *s.view;
        s.f.link().latencyMs = 500;
        ViewTestSeam::readValuesOnce(v);
        host::WriteItem item = v.refs().SWPOINT;
        if (writeFirst) s.f.link().latencyMs = 200, ViewTestSeam::sendWriteJob(v, item);
        s.f.press("Poll");
        const size_t before = s.reads.size();
        s.f.wait(200);
        EXPECT_EQ(v.jobs().commands()->Count(), 1);
        s.f.wait(300);
        EXPECT_EQ(s.reads.size(), before + 1);
        EXPECT_EQ(v.jobs().commands()->Count(), 0);
        EXPECT_EQ(v.jobs().pending()->Count(), 1);  // the follow-up read
    }
    SCOPED_TRACE("pressed twice");
    BoundStand s;
    auto& v = *s.view;
    s.f.link().latencyMs = 500;
    s.f.press("Poll");
    s.f.press("Poll");  // released while connecting: nothing to disconnect yet
    EXPECT_FALSE(childTimer(v, "Timer1")->enabled());
    s.f.press("Poll");
    EXPECT_EQ(v.jobs().commands()->Count(), 1);
    s.f.wait(1000);
    EXPECT_EQ(s.reads.size(), 1u);
    s.f.press("Poll");  // idle: the connection stays
    v.frame().mSpecComm->Connecting(false);
    s.f.wait(1000);
    v.frame().mSpecComm->Connecting(true);
    s.f.wait(1000);
    EXPECT_TRUE(v.frame().mSpecComm->IsConnected());
    EXPECT_EQ(s.reads.size(), 1u);
}

// The answer that leaves nothing outstanding disconnects when "Poll" is released (the button's
// value alone counts) or a release is pending, and keeps the connection otherwise. A failed
// answer disconnects whatever "Poll" says, without telling the user. Polling logs nothing of its
// own.
TEST_F(ConnectionTest, LastAnswerDisconnectsUnlessPollIsPressed) {
    struct Case {
        const char* label;
        int32_t poll;
        bool releasePending, fails, connected;
    };
    for (const Case& c : {Case{"pressed", 1, false, false, true}, Case{"released", 0, false, false, false},
                          Case{"pressed, release pending", 1, true, false, false},
                          Case{"pressed, failed", 1, false, true, false}}) {
        SCOPED_TRACE(c.label);
        BoundStand s;
        clearLog();
        s.startPolling();
        s.f.link().latencyMs = 300;
        if (c.fails) s.f.link().failNext(frame::SimLink::FailKind::Read, 1);
        s.f.wait(1000);
        ASSERT_EQ(s.view->jobs().pending()->Count(), 1);
        s.f.toolbar()->buttons().find("Poll")->setValue(c.poll);
        ViewTestSeam::frame(*s.view).mReleasePending = c.releasePending;
        s.f.wait(300);
        EXPECT_EQ(childTimer(*s.view, "Timer1")->enabled(), c.connected);
        s.f.wait(300);
        EXPECT_EQ(s.f.communication()->IsConnected(), c.connected);
        EXPECT_TRUE(s.f.messageHandler()->shown().empty());
        EXPECT_EQ(messages().size(), c.releasePending ? 1u : 0u);  // the release's own line
    }
}

// Each status clears the teach-in flags; the end of the connection resets the bookkeeping and
// releases "Poll" but never stops the poll timer; only a failed connection tells the user, and
// only while the view is visible.
TEST_F(ConnectionTest, EachConnectionStatusDoesItsOwnPart) {
    struct Case {
        const char* status;
        bool ends, timerCnt, message;
    };
    for (bool visible : {true, false}) {
        // clang-format off
        for (const Case& c : {Case{"DISCONNECTED", true, false, false}, Case{"DISCONNECTED ABORT", true, false, false},
                              Case{"CONNECT FAILED", true, true, true}, Case{"Disconnected", false, true, false}}) {
            // clang-format on
            SCOPED_TRACE(std::string(c.status) + (visible ? ", visible" : ", hidden"));
            BoundStand s;
            s.connectIdle();
            auto& v = *s.view;
            v.setVisible(visible);
            s.f.link().latencyMs = 10'000;
            s.f.press("Poll");  // reads at once
            ViewTestSeam::jobs(v).queueRead();
            ViewTestSeam::jobs(v).noteEarlyAnswer("early");
            ViewTestSeam::jobs(v).setTeachJob("teach");
            auto& progress = ViewTestSeam::progress(v);
            progress.mTeachActive = progress.mQuickTeachActive = true;
            ASSERT_FALSE(v.trend().chartBreakPending());
            childTimer(v, "TimerCnt")->setEnabled(true);
            v.IBase_Communication_OnConnectStatusChanged(c.status);
            EXPECT_FALSE(v.progress().mTeachActive || v.progress().mQuickTeachActive);
            EXPECT_EQ(v.trend().chartBreakPending(), c.ends);
            EXPECT_EQ(v.jobs().pending()->Count() + v.jobs().commands()->Count() + v.jobs().early()->Count(),
                      c.ends ? 0 : 3);
            EXPECT_EQ(v.jobs().teachJobId().empty(), c.ends);
            EXPECT_EQ(s.poll(), c.ends ? 0 : 1);
            EXPECT_EQ(childTimer(v, "TimerCnt")->enabled(), c.timerCnt);
            EXPECT_TRUE(childTimer(v, "Timer1")->enabled());
            const auto& shown = s.f.messageHandler()->shown();
            ASSERT_EQ(shown.size(), c.message && visible ? 1u : 0u);
            for (const auto& m : shown) EXPECT_EQ(m.text, "IDS_VERBINDUNG_KONNTE_NICHT_AUFGEBAUT_");
        }
    }
}

// A refused connection tells the user at once, with the details the frame logged last, only while
// the view is visible; without a message handler that fails and is logged. "Poll" stays released.
TEST_F(ConnectionTest, RefusedConnectionTellsTheUser) {
    for (const auto& [visible, handler] :
         std::vector<std::pair<bool, bool>>{{true, true}, {false, true}, {true, false}}) {
        SCOPED_TRACE(std::string(visible ? "visible" : "hidden") + (handler ? "" : ", no handler"));
        BoundStand s(neutral(), true, handler);
        auto& v = *s.view;
        v.setVisible(visible);
        s.f.link().connectOutcome = frame::SimLink::ConnectOutcome::Refuse;
        v.ISpec_Log_Log("MESSAGE", "Port", "busy", {});
        clearLog();
        s.f.press("Poll");
        EXPECT_EQ(s.poll(), 0);
        EXPECT_FALSE(childTimer(v, "Timer1")->enabled());
        EXPECT_EQ(v.jobs().commands()->Count(), 0);
        const auto& shown = s.f.messageHandler()->shown();
        const bool told = visible && handler;
        ASSERT_EQ(shown.size(), told ? 1u : 0u);
        if (told) {
            EXPECT_TRUE(shown[0].detailed);
            EXPECT_EQ(shown[0].text, "IDS_VERBINDUNG_KONNTE_NICHT_AUFGEBAUT_\r\nDetails:Port: busy");
            EXPECT_EQ(shown[0].caption, "FM1 IDS_TEACH_WIZ");
        }
        EXPECT_EQ(v.frame().mMessageDetails, told ? "" : "Port: busy");
        EXPECT_EQ(logged(onError("ConnectAndUploadDepends", platform::kObjectNotSet)), handler ? 0 : 1);
    }
}

// The answer to the teach command only continues the teach-in; in the states that wait for the
// user it changes nothing, and it never refreshes the view itself. Any other answer does.
TEST_F(ConnectionTest, TeachJobAnswerInAWaitingStateChangesNothing) {
    for (int32_t state : {5, 6, 10, -1}) {
        SCOPED_TRACE(state < 0 ? "other job" : std::to_string(state));
        BoundStand s;
        s.connectIdle();
        auto& v = *s.view;
        const int points = s.flowPoints();
        host::WriteItem item = v.refs().QUICK_2;
        const std::string id = ViewTestSeam::sendWriteJob(v, item);
        if (state >= 0) {
            ViewTestSeam::enterTeachState(v, wizard::TeachState{state});
            ViewTestSeam::jobs(v).setTeachJob(id);
        }
        s.f.wait(50);
        EXPECT_EQ(v.jobs().pending()->Count(), 0);
        EXPECT_EQ(wizard::number(v.progress().mTeachState), std::max(state, 0));
        EXPECT_EQ(s.flowPoints(), points + (state < 0));
    }
}

TEST_F(ConnectionTest, ReleasedCommunicationObjectResetsTheBookkeeping) {
    BoundStand s;
    s.connectIdle();
    s.f.toolbar()->buttons().find("Poll")->setValue(1);
    ViewTestSeam::jobs(*s.view).noteEarlyAnswer("b");
    ViewTestSeam::jobs(*s.view).setTeachJob("a");
    clearLog();
    s.view->IBase_Communication_OnReleased();
    ASSERT_EQ(entries().size(), 1u);
    EXPECT_EQ(entries()[0].tag, "QX_FlowWiz.IBase_Communication_OnReleased()");
    EXPECT_EQ(entries()[0].message, "");
    EXPECT_EQ(s.view->jobs().early()->Count(), 0);
    EXPECT_EQ(s.view->jobs().teachJobId(), "");
    EXPECT_EQ(s.poll(), 0);
}

}  // namespace
}  // namespace qx::view::test
