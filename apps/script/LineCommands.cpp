// The line to the device: `line <kind> <arguments>` puts a line of one of the kinds the frame
// knows behind the device object, in place of the simulated one (`line modbus <host>:<port>
// [timeout=<ms>] [connect-timeout=<ms>]`, `line rtu <device> [baud=...] ...`). On a line to a real device the
// console runs on real time, and what only the simulator offers is refused.
#include "script/Console.h"
#include "script/Lines.h"

namespace qx::console {

void Console::cmdLine(const Command& c) {
    if (frame_.initialised()) fail(c, "line after init");
    std::vector<std::string> words;
    for (size_t i = 1; i < c.words.size(); ++i) words.push_back(c.words[i].text);
    try {
        chooseLine(lineKinds().parse(words)({frame_.scheduler(), frame_.simulator(), frame_.link()}));
    } catch (const frame::LineError& e) {
        fail(c, e.what());
    }
}

void Console::chooseLine(std::unique_ptr<frame::Line> line) {
    line_ = std::move(line);
    const auto inbox = line_->inbox();
    realTime_ = inbox ? std::make_unique<frame::RealTimeLoop>(frame_.scheduler(), inbox) : nullptr;
    // The device object is made at init, after the observers that print the line's traffic.
    frame_.setDeviceMaker(
        [line = line_.get()](const host::DataModelPtr& model) { return line->makeDevice(model); });
}

host::CommunicationPtr Console::lineCommunication() const {
    return line_->communication();
}

std::shared_ptr<frame::UiInbox> Console::lineInbox() const {
    return line_->inbox();
}

std::string Console::lineName() const {
    return line_->name();
}

std::shared_ptr<frame::LineCommunication> Console::frameLine() const {
    return line_->communication();
}

std::string Console::lineReport() const {
    const auto comm = line_->communication();
    const frame::LineDiagnostics none;
    return line_->kind() + " " + line_->address() + " " + (comm ? comm->diagnostics() : none).text();
}

void Console::requireSimulatedLine(const Command& c, const std::string& what) const {
    if (realTime_) fail(c, what + " need the simulated line, not a Modbus line");
}

}  // namespace qx::console
