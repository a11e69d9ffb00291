#pragma once
// Shared by the view tests: a view hosted by the stand-in frame on virtual time, and what it logs
// on the debugger output channel.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "display/TrendPane.h"
#include "frame/StandFrame.h"
#include "platform/DebugOutput.h"
#include "platform/Registry.h"
#include "platform/RuntimeError.h"
#include "support/DebugLog.h"
#include "view/QX_FlowWiz.h"
#include "view/ViewTestSeam.h"

namespace qx::view::test {

using frame::DeviceOptions;
using frame::InitTarget;
using frame::Presence;

inline constexpr const char* kControlsKey = "SOFTWARE\\QXX\\Controls";
inline constexpr const char* kDtmKey = "SOFTWARE\\Orvex\\DTM";

// One piece sent to the debugger channel, taken apart: "QX_Flow::<tag>: [in line <n>: ]<message>".
struct LogEntry {
    std::string tag;
    int line = 0;
    std::string message;
};

class ViewTest : public testing::Test {
  protected:
    void SetUp() override {
        platform::registryStore().clear();
        platform::registryStore().setDword(kControlsKey, "Debug", 1);
        support::ReadDebugSwitches();
        platform::setDebugOutputSink([this](const std::string& text) {
            const size_t end = text.find(": ", 9);
            LogEntry e{text.substr(9, end - 9), 0, text.substr(end + 2)};
            if (e.message.rfind("in line ", 0) == 0) {
                e.line = std::stoi(e.message.substr(8));
                e.message = e.message.substr(e.message.find(": ") + 2);
            }
            entries_.push_back(e);
        });
    }
    void TearDown() override {
        platform::setDebugOutputSink({});
        platform::registryStore().clear();
        support::ReadDebugSwitches();
    }

    // The model-combining switch is read once per thread: a case that sets it runs in a thread
    // that has not read it yet.
    static void inFreshThread(const std::function<void()>& f) { std::thread(f).join(); }

    const std::vector<LogEntry>& entries() const { return entries_; }
    std::vector<std::string> messages() {
        std::vector<std::string> out;
        for (const auto& e : entries()) out.push_back(e.message);
        return out;
    }
    // How many messages are `text` (or begin with it when not `exact`).
    int logged(const std::string& text, bool exact = true) {
        int n = 0;
        for (const auto& m : messages()) n += exact ? m == text : m.rfind(text, 0) == 0;
        return n;
    }
    void clearLog() { entries_.clear(); }

  private:
    std::vector<LogEntry> entries_;
};

// "<operation>(): ONERROR: Error <n>: <message> (<description>)"; the description defaults to the
// standard message.
inline std::string onError(const std::string& operation, int32_t number,
                           const std::string& description = {}) {
    const std::string message = platform::standardMessage(number);
    return operation + "(): ONERROR: Error " + std::to_string(number) + ": " + message + " (" +
           (description.empty() ? message : description) + ")";
}

inline DeviceOptions with(const std::function<void(DeviceOptions&)>& change, DeviceOptions o = {}) {
    return change(o), o;
}
// A device in the neutral language, where every looked-up text is its key and every display name
// its parameter's name.
inline DeviceOptions neutral(int32_t state = 6) {
    return with([&](auto& o) { o.language = 0, o.state = state; });
}

// A view bound to the simulated device, its toolbar handed over with "Poll" released (the user
// had released it before), so that a test decides when polling starts.
struct BoundStand {
    explicit BoundStand(const DeviceOptions& options = neutral(), bool toolbar = true, bool handler = true) {
        f.setOptions(options);
        view = &f.create();
        f.init(InitTarget::Device, std::nullopt, std::nullopt, handler);
        f.registerCallback();
        f.link().onRead = [this](size_t n) { reads.push_back(n); };
        if (toolbar) {
            ViewTestSeam::leavePollButton(*view, 2);
            f.setToolbar();
        }
    }
    // Presses "Poll" and waits until the device is connected and the first read is answered.
    void startPolling() {
        f.press("Poll");
        f.wait(2 * f.link().latencyMs);
    }
    // Connected, "Poll" released again with nothing outstanding: no timer sends anything.
    void connectIdle() {
        startPolling();
        f.press("Poll");
    }
    int32_t poll() const { return f.toolbar()->buttons().find("Poll")->value(); }
    int flowPoints() const { return view->trend().flow.object->group(1).data().numPoints(); }

    frame::StandFrame f;
    QX_FlowWiz* view = nullptr;
    std::vector<size_t> reads;  // parameters of each read job the device received
};

inline std::string nameOf(const host::ParameterPtr& p) {
    return p ? p->name() : "<none>";
}

inline platform::Variant environmentValue(const host::IDataModel& model, const std::string& name) {
    return model.description()->environment()->get(name);
}

// A resource whose texts a test chooses (a key without one answers with itself, as the neutral
// language does) and whose pictures are made on request; chosen texts, pictures and setting the
// language can be made to fail.
class ScriptedResource : public host::IResource {
  public:
    std::string className() const override { return "ScriptedResource"; }
    std::string text(const std::string& key, int32_t&) override {
        if (key == failingText) platform::raise(platform::kObjectError + 3, "text unavailable");
        return texts.count(key) ? texts[key] : key;
    }
    host::PicturePtr picture(const std::string& key, bool, int32_t, int16_t, int16_t) override {
        requests.push_back(key);
        if (failingPictures.count(key)) platform::raise(platform::kElementNotFound);
        return std::make_shared<host::Picture>(key, std::vector<uint8_t>{}, 16, 16);
    }
    int32_t setLanguage(int32_t language) override {
        if (failLanguage) platform::raise(platform::kInvalidProcedureCall);
        return language;
    }

    std::map<std::string, std::string> texts;
    std::string failingText;
    std::set<std::string> failingPictures;
    std::vector<std::string> requests;
    bool failLanguage = false;
};

// A communication object that passes everything on, except that it can refuse to disconnect and
// fail read jobs.
class GuardedCommunication : public host::ICommunication {
  public:
    explicit GuardedCommunication(host::CommunicationPtr inner) : inner_(std::move(inner)) {}
    std::string className() const override { return "GuardedCommunication"; }
    std::string QueueRead(bool flag, const std::vector<host::ParameterList>& items) override {
        if (failReads) platform::raise(platform::kObjectError + 7, "The line is gone");
        return inner_->QueueRead(flag, items);
    }
    std::string QueueWrite(bool flag, host::WriteItem& item) override {
        return inner_->QueueWrite(flag, item);
    }
    void SetReceiver(const std::weak_ptr<host::IBase_Communication>& r) override { inner_->SetReceiver(r); }
    bool Release(bool flag) override { return ++releases, inner_->Release(flag); }
    bool Connecting(bool connect) override {
        disconnectRequests += !connect;
        return connect || !refuseDisconnect ? inner_->Connecting(connect) : false;
    }
    bool IsConnected() const override { return inner_->IsConnected(); }

    bool failReads = false, refuseDisconnect = false;
    int disconnectRequests = 0, releases = 0;

  private:
    host::CommunicationPtr inner_;
};

}  // namespace qx::view::test
