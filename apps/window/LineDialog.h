#pragma once
// The line's diagnostics in a small dialog, opened from the status bar's line field: what has
// gone across the line and what went wrong on it, brought up to date twice a second while open.
#include <QDialog>
#include <functional>
#include <string>

class QTableWidget;
class QTimer;

namespace qx::window {

class LineDialog : public QDialog {
  public:
    // `report` gives the line's report as `show line` prints it.
    LineDialog(std::function<std::string()> report, QWidget* parent);

    void refresh();

  private:
    std::function<std::string()> report_;
    QTableWidget* table_;
    QTimer* timer_;
};

}  // namespace qx::window
