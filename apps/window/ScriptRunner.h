#pragma once
// Runs a console script in the window: every command through the console's interpreter, as
// qxflow-run runs it, so the transcript is the same; each wait runs its virtual time at the
// window's pace, so a person can watch, while the window stays live. Calls `finished`
// with the exit status qxflow-run would give.
#include <QObject>
#include <functional>
#include <istream>
#include <optional>

#include "FrameWindow.h"
#include "script/Console.h"
#include "script/ScriptReader.h"

namespace qx::window {

class ScriptRunner : public QObject {
  public:
    ScriptRunner(console::Console& console, FrameWindow& window, std::istream& script,
                 std::function<void(int status)> finished);
    // Starts at the next turn of the event loop.
    void start();

  private:
    // Runs commands until a wait is to be paced or the script ends.
    void next();
    void finish(int status);

    console::Console& console_;
    FrameWindow& window_;
    console::ScriptReader reader_;
    std::function<void(int)> finished_;
    struct Wait {
        int64_t ms;
        int line;
    };
    std::optional<Wait> wait_;
};

}  // namespace qx::window
