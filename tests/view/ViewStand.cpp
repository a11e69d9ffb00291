#include "view/ViewStand.h"

namespace qx::view::test {

LogEntry parseLogPiece(const std::string& piece) {
    LogEntry entry;
    const std::string title = "QX_Flow::";
    size_t start = piece.rfind(title, 0) == 0 ? title.size() : 0;
    const size_t end = piece.find(": ", start);
    if (end == std::string::npos) {
        entry.message = piece;
        return entry;
    }
    entry.tag = piece.substr(start, end - start);
    std::string rest = piece.substr(end + 2);
    const std::string inLine = "in line ";
    if (rest.rfind(inLine, 0) == 0) {
        const size_t colon = rest.find(": ");
        entry.line = std::stoi(rest.substr(inLine.size(), colon - inLine.size()));
        rest = rest.substr(colon + 2);
    }
    entry.message = rest;
    return entry;
}

void ViewStandTest::SetUp() {
    platform::registryStore().clear();
    platform::registryStore().setDword(kControlsKey, "Debug", 1);
    platform::setDebugOutputSink([this](const std::string& text) {
        std::lock_guard lock(mutex_);
        pieces_.push_back(text);
    });
}

void ViewStandTest::TearDown() {
    platform::setDebugOutputSink({});
    platform::registryStore().clear();
}

std::vector<LogEntry> ViewStandTest::entries() {
    std::lock_guard lock(mutex_);
    std::vector<LogEntry> out;
    for (const auto& piece : pieces_) out.push_back(parseLogPiece(piece));
    return out;
}

std::vector<std::string> ViewStandTest::messages() {
    std::vector<std::string> out;
    for (const auto& e : entries()) out.push_back(e.message);
    return out;
}

int ViewStandTest::logged(const std::string& message) {
    int n = 0;
    for (const auto& m : messages())
        if (m == message) ++n;
    return n;
}

int ViewStandTest::loggedStarting(const std::string& start) {
    int n = 0;
    for (const auto& m : messages())
        if (m.rfind(start, 0) == 0) ++n;
    return n;
}

void ViewStandTest::clearLog() {
    std::lock_guard lock(mutex_);
    pieces_.clear();
}

std::string onError(const std::string& operation, int32_t number) {
    const std::string message = platform::standardMessage(number);
    return operation + "(): ONERROR: Error " + std::to_string(number) + ": " + message + " (" + message + ")";
}

BoundStand::BoundStand(frame::DeviceOptions options, bool toolbar) {
    f.setOptions(options);
    view = &f.create();
    f.init(frame::InitTarget::Device);
    f.registerCallback();
    f.link().onRead = [this](size_t n) { reads.push_back(n); };
    if (toolbar) {
        view->mPollMode = 2;
        f.setToolbar();
    }
}

void BoundStand::startPolling() {
    f.press("Poll");
    f.wait(2 * f.link().latencyMs);
}

platform::Variant environmentValue(const host::IDataModel& model, const std::string& name) {
    return model.description()->environment()->get(name);
}

}  // namespace qx::view::test
