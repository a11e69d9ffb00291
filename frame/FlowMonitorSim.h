#pragma once
// The simulated flow monitor behind the stand-in frame's communication object: the device's own
// parameter values and what the device does when a write job reaches it (the teach codes of
// QUICK_2, the teach modes, the switch point recomputed in max/min mode), plus the process
// values a test or script sets (flow with its settling time, temperature). It runs on the UI
// thread and knows time only through the scheduler; it knows nothing of data models: jobs hand
// it parameter names and value texts. It keeps its values by role and finds the role of a name in
// the device's table, so a device whose description names its parameters otherwise teaches alike;
// several names may play one role (the flow monitor's TEACH_MAX and TEACH_MAX_SAVE name one
// value).
//
// Values are texts, as the device's parameters show them; an absent value ("no value") is an
// empty optional. A parameter the device options leave out does not exist: it has no value, is
// never read into a model, and writes to it are dropped.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "device/DeviceTable.h"
#include "frame/DeviceOptions.h"
#include "frame/SimLink.h"
#include "platform/Scheduler.h"

namespace qx::frame {

class FlowMonitorSim {
  public:
    static constexpr int64_t kDefaultSettleMs = 2000;

    FlowMonitorSim(platform::Scheduler& scheduler, const DeviceOptions& options = {});
    FlowMonitorSim(const FlowMonitorSim&) = delete;
    FlowMonitorSim& operator=(const FlowMonitorSim&) = delete;

    // Chooses another device variant: parameters it leaves out vanish, those it marks as holding
    // no value lose their value, those it keeps get their default back when they had none.
    void setOptions(const DeviceOptions& options);
    const DeviceOptions& options() const { return options_; }

    // Takes the parameter names of the device's table (the flow monitor's until told otherwise).
    void describe(const device::DeviceTable& table) { table_ = table; }
    const device::DeviceTable& table() const { return table_; }

    // Whether the device has the parameter (TEACH_MAX_SAVE and TEACH_MAX name one value).
    bool has(const std::string& name) const;
    // The device's value; none when it holds none or lacks the parameter.
    std::optional<std::string> value(const std::string& name) const;
    // The value of the parameter that plays the role (kFlow, kTemperature, ...), whatever this
    // device calls it.
    std::optional<std::string> roleValue(const std::string& role) const;

    // Sets one of the device's own values as an operator would; false when the device lacks the
    // parameter or the value is one the device derives (DELTAFLOW_NEW). In max/min mode a new
    // minimum, maximum or TEACHDO_SWPOINT recomputes FLOWSP_RAW.
    bool set(const std::string& name, const std::string& text);
    void setFlow(double flow);
    void setTemperature(double temperature);
    // The settling time of flow changes made from now on.
    void setSettleMs(int64_t ms) { settleMs_ = ms; }
    int64_t settleMs() const { return settleMs_; }

    // A write job reaches the device: its values are stored in job order, then the device acts.
    void write(const std::vector<WrittenValue>& values);

    // The device's teach mode, as TEACHDO_QUICK_MODE shows it: 1 quick teach, 2 max/min.
    int32_t teachMode() const { return teachMode_; }
    // Between the codes "4" (start) and "5" (end).
    bool inTeachProcedure() const { return inTeachProcedure_; }

    SimLink& link() { return link_; }

  private:
    // What storing one value changed, so the caller knows whether to recompute.
    struct Effect {
        bool limitsChanged = false;  // minimum, maximum or TEACHDO_SWPOINT
    };
    // The role the parameter of that name plays on this device; empty for none.
    std::string roleOf(const std::string& name) const;
    bool hasRole(const std::string& role) const;
    Effect store(const std::string& role, const std::string& text);
    void actOnCode(const std::string& code);
    void teachLimit(bool maximum);
    void quickTeach();
    void setTeachMode(int32_t mode);
    void recomputeSwitchPoint();
    void putNumber(const std::string& role, double v);

    platform::Scheduler& scheduler_;
    DeviceOptions options_;
    device::DeviceTable table_ = device::DeviceTable::flowMonitor();
    SimLink link_;
    std::map<std::string, std::optional<std::string>> values_;  // by role; only those that exist
    int32_t teachMode_ = 2;  // kept even when TEACHDO_QUICK_MODE does not exist or holds no value
    bool inTeachProcedure_ = false;
    int64_t settleMs_ = kDefaultSettleMs;
    int64_t settledAtMs_;  // DELTAFLOW_NEW is 0 before this time, 1 from it on
};

}  // namespace qx::frame
