#pragma once
// What a trend export reads: the two chart models as the view left them, and the names the
// device gives the values they plot (from the parameters the view has bound).
#include <string>

#include "platform/ChartObject.h"

namespace qx::trend {

struct TrendColumn {
    std::string name;
    std::string unit;  // may be empty

    // "name [unit]", or the name alone.
    std::string caption() const { return unit.empty() ? name : name + " [" + unit + "]"; }
};

struct TrendSource {
    const platform::ChartObject& flowChart;
    const platform::ChartObject& temperatureChart;
    std::string deviceName;
    TrendColumn flow;
    TrendColumn temperature;
    // The date the trend started ("2026-12-06") on a frame that runs on the real date; empty on
    // virtual time, which has a time of day but no date worth telling.
    std::string startDate = {};
};

}  // namespace qx::trend
