// The device object and the values that read and write jobs carry between the frame's model and
// the simulated flow monitor.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CommTestSupport.h"
#include "frame/DataModel.h"
#include "frame/DeviceValues.h"
#include "frame/SimDevice.h"
#include "platform/RuntimeError.h"
#include "platform/VirtualScheduler.h"

namespace qx::frame::test {
namespace {

using ::testing::ElementsAre;

class DeviceTest : public ::testing::Test {
  protected:
    void SetUp() override { recordLink(sim->link(), log); }

    std::shared_ptr<SimCommunication> connected() {
        auto comm = std::dynamic_pointer_cast<SimCommunication>(device.CreateCommunication());
        comm->SetReceiver(receiver);
        comm->Connecting(true);
        scheduler.advance(50);
        log.clear();
        return comm;
    }

    host::ParameterPtr param(const std::string& name) { return findParameter(*model, name); }

    platform::VirtualScheduler scheduler;
    DeviceOptions options;
    std::shared_ptr<FlowMonitorSim> sim = std::make_shared<FlowMonitorSim>(scheduler, options);
    std::shared_ptr<FrameDataModel> model = createFrameModel(options);
    SimDevice device{scheduler, sim, model};
    EventLog log;
    std::shared_ptr<RecordingReceiver> receiver = std::make_shared<RecordingReceiver>(log);
};

TEST_F(DeviceTest, GivesItsModelAndRecordsReleasedItems) {
    EXPECT_EQ(device.datamodel(), model);
    auto item = param("SWPOINT")->binding()->deviceItem();
    device.ReleaseItem(item, 2);
    ASSERT_EQ(device.releasedItems().size(), 1u);
    EXPECT_EQ(device.releasedItems()[0].first, item);
    EXPECT_EQ(device.releasedItems()[0].second, 2);
}

TEST_F(DeviceTest, CreateCommunicationFailsWhenTheOptionsSaySo) {
    EXPECT_EQ(device.communication(), nullptr);
    auto options = sim->options();
    options.commFails = true;
    sim->setOptions(options);
    try {
        device.CreateCommunication();
        FAIL() << "no error";
    } catch (const platform::RuntimeError& e) {
        EXPECT_EQ(e.number(), platform::kCannotCreateObject);
    }
    EXPECT_EQ(device.communication(), nullptr);
}

TEST_F(DeviceTest, EachCommunicationObjectIsNewAndTheLastOneIsKept) {
    auto first = device.CreateCommunication();
    auto second = device.CreateCommunication();
    EXPECT_NE(first, second);
    EXPECT_EQ(device.communication(), second);
}

TEST_F(DeviceTest, AReadCopiesTheDeviceValuesWhenItIsAnsweredKeepingNoValue) {
    auto comm = connected();
    sim->set("TEACH_MAX", "900");
    sim->setTemperature(31);
    comm->QueueRead(true, {{param("TEACH_MAX"), param("TEACH_MAX_SAVE")}, {param("PROINTEMP")}});
    sim->setTemperature(35);  // still before the answer
    auto options = sim->options();
    options.flowSp = Presence::NoValue;
    sim->setOptions(options);
    comm->QueueRead(true, {{param("FLOWSP_RAW")}});
    EXPECT_EQ(param("PROINTEMP")->valueText(), "22");
    scheduler.advance(50);
    EXPECT_THAT(log, ElementsAre("read 3", "job JOB-1 SUCCESS", "read 1", "job JOB-2 SUCCESS"));
    EXPECT_EQ(param("TEACH_MAX")->valueText(), "900");
    EXPECT_EQ(param("TEACH_MAX_SAVE")->valueText(), "900");
    EXPECT_EQ(param("PROINTEMP")->valueText(), "35");
    EXPECT_NE(param("FLOWSP_RAW")->noValue(), 0);
}

TEST_F(DeviceTest, AWriteCarriesTheValuesOfItsQueuingTimeInJobOrder) {
    auto comm = connected();
    param("TEACHDO_SWPOINT")->setValueText("40");
    param("SWPOINT")->setValueText("70");
    host::WriteItem item = host::ParameterList{param("TEACHDO_SWPOINT"), param("SWPOINT")};
    comm->QueueWrite(true, item);
    param("SWPOINT")->setValueText("80");  // too late for the job
    scheduler.advance(50);
    EXPECT_THAT(log, ElementsAre("write TEACHDO_SWPOINT=\"40\" SWPOINT=\"70\"", "job JOB-1 SUCCESS"));
    EXPECT_EQ(sim->value("SWPOINT"), "70");
    EXPECT_EQ(sim->value("TEACHDO_SWPOINT"), "40");
    EXPECT_EQ(sim->value("FLOWSP_RAW"), "380");  // max/min mode: 100 + 40 % of 700
}

TEST_F(DeviceTest, AParameterWithoutValueLeavesTheDeviceValueAlone) {
    auto comm = connected();
    std::dynamic_pointer_cast<FrameParameter>(param("SWPOINT"))->setDeviceValue(std::nullopt);
    host::WriteItem item = param("SWPOINT");
    comm->QueueWrite(true, item);
    scheduler.advance(50);
    EXPECT_THAT(log, ElementsAre("write SWPOINT=\"\"", "job JOB-1 SUCCESS"));
    EXPECT_EQ(sim->value("SWPOINT"), "60");
}

TEST_F(DeviceTest, WritingNoneFailsTheQueuingCall) {
    auto comm = connected();
    host::WriteItem item = host::ParameterPtr();
    EXPECT_THROW(comm->QueueWrite(true, item), platform::RuntimeError);
}

TEST_F(DeviceTest, TheWholeModelTakesTheDeviceValues) {
    sim->set("SWPOINT", "75");
    sim->set("TEACH_MIN", "150");
    copyDeviceValues(*sim, *model);
    EXPECT_EQ(param("SWPOINT")->valueText(), "75");
    EXPECT_EQ(param("TEACH_MIN_SAVE")->valueText(), "150");
    EXPECT_EQ(param("FLOWSP_RAW")->valueText(), "475");
}

}  // namespace
}  // namespace qx::frame::test
