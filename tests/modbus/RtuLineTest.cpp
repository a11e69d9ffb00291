// The serial line's own part: its frames and what it counts. Frames are checked against
// examples worked out by hand from the CRC's definition; the line runs against a device on a
// pseudo-terminal that answers, refuses, garbles, answers late or keeps silent on request.
#include <gtest/gtest.h>

#include <utility>

#include "frame/FrameModelFactory.h"
#include "frame/FrameTestSupport.h"
#include "frame/ParameterLookup.h"
#include "frame/SimLine.h"
#include "frame/modbus/RtuFrame.h"
#include "frame/modbus/RtuLine.h"
#include "frame/modbus/SerialPort.h"
#include "modbus/PtyServer.h"
#include "platform/VirtualScheduler.h"

namespace qx::frame::test {
namespace {

TEST(RtuFrameTest, FramesCarryTheirCrcLowByteFirstAndTellTheirLength) {
    const uint8_t read[] = {0x03, 0x00, 0x00, 0x00, 0x0A};
    EXPECT_EQ(buildRtuFrame(1, read), (std::vector<uint8_t>{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD}));
    const uint8_t write[] = {0x06, 0x00, 0x05, 0x00, 0x01};
    const auto frame = buildRtuFrame(1, write);
    EXPECT_EQ(frame, (std::vector<uint8_t>{0x01, 0x06, 0x00, 0x05, 0x00, 0x01, 0x58, 0x0B}));
    EXPECT_TRUE(crcHolds(frame));
    for (size_t i = 0; i < frame.size(); ++i) {
        auto broken = frame;
        broken[i] ^= 0x01;
        EXPECT_FALSE(crcHolds(broken)) << "a bit flipped in byte " << i;
    }

    // Replies: an exception is five bytes, a read three plus its byte count plus the CRC.
    EXPECT_EQ(rtuReplySize(std::vector<uint8_t>{0x01}), std::nullopt);
    EXPECT_EQ(rtuReplySize(std::vector<uint8_t>{0x01, 0x83}), 5u);
    EXPECT_EQ(rtuReplySize(std::vector<uint8_t>{0x01, 0x03}), std::nullopt);
    EXPECT_EQ(rtuReplySize(std::vector<uint8_t>{0x01, 0x03, 0x14}), 25u);
    EXPECT_EQ(rtuReplySize(std::vector<uint8_t>{0x01, 0x10}), 8u);
    EXPECT_EQ(rtuReplySize(std::vector<uint8_t>{0x01, 0x2B}), 5u) << "never waits for more than it can check";
    // Requests: a multiple write announces its bytes in its seventh.
    EXPECT_EQ(rtuRequestSize(std::vector<uint8_t>{0x01, 0x10, 0, 4, 0, 2}), std::nullopt);
    EXPECT_EQ(rtuRequestSize(std::vector<uint8_t>{0x01, 0x10, 0, 4, 0, 2, 4}), 13u);
    EXPECT_EQ(rtuRequestSize(std::vector<uint8_t>{0x01, 0x03}), 8u);

    EXPECT_EQ(rtuSilenceUs(19200), 2006);
    EXPECT_EQ(rtuSilenceUs(9600), 4011);
    EXPECT_EQ(rtuSilenceUs(115200), 1750);
}

TEST(SerialSettingsTest, ReadsEveryOptionAndNamesWhatItRefuses) {
    const auto s = parseSerialSettings({"/dev/ttyS1", "baud=9600", "parity=N", "data=7", "stop=2", "unit=17",
                                        "timeout=250", "connect-timeout=10"});
    EXPECT_EQ(s.device, "/dev/ttyS1");
    EXPECT_EQ(s.baud, 9600u);
    EXPECT_EQ(s.parity, 'N');
    EXPECT_EQ(s.dataBits, 7);
    EXPECT_EQ(s.stopBits, 2);
    EXPECT_EQ(s.unit, uint8_t{17});
    EXPECT_EQ(s.responseTimeoutMs, 250);
    EXPECT_EQ(s.connectTimeoutMs, 10);
    const auto defaults = parseSerialSettings({"/dev/ttyS1"});
    EXPECT_EQ(defaults.baud, 19200u);
    EXPECT_EQ(defaults.parity, 'E');
    EXPECT_EQ(defaults.unit, std::nullopt);

    auto refusal = [](std::vector<std::string> words) {
        try {
            parseSerialSettings(words);
        } catch (const std::invalid_argument& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_EQ(refusal({"/dev/ttyS1", "baud=19201"}),
              "baud is one of 1200 2400 4800 9600 19200 38400 57600 115200, not baud=19201");
    EXPECT_EQ(refusal({"/dev/ttyS1", "parity=X"}), "parity is E, O or N, not parity=X");
    EXPECT_EQ(refusal({"/dev/ttyS1", "unit=0"}), "unit is 1..247, not unit=0");
    EXPECT_EQ(refusal({"/dev/ttyS1", "timeout=0"}), "a timeout is <name>=<ms> (1..600000), not timeout=0");
    EXPECT_EQ(refusal({"/dev/ttyS1", "flow=on"}),
              "no line option flow (baud, parity, data, stop, unit, timeout, connect-timeout)");
}

// A line as a front end makes it, on a device that the test steers.
class RtuDiagnosticsTest : public ::testing::Test {
  protected:
    // The line's arguments as `line rtu` takes them.
    void make(const std::vector<std::string>& words) {
        line = rtuLineKind().parse(words)({scheduler, simulator, observers});
        device = line->makeDevice(model);
        comm = device->CreateCommunication();
        comm->SetReceiver(receiver);
    }
    EventLog next(size_t count) {
        for (int round = 0; round < 200 && log.size() < count; ++round) {
            line->inbox()->wait(50);
            line->inbox()->drain();
            scheduler.advance(50);
        }
        return std::exchange(log, {});
    }
    std::string read() {
        return comm->QueueRead(true,
                               {{findParameter(*model, "PROINTEMP"), findParameter(*model, "TEACH_MAX")}});
    }
    const LineDiagnostics& diagnostics() { return line->communication()->diagnostics(); }

    platform::VirtualScheduler scheduler{0};
    std::shared_ptr<FlowMonitorSim> simulator = std::make_shared<FlowMonitorSim>(scheduler);
    LineObservers observers;
    std::shared_ptr<FrameDataModel> model = createFrameModel({});
    EventLog log;
    std::shared_ptr<RecordingReceiver> receiver = std::make_shared<RecordingReceiver>(log);
    std::unique_ptr<Line> line;
    host::DevicePtr device;
    host::CommunicationPtr comm;
};

TEST_F(RtuDiagnosticsTest, CountsEveryAnswerAndEveryWayAJobFails) {
    PtyServer pty;
    make({pty.path(), "timeout=200"});
    ASSERT_TRUE(comm->Connecting(true));
    ASSERT_EQ(next(1), EventLog{"status CONNECTED"});
    EXPECT_EQ(line->kind() + " " + line->address(), "rtu " + pty.path());

    const std::vector<std::pair<PtyServer::Fault, std::string>> script = {
        {PtyServer::Fault::None, "SUCCESS"},     {PtyServer::Fault::None, "SUCCESS"},
        {PtyServer::Fault::Silent, "FAILED"},    {PtyServer::Fault::None, "SUCCESS"},
        {PtyServer::Fault::Exception, "FAILED"}, {PtyServer::Fault::BadCrc, "FAILED"},
        {PtyServer::Fault::Late, "FAILED"},
    };
    for (const auto& [fault, status] : script) {
        pty.next(fault);
        const std::string id = read();
        ASSERT_EQ(next(1), EventLog{"job " + id + " " + status});
    }
    // A serial reply names no request: the late read's answer must not pass for this write's.
    auto swpoint = findParameter(*model, "SWPOINT");
    swpoint->setValueText("70");
    host::WriteItem item = swpoint;
    const std::string write = comm->QueueWrite(true, item);
    ASSERT_EQ(next(1), EventLog{"job " + write + " SUCCESS"});
    EXPECT_EQ(pty.value("SWPOINT"), "70");
    EXPECT_EQ(findParameter(*model, "PROINTEMP")->valueText(), "35");
    EXPECT_EQ(diagnostics().requests, 8u);
    EXPECT_EQ(diagnostics().answers, 4u);
    EXPECT_EQ(diagnostics().timeouts, 2u);
    EXPECT_EQ(diagnostics().exceptions, 1u);
    EXPECT_EQ(diagnostics().malformed, 1u);
    EXPECT_EQ(diagnostics().reconnects, 0u);
    EXPECT_EQ(diagnostics().latencyCount(), 4u);

    // The device goes; the line says so; a new connection counts as made again.
    pty.dropNext();
    read();
    EXPECT_EQ(next(1), EventLog{"status DISCONNECTED ABORT"});
    ASSERT_TRUE(comm->Connecting(true));
    ASSERT_EQ(next(1), EventLog{"status CONNECTED"});
    EXPECT_EQ(diagnostics().reconnects, 1u);
    EXPECT_EQ(diagnostics().requests, 9u) << "the job lost with the line was sent, never answered";
    EXPECT_EQ(diagnostics().answers, 4u);
}

TEST_F(RtuDiagnosticsTest, ADeviceThatCannotBeOpenedFailsTheConnection) {
    make({"/nonexistent/ttyQX0"});
    ASSERT_TRUE(comm->Connecting(true));
    EXPECT_EQ(next(1), EventLog{"status CONNECT FAILED"});
    EXPECT_FALSE(comm->IsConnected());
}

TEST_F(RtuDiagnosticsTest, ATeachCommandWithItsValuesIsOneWriteRequest) {
    PtyServer pty;
    make({pty.path()});
    ASSERT_TRUE(comm->Connecting(true));
    ASSERT_EQ(next(1), EventLog{"status CONNECTED"});
    host::ParameterList job;
    for (const auto& [name, value] :
         {std::pair{"QUICK_2", "2"}, {"TEACH_MAX", "700"}, {"TEACH_MIN", "200"}}) {
        auto parameter = findParameter(*model, name);
        parameter->setValueText(value);
        job.push_back(parameter);
    }
    host::WriteItem item = job;
    const std::string id = comm->QueueWrite(true, item);
    ASSERT_EQ(next(1), EventLog{"job " + id + " SUCCESS"});
    EXPECT_EQ(pty.requests(), 1u);
    // Taken together the code selects the mode; alone it would have taught the present flow.
    EXPECT_EQ(pty.value("TEACH_MAX"), "700");
    EXPECT_EQ(pty.value("TEACH_MIN"), "200");
}

TEST(LineDiagnosticsTest, LatenciesAreTheLastThousandByNearestRank) {
    LineDiagnostics d;
    EXPECT_EQ(d.text(), "requests=0 answers=0 timeouts=0 exceptions=0 malformed=0 reconnects=0 p50=- p99=-");
    for (int64_t ms = 1; ms <= 100; ++ms) d.answered(ms * 1000);
    EXPECT_EQ(d.latencyMs(0.5), 50.0);
    EXPECT_EQ(d.latencyMs(0.99), 99.0);
    // 1000 more of 2 ms push every one of the first hundred out.
    for (int i = 0; i < 1000; ++i) d.answered(2000);
    EXPECT_EQ(d.latencyMs(0.99), 2.0);
    EXPECT_EQ(d.answers, 1100u);
    d.answered(1250);
    d.failed(JobFault::Timeout);
    d.failed(JobFault::Local);
    EXPECT_EQ(d.text(),
              "requests=0 answers=1101 timeouts=1 exceptions=0 malformed=0 reconnects=0 p50=2 p99=2");
    EXPECT_EQ(millisecondsText(1.25), "1.3");
    EXPECT_EQ(millisecondsText(0.04), "0");
}

}  // namespace
}  // namespace qx::frame::test
