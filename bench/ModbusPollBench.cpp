// One poll of the default device over a Modbus line, from the poll timer's read job (QueueRead
// with the device's poll list) to its answer on the UI thread with the values decoded into the
// model's parameters, and how many Modbus requests one poll takes: over TCP on loopback against
// qxflow-sim, and over RTU at 19200 baud, even parity, against the tests' device on a
// pseudo-terminal in this process, with what the poll's frames would take on a real wire at that
// rate (a pseudo-terminal passes bytes at once).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "frame/FrameModelFactory.h"
#include "frame/ParameterLookup.h"
#include "frame/modbus/ModbusCommunication.h"
#include "frame/modbus/RtuFrame.h"
#include "frame/modbus/RtuTransport.h"
#include "host/ViewInterfaces.h"
#include "modbus/PtyServer.h"
#include "platform/VirtualScheduler.h"

extern char** environ;

namespace {

using namespace qx;

// qxflow-sim beside this program, on a free port; stopped at the end.
class SimProcess {
  public:
    SimProcess() {
        const auto program = std::filesystem::canonical("/proc/self/exe").parent_path() / "qxflow-sim";
        int out[2];
        if (pipe(out) != 0) throw std::runtime_error("no pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        std::string path = program.string(), listen = "--listen", where = "127.0.0.1:0";
        char* argv[] = {path.data(), listen.data(), where.data(), nullptr};
        if (posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv, environ) != 0)
            throw std::runtime_error("cannot start " + path);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        FILE* in = fdopen(out[0], "r");
        char line[128] = {};
        if (!fgets(line, sizeof line, in) || std::sscanf(line, "listening 127.0.0.1:%hu", &port_) != 1)
            throw std::runtime_error("qxflow-sim did not start");
        output_ = in;
    }
    ~SimProcess() {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        fclose(output_);
    }
    uint16_t port() const { return port_; }

  private:
    pid_t pid_ = 0;
    uint16_t port_ = 0;
    FILE* output_ = nullptr;
};

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

using LineMaker = std::function<std::shared_ptr<frame::ModbusCommunication>(std::shared_ptr<frame::UiInbox>,
                                                                            const frame::RegisterMap&)>;

// Polls over the line `makeLine` gives until the benchmark has its time; the requests one poll took,
// or nothing when the line failed (the benchmark then says why).
std::optional<double> pollOver(benchmark::State& state, const LineMaker& makeLine) {
    platform::VirtualScheduler scheduler;
    auto inbox = std::make_shared<frame::UiInbox>(scheduler);
    const auto model = frame::createFrameModel({});
    auto line = makeLine(inbox, frame::readRegisterMap(frame::flowMonitorDescriptionPath()));
    auto receiver = std::make_shared<Receiver>();
    line->SetReceiver(receiver);
    // Until the UI thread has the answer: what the front end's loop does between events.
    auto untilAnswered = [&](const std::function<bool()>& done) {
        while (!done()) {
            inbox->wait(1000);
            inbox->drain();
            scheduler.processPending();
        }
    };
    line->Connecting(true);
    untilAnswered([&] { return !receiver->status.empty(); });
    if (receiver->status != "CONNECTED") {
        state.SkipWithError("the line did not connect");
        return std::nullopt;
    }

    // The default device's poll list, in the order the view builds it.
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
        if (!receiver->ok) {
            state.SkipWithError("a poll failed");
            return std::nullopt;
        }
    }
    const double requests =
        static_cast<double>(line->requestsSent() - before) / static_cast<double>(state.iterations());
    state.counters["requests_per_poll"] = requests;
    line->Release(true);
    return requests;
}

void BM_ModbusPoll(benchmark::State& state) {
    SimProcess sim;
    pollOver(state, [&](std::shared_ptr<frame::UiInbox> inbox, const frame::RegisterMap& map) {
        return frame::ModbusCommunication::create(std::move(inbox), map,
                                                  frame::ModbusSettings{"127.0.0.1", sim.port()}, {});
    });
}
BENCHMARK(BM_ModbusPoll)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_RtuPoll(benchmark::State& state) {
    frame::test::PtyServer device;
    const auto requests =
        pollOver(state, [&](std::shared_ptr<frame::UiInbox> inbox, const frame::RegisterMap& map) {
            frame::SerialSettings settings;
            settings.device = device.path();
            return frame::ModbusCommunication::create(
                std::move(inbox), map, std::make_unique<frame::RtuTransport>(settings, map.unitId), {});
        });
    if (!requests) return;
    // Per request: 8 bytes out, 5 + 2n back (n registers: the poll's span), 11 bits a byte, and the
    // silence before each frame.
    const double registers = 13;
    const double bits = (8 + 5 + 2 * registers) * 11;
    state.counters["wire_ms_at_19200"] =
        *requests * (bits * 1000 / 19200 + 2 * static_cast<double>(frame::rtuSilenceUs(19200)) / 1000);
}
BENCHMARK(BM_RtuPoll)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
