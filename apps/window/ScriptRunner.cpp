#include "ScriptRunner.h"

#include <QTimer>

namespace qx::window {

ScriptRunner::ScriptRunner(console::Console& console, FrameWindow& window, std::istream& script,
                           std::function<void(int status)> finished)
    : console_(console), window_(window), reader_(script), finished_(std::move(finished)) {
    console_.onWait = [this](int64_t ms, int line) { wait_ = Wait{ms, line}; };
}

void ScriptRunner::start() {
    QTimer::singleShot(0, this, [this] { next(); });
}

void ScriptRunner::next() {
    try {
        while (auto command = reader_.next()) {
            console_.run(*command);
            window_.followFrame();
            if (wait_) {
                const Wait wait = *wait_;
                wait_.reset();
                window_.runPaced(wait.ms, wait.line, [this] { next(); });
                return;
            }
        }
    } catch (const console::ScriptError& e) {
        finish(console_.endScript(&e));
        return;
    }
    finish(console_.endScript(nullptr));
}

void ScriptRunner::finish(int status) {
    console_.onWait = nullptr;
    if (finished_) finished_(status);
}

}  // namespace qx::window
