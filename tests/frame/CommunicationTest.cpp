// The device object and its communication object as the view sees them: one event log of link
// observers and receiver callbacks, in order, and the values jobs carry between model and device.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "FrameTestSupport.h"
#include "frame/DeviceValues.h"
#include "frame/SimCommunication.h"
#include "frame/SimDevice.h"
#include "host/ViewInterfaces.h"
#include "platform/VirtualScheduler.h"

namespace qx::frame::test {
namespace {

using EventLog = std::vector<std::string>;

const std::map<std::string, SimLink::FailKind> kFailKinds = {
    {"read", SimLink::FailKind::Read}, {"write", SimLink::FailKind::Write}, {"any", SimLink::FailKind::Any}};
const std::map<std::string, SimLink::ConnectOutcome> kOutcomes = {
    {"ok", SimLink::ConnectOutcome::Ok},
    {"fail", SimLink::ConnectOutcome::Fail},
    {"refuse", SimLink::ConnectOutcome::Refuse}};

struct RecordingReceiver : host::IBase_Communication {
    explicit RecordingReceiver(EventLog& log) : log(log) {}
    void IBase_Communication_OnJobResponse(const std::string& id, const std::string& s, int32_t) override {
        log.push_back("job " + id + " " + s);
    }
    void IBase_Communication_OnConnectStatusChanged(const std::string& s) override {
        log.push_back("status " + s);
    }
    void IBase_Communication_OnReleased() override { log.push_back("released"); }
    EventLog& log;
};

// The log as the console prints it: observers (`write P="v" ...`, `read n`, `connection S`) just
// before the receiver's callbacks.
class CommTest : public ::testing::Test {
  protected:
    void SetUp() override {
        link().onWrite = [this](const std::vector<WrittenValue>& values) {
            std::string line = "write";
            for (const auto& v : values) line += " " + v.name + "=" + v.text.value_or("");
            log.push_back(line);
        };
        link().onRead = [this](size_t n) { log.push_back("read " + std::to_string(n)); };
        link().onConnection = [this](const std::string& s) { log.push_back("connection " + s); };
        comm->SetReceiver(receiver);
    }

    // Steps, in the console's words:
    //   requests  "connect", "disconnect" (must be accepted; "... refused": must not be);
    //             "read P", "write P=V" (queued; "... -> ID" checks the id, "->" an empty one)
    //   the link  "latency MS", "early", "fail read|write|any=N", "outcome ok|fail|refuse", "abort"
    //   time      "wait MS"
    //   checks    "log E;E" (the events since the last check, none when bare), "connected yes|no",
    //             "device P=V"
    void run(const std::string& script) {
        for (const std::string& step : stepsOf(script)) {
            SCOPED_TRACE(step);
            const auto blank = std::min(step.find(' '), step.size());
            const auto arrow = std::min(step.find(" ->"), step.size());
            const std::string word = step.substr(0, blank);
            const std::string rest = blank < arrow ? step.substr(blank + 1, arrow - blank - 1) : "";
            const std::string id = step.substr(std::min(arrow + 4, step.size()));
            const std::string name = rest.substr(0, rest.find('=')), value = rest.substr(rest.find('=') + 1);
            auto write = [&] {
                findParameter(*model, name)->setValueText(value);
                host::WriteItem item = host::ParameterPtr(findParameter(*model, name));
                return comm->QueueWrite(true, item);
            };
            const std::map<std::string, std::function<void()>> actions = {
                {"connect", [&] { EXPECT_EQ(comm->Connecting(true), rest != "refused"); }},
                {"disconnect", [&] { EXPECT_EQ(comm->Connecting(false), rest != "refused"); }},
                {"read", [&] { EXPECT_EQ(comm->QueueRead(true, {{findParameter(*model, rest)}}), id); }},
                {"write", [&] { EXPECT_EQ(write(), id); }},
                {"latency", [&] { link().latencyMs = std::stoll(rest); }},
                {"early", [&] { link().early = true; }},
                {"fail", [&] { link().failNext(kFailKinds.at(name), std::stoi(value)); }},
                {"outcome", [&] { link().connectOutcome = kOutcomes.at(rest); }},
                {"abort", [&] { link().abort(); }},
                {"wait", [&] { scheduler.advance(std::stoll(rest)); }},
                {"connected", [&] { EXPECT_EQ(comm->IsConnected(), rest == "yes"); }},
                {"device", [&] { EXPECT_EQ(sim->value(name), value); }},
                {"log", [&] { EXPECT_EQ(std::exchange(log, {}), split(rest, ";")); }},
            };
            actions.at(word)();
        }
    }

    platform::VirtualScheduler scheduler;
    std::shared_ptr<FlowMonitorSim> sim = std::make_shared<FlowMonitorSim>(scheduler);
    std::shared_ptr<FrameDataModel> model = createFrameModel({});
    EventLog log;
    std::shared_ptr<RecordingReceiver> receiver = std::make_shared<RecordingReceiver>(log);
    std::shared_ptr<SimCommunication> comm = SimCommunication::create(scheduler, sim);

  private:
    SimLink& link() { return sim->link(); }
};

TEST_F(CommTest, DeviceObjectMakesANewCommunicationObjectEachTimeUnlessItsOptionsSayNo) {
    SimDevice device{scheduler, sim, model};
    auto first = device.CreateCommunication();
    EXPECT_NE(device.CreateCommunication(), first);
    auto options = sim->options();
    options.commFails = true;
    sim->setOptions(options);
    EXPECT_EQ(errorOf([&] { device.CreateCommunication(); }), platform::kCannotCreateObject);
}

// Connecting is not connected; observers hear before the receiver; a job's latency is fixed when
// it is queued; the device acts when the job is answered; with latency 0 the answer still comes
// later, and early answers come inside the queuing call, once only.
TEST_F(CommTest, AnswersComeAfterTheLatencyFixedAtRequestTimeNeverInsideTheCall) {
    run(R"(
        latency 100, connect, latency 10, wait 99, connected no, log, wait 1, connected yes
        log connection CONNECTED;status CONNECTED, latency 30, write SWPOINT=70 -> JOB-1, latency 0
        read PROINTEMP -> JOB-2, log, wait 0, log read 1;job JOB-2 SUCCESS, device SWPOINT=60, wait 30
        log write SWPOINT=70;job JOB-1 SUCCESS, device SWPOINT=70, early, write SWPOINT=71 -> JOB-3
        log write SWPOINT=71;job JOB-3 SUCCESS, wait 1000, log
    )");
}

// Refused jobs use no id.
TEST_F(CommTest, JobsAreNotQueuedUnlessConnected) {
    run(R"(
        read PROINTEMP ->, connect, write SWPOINT=70 ->, wait 50, read PROINTEMP -> JOB-1, wait 50
        device SWPOINT=60, log connection CONNECTED;status CONNECTED;read 1;job JOB-1 SUCCESS
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
        wait 1000, log connection DISCONNECTED;status DISCONNECTED, device SWPOINT=60, connected no
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
        device SWPOINT=60, connect, abort, wait 1000
        log connection DISCONNECTED ABORT;status DISCONNECTED ABORT, connected no, abort, wait 1000, log
    )");
}

// A new count replaces the earlier one of its kind; a job uses its own kind's count before Any.
TEST_F(CommTest, InjectedFailuresCountPerKindAndNeverReachTheDevice) {
    run(R"(
        connect, wait 50, log connection CONNECTED;status CONNECTED, fail read=5, fail read=2, fail any=1
        read PROINTEMP -> JOB-1, write SWPOINT=70 -> JOB-2, read PROINTEMP -> JOB-3, latency 60
        write SWPOINT=71 -> JOB-4, read PROINTEMP -> JOB-5, wait 50
        log job JOB-1 FAILED;job JOB-2 FAILED;job JOB-3 FAILED, device SWPOINT=60, wait 10
        log write SWPOINT=71;job JOB-4 SUCCESS;read 1;job JOB-5 SUCCESS, device SWPOINT=71
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
    run("wait 50, log write SWPOINT=70, device SWPOINT=70, read PROINTEMP -> JOB-2");
    comm.reset();
    scheduler.advance(1000);
    EXPECT_EQ(log, EventLog{});
}

TEST_F(CommTest, AReadCopiesTheDeviceValuesWhenItIsAnsweredKeepingNoValue) {
    run("connect, wait 50");
    sim->set("TEACH_MAX", "900");
    auto param = [&](const char* name) -> host::ParameterPtr { return findParameter(*model, name); };
    comm->QueueRead(true, {{param("TEACH_MAX"), param("TEACH_MAX_SAVE")}, {param("PROINTEMP")}});
    sim->setTemperature(35);  // still before the answer
    auto options = sim->options();
    options.flowSp = Presence::NoValue;
    sim->setOptions(options);
    comm->QueueRead(true, {{param("FLOWSP_RAW")}});
    EXPECT_EQ(param("PROINTEMP")->valueText(), "22");
    run(R"(
        wait 50
        log connection CONNECTED;status CONNECTED;read 3;job JOB-1 SUCCESS;read 1;job JOB-2 SUCCESS
    )");
    EXPECT_EQ(param("TEACH_MAX")->valueText(), "900");
    EXPECT_EQ(param("TEACH_MAX_SAVE")->valueText(), "900");
    EXPECT_EQ(param("PROINTEMP")->valueText(), "35");
    EXPECT_NE(param("FLOWSP_RAW")->noValue(), 0);
}

// A parameter without a value leaves the device's own alone (the observer shows it empty).
TEST_F(CommTest, AWriteCarriesTheValuesOfItsQueuingTimeInJobOrder) {
    run("connect, wait 50, log connection CONNECTED;status CONNECTED");
    auto param = [&](const char* name) { return findParameter(*model, name); };
    param("TEACHDO_SWPOINT")->setValueText("40");
    param("SWPOINT")->setValueText("70");
    param("TEACH_MAX")->setDeviceValue(std::nullopt);
    host::WriteItem item =
        host::ParameterList{param("TEACHDO_SWPOINT"), param("SWPOINT"), param("TEACH_MAX")};
    comm->QueueWrite(true, item);
    param("SWPOINT")->setValueText("80");  // too late for the job
    // In max/min mode the switch point follows: 100 + 40 % of 700.
    run(R"(
        wait 50, log write TEACHDO_SWPOINT=40 SWPOINT=70 TEACH_MAX=;job JOB-1 SUCCESS, device SWPOINT=70
        device TEACH_MAX=800, device FLOWSP_RAW=380
    )");
    host::WriteItem none = host::ParameterPtr();
    EXPECT_THROW(comm->QueueWrite(true, none), platform::RuntimeError);

    sim->set("TEACH_MIN", "150");  // and the whole model can take the device's values at once
    copyDeviceValues(*sim, *model);
    EXPECT_EQ(param("TEACH_MIN_SAVE")->valueText(), "150");
    EXPECT_EQ(param("FLOWSP_RAW")->valueText(), "410");
}

}  // namespace
}  // namespace qx::frame::test
