// The poll cycle on virtual time: what one read job carries, when a tick sends nothing, how
// the poll interval comes from the registry, and the one-time read after connecting.
#include "view/BindingTestSupport.h"

namespace qx::view::test {
namespace {

using frame::DeviceOptions;
using frame::InitTarget;
using frame::Presence;

class PollingTest : public StandTest {};

const std::vector<std::string> kFullPoll = {
    "DELTAFLOW_RAW",  "DELTAFLOW_NEW",      "PROINFLOW_RAW", "TEACH_MAX_SAVE",
    "TEACH_MIN_SAVE", "PROINTEMP",          "SWPOINT",       "TEACHDO_SWPOINT",
    "TEACHDO_QUICK",  "TEACHDO_QUICK_MODE", "FLOWSP_RAW",    "FLOWSPQT_RAW"};

TEST_F(PollingTest, PollListHoldsWhatTheDeviceHasInReadOrder) {
    struct Case {
        const char* label;
        DeviceOptions options;
        bool refresh;
        std::vector<std::string> expected;
    };
    DeviceOptions minimal;
    minimal.teachPresent = false;
    minimal.quickMode = Presence::Missing;
    minimal.flowSp = Presence::Missing;
    minimal.flowSpQt = Presence::Missing;
    DeviceOptions noValues;
    noValues.category = DeviceOptions::Category::Other;
    noValues.swPoint = Presence::NoValue;
    noValues.flowSp = Presence::NoValue;
    noValues.flowSpQt = Presence::NoValue;
    const std::vector<Case> cases = {
        {"full device, switch inputs to reload", {}, true, kFullPoll},
        {"full device",
         {},
         false,
         {"DELTAFLOW_RAW", "DELTAFLOW_NEW", "PROINFLOW_RAW", "TEACH_MAX_SAVE", "TEACH_MIN_SAVE", "PROINTEMP",
          "SWPOINT", "TEACHDO_QUICK_MODE", "FLOWSP_RAW", "FLOWSPQT_RAW"}},
        {"minimal device",
         minimal,
         false,
         {"DELTAFLOW_RAW", "DELTAFLOW_NEW", "PROINFLOW_RAW", "PROINTEMP", "SWPOINT"}},
        // Set points without a value are not read; a switch point without one is not reloaded.
        {"values missing",
         noValues,
         true,
         {"DELTAFLOW_RAW", "DELTAFLOW_NEW", "PROINFLOW_RAW", "TEACH_MAX", "TEACH_MIN", "PROINTEMP", "SWPOINT",
          "TEACHDO_QUICK", "TEACHDO_QUICK_MODE"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        inFreshThread([&] {
            frame::StandFrame f;
            f.setOptions(c.options);
            auto& v = f.create();
            f.init(InitTarget::Device);
            v.mRefreshSwitchInputs = c.refresh;
            EXPECT_EQ(names(v.BuildPollList()), c.expected);
        });
    }
}

// Connected with the device answering slowly: the poll timer sends a read and then waits.
class ConnectedStand {
  public:
    explicit ConnectedStand(int64_t latencyMs = 50) {
        view = &f.create();
        f.init(InitTarget::Device);
        f.link().onRead = [this](size_t n) { reads.push_back(n); };
        f.link().latencyMs = 50;
        view->mSpecComm->Connecting(true);
        f.wait(100);
        f.link().latencyMs = latencyMs;
    }
    frame::StandFrame f;
    QX_FlowWiz* view = nullptr;
    std::vector<size_t> reads;  // parameters per read job, as the device received them
};

TEST_F(PollingTest, TickSendsOneReadOfThePollListAndNoneWhileItIsUnanswered) {
    inFreshThread([&] {
        ConnectedStand s(10'000);
        auto& v = *s.view;
        ASSERT_TRUE(v.mSpecComm->IsConnected());
        const size_t listSize = v.BuildPollList().size();
        v.Timer1->setEnabled(true);
        s.f.wait(1000);
        EXPECT_EQ(v.mUuids->Count(), 1);
        // Reads reach the device when they are answered, so nothing has arrived yet.
        s.f.wait(8000);
        EXPECT_EQ(v.mUuids->Count(), 1);
        EXPECT_TRUE(v.Timer1->enabled());
        s.f.wait(2000);  // the answer of the one read, 10 s after the first tick
        ASSERT_EQ(s.reads.size(), 1u);
        EXPECT_EQ(s.reads[0], listSize);
        // The tick due with the answer polls again: a slow device only slows the polling down.
        s.f.wait(10'000);
        // The first answer's view update has taken the switch inputs, so they are read only once.
        EXPECT_EQ(s.reads, (std::vector<size_t>{listSize, listSize - 2}));
    });
}

TEST_F(PollingTest, TickBeforeConnectedSendsNothingAndTheTimerKeepsRunning) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device);
        int reads = 0;
        f.link().onRead = [&](size_t) { ++reads; };
        f.link().latencyMs = 2500;
        v.Timer1->setEnabled(true);
        v.mSpecComm->Connecting(true);  // "CONNECTED" at 2.5 s
        f.wait(2400);
        EXPECT_EQ(v.mUuids->Count(), 0);
        EXPECT_TRUE(v.Timer1->enabled());
        f.wait(600);  // the tick at 3 s finds the device connected
        EXPECT_EQ(v.mUuids->Count(), 1);
        EXPECT_EQ(reads, 0);
        EXPECT_EQ(loggedContaining("Timer1_Timer"), 0);
    });
}

// A poll list that cannot be built fails the tick, which logs and lets the next tick try again.
class BrokenParameter : public host::IParameter {
  public:
    std::string className() const override { return "Parameter"; }
    std::string name() const override { return "FLOWSP_RAW"; }
    std::string valueText() const override { return ""; }
    void setValueText(const std::string&) override {}
    int32_t noValue() const override {
        ++asked;
        platform::raise(platform::kObjectError + 7, "The parameter is gone");
    }
    void refresh() override {}
    std::string displayName() const override { return ""; }
    std::string unit() const override { return ""; }
    Variant minimum() const override { return {}; }
    Variant maximum() const override { return {}; }
    std::shared_ptr<host::IParameterBinding> binding() const override { return nullptr; }
    std::shared_ptr<host::IValueObject> valueObject() const override { return nullptr; }
    mutable int asked = 0;
};

TEST_F(PollingTest, FailingTickIsLoggedAndTheNextTickTriesAgain) {
    inFreshThread([&] {
        ConnectedStand s;
        auto& v = *s.view;
        auto broken = std::make_shared<BrokenParameter>();
        v.pFLOWSP_RAW = broken;
        v.Timer1->setEnabled(true);
        s.f.wait(2000);
        EXPECT_EQ(broken->asked, 2);
        EXPECT_EQ(
            logged("Timer1_Timer(): ONERROR: Error " + std::to_string(platform::kObjectError + 7) + ": " +
                   platform::standardMessage(platform::kObjectError + 7) + " (The parameter is gone)"),
            2);
        EXPECT_EQ(v.mUuids->Count(), 0);
        EXPECT_TRUE(v.Timer1->enabled());
    });
}

// "ReadOnce" waiting for the connection becomes one read of the poll list, tracked as pending.
TEST_F(PollingTest, ConnectedRunsTheWaitingReadOnce) {
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        f.init(InitTarget::Device);
        std::vector<size_t> reads;
        f.link().onRead = [&](size_t n) { reads.push_back(n); };
        f.link().latencyMs = 50;
        v.mFifo->Add("ReadOnce");
        v.mSpecComm->Connecting(true);
        f.link().latencyMs = 10'000;
        f.wait(100);
        EXPECT_EQ(v.mFifo->Count(), 0);
        EXPECT_EQ(v.mUuids->Count(), 1);
        EXPECT_TRUE(reads.empty());
    });
}

TEST_F(PollingTest, PollIntervalComesFromTheRegistry) {
    struct Case {
        const char* label;
        std::function<void()> setUp;
        int32_t interval;
    };
    auto dword = [](uint32_t value) {
        return [value] { platform::registryStore().setDword(kDtmKey, "PollCycle", value); };
    };
    const std::vector<Case> cases = {
        {"missing", [] {}, 1000},
        {"1", dword(1), 1},
        {"30000", dword(30000), 30000},
        {"30001", dword(30001), 1000},
        {"0", dword(0), 1000},
        {"negative", dword(0xFFFFFFFBu), 1000},
        {"text number", [] { platform::registryStore().setText(kDtmKey, "PollCycle", "2500"); }, 2500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        c.setUp();
        inFreshThread([&] {
            frame::StandFrame f;
            auto& v = f.create();
            EXPECT_EQ(v.Timer1->interval(), c.interval);
        });
    }
}

// The interval paces the reads on virtual time.
TEST_F(PollingTest, ReadsFollowThePollInterval) {
    platform::registryStore().setDword(kDtmKey, "PollCycle", 30000);
    inFreshThread([&] {
        ConnectedStand s(10);
        auto& v = *s.view;
        v.Timer1->setEnabled(true);
        s.f.wait(29'999);
        EXPECT_EQ(v.mUuids->Count(), 0);
        EXPECT_TRUE(s.reads.empty());
        s.f.wait(1);
        EXPECT_EQ(v.mUuids->Count(), 1);
    });
}

// A text that is no number stops the creation at that step: the lamp column stays uninitialised.
TEST_F(PollingTest, PollCycleThatIsNoNumberStopsTheCreation) {
    platform::registryStore().setText(kDtmKey, "PollCycle", "fast");
    inFreshThread([&] {
        frame::StandFrame f;
        auto& v = f.create();
        EXPECT_EQ(v.Timer1->interval(), 1000);
        EXPECT_NE(v.CtlLedIM1->lampCount(), 10);
        EXPECT_EQ(loggedContaining(":UserControl_Initialize()(step=get Pollcycle from registry)(ERROR=" +
                                   platform::standardMessage(platform::kTypeMismatch) + ") line:"),
                  1);
    });
}

}  // namespace
}  // namespace qx::view::test
