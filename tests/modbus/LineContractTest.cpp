// The line contract as the view meets it, on every kind of line made through its kind's factory:
// the simulated line on virtual time, the Modbus TCP line against a server on 127.0.0.1 and the
// Modbus RTU line against a device on a pseudo-terminal, both serving the simulated flow monitor's
// registers. All must tell the same story, event for event:
// which requests are accepted, which statuses come and when, job ids, answers never inside the
// call, "FAILED" for a failed request, nothing after the end of a connection or after release.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <utility>

#include "frame/FrameModelFactory.h"
#include "frame/FrameTestSupport.h"
#include "frame/ParameterLookup.h"
#include "frame/SimLine.h"
#include "frame/modbus/ModbusFrame.h"
#include "frame/modbus/ModbusLine.h"
#include "frame/modbus/RtuLine.h"
#include "frame/modbus/SimRegisterBank.h"
#include "modbus/BankReply.h"
#include "modbus/PtyServer.h"
#include "platform/VirtualScheduler.h"

namespace qx::frame::test {
namespace {

constexpr double kTemperature = 35;  // the device's, unlike the model's 22 before a read

// A Modbus TCP server on 127.0.0.1 for one client at a time, serving a simulated flow monitor of
// its own. The test may have it answer the next request with an exception, end the connection at
// the next request instead of answering, or stop listening.
class LoopbackServer {
  public:
    LoopbackServer()
        : device_(clock_),
          bank_(device_, readRegisterMap(flowMonitorDescriptionPath()),
                readDescriptionFile(flowMonitorDescriptionPath())) {
        device_.setTemperature(kTemperature);
        listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(0x7F000001);
        socklen_t size = sizeof address;
        auto* any = reinterpret_cast<sockaddr*>(&address);
        if (bind(listener_, any, size) != 0 || listen(listener_, 1) != 0 ||
            getsockname(listener_, any, &size) != 0)
            throw std::runtime_error("no listening socket on 127.0.0.1");
        port_ = ntohs(address.sin_port);
        if (pipe(stop_) != 0) throw std::runtime_error("no pipe");
        thread_ = std::thread([this] { serve(); });
    }
    ~LoopbackServer() {
        [[maybe_unused]] const auto written = write(stop_[1], "x", 1);
        thread_.join();
        for (int fd : {listener_, stop_[0], stop_[1]}) close(fd);
    }

    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    void failNext() { failNext_ = true; }
    void dropNext() { dropNext_ = true; }
    // Connections are refused from now on.
    void stopListening() { shutdown(listener_, SHUT_RDWR); }

  private:
    void serve() {
        int client = -1;
        bool listening = true;
        for (;;) {
            // poll() passes over a negative descriptor.
            pollfd fds[2] = {{stop_[0], POLLIN, 0},
                             {client >= 0 ? client
                              : listening ? listener_
                                          : -1,
                              POLLIN, 0}};
            poll(fds, 2, -1);
            if (fds[0].revents) break;
            if (client < 0) {
                client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
                listening = client >= 0;
            } else if (!answerOne(client)) {
                close(client);
                client = -1;
            }
        }
        if (client >= 0) close(client);
    }
    static bool receive(int client, uint8_t* bytes, size_t size) {
        for (size_t got = 0; got < size;) {
            const ssize_t n = read(client, bytes + got, size - got);
            if (n <= 0) return false;
            got += static_cast<size_t>(n);
        }
        return true;
    }
    // One request and its reply; false when the client is gone.
    bool answerOne(int client) {
        std::vector<uint8_t> frame(kMbapSize);
        if (!receive(client, frame.data(), kMbapSize)) return false;
        const MbapHeader header = parseMbap(frame);
        frame.resize(header.frameSize());
        if (!receive(client, frame.data() + kMbapSize, frame.size() - kMbapSize)) return false;
        if (dropNext_.exchange(false)) return false;
        const auto reply = bankReply(bank_, std::span(frame).subspan(kMbapSize), failNext_.exchange(false));
        const auto bytes = buildFrame(header.transaction, header.unit, reply);
        return write(client, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }

    platform::VirtualScheduler clock_{0};
    FlowMonitorSim device_;
    SimRegisterBank bank_;
    int listener_ = -1;
    uint16_t port_ = 0;
    int stop_[2] = {-1, -1};
    std::atomic<bool> failNext_ = false, dropNext_ = false;
    std::thread thread_;
};

// One line of the kind under test, made as a front end makes it: parsed by its kind, made with
// the frame's context, its device object made with the frame's model.
class LineContractTest : public ::testing::TestWithParam<std::string> {
  protected:
    LineContractTest() {
        simulator->setTemperature(kTemperature);
        LineObservers& observers = simulator->link();
        observers.onWrite = [this](const std::vector<WrittenValue>& values) {
            std::string job = "write";
            for (const auto& v : values) job += " " + v.name + "=" + v.text.value_or("");
            log.push_back(job);
        };
        observers.onRead = [this](size_t n) { log.push_back("read " + std::to_string(n)); };
        observers.onConnection = [this](const std::string& s) { log.push_back("connection " + s); };
        std::vector<std::string> words = {GetParam()};
        if (GetParam() == "modbus") {
            server = std::make_unique<LoopbackServer>();
            words.push_back(server->address());
        } else if (GetParam() == "rtu") {
            pty = std::make_unique<PtyServer>(kTemperature);
            words.push_back(pty->path());
        }
        const LineKinds kinds({simLineKind(), modbusLineKind(), rtuLineKind()});
        line = kinds.parse(words)({scheduler, simulator, observers});
        device = line->makeDevice(model);
        comm = device->CreateCommunication();
        comm->SetReceiver(receiver);
    }

    // The line works until `count` events have come (each within the line's latency or the
    // server's reply); what came.
    EventLog next(size_t count) {
        for (int round = 0; round < 200 && log.size() < count; ++round) run(50);
        return std::exchange(log, {});
    }
    // The line works a while longer: nothing may come.
    EventLog quiet() {
        for (int round = 0; round < 5; ++round) run(20);
        return std::exchange(log, {});
    }
    void run(int64_t ms) {
        if (auto inbox = line->inbox()) {
            inbox->wait(ms);
            inbox->drain();
        }
        scheduler.advance(ms);
    }
    std::string read(const std::vector<std::string>& names) {
        host::ParameterList parameters;
        for (const auto& name : names) parameters.push_back(findParameter(*model, name));
        return comm->QueueRead(true, {parameters});
    }
    std::string write(const std::string& name, const std::string& value) {
        auto parameter = findParameter(*model, name);
        parameter->setValueText(value);
        host::WriteItem item = parameter;
        return comm->QueueWrite(true, item);
    }
    void failNextJob() {
        if (pty)
            pty->next(PtyServer::Fault::Exception);
        else if (server)
            server->failNext();
        else
            simulator->link().failNext(SimLink::FailKind::Any, 1);
    }
    // The device drops the connection; on a real line the next request finds it gone.
    void dropConnection() {
        if (pty)
            pty->dropNext();
        else if (server)
            server->dropNext();
        else
            simulator->link().abort();
    }
    void refuseConnections() {
        if (pty)
            pty->remove();
        else if (server)
            server->stopListening();
        else
            simulator->link().connectOutcome = SimLink::ConnectOutcome::Fail;
    }
    void connect() {
        ASSERT_TRUE(comm->Connecting(true));
        ASSERT_EQ(next(2), (EventLog{"connection CONNECTED", "status CONNECTED"}));
    }

    platform::VirtualScheduler scheduler{0};
    std::shared_ptr<FlowMonitorSim> simulator = std::make_shared<FlowMonitorSim>(scheduler);
    std::shared_ptr<FrameDataModel> model = createFrameModel({});
    std::unique_ptr<LoopbackServer> server;
    std::unique_ptr<PtyServer> pty;
    EventLog log;
    std::shared_ptr<RecordingReceiver> receiver = std::make_shared<RecordingReceiver>(log);
    std::unique_ptr<Line> line;
    host::DevicePtr device;
    host::CommunicationPtr comm;
};

TEST_P(LineContractTest, RequestsStatusesAndAnswersKeepOneContract) {
    EXPECT_EQ(read({"PROINTEMP"}), "") << "no job while not connected";
    EXPECT_FALSE(comm->Connecting(false)) << "nothing to end";
    EXPECT_TRUE(comm->Connecting(true));
    EXPECT_TRUE(comm->Connecting(true)) << "while connecting: accepted, changes nothing";
    EXPECT_FALSE(comm->IsConnected());
    EXPECT_EQ(log, EventLog{}) << "never inside the call";
    EXPECT_EQ(next(2), (EventLog{"connection CONNECTED", "status CONNECTED"}));
    EXPECT_TRUE(comm->IsConnected());
    EXPECT_EQ(line->communication(), comm) << "the one a front end asks whether it is connected";

    EXPECT_EQ(read({"PROINTEMP", "TEACH_MAX"}), "JOB-1");
    EXPECT_EQ(findParameter(*model, "PROINTEMP")->valueText(), "22") << "taken when answered";
    EXPECT_EQ(next(2), (EventLog{"read 2", "job JOB-1 SUCCESS"}));
    EXPECT_EQ(findParameter(*model, "PROINTEMP")->valueText(), "35");
    EXPECT_EQ(write("SWPOINT", "70"), "JOB-2");
    EXPECT_EQ(next(2), (EventLog{"write SWPOINT=70", "job JOB-2 SUCCESS"}));
    failNextJob();
    EXPECT_EQ(read({"PROINTEMP"}), "JOB-3");
    EXPECT_EQ(next(1), EventLog{"job JOB-3 FAILED"});
    EXPECT_TRUE(comm->IsConnected()) << "a failed job leaves the connection to the view";

    EXPECT_TRUE(comm->Connecting(false));
    EXPECT_TRUE(comm->Connecting(false)) << "while disconnecting: accepted, changes nothing";
    EXPECT_FALSE(comm->Connecting(true)) << "while disconnecting: refused";
    EXPECT_EQ(next(2), (EventLog{"connection DISCONNECTED", "status DISCONNECTED"}));
    EXPECT_FALSE(comm->IsConnected());
    EXPECT_EQ(read({"PROINTEMP"}), "");

    connect();
    dropConnection();
    EXPECT_EQ(read({"PROINTEMP"}), "JOB-4");
    EXPECT_EQ(next(2), (EventLog{"connection DISCONNECTED ABORT", "status DISCONNECTED ABORT"}));
    EXPECT_EQ(quiet(), EventLog{}) << "a job of a connection that ended is never answered";
    EXPECT_FALSE(comm->IsConnected());

    connect();
    EXPECT_EQ(write("SWPOINT", "71"), "JOB-5");
    EXPECT_TRUE(comm->Release(true));
    EXPECT_EQ(quiet(), EventLog{}) << "release ends everything without a word";
    EXPECT_FALSE(comm->Connecting(true));
    EXPECT_EQ(read({"PROINTEMP"}), "");
}

// The frame's own jobs travel the same line in turn with the view's, but only the frame hears of
// them: the view's receiver never gets an answer it did not ask for. When the connection ends,
// the frame learns that its job will never be answered.
TEST_P(LineContractTest, TheFramesOwnJobsAreAnsweredToTheFrameOnly) {
    connect();
    auto* frameLine = dynamic_cast<LineCommunication*>(comm.get());
    ASSERT_NE(frameLine, nullptr);
    std::vector<std::string> heard;
    const std::string own = frameLine->QueueFrameRead(
        {findParameter(*model, "PROINTEMP")}, [&](bool ok) { heard.push_back(ok ? "ok" : "failed"); });
    EXPECT_EQ(own, "JOB-1");
    EXPECT_EQ(read({"TEACH_MAX"}), "JOB-2") << "the frame's job takes a number of the same count";
    EXPECT_EQ(next(3), (EventLog{"read 1", "read 1", "job JOB-2 SUCCESS"}));
    EXPECT_EQ(heard, std::vector<std::string>{"ok"});
    EXPECT_EQ(findParameter(*model, "PROINTEMP")->valueText(), "35");

    dropConnection();
    EXPECT_EQ(frameLine->QueueFrameRead({findParameter(*model, "PROINTEMP")},
                                        [&](bool ok) { heard.push_back(ok ? "ok" : "failed"); }),
              "JOB-3");
    EXPECT_EQ(next(2), (EventLog{"connection DISCONNECTED ABORT", "status DISCONNECTED ABORT"}));
    EXPECT_EQ(heard, (std::vector<std::string>{"ok", "failed"}));
    EXPECT_EQ(frameLine->QueueFrameRead({findParameter(*model, "PROINTEMP")}, nullptr), "")
        << "not connected";
}

TEST_P(LineContractTest, AConnectionThatCannotBeMadeFails) {
    refuseConnections();
    EXPECT_TRUE(comm->Connecting(true));
    EXPECT_EQ(next(2), (EventLog{"connection CONNECT FAILED", "status CONNECT FAILED"}));
    EXPECT_FALSE(comm->IsConnected());
    EXPECT_FALSE(comm->Connecting(false)) << "nothing to end";
    EXPECT_EQ(read({"PROINTEMP"}), "");
}

std::string kindName(const ::testing::TestParamInfo<std::string>& kind) {
    return kind.param;
}
INSTANTIATE_TEST_SUITE_P(EveryKind, LineContractTest, ::testing::Values("sim", "modbus", "rtu"), kindName);

// What a front end is told when it names a line wrongly, before anything is made.
TEST(LineKindsTest, RefusesWhatNoKindTakesNamingIt) {
    const LineKinds kinds({modbusLineKind(), simLineKind()});
    auto refusal = [&](const std::vector<std::string>& words) {
        try {
            kinds.parse(words);
        } catch (const LineError& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_EQ(refusal({"can", "/dev/can0"}), "unknown line kind \"can\" (modbus, sim)");
    EXPECT_EQ(refusal({"sim", "fast"}), "wrong number of arguments for line");
    EXPECT_EQ(refusal({"modbus"}), "wrong number of arguments for line");
    EXPECT_EQ(refusal({"modbus", "127.0.0.1:0"}), "line modbus wants <host>:<port>, not 127.0.0.1:0");
    EXPECT_EQ(refusal({"modbus", "127.0.0.1:502", "timeout=+1500", "connect-timeout=600000"}), "");
    EXPECT_EQ(refusal({"modbus", "127.0.0.1:502", "timeout=600001"}),
              "a timeout is <name>=<ms> (1..600000), not timeout=600001");
    EXPECT_EQ(refusal({"modbus", "127.0.0.1:502", "retries=3"}),
              "no line option retries (timeout, connect-timeout)");
}

}  // namespace
}  // namespace qx::frame::test
