// The simulated flow monitor behind its register map: what a server answers to reads and what
// writes of registers make the device do.
#include <gtest/gtest.h>

#include "frame/FrameModelFactory.h"
#include "frame/modbus/SimRegisterBank.h"
#include "platform/VirtualScheduler.h"

namespace qx::frame::test {
namespace {

using Reply = SimRegisterBank::Reply;

struct Bank {
    explicit Bank(DeviceOptions options = {})
        : device(clock, options),
          bank(device, readRegisterMap(flowMonitorDescriptionPath()),
               readDescriptionFile(flowMonitorDescriptionPath())) {
        device.link().onWrite = [this](const std::vector<WrittenValue>& values) {
            std::string job;
            for (const auto& v : values)
                job += (job.empty() ? "" : " ") + v.name + "=" + v.text.value_or("-");
            jobs.push_back(job);
        };
    }
    std::vector<uint16_t> read(RegisterTable table, uint16_t start, uint16_t count) {
        std::vector<uint16_t> out;
        EXPECT_EQ(bank.read(table, start, count, out), Reply::Ok);
        return out;
    }

    platform::VirtualScheduler clock{0};
    FlowMonitorSim device;
    SimRegisterBank bank;
    std::vector<std::string> jobs;
};

TEST(SimRegisterBankTest, ReadsServeTheDevicesValues) {
    Bank b;
    b.device.setFlow(300);
    b.device.setTemperature(-12.5);
    b.clock.advance(1000);
    // Flow, unsettled, change, temperature in tenths, switch point, quick-teach set point, mode,
    // limits, command, set point, its position, tolerance.
    EXPECT_EQ(b.read(RegisterTable::Holding, 0, 13),
              (std::vector<uint16_t>{300, 0, 0, 0xFF83, 60, 450, 2, 800, 100, 0, 450, 50, 0}));
    b.clock.advance(1000);
    EXPECT_EQ(b.read(RegisterTable::Holding, 1, 1), std::vector<uint16_t>{1}) << "settled after 2 s";
    // What the simulation does not model is the description's constant; 32-bit, high word first.
    EXPECT_EQ(b.read(RegisterTable::Input, 0, 4), (std::vector<uint16_t>{0x0001, 0xD689, 0x0000, 0x04E2}));

    std::vector<uint16_t> out;
    EXPECT_EQ(b.bank.read(RegisterTable::Holding, 12, 2, out), Reply::IllegalAddress) << "past the map";
    EXPECT_EQ(b.bank.read(RegisterTable::Input, 1, 1, out), Reply::Ok) << "half of a 32-bit value";
    Bank noQuickMode({.quickMode = Presence::Missing});
    EXPECT_EQ(noQuickMode.bank.read(RegisterTable::Holding, 0, 13, out), Reply::IllegalAddress)
        << "a parameter the variant lacks";
}

TEST(SimRegisterBankTest, AWriteRequestIsOneJobAndRefusesWhatTheDeviceWouldNot) {
    Bank b;
    b.device.setFlow(300);
    const uint16_t teachMax[] = {1};
    EXPECT_EQ(b.bank.write(9, teachMax), Reply::Ok);
    EXPECT_EQ(b.device.value("TEACH_MAX"), "300") << "a code alone makes the device act";

    // Written together, the command selects the teach mode and teaches nothing.
    const uint16_t manual[] = {700, 200, 1};
    EXPECT_EQ(b.bank.write(7, manual), Reply::Ok);
    EXPECT_EQ(b.device.value("TEACH_MAX"), "700");
    EXPECT_EQ(b.device.value("TEACH_MIN"), "200");
    EXPECT_EQ(b.device.teachMode(), 1);

    const uint16_t offset[] = {0xFFFD};  // -3: "-1,5 %" on firmware 1
    EXPECT_EQ(b.bank.write(12, offset), Reply::Ok);
    EXPECT_EQ(b.device.value("TEACHDO_QUICK"), "-1,5 %");
    EXPECT_EQ(b.jobs,
              (std::vector<std::string>{"QUICK_2=1", "TEACH_MAX_SAVE=700 TEACH_MIN_SAVE=200 QUICK_2=1",
                                        "TEACHDO_QUICK=-1,5 %"}));

    struct Row {
        const char* why;
        uint16_t start;
        std::vector<uint16_t> values;
        Reply reply;
    };
    const Row refused[] = {
        {"the flow is read-only", 0, {5}, Reply::IllegalAddress},
        {"no register there", 13, {5}, Reply::IllegalAddress},
        {"above the switch point's range", 4, {121}, Reply::IllegalValue},
        {"not a code of the firmware's list", 12, {9}, Reply::IllegalValue},
        {"a refused part refuses the whole request", 4, {70, 1001}, Reply::IllegalValue},
    };
    for (const auto& row : refused) EXPECT_EQ(b.bank.write(row.start, row.values), row.reply) << row.why;
    EXPECT_EQ(b.device.value("SWPOINT"), "60") << "nothing of a refused request reaches the device";
    EXPECT_EQ(b.jobs.size(), 3u);
}

}  // namespace
}  // namespace qx::frame::test
