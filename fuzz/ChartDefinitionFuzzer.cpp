// The chart definition reader on arbitrary text, as a damaged or hand-edited PC1.dat reaches it.
// A text it refuses must fail with error 380 naming the file; a text it accepts must give every
// group its series and only colours and time labels a chart can show.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "platform/ChartDefinition.h"
#include "platform/RuntimeError.h"

namespace {

using namespace qx::platform;
using qx::fuzz::require;

void checkAxis(const ChartAxis& axis) {
    // A front end labels a time axis at its ends: whatever limits the file set must label.
    if (axis.labels() != AxisLabels::Time) return;
    for (double v : {axis.min(), axis.max()}) {
        const std::string label = axis.timeScale().label(v);
        require(label.size() == axis.timeScale().format().size(), "a time label as long as its format");
    }
}

void checkAccepted(const ChartDefinition& d) {
    require(d.backColor <= 0xFFFFFF, "back colour in 0x00BBGGRR");
    for (size_t g = 0; g < d.groups.size(); ++g) {
        require(d.groups[g].styles.size() == static_cast<size_t>(kChartGroupSeries[g]),
                "one style per series");
        for (const ChartStyle& s : d.groups[g].styles) {
            require(s.lineColor() <= 0xFFFFFF && s.fillColor() <= 0xFFFFFF, "style colours in 0x00BBGGRR");
            require(s.lineWidth() >= 0 && s.lineWidth() <= 20, "line width 0..20");
            require(s.symbolSize() >= 1 && s.symbolSize() <= 40, "symbol size 1..40");
        }
    }
    for (const ChartAxis* a : {&d.axisX, &d.axisY, &d.axisY2}) checkAxis(*a);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        checkAccepted(ChartDefinition::parse(text, "PC1.dat"));
    } catch (const RuntimeError& e) {
        require(e.number() == kInvalidPropertyValue, "a refused definition fails with error 380");
        require(e.description().rfind("PC1.dat", 0) == 0, "the failure names the file: " + e.description());
    }
    return 0;
}
