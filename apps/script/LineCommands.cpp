// The line to the device: `line modbus <host>:<port> [timeout=<ms>] [connect-timeout=<ms>]` puts a
// Modbus TCP line behind the device object in place of the simulated one. From then on the
// console runs on real time, and what only the simulator offers is refused.
#include "frame/FrameModelFactory.h"
#include "script/Arguments.h"
#include "script/Console.h"

namespace qx::console {

void Console::cmdLine(const Command& c) {
    if (frame_.initialised()) fail(c, "line after init");
    if (c.words[1].text != "modbus") fail(c, "line modbus <host>:<port>, not line " + c.words[1].text);
    auto settings = frame::parseEndpoint(c.words[2].text);
    if (!settings) fail(c, "line modbus wants <host>:<port>, not " + c.words[2].text);
    for (size_t i = 3; i < c.words.size(); ++i) {
        const std::string& w = c.words[i].text;
        const auto eq = w.find('=');
        const auto ms = eq == std::string::npos ? std::nullopt : wholeNumber(w.substr(eq + 1));
        if (!ms || *ms < 1 || *ms > 600'000) fail(c, "a timeout is <name>=<ms> (1..600000), not " + w);
        if (w.starts_with("timeout="))
            settings->responseTimeoutMs = *ms;
        else if (w.starts_with("connect-timeout="))
            settings->connectTimeoutMs = *ms;
        else
            fail(c, "no line option " + w.substr(0, eq) + " (timeout, connect-timeout)");
    }
    frame::RegisterMap map;
    try {
        map = frame::readRegisterMap(frame::flowMonitorDescriptionPath());
    } catch (const frame::RegisterMapError& e) {
        fail(c, e.what());
    }
    auto inbox = std::make_shared<frame::UiInbox>(frame_.scheduler());
    realTime_ = std::make_unique<frame::RealTimeLoop>(frame_.scheduler(), inbox);
    lineInbox_ = inbox;
    lineAddress_ = c.words[2].text;
    // The device object is made at init, after the observers that print the line's traffic.
    frame_.setDeviceMaker([this, inbox, map, settings = *settings](const host::DataModelPtr& model) {
        modbusDevice_ = std::make_shared<frame::ModbusDevice>(inbox, map, settings, frame_.link(), model);
        return modbusDevice_;
    });
}

host::CommunicationPtr Console::lineCommunication() const {
    if (modbusDevice_) return modbusDevice_->communication();
    return frame_.communication();
}

void Console::requireSimulatedLine(const Command& c, const std::string& what) const {
    if (realTime_) fail(c, what + " need the simulated line, not a Modbus line");
}

}  // namespace qx::console
