#include "script/Console.h"
#include "view/QX_FlowWiz.h"

#include <iostream>
#include <stdexcept>

#include "frame/SimLine.h"
#include "platform/DebugOutput.h"
#include "platform/Registry.h"
#include "platform/RuntimeError.h"

namespace qx::console {

namespace {
constexpr size_t kAny = SIZE_MAX;
}

Console::Console(std::ostream& out, std::string scriptFolder)
    : out_(out), scriptFolder_(std::move(scriptFolder)) {
    // The console starts from an empty registry, whatever the machine's file holds.
    platform::registryStore().clear();
    // Scripts see the neutral language unless they choose another: every text is its own key.
    frame::DeviceOptions options = frame_.options();
    options.language = 0;
    frame_.setOptions(options);
    chooseLine(std::make_unique<frame::SimLine>(frame_.scheduler(), frame_.simulator()));
    installObservers();
    installRecorder();
}

Console::~Console() {
    silent_ = true;
    // The view may still log while it goes; nothing more is printed.
    platform::setDebugOutputSink([](const std::string&) {});
}

const std::vector<std::pair<std::string, Console::Entry>>& Console::commandTable() {
    static const std::vector<std::pair<std::string, Entry>> table = {
        {"clock", {&Console::cmdClock, 2, 2}},
        {"registry", {&Console::cmdRegistry, 3, 3}},
        {"device", {&Console::cmdDevice, 2, kAny}},
        {"trace", {&Console::cmdTrace, 3, 3}},
        {"create", {&Console::cmdCreate, 1, 1}},
        {"init", {&Console::cmdInit, 2, 5}},
        {"set-toolbar", {&Console::cmdSetToolbar, 1, 1}},
        {"register-callback", {&Console::cmdRegisterCallback, 1, 1}},
        {"press", {&Console::cmdPress, 2, 2}},
        {"click", {&Console::cmdClick, 2, 2}},
        {"check", {&Console::cmdCheck, 3, 3}},
        {"type", {&Console::cmdType, 3, 3}},
        {"choose", {&Console::cmdChoose, 3, 3}},
        {"slide", {&Console::cmdSlide, 3, 3}},
        {"scroll", {&Console::cmdScroll, 3, 3}},
        {"drag", {&Console::cmdDrag, 4, kAny}},
        {"resize", {&Console::cmdResize, 3, 3}},
        {"view-visible", {&Console::cmdViewVisible, 2, 2}},
        {"frame-env", {&Console::cmdFrameEnv, 3, 3}},
        {"notify-env", {&Console::cmdNotifyEnv, 2, 2}},
        {"language", {&Console::cmdLanguage, 2, 2}},
        {"unload", {&Console::cmdUnload, 1, 1}},
        {"log-message", {&Console::cmdLogMessage, 4, 4}},
        {"release", {&Console::cmdRelease, 1, 1}},
        {"terminate", {&Console::cmdTerminate, 1, 1}},
        {"wait", {&Console::cmdWait, 2, 2}},
        {"sim", {&Console::cmdSim, 2, 4}},
        {"line", {&Console::cmdLine, 2, kAny}},
        {"show", {&Console::cmdShow, 2, kAny}},
        {"expect", {&Console::cmdExpect, 2, kAny}},
        {"export", {&Console::cmdExport, 3, 3}},
        {"record", {&Console::cmdRecord, 2, 2}},
        {"note", {&Console::cmdNote, 2, kAny}},
        {"report", {&Console::cmdReport, 3, 3}},
        {"params", {&Console::cmdParams, 3, 3}},
    };
    return table;
}

void Console::run(const Command& c) {
    currentLine_ = c.line;
    const std::string& name = c.words[0].text;
    const Entry* entry = nullptr;
    for (const auto& [key, e] : commandTable())
        if (key == name) entry = &e;
    if (!entry) fail(c, "unknown command \"" + name + "\"");
    // Only the value that expect compares is raw text; everywhere else the words must be whole.
    if (c.malformed && (name != "expect" || c.words.size() < 2)) throw *c.malformed;
    if (c.words.size() < entry->minWords || c.words.size() > entry->maxWords)
        fail(c, "wrong number of arguments for " + name);
    try {
        (this->*(entry->handler))(c);
    } catch (const platform::RuntimeError& e) {
        // The frame got an error from the view: a frame would show it, the transcript keeps to the
        // view's own lines.
        std::cerr << "qxflow-run: line " << c.line << ": " << platform::errorSummary(e) << "\n";
    } catch (const std::logic_error& e) {
        fail(c, e.what());
    } catch (const std::exception& e) {
        std::cerr << "qxflow-run: line " << c.line << ": " << e.what() << "\n";
    }
    afterEvent();
}

int Console::runScript(std::istream& script) {
    ScriptReader reader(script);
    try {
        while (auto command = reader.next()) run(*command);
    } catch (const ScriptError& e) {
        return endScript(&e);
    }
    return endScript(nullptr);
}

int Console::endScript(const ScriptError* error) {
    int status = failed_ ? 1 : 0;
    if (error) {
        out_ << "error: line " << error->line << ": " << error->why << "\n";
        status = 2;
    }
    out_.flush();
    silent_ = true;
    return status;
}

void Console::fail(const Command& c, const std::string& why) const {
    throw ScriptError{c.line, why};
}

view::QX_FlowWiz& Console::liveView(const Command& c) {
    if (!created_) fail(c, c.words[0].text + " before create");
    if (!frame_.hasView()) fail(c, c.words[0].text + " after terminate");
    return frame_.view();
}

std::shared_ptr<platform::Control> Console::findControl(view::QX_FlowWiz& view, const std::string& name) {
    auto found = view.Controls().find(name);
    // The container knows a chart by its chart name; the view calls its wrapper cPC1 or cPC2.
    if (!found && (name == "cPC1" || name == "cPC2")) found = view.Controls().find(name.substr(1));
    return found;
}

platform::Control& Console::control(const Command& c, size_t word) {
    auto& view = liveView(c);
    const std::string& name = c.words[word].text;
    auto found = findControl(view, name);
    if (!found) fail(c, "the view has no control " + name);
    return *found;
}

void Console::taken(bool taken, const std::string& target) {
    if (!taken) emit("ignored " + target);
}

}  // namespace qx::console
