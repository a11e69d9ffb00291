#pragma once
// The dockable panel that drives the simulated flow monitor as the console's sim commands do:
// flow and temperature, settling time, answer latency, failing the next job, aborting, and
// refusing connections. Each setting is handed on as the sim command a script would write.
#include <QDockWidget>
#include <functional>
#include <string>

#include "frame/FlowMonitorSim.h"

class QSpinBox;

namespace qx::window {

class SimulatorPanel : public QDockWidget {
  public:
    // `run` takes one console command line.
    SimulatorPanel(std::function<void(const std::string&)> run, QWidget* parent);

    // Shows what the simulator holds now, which a script may have changed.
    void follow(const frame::FlowMonitorSim& sim, int64_t latencyMs);

  private:
    std::function<void(const std::string&)> run_;
    QSpinBox* flow_;
    QSpinBox* temperature_;
    QSpinBox* settle_;
    QSpinBox* latency_;
    bool following_ = false;
};

}  // namespace qx::window
