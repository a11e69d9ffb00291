// The simulated flow monitor, the device object and its communication object as the view sees
// them: the device's factory values and variants, settling of the flow, what it does with the
// commands and values written to it; the timing and connection rules of the line, seen as one
// event log of link observers and receiver callbacks in order; the values jobs carry between the
// model and the device.
#include <gtest/gtest.h>

#include "FrameTestSupport.h"
#include "frame/DeviceValues.h"
#include "frame/SimDevice.h"

namespace qx::frame::test {
namespace {

using SimTest = FrameTest;
using CommTest = FrameTest;

TEST_F(SimTest, DeviceAndFrameModelStartWithTheFactoryValues) {
    const std::string factory = R"(
        PROINFLOW_RAW=0, DELTAFLOW_NEW=1, PROINTEMP=22, SWPOINT=60, TEACHDO_SWPOINT=50, TEACH_MAX=800
        TEACH_MAX_SAVE=800, TEACH_MIN=100, TEACH_MIN_SAVE=100, TEACHDO_QUICK_MODE=2, TEACHDO_QUICK= 0 %
        FLOWSP_RAW=450, FLOWSPQT_RAW=450, QUICK_2=0, DELTAFLOW_RAW=0
    )";
    run(factory);
    for (const auto& line : split(factory, "\n"))
        for (const auto& pair : split(line, ", ")) run("param " + pair);
    EXPECT_FALSE(sim->has("RESET_COUNT"));
}

// A teach without limits computes no switch point; a value the device lacks is dropped; the
// defaults come back with the options, values set meanwhile stay.
TEST_F(SimTest, OptionsRemoveParametersOrTheirValuesAndGiveDefaultsBack) {
    sim->setOptions(
        DeviceOptions{.quickMode = Presence::Missing, .flowSp = Presence::NoValue, .teachPresent = false});
    EXPECT_FALSE(sim->has("TEACHDO_QUICK_MODE"));
    EXPECT_FALSE(sim->has("TEACH_MAX_SAVE"));
    EXPECT_TRUE(sim->has("FLOWSP_RAW"));
    EXPECT_FALSE(sim->set("TEACH_MIN", "5"));
    run(R"(
        FLOWSP_RAW=<none>, flow 500, cmd 1, mode 2, FLOWSP_RAW=<none>, job TEACH_MAX=900, sim SWPOINT=70
    )");
    EXPECT_FALSE(sim->has("TEACH_MAX"));
    sim->setOptions({});
    run("TEACHDO_QUICK_MODE=2, FLOWSP_RAW=450, TEACH_MIN=100, SWPOINT=70");
}

// The same flow again is no change; an operator's value is a change too.
TEST_F(SimTest, SettlingFlagFollowsEachFlowChangeForTheSettlingTime) {
    run(R"(
        wait 500, flow 600, PROINFLOW_RAW=600, DELTAFLOW_NEW=0, wait 1999, DELTAFLOW_NEW=0, flow 600
        wait 1, DELTAFLOW_NEW=1, settle 300, sim PROINFLOW_RAW=610, wait 299, DELTAFLOW_NEW=0
        wait 1, DELTAFLOW_NEW=1
    )");
    EXPECT_FALSE(sim->set("DELTAFLOW_NEW", "0"));  // derived, not set
}

// QUICK_2 keeps the last code written.
TEST_F(SimTest, TeachCodesForMaximumAndMinimumFollowTheCategory) {
    for (auto [category, maxCode, minCode] : {std::tuple{DeviceOptions::Category::Match, "1", "2"},
                                              std::tuple{DeviceOptions::Category::Other, "2", "1"}}) {
        SCOPED_TRACE(maxCode);
        reset(DeviceOptions{.category = category});
        run(std::string("flow 700, cmd ") + maxCode +
            ", TEACH_MAX=700, TEACH_MAX_SAVE=700, TEACH_MIN=100, FLOWSP_RAW=400");
        run(std::string("flow 200, cmd ") + minCode + ", TEACH_MIN_SAVE=200, TEACH_MIN=200, FLOWSP_RAW=450");
    }
    run("cmd 4");
    EXPECT_TRUE(sim->inTeachProcedure());
    run("cmd 0, cmd 5, QUICK_2=5, TEACH_MAX=700");
    EXPECT_FALSE(sim->inTeachProcedure());
}

// The mode is the device's own, whether or not its parameter exists or holds a value.
TEST_F(SimTest, ALimitTeachReturnsFromQuickTeachToMaxMinMode) {
    const std::tuple<Presence, const char*, const char*> rows[] = {{Presence::Valid, "450", "2"},
                                                                   {Presence::Missing, "450", "<none>"},
                                                                   {Presence::NoValue, "<none>", "2"}};
    for (const auto& [quickMode, flowSp, modeAfter] : rows) {
        SCOPED_TRACE(static_cast<int>(quickMode));
        reset(DeviceOptions{.quickMode = quickMode,
                            .flowSp = quickMode == Presence::NoValue ? Presence::NoValue : Presence::Valid});
        run(std::string("cmd 3, mode 1, sim TEACH_MAX=900, FLOWSP_RAW=") + flowSp +
            ", flow 1000, cmd 1, mode 2, FLOWSP_RAW=550, TEACHDO_QUICK_MODE=" + modeAfter);
    }
}

// flow × (100 + offset) / 100, halves to even (492.5, 145.5, 286.5, 304.5, 98.5), into
// FLOWSPQT_RAW on firmware 1 only.
TEST_F(SimTest, QuickTeachSetsTheQuickSwitchPointOfTheFirmware) {
    const std::tuple<int32_t, const char*, const char*, const char*> rows[] = {
        {1, " 0 %", "500", "FLOWSPQT_RAW=500"},   {1, "-1,5 %", "500", "FLOWSPQT_RAW=492"},
        {1, "-3,0 %", "150", "FLOWSPQT_RAW=146"}, {1, " 4,0 %", "333", "FLOWSPQT_RAW=346"},
        {0, " 6,0 %", "250", "FLOWSP_RAW=265"},   {0, "-4,5 %", "300", "FLOWSP_RAW=286"},
        {0, " 1,5 %", "300", "FLOWSP_RAW=304"},   {2, "-1,5 %", "100", "FLOWSP_RAW=98"}};
    for (const auto& [fw, offset, flow, switchPoint] : rows) {
        reset(DeviceOptions{.fw = fw});
        run(std::string("sim TEACHDO_QUICK=") + offset + ", flow " + flow + ", cmd 3, " + switchPoint +
            (fw == 1 ? ", FLOWSP_RAW=450" : ", FLOWSPQT_RAW=450") + ", TEACHDO_QUICK_MODE=1");
    }
}

// Halves to even: 100 + 175.25, 450.5, 451.5. QUICK_2 or TEACHDO_QUICK_MODE written beside other
// values selects the mode and teaches nothing.
TEST_F(SimTest, SwitchPointFollowsLimitsOnlyInMaxMinMode) {
    run(R"(
        flow 650, sim TEACHDO_SWPOINT=25, FLOWSP_RAW=275, job TEACH_MAX=801, FLOWSP_RAW=275
        sim TEACHDO_SWPOINT=50, FLOWSP_RAW=450, sim TEACH_MAX=803, FLOWSP_RAW=452
        job QUICK_2=1;FLOWSPQT_RAW=300, mode 1, TEACH_MAX=803, sim TEACH_MIN=0, FLOWSP_RAW=452, QUICK_2=1
        job QUICK_2=2;TEACH_MAX=900;TEACH_MIN=100, mode 2, FLOWSP_RAW=500, TEACH_MAX_SAVE=900
        job TEACHDO_QUICK_MODE=1;TEACH_MAX=500, FLOWSP_RAW=500
        job TEACHDO_QUICK_MODE=2;TEACHDO_SWPOINT=10, FLOWSP_RAW=140
    )");
}

TEST_F(CommTest, DeviceObjectMakesANewCommunicationObjectEachTimeUnlessItsOptionsSayNo) {
    SimDevice device{scheduler, sim, model};
    EXPECT_FALSE(device.communication());
    auto first = device.CreateCommunication();
    auto second = device.CreateCommunication();
    EXPECT_NE(second, first);
    EXPECT_EQ(device.communication(), second);  // the one the console asks whether it is connected
    sim->setOptions(DeviceOptions{.commFails = true});
    EXPECT_EQ(errorOf([&] { device.CreateCommunication(); }), platform::kCannotCreateObject);
}

// Connecting is not connected; observers hear before the receiver; a job's latency is fixed when
// it is queued; the device acts when the job is answered; with latency 0 the answer still comes
// later, and early answers come inside the queuing call, once only.
TEST_F(CommTest, AnswersComeAfterTheLatencyFixedAtRequestTimeNeverInsideTheCall) {
    run(R"(
        latency 100, connect, latency 10, wait 99, connected no, log, wait 1, connected yes
        log connection CONNECTED;status CONNECTED, latency 30, write SWPOINT=70 -> JOB-1, latency 0
        read PROINTEMP -> JOB-2, log, wait 0, log read 1;job JOB-2 SUCCESS, SWPOINT=60, wait 30
        log write SWPOINT=70;job JOB-1 SUCCESS, SWPOINT=70, early, write SWPOINT=71 -> JOB-3
        log write SWPOINT=71;job JOB-3 SUCCESS, wait 1000, log
    )");
}

// Refused jobs use no id.
TEST_F(CommTest, JobsAreNotQueuedUnlessConnected) {
    run(R"(
        read PROINTEMP ->, connect, write SWPOINT=70 ->, wait 50, read PROINTEMP -> JOB-1, wait 50
        SWPOINT=60, log connection CONNECTED;status CONNECTED;read 1;job JOB-1 SUCCESS
    )");
}

// The outcome is fixed when the request is made. A request to connect while connecting or
// connected changes nothing; one to disconnect is refused when there is nothing to end, changes
// nothing while disconnecting, and gives up a connection being made. Jobs unanswered when the
// connection ends are never answered.
TEST_F(CommTest, ConnectionRequestsByStateAndOutcome) {
    run(R"(
        outcome fail, disconnect refused, connect, outcome ok, wait 50
        log connection CONNECT FAILED;status CONNECT FAILED, connected no, connect, wait 20, connect
        wait 1000, connect, wait 1000, log connection CONNECTED;status CONNECTED, latency 200
        write SWPOINT=70 -> JOB-1, latency 50, disconnect, disconnect, connect refused, connected yes
        wait 1000, log connection DISCONNECTED;status DISCONNECTED, SWPOINT=60, connected no
        disconnect refused, connect, wait 30, disconnect, wait 1000
        log connection DISCONNECTED;status DISCONNECTED, connected no, outcome refuse, connect refused
        wait 1000, log
    )");
}

// Pending jobs are dropped, the end is reported at the present time, a new connection waits for
// it; an abort while connecting ends that too, and with nothing left it does nothing.
TEST_F(CommTest, AbortDropsPendingJobsAndReportsAtTheNextWait) {
    run(R"(
        connect, wait 50, read PROINTEMP -> JOB-1, write SWPOINT=70 -> JOB-2, abort
        log connection CONNECTED;status CONNECTED, connect refused, wait 0
        log connection DISCONNECTED ABORT;status DISCONNECTED ABORT, connected no, wait 1000, log
        SWPOINT=60, connect, abort, wait 1000
        log connection DISCONNECTED ABORT;status DISCONNECTED ABORT, connected no, abort, wait 1000, log
    )");
}

// A new count replaces the earlier one of its kind; a job uses its own kind's count before Any.
TEST_F(CommTest, InjectedFailuresCountPerKindAndNeverReachTheDevice) {
    run(R"(
        connect, wait 50, log connection CONNECTED;status CONNECTED, fail read=5, fail read=2, fail any=1
        read PROINTEMP -> JOB-1, write SWPOINT=70 -> JOB-2, read PROINTEMP -> JOB-3, latency 60
        write SWPOINT=71 -> JOB-4, read PROINTEMP -> JOB-5, wait 50
        log job JOB-1 FAILED;job JOB-2 FAILED;job JOB-3 FAILED, SWPOINT=60, wait 10
        log write SWPOINT=71;job JOB-4 SUCCESS;read 1;job JOB-5 SUCCESS, SWPOINT=71
    )");
}

// Release ends everything without a word; a receiver that is gone hears nothing though the device
// acts; a communication object that is gone gets no answers.
TEST_F(CommTest, ReleasedOrGoneEndsAreSilent) {
    run("connect, wait 50, read PROINTEMP -> JOB-1, log connection CONNECTED;status CONNECTED");
    EXPECT_TRUE(comm->Release(true));
    run("wait 1000, connected no, connect refused, read PROINTEMP ->, abort, wait 1000, log");

    comm = SimCommunication::create(scheduler, sim);
    comm->SetReceiver(receiver);
    run("connect, wait 50, write SWPOINT=70 -> JOB-1, log connection CONNECTED;status CONNECTED");
    receiver.reset();
    run("wait 50, log write SWPOINT=70, SWPOINT=70, read PROINTEMP -> JOB-2");
    comm.reset();
    run("wait 1000, log");
}

TEST_F(CommTest, AReadCopiesTheDeviceValuesWhenItIsAnsweredKeepingNoValue) {
    run(R"(
        connect, wait 50, sim TEACH_MAX=900, read TEACH_MAX;TEACH_MAX_SAVE|PROINTEMP -> JOB-1
        sim PROINTEMP=35
    )");
    sim->setOptions(DeviceOptions{.flowSp = Presence::NoValue});
    run(R"(
        read FLOWSP_RAW -> JOB-2, param PROINTEMP=22, wait 50
        log connection CONNECTED;status CONNECTED;read 3;job JOB-1 SUCCESS;read 1;job JOB-2 SUCCESS
        param TEACH_MAX=900, param TEACH_MAX_SAVE=900, param PROINTEMP=35, param FLOWSP_RAW=<none>
    )");
}

// A parameter without a value leaves the device's own alone (the observer shows it empty); in
// max/min mode the switch point follows (100 + 40 % of 700, then 150 + 40 % of 650).
TEST_F(CommTest, AWriteCarriesTheValuesOfItsQueuingTimeInJobOrder) {
    run(R"(
        connect, wait 50, log connection CONNECTED;status CONNECTED, novalue TEACH_MAX
        write TEACHDO_SWPOINT=40;SWPOINT=70;TEACH_MAX -> JOB-1, set SWPOINT=80, wait 50
        log write TEACHDO_SWPOINT=40 SWPOINT=70 TEACH_MAX=;job JOB-1 SUCCESS
        SWPOINT=70, TEACH_MAX=800, FLOWSP_RAW=380, sim TEACH_MIN=150
    )");
    host::WriteItem none = host::ParameterPtr();
    EXPECT_THROW(comm->QueueWrite(true, none), platform::RuntimeError);
    copyDeviceValues(*sim, *model);  // the whole model takes the device's values at once
    run("param TEACH_MIN_SAVE=150, param FLOWSP_RAW=410");
}

}  // namespace
}  // namespace qx::frame::test
