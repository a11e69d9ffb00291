// The commands of the frame and the container: creating, binding and releasing the view, handing
// over the toolbar and the receiver, sizing and showing it, the frame's environment, and time.
#include <iostream>

#include "platform/RuntimeError.h"
#include "script/Arguments.h"
#include "script/Console.h"
#include "view/QX_FlowWiz.h"

namespace qx::console {

void Console::cmdCreate(const Command& c) {
    if (created_) fail(c, "the view was already created");
    created_ = true;
    auto& view = frame_.create();
    lastState_ = wizard::number(view.progress().mTeachState);
    watchView();
}

void Console::cmdInit(const Command& c) {
    liveView(c);
    const std::string& target = c.words[1].text;
    frame::InitTarget t;
    if (target == "device")
        t = frame::InitTarget::Device;
    else if (target == "model")
        t = frame::InitTarget::Model;
    else if (target == "none")
        t = frame::InitTarget::None;
    else
        fail(c, "init device, model or none, not " + target);
    std::optional<std::string> args, argtype;
    bool handler = true;
    for (size_t i = 2; i < c.words.size(); ++i) {
        const std::string& w = c.words[i].text;
        auto eq = w.find('=');
        const std::string key = w.substr(0, eq), value = eq == std::string::npos ? "" : w.substr(eq + 1);
        if (eq == std::string::npos) fail(c, "init takes args=, argtype= and handler=, not " + w);
        if (key == "args")
            args = value;
        else if (key == "argtype")
            argtype = value;
        else if (key == "handler" && switchWord(value, "yes", "no"))
            handler = *switchWord(value, "yes", "no");
        else
            fail(c, "init takes args=, argtype= and handler=yes|no, not " + w);
    }
    frame_.init(t, args, argtype, handler);
}

void Console::cmdSetToolbar(const Command& c) {
    liveView(c);
    frame_.setToolbar();
}

void Console::cmdRegisterCallback(const Command& c) {
    liveView(c);
    frame_.registerCallback();
}

void Console::cmdResize(const Command& c) {
    auto& view = liveView(c);
    const auto width = static_cast<int32_t>(wholeArgument(c, 1, kResizeWidth));
    const auto height = static_cast<int32_t>(wholeArgument(c, 2, kResizeHeight));
    view.setWidth(width);
    view.setHeight(height);
    view.UserControl_Resize();
}

void Console::cmdViewVisible(const Command& c) {
    auto& view = liveView(c);
    auto on = switchWord(c.words[1].text, "true", "false");
    if (!on) fail(c, "view-visible true or false, not " + c.words[1].text);
    view.setVisible(*on);
}

void Console::cmdFrameEnv(const Command& c) {
    if (!frame_.model()) fail(c, "frame-env before init: the frame's model comes with the first init");
    const Word& value = c.words[2];
    platform::Variant v(value.text);
    if (!value.quoted) {
        if (auto n = wholeNumber(value.text); n && *n >= INT32_MIN && *n <= INT32_MAX)
            v = platform::Variant(static_cast<int32_t>(*n));
        else if (auto b = switchWord(value.text, "true", "false"))
            v = platform::Variant(*b);
    }
    frame_.model()->description()->environment()->put(c.words[1].text, v);
}

void Console::cmdNotifyEnv(const Command& c) {
    liveView(c);
    frame_.notifyEnvironmentChanged(c.words[1].text);
}

void Console::cmdLanguage(const Command& c) {
    auto language = wholeNumber(c.words[1].text);
    if (!language || (*language != 0 && *language != 1033 && *language != 1031))
        fail(c, "language 0, 1033 or 1031, not " + c.words[1].text);
    frame_.switchLanguage(static_cast<int32_t>(*language));
}

void Console::cmdUnload(const Command&) {
    frame_.unload();
}

void Console::cmdLogMessage(const Command& c) {
    liveView(c).ISpec_Log_Log(c.words[1].text, c.words[2].text, c.words[3].text, platform::Variant());
}

void Console::cmdRelease(const Command& c) {
    liveView(c);
    // The frame asks once, then waits for the release notice or lets the view go.
    if (releaseAsked_) fail(c, "release after release: the frame asks a view once");
    releaseAsked_ = true;
    const bool answer = frame_.release();
    emit(std::string("release -> ") + (answer ? "true" : "false"));
}

void Console::cmdTerminate(const Command& c) {
    liveView(c);
    frame_.terminate();
}

void Console::cmdWait(const Command& c) {
    const int64_t ms = wholeArgument(c, 1, kWaitMs);
    if (onWait)
        onWait(ms, c.line);
    else
        advance(ms, c.line);
}

void Console::advance(int64_t ms, int line) {
    // A run-time error that escapes an event ends that event only; time goes on to the end.
    const int64_t until = frame_.scheduler().nowMs() + ms;
    while (true) {
        try {
            if (realTime_ && !frontEndKeepsTime_)
                realTime_->run(until - frame_.scheduler().nowMs());
            else
                frame_.scheduler().advance(until - frame_.scheduler().nowMs());
            return;
        } catch (const platform::RuntimeError& e) {
            std::cerr << "qxflow-run: line " << line << ": " << platform::errorSummary(e) << "\n";
            afterEvent();
        }
    }
}

void Console::reopenView() {
    if (!frame_.hasView()) return;
    frame_.release();
    frame_.recreate();
    lastState_ = wizard::number(frame_.view().progress().mTeachState);
    watchView();
    frame_.init(frame::InitTarget::Device);
    frame_.setToolbar();
    frame_.registerCallback();
    afterEvent();
}

}  // namespace qx::console
