#pragma once
// Shared by the lifecycle, release, connection and toolbar tests: a view hosted by the stand-in
// frame on virtual time, and what it logs on the debugger output channel, message by message.
// The log switches are read once per thread, so every case runs the view in a thread of its own,
// against a registry it set up before that thread logged anything.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "frame/StandFrame.h"
#include "platform/DebugOutput.h"
#include "platform/Registry.h"
#include "platform/RuntimeError.h"
#include "view/QX_FlowWiz.h"

namespace qx::view::test {

inline constexpr const char* kControlsKey = "SOFTWARE\\QXX\\Controls";
inline constexpr const char* kDtmKey = "SOFTWARE\\Orvex\\DTM";

// One piece sent to the debugger channel, taken apart: "QX_Flow::<tag>: [in line <n>: ]<message>".
struct LogEntry {
    std::string tag;
    int line = 0;
    std::string message;
};

LogEntry parseLogPiece(const std::string& piece);

class ViewStandTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Runs f in a thread that has not logged yet, so that the log is on for it.
    static void inFreshThread(const std::function<void()>& f) { std::thread(f).join(); }

    std::vector<LogEntry> entries();
    std::vector<std::string> messages();
    // How often exactly `message` was logged.
    int logged(const std::string& message);
    // How many messages begin with `start`.
    int loggedStarting(const std::string& start);
    // Forgets what was logged so far.
    void clearLog();

  private:
    std::mutex mutex_;
    std::vector<std::string> pieces_;
};

// "<operation>(): ONERROR: Error <n>: <message> (<description>)" for an error raised with its
// standard message as description.
std::string onError(const std::string& operation, int32_t number);

// A view bound to the simulated device, its toolbar handed over with "Poll" released (the user
// had released it before), so that a test decides when polling starts.
struct BoundStand {
    explicit BoundStand(frame::DeviceOptions options = {}, bool toolbar = true);
    // Presses "Poll" and waits until the device is connected and the first read is answered.
    void startPolling();
    frame::StandFrame f;
    QX_FlowWiz* view = nullptr;
    std::vector<size_t> reads;  // parameters of each read job the device received
};

// A communication object that passes everything on to another one, except that it can refuse
// disconnection requests.
class GuardedCommunication : public host::ICommunication {
  public:
    explicit GuardedCommunication(host::CommunicationPtr inner) : inner_(std::move(inner)) {}
    std::string className() const override { return "GuardedCommunication"; }
    std::string QueueRead(bool flag, const std::vector<host::ParameterList>& items) override {
        return inner_->QueueRead(flag, items);
    }
    std::string QueueWrite(bool flag, host::WriteItem& item) override {
        return inner_->QueueWrite(flag, item);
    }
    void SetReceiver(const std::weak_ptr<host::IBase_Communication>& receiver) override {
        inner_->SetReceiver(receiver);
    }
    bool Release(bool flag) override {
        ++releases;
        return inner_->Release(flag);
    }
    bool Connecting(bool connect) override {
        if (!connect) ++disconnectRequests;
        if (!connect && refuseDisconnect) return false;
        return inner_->Connecting(connect);
    }
    bool IsConnected() const override { return inner_->IsConnected(); }

    bool refuseDisconnect = false;
    int disconnectRequests = 0;
    int releases = 0;

  private:
    host::CommunicationPtr inner_;
};

// The environment value `name` of a model's device description.
platform::Variant environmentValue(const host::IDataModel& model, const std::string& name);

}  // namespace qx::view::test
