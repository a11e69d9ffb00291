#pragma once
// The Device menu's parameter sets: save the device's parameters to a file, compare the device
// with a file, and load a file onto the device after a table of what would change (parameter,
// file, device) has been shown and confirmed. Saving and loading run the console's `params`
// commands; the table comes from the frame's own read on the line, as `params compare` does.
#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "frame/params/ParameterSet.h"

class QMenu;
class QWidget;

namespace qx::console {
class Console;
}

namespace qx::window {

class ParameterSetMenu : public QObject {
  public:
    // `run` runs one console line the way the window runs a person's actions.
    ParameterSetMenu(console::Console& console, std::function<void(const std::string&)> run, QWidget* parent);

    void addTo(QMenu& menu);

    // The comparison table for `path` once the device has answered; `load` offers the write.
    // Tests call it without the file dialog.
    void compare(const std::string& path, bool load);
    // The table shown last (parameter, file, device), for tests.
    const std::vector<frame::Difference>& shownDifferences() const { return shown_; }

    // Shows the table; true when the person chose to write. Tests replace it.
    std::function<bool(const std::string& path, const std::vector<frame::Difference>&, bool load)> confirm;

  private:
    bool showTable(const std::string& path, const std::vector<frame::Difference>& differences, bool load);
    void tell(const QString& text);

    console::Console& console_;
    std::function<void(const std::string&)> run_;
    QWidget* parent_;
    std::vector<frame::Difference> shown_;
};

// A path as a console line quotes it.
std::string quotedPath(const std::string& path);

}  // namespace qx::window
