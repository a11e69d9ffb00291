// The simulator panel follows the simulated device whatever its description calls the flow: a
// device variant with its own parameter names and units shows the flow a script sets, in its unit.
#include <gtest/gtest.h>

#include <QSpinBox>

#include "WindowStand.h"

namespace qx::window::test {
namespace {

TEST(SimulatorPanel, FollowsTheFlowOfADeviceVariant) {
    const std::pair<const char*, const char*> devices[] = {{"flowmonitor.json", " Bit"},
                                                           {"flowsensor-fs2.json", " Digit"}};
    for (const auto& [file, unit] : devices) {
        SCOPED_TRACE(file);
        WindowStand stand(false);
        ASSERT_EQ(stand.window.openDevice(std::string(QX_DEVICES_DIR) + "/" + file, {}), std::nullopt);
        stand.window.runLine("sim flow 640");
        stand.window.runFor(3000);
        auto* flow = stand.window.findChild<QSpinBox*>("SimulatedFlow");
        ASSERT_NE(flow, nullptr);
        EXPECT_EQ(flow->value(), 640);
        EXPECT_EQ(flow->suffix().toStdString(), unit);
    }
}

}  // namespace
}  // namespace qx::window::test
