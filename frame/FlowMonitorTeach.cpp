// What the simulated flow monitor does when a write job reaches it: the commands of QUICK_2,
// the teach modes, and the switch point that follows the taught limits in max/min mode. Values
// are kept by role, so the device acts alike whatever its description names the parameters.
#include <algorithm>

#include "frame/FlowMonitorNames.h"
#include "frame/FlowMonitorSim.h"
#include "platform/Variant.h"

namespace qx::frame {

namespace {

std::optional<double> number(const std::optional<std::string>& text) {
    double v;
    if (!text || !platform::parseNumber(*text, v)) return std::nullopt;
    return v;
}

// A tolerance text such as "-1,5 %" or " 0 %": a decimal comma and a percent sign.
std::optional<double> offsetPercent(std::optional<std::string> text) {
    if (!text) return std::nullopt;
    std::erase(*text, '%');
    std::replace(text->begin(), text->end(), ',', '.');
    return number(text);
}

}  // namespace

void FlowMonitorSim::write(const std::vector<WrittenValue>& values) {
    const bool commandAlone =
        values.size() == 1 && roleOf(values.front().name) == kCommand && values.front().text;
    bool limitsChanged = false;
    for (const auto& [name, text] : values) {
        if (!text) continue;
        const std::string role = roleOf(name);
        limitsChanged |= store(role, *text).limitsChanged;
        // Beside other values the command only says which teach mode they belong to.
        if (role == kCommand && !commandAlone) {
            const auto code = number(text);
            if (code == 1 || code == 2) setTeachMode(static_cast<int32_t>(*code));
        }
    }
    if (commandAlone) actOnCode(*values.front().text);
    if (limitsChanged) recomputeSwitchPoint();
}

void FlowMonitorSim::actOnCode(const std::string& text) {
    const auto code = number(text);
    if (!code) return;
    // Which of 1 and 2 teaches the maximum depends on the device's bus category.
    const double maxCode = options_.category == DeviceOptions::Category::Match ? 1 : 2;
    if (*code == 1 || *code == 2) {
        teachLimit(*code == maxCode);
    } else if (*code == 3) {
        quickTeach();
    } else if (*code == 4) {
        inTeachProcedure_ = true;
    } else if (*code == 5) {
        inTeachProcedure_ = false;
    }
}

void FlowMonitorSim::teachLimit(bool maximum) {
    const auto flow = number(roleValue(kFlow));
    if (!flow) return;
    putNumber(maximum ? kTeachMax : kTeachMin, *flow);
    setTeachMode(2);
    recomputeSwitchPoint();
}

void FlowMonitorSim::quickTeach() {
    const auto flow = number(roleValue(kFlow));
    if (!flow) return;
    const double offset = offsetPercent(roleValue(kQuickOffset)).value_or(0);
    putNumber(options_.fw == 1 ? kQuickSetPoint : kFlowSetPoint,
              platform::roundHalfEven(*flow * (100 + offset) / 100));
    setTeachMode(1);
}

void FlowMonitorSim::setTeachMode(int32_t mode) {
    teachMode_ = mode;
    putNumber(kQuickMode, mode);
}

void FlowMonitorSim::recomputeSwitchPoint() {
    if (teachMode_ != 2) return;
    const auto min = number(roleValue(kTeachMin));
    const auto max = number(roleValue(kTeachMax));
    const auto percent = number(roleValue(kSwitchPercent));
    if (!min || !max || !percent) return;
    putNumber(kFlowSetPoint, platform::roundHalfEven(*min + *percent * (*max - *min) / 100));
}

}  // namespace qx::frame
