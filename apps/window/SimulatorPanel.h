#pragma once
// The dockable panel that drives the simulated flow monitor as the console's sim commands do:
// flow and temperature, settling time, answer latency, failing the next job, aborting, and
// refusing connections. Each setting is handed on as the sim command a script would write.
#include <QDockWidget>
#include <functional>
#include <string>

namespace qx::window {

class SimulatorPanel : public QDockWidget {
  public:
    // `run` takes one console command line.
    SimulatorPanel(std::function<void(const std::string&)> run, QWidget* parent);

  private:
    std::function<void(const std::string&)> run_;
};

}  // namespace qx::window
