#include "ScriptRunner.h"

#include <QTimer>

namespace qx::window {

ScriptRunner::ScriptRunner(console::Console& console, FrameWindow& window, std::istream& script, double speed,
                           std::function<void(int status)> finished)
    : console_(console),
      window_(window),
      reader_(script),
      pacer_(
          [this](int64_t ms) {
              console_.advance(ms, waitLine_);
              window_.followFrame();
          },
          speed),
      finished_(std::move(finished)) {
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
                waitLine_ = wait_->line;
                const int64_t ms = wait_->ms;
                wait_.reset();
                pacer_.run(ms, [this] { next(); });
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
