// The console's output lines as they happen: what crosses the line to the device, the messages
// and notices the frame's objects get, the debugger output channel, and the view's status line
// and wizard state, looked at before every line and after every event.
#include "platform/DebugOutput.h"
#include "script/Console.h"
#include "script/ValueText.h"
#include "view/QX_FlowWiz.h"

namespace qx::console {

void Console::installObservers() {
    auto& link = frame_.link();
    link.onWrite = [this](const std::vector<frame::WrittenValue>& values) {
        std::string line = "write";
        for (const auto& v : values) line += " " + v.name + "=" + quoteText(v.text.value_or(""));
        emit(line);
    };
    link.onRead = [this](size_t count) {
        if (traceReads_) emit("read " + std::to_string(count));
    };
    link.onConnection = [this](const std::string& status) { emit("connection " + status); };
    frame_.messageHandler()->onShown = [this](const frame::MessageHandler::Message& m) {
        emit(std::string(m.detailed ? "detailed " : "message ") + quoteText(m.text) + " " +
             quoteText(m.caption));
    };
    frame_.receiver()->onReleased = [this] { emit("released"); };
    platform::setDebugOutputSink([this](const std::string& text) {
        if (traceDebug_) emit("debug " + text);
    });
    frame_.scheduler().afterTask = [this] { afterEvent(); };
}

// The status line shows a message when its caption changes; the colour follows right after the
// caption, so the line is printed at the colour's change or, when the colour stays, at the next
// line or the end of the event.
void Console::watchView() {
    auto status = frame_.view().Controls().findAs<platform::Label>("LaStatus");
    statusWatch_ = status->observe([this](const platform::Control& control, const std::string& property) {
        if (property == "Caption") {
            flushStatus();
            statusPending_ = true;
            pendingStatusText_ = static_cast<const platform::Label&>(control).caption();
        } else if (property == "BackColor") {
            flushStatus();
        }
    });
}

void Console::flushStatus() {
    if (!statusPending_ || !frame_.hasView()) return;
    statusPending_ = false;
    emit("status " + quoteText(pendingStatusText_) + " " +
         colourText(frame_.view().Controls().findAs<platform::Label>("LaStatus")->backColor()));
}

void Console::checkState() {
    if (!frame_.hasView()) return;
    const int32_t state = wizard::number(frame_.view().progress().mTeachState);
    if (state == lastState_) return;
    lastState_ = state;
    if (traceState_) emit("state " + std::to_string(state));
}

void Console::emit(const std::string& line) {
    if (silent_) return;
    checkState();
    flushStatus();
    out_ << line << '\n';
}

void Console::afterEvent() {
    checkState();
    flushStatus();
    if (recorder_) recorder_->afterEvent();
}

}  // namespace qx::console
