// The simulator panel follows the simulated device whatever its description calls the flow: a
// device variant with its own parameter names shows the flow a script sets.
#include <gtest/gtest.h>

#include <QSpinBox>

#include "WindowStand.h"

namespace qx::window::test {
namespace {

TEST(SimulatorPanel, FollowsTheFlowOfADeviceVariant) {
    for (const char* file : {"flowmonitor.json", "flowsensor-fs2.json"}) {
        SCOPED_TRACE(file);
        WindowStand stand(false);
        ASSERT_EQ(stand.window.openDevice(std::string(QX_DEVICES_DIR) + "/" + file, {}), std::nullopt);
        stand.window.runLine("sim flow 640");
        stand.window.runFor(3000);
        auto* flow = stand.window.findChild<QSpinBox*>("SimulatedFlow");
        ASSERT_NE(flow, nullptr);
        EXPECT_EQ(flow->value(), 640);
    }
}

}  // namespace
}  // namespace qx::window::test
