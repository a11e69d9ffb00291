#pragma once
// What the communication tests share: a receiver and link observers that write one event log,
// so a test compares what happened, in order, with what it expects.
#include <memory>
#include <string>
#include <vector>

#include "frame/FlowMonitorSim.h"
#include "host/ViewInterfaces.h"

namespace qx::frame::test {

using EventLog = std::vector<std::string>;

class RecordingReceiver : public host::IBase_Communication {
  public:
    explicit RecordingReceiver(EventLog& log) : log_(log) {}
    void IBase_Communication_OnJobResponse(const std::string& id, const std::string& status,
                                           int32_t) override {
        log_.push_back("job " + id + " " + status);
    }
    void IBase_Communication_OnConnectStatusChanged(const std::string& status) override {
        log_.push_back("status " + status);
    }
    void IBase_Communication_OnReleased() override { log_.push_back("released"); }

  private:
    EventLog& log_;
};

// The console's view of the link: `write P="v" ...`, `read n`, `connection S`.
inline void recordLink(SimLink& link, EventLog& log) {
    link.onWrite = [&log](const std::vector<WrittenValue>& values) {
        std::string line = "write";
        for (const auto& v : values) line += " " + v.name + "=\"" + v.text.value_or("") + "\"";
        log.push_back(line);
    };
    link.onRead = [&log](size_t n) { log.push_back("read " + std::to_string(n)); };
    link.onConnection = [&log](const std::string& status) { log.push_back("connection " + status); };
}

}  // namespace qx::frame::test
