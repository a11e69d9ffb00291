// The window on a real line: qxflow-sim on 127.0.0.1 as the device. The status bar names the line,
// the simulator's panel is gone (it would show values of a device that is not on the line), the
// line's answers reach the view while the window's event loop runs on the real clock (nothing
// waits for the line on the UI thread), and a server that goes away leaves a lasting loss.
#include <gtest/gtest.h>

#include <QDockWidget>
#include <QLabel>
#include <QProcess>
#include <QTest>

#include "WindowStand.h"
#include "display/TrendPane.h"
#include "view/QX_FlowWiz.h"

namespace qx::window::test {
namespace {

// qxflow-sim on a free port of 127.0.0.1; stopped when the test ends.
class SimServer {
  public:
    SimServer() {
        process_.start(QX_SIM_PATH, {"--listen", "127.0.0.1:0"});
        if (!process_.waitForStarted(5000)) return;
        // It prints "listening 127.0.0.1:<port>" once it accepts connections.
        while (process_.waitForReadyRead(10'000)) {
            const QString line = QString::fromUtf8(process_.readLine()).trimmed();
            if (line.startsWith("listening ")) {
                address_ = line.section(' ', 1).toStdString();
                return;
            }
        }
    }
    ~SimServer() { stop(); }
    void stop() {
        process_.kill();
        process_.waitForFinished(5000);
    }
    const std::string& address() const { return address_; }

  private:
    QProcess process_;
    std::string address_;
};

TEST(ModbusWindow, FollowsARealLineWithoutWaitingForIt) {
    SimServer server;
    ASSERT_FALSE(server.address().empty()) << "qxflow-sim did not start";
    WindowStand stand(false);
    stand.window.useRealTimeOfDay();
    ASSERT_EQ(stand.window.openDevice({}, "modbus " + server.address()), std::nullopt);
    stand.window.startClock();
    auto* status = stand.window.findChild<QLabel*>("LineStatus");
    EXPECT_TRUE(QTest::qWaitFor([&] { return status->text().endsWith(", connected"); }, 10'000))
        << status->text().toStdString();
    EXPECT_EQ(status->text().toStdString(), "Line to the device: " + server.address() + ", connected");
    EXPECT_FALSE(stand.window.findChild<QDockWidget*>("SimulatorPanel")->isVisible());

    // Polled values reach the view: the flow chart gains points as answers come.
    const auto points = [&] {
        return stand.console.frame().view().trend().flow.object->group(1).data().numPoints();
    };
    const int32_t before = points();
    EXPECT_TRUE(QTest::qWaitFor([&] { return points() >= before + 2; }, 10'000));

    server.stop();
    EXPECT_TRUE(QTest::qWaitFor([&] { return status->text().contains("lost at "); }, 10'000))
        << status->text().toStdString();
}

}  // namespace
}  // namespace qx::window::test
