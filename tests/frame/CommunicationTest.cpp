// The communication object's timing and connection rules, seen the way the view sees them: one
// event log of link observers and receiver callbacks, in order.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CommTestSupport.h"
#include "frame/DataModel.h"
#include "frame/SimCommunication.h"
#include "platform/VirtualScheduler.h"

namespace qx::frame::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class CommTest : public ::testing::Test {
  protected:
    void SetUp() override {
        recordLink(device->link(), log);
        comm->SetReceiver(receiver);
    }

    void connect() {
        ASSERT_TRUE(comm->Connecting(true));
        scheduler.advance(device->link().latencyMs);
        ASSERT_TRUE(comm->IsConnected());
        log.clear();
    }

    std::string read(const std::string& name) {
        return comm->QueueRead(true, {{findParameter(*model, name)}});
    }

    std::string write(const std::string& name, const std::string& text) {
        auto parameter = findParameter(*model, name);
        parameter->setValueText(text);
        host::WriteItem item = host::ParameterPtr(parameter);
        return comm->QueueWrite(true, item);
    }

    platform::VirtualScheduler scheduler;
    std::shared_ptr<FlowMonitorSim> device = std::make_shared<FlowMonitorSim>(scheduler);
    std::shared_ptr<FrameDataModel> model = createFrameModel(DeviceOptions{});
    EventLog log;
    std::shared_ptr<RecordingReceiver> receiver = std::make_shared<RecordingReceiver>(log);
    std::shared_ptr<SimCommunication> comm = SimCommunication::create(scheduler, device);
};

TEST_F(CommTest, ConnectionIsReportedAfterTheLatencyObserverFirst) {
    EXPECT_TRUE(comm->Connecting(true));
    scheduler.advance(49);
    EXPECT_THAT(log, IsEmpty());
    EXPECT_FALSE(comm->IsConnected());  // connecting is not connected
    scheduler.advance(1);
    EXPECT_THAT(log, ElementsAre("connection CONNECTED", "status CONNECTED"));
    EXPECT_TRUE(comm->IsConnected());
}

TEST_F(CommTest, LatencyIsFixedWhenTheRequestIsMade) {
    device->link().latencyMs = 100;
    comm->Connecting(true);
    device->link().latencyMs = 10;
    scheduler.advance(99);
    EXPECT_THAT(log, IsEmpty());
    scheduler.advance(1);
    ASSERT_TRUE(comm->IsConnected());
    log.clear();

    device->link().latencyMs = 30;
    const auto slow = read("PROINTEMP");
    device->link().latencyMs = 0;
    const auto fast = read("PROINTEMP");
    scheduler.advance(30);
    EXPECT_THAT(log, ElementsAre("read 1", "job " + fast + " SUCCESS", "read 1", "job " + slow + " SUCCESS"));
}

TEST_F(CommTest, ZeroLatencyIsStillAnsweredLaterNeverInsideTheCall) {
    device->link().latencyMs = 0;
    connect();
    const auto id = write("SWPOINT", "70");
    EXPECT_EQ(id, "JOB-1");
    EXPECT_THAT(log, IsEmpty());
    EXPECT_EQ(device->value("SWPOINT"), "60");  // the device acts when the job is answered
    scheduler.advance(0);
    EXPECT_THAT(log, ElementsAre("write SWPOINT=\"70\"", "job JOB-1 SUCCESS"));
    EXPECT_EQ(device->value("SWPOINT"), "70");
}

TEST_F(CommTest, EarlyAnswersComeInsideTheQueuingCallBeforeTheIdIsReturned) {
    connect();
    device->link().early = true;
    const auto id = write("SWPOINT", "70");
    // The whole answer has happened by the time the id is known.
    EXPECT_THAT(log, ElementsAre("write SWPOINT=\"70\"", "job JOB-1 SUCCESS"));
    EXPECT_EQ(id, "JOB-1");
    log.clear();
    scheduler.advance(1000);
    EXPECT_THAT(log, IsEmpty());  // answered once only
}

TEST_F(CommTest, JobsAreNotQueuedUnlessConnected) {
    EXPECT_EQ(read("PROINTEMP"), "");
    comm->Connecting(true);
    EXPECT_EQ(write("SWPOINT", "70"), "");  // connecting is not enough
    scheduler.advance(50);
    EXPECT_EQ(read("PROINTEMP"), "JOB-1");  // refused jobs used no id
    scheduler.advance(50);
    EXPECT_EQ(device->value("SWPOINT"), "60");
    EXPECT_THAT(log, ElementsAre("connection CONNECTED", "status CONNECTED", "read 1", "job JOB-1 SUCCESS"));
}

TEST_F(CommTest, ConnectionOutcomesFollowTheLinkAtRequestTime) {
    device->link().connectOutcome = SimLink::ConnectOutcome::Fail;
    EXPECT_TRUE(comm->Connecting(true));  // accepted; the failure comes later
    device->link().connectOutcome = SimLink::ConnectOutcome::Ok;
    scheduler.advance(50);
    EXPECT_THAT(log, ElementsAre("connection CONNECT FAILED", "status CONNECT FAILED"));
    EXPECT_FALSE(comm->IsConnected());

    log.clear();
    device->link().connectOutcome = SimLink::ConnectOutcome::Refuse;
    EXPECT_FALSE(comm->Connecting(true));
    scheduler.advance(1000);
    EXPECT_THAT(log, IsEmpty());
    EXPECT_FALSE(comm->IsConnected());
}

TEST_F(CommTest, ASecondConnectionRequestChangesNothing) {
    EXPECT_TRUE(comm->Connecting(true));
    scheduler.advance(20);
    EXPECT_TRUE(comm->Connecting(true));
    scheduler.advance(1000);
    EXPECT_THAT(log, ElementsAre("connection CONNECTED", "status CONNECTED"));
    log.clear();
    EXPECT_TRUE(comm->Connecting(true));  // already up
    scheduler.advance(1000);
    EXPECT_THAT(log, IsEmpty());
}

TEST_F(CommTest, DisconnectionRequests) {
    EXPECT_FALSE(comm->Connecting(false));  // nothing to end
    connect();
    EXPECT_TRUE(comm->Connecting(false));
    EXPECT_TRUE(comm->Connecting(false));  // while disconnecting: accepted, changes nothing
    EXPECT_FALSE(comm->Connecting(true));  // cannot start while disconnecting
    EXPECT_TRUE(comm->IsConnected());      // up until the end is reported
    scheduler.advance(1000);
    EXPECT_THAT(log, ElementsAre("connection DISCONNECTED", "status DISCONNECTED"));
    EXPECT_FALSE(comm->IsConnected());
    EXPECT_FALSE(comm->Connecting(false));
}

TEST_F(CommTest, DisconnectingWhileConnectingGivesTheConnectionUp) {
    comm->Connecting(true);
    scheduler.advance(30);
    EXPECT_TRUE(comm->Connecting(false));
    scheduler.advance(1000);
    EXPECT_THAT(log, ElementsAre("connection DISCONNECTED", "status DISCONNECTED"));
    EXPECT_FALSE(comm->IsConnected());
}

TEST_F(CommTest, JobsStillUnansweredWhenTheConnectionEndsAreNeverAnswered) {
    connect();
    device->link().latencyMs = 200;
    write("SWPOINT", "70");
    device->link().latencyMs = 50;
    comm->Connecting(false);
    scheduler.advance(1000);
    EXPECT_THAT(log, ElementsAre("connection DISCONNECTED", "status DISCONNECTED"));
    EXPECT_EQ(device->value("SWPOINT"), "60");
}

TEST_F(CommTest, AbortDropsPendingJobsAndReportsAtTheNextWait) {
    connect();
    read("PROINTEMP");
    write("SWPOINT", "70");
    device->link().abort();
    EXPECT_THAT(log, IsEmpty());
    EXPECT_FALSE(comm->Connecting(true));  // the drop is under way
    scheduler.advance(0);
    EXPECT_THAT(log, ElementsAre("connection DISCONNECTED ABORT", "status DISCONNECTED ABORT"));
    EXPECT_FALSE(comm->IsConnected());
    scheduler.advance(1000);
    EXPECT_EQ(log.size(), 2u);
    EXPECT_EQ(device->value("SWPOINT"), "60");  // the write never reached the device

    log.clear();
    device->link().abort();  // nothing left to drop
    scheduler.advance(1000);
    EXPECT_THAT(log, IsEmpty());
}

TEST_F(CommTest, AbortWhileConnectingDropsTheConnection) {
    comm->Connecting(true);
    device->link().abort();
    scheduler.advance(1000);
    EXPECT_THAT(log, ElementsAre("connection DISCONNECTED ABORT", "status DISCONNECTED ABORT"));
    EXPECT_FALSE(comm->IsConnected());
}

TEST_F(CommTest, InjectedFailuresCountPerKindAndNeverReachTheDevice) {
    connect();
    device->link().failNext(SimLink::FailKind::Read, 2);
    device->link().failNext(SimLink::FailKind::Any, 1);
    read("PROINTEMP");       // own count
    write("SWPOINT", "70");  // Any
    read("PROINTEMP");       // own count
    write("SWPOINT", "71");  // all used up
    read("PROINTEMP");
    scheduler.advance(50);
    EXPECT_THAT(log, ElementsAre("job JOB-1 FAILED", "job JOB-2 FAILED", "job JOB-3 FAILED",
                                 "write SWPOINT=\"71\"", "job JOB-4 SUCCESS", "read 1", "job JOB-5 SUCCESS"));
    EXPECT_EQ(device->value("SWPOINT"), "71");
}

TEST_F(CommTest, AFailCountReplacesTheEarlierOneOfItsKind) {
    connect();
    device->link().failNext(SimLink::FailKind::Write, 3);
    device->link().failNext(SimLink::FailKind::Write, 1);
    write("SWPOINT", "70");
    write("SWPOINT", "71");
    scheduler.advance(50);
    EXPECT_THAT(log, ElementsAre("job JOB-1 FAILED", "write SWPOINT=\"71\"", "job JOB-2 SUCCESS"));
}

TEST_F(CommTest, ReleaseEndsEverythingSilently) {
    connect();
    read("PROINTEMP");
    EXPECT_TRUE(comm->Release(true));
    scheduler.advance(1000);
    EXPECT_THAT(log, IsEmpty());
    EXPECT_FALSE(comm->IsConnected());
    EXPECT_FALSE(comm->Connecting(true));
    EXPECT_EQ(read("PROINTEMP"), "");
    device->link().abort();
    scheduler.advance(1000);
    EXPECT_THAT(log, IsEmpty());
}

TEST_F(CommTest, TheDeviceStillActsWhenTheReceiverIsGone) {
    connect();
    write("SWPOINT", "70");
    receiver.reset();
    scheduler.advance(50);
    EXPECT_THAT(log, ElementsAre("write SWPOINT=\"70\""));
    EXPECT_EQ(device->value("SWPOINT"), "70");
}

TEST_F(CommTest, AnswersToACommunicationObjectThatIsGoneAreDropped) {
    connect();
    read("PROINTEMP");
    comm.reset();
    scheduler.advance(1000);
    EXPECT_THAT(log, IsEmpty());
}

}  // namespace
}  // namespace qx::frame::test
