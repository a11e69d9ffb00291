// One poll over a Modbus RTU line at 19200 baud, even parity, against a device on a pseudo-terminal
// (the tests' device, in this process): from the poll timer's read job to its answer on the UI
// thread, values decoded into the model; how many requests one poll takes; and what the poll's
// frames would take on a real wire at that rate (a pseudo-terminal passes bytes at once).
#include <benchmark/benchmark.h>

#include "frame/FrameModelFactory.h"
#include "frame/ParameterLookup.h"
#include "frame/modbus/ModbusCommunication.h"
#include "frame/modbus/RtuFrame.h"
#include "frame/modbus/RtuTransport.h"
#include "host/ViewInterfaces.h"
#include "modbus/PtyServer.h"
#include "platform/VirtualScheduler.h"

namespace {

using namespace qx;

struct Receiver : host::IBase_Communication {
    void IBase_Communication_OnJobResponse(const std::string&, const std::string& answer, int32_t) override {
        answered = true;
        ok = answer == "SUCCESS";
    }
    void IBase_Communication_OnConnectStatusChanged(const std::string& text) override { status = text; }
    void IBase_Communication_OnReleased() override {}
    bool answered = false, ok = false;
    std::string status;
};

void BM_RtuPoll(benchmark::State& state) {
    frame::test::PtyServer device;
    platform::VirtualScheduler scheduler;
    auto inbox = std::make_shared<frame::UiInbox>(scheduler);
    const auto model = frame::createFrameModel({});
    const auto map = frame::readRegisterMap(frame::flowMonitorDescriptionPath());
    frame::SerialSettings settings;
    settings.device = device.path();
    auto line = frame::ModbusCommunication::create(
        inbox, map, std::make_unique<frame::RtuTransport>(settings, map.unitId), {});
    auto receiver = std::make_shared<Receiver>();
    line->SetReceiver(receiver);
    auto untilAnswered = [&](const std::function<bool()>& done) {
        while (!done()) {
            inbox->wait(1000);
            inbox->drain();
            scheduler.processPending();
        }
    };
    line->Connecting(true);
    untilAnswered([&] { return !receiver->status.empty(); });
    if (receiver->status != "CONNECTED") return state.SkipWithError("the pseudo-terminal did not open");

    host::ParameterList poll;
    for (const char* name :
         {"DELTAFLOW_RAW", "DELTAFLOW_NEW", "PROINFLOW_RAW", "TEACH_MAX_SAVE", "TEACH_MIN_SAVE", "PROINTEMP",
          "SWPOINT", "TEACHDO_QUICK_MODE", "FLOWSP_RAW", "FLOWSPQT_RAW"})
        poll.push_back(frame::findParameter(*model, name));
    const uint64_t before = line->requestsSent();
    for (auto _ : state) {
        receiver->answered = false;
        line->QueueRead(true, {poll});
        untilAnswered([&] { return receiver->answered; });
        if (!receiver->ok) return state.SkipWithError("a poll failed");
    }
    const double requests =
        static_cast<double>(line->requestsSent() - before) / static_cast<double>(state.iterations());
    state.counters["requests_per_poll"] = requests;
    // Per request: 8 bytes out, 5 + 2n back (n registers: the poll's span), 11 bits a byte, and the
    // silence before each frame.
    const double registers = 13;
    const double bits = (8 + 5 + 2 * registers) * 11;
    state.counters["wire_ms_at_19200"] =
        requests * (bits * 1000 / 19200 + 2 * static_cast<double>(frame::rtuSilenceUs(19200)) / 1000);
    line->Release(true);
}
BENCHMARK(BM_RtuPoll)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
