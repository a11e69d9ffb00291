// A long session on virtual time: a person teaching, cancelling, setting values, dragging,
// resizing and switching languages at random while the line fails at random, with the view's
// bookkeeping checked after every step and a clean release at the end. The random choices come
// from one seed, printed at the start; QX_SOAK_SEED=<n> replays a run.
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <random>
#include <string>

#include "frame/ParameterSlider.h"
#include "platform/Registry.h"
#include "reliability/Session.h"
#include "view/ViewTestSeam.h"

namespace qx::reliability::test {
namespace {

using frame::SimLink;

// A seed to replay is a whole decimal number as printed; anything else would replay another run
// than the one asked for.
std::optional<uint64_t> seedFrom(const std::string& text) {
    uint64_t seed = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seed);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return seed;
}

std::optional<uint64_t> chooseSeed() {
    if (const char* given = std::getenv("QX_SOAK_SEED")) return seedFrom(given);
    return std::random_device{}();
}

class Soak {
  public:
    Soak(int32_t pollMs, uint64_t seed) : pollMs_(pollMs), random_(seed) {}

    // Runs until `durationMs` of virtual time have passed, then releases the view.
    void run(Session& s, int64_t durationMs) {
        const int64_t end = s.f.scheduler().nowMs() + durationMs;
        while (s.f.scheduler().nowMs() < end && !testing::Test::HasFailure()) {
            act(s);
            s.f.wait(between(pollMs_ / 5, pollMs_ * 20));
            ++steps;
            expectConsistent(s);
        }
        s.f.wait(between(0, pollMs_));
        s.release();
        s.f.wait(60'000);
        s.expectReleasedCleanly();
    }

    int steps = 0;
    int faults = 0;

  private:
    int64_t between(int64_t lo, int64_t hi) {
        return std::uniform_int_distribution<int64_t>(lo, hi)(random_);
    }
    bool chance(int percent) { return between(1, 100) <= percent; }

    void act(Session& s) {
        switch (between(0, 15)) {
            case 0:
                s.f.sim().setFlow(static_cast<double>(between(0, 1000)));
                break;
            case 1:
                s.f.sim().setTemperature(static_cast<double>(between(-20, 120)));
                break;
            case 2:
                s.click("ComTeachMaxMin");
                break;
            case 3:
                s.click("ComteachQuick");
                break;
            case 4:
                // Teach triggers while a procedure is under way: a cancel leaves them enabled
                // until the next update, and a trigger pressed then waits for an answer that a
                // lost line never brings, with cancel already off.
                if (!cancelOffered(s)) break;
                for (const char* trigger : {"ComTMax", "ComTMin", "ComTQuick"}) s.click(trigger);
                break;
            case 5:
                s.click("ComTeachCancel");
                break;
            case 6:
                setByHand(s);
                break;
            case 7:
                setButton(s);
                break;
            case 8:
                drag(s);
                break;
            case 9:
                resize(s);
                break;
            case 10:
                changeLanguage(s);
                break;
            case 11:
                s.press("Poll");
                break;
            default:
                injectFault(s);
                break;
        }
        // A person who sees polling stopped usually starts it again.
        auto poll = s.f.toolbar()->buttons().find("Poll");
        if (poll && poll->value() == 0 && chance(60)) s.press("Poll");
    }

    static bool cancelOffered(Session& s) {
        auto cancel = s.view->Controls().find("ComTeachCancel");
        return cancel && cancel->usable();
    }

    void setByHand(Session& s) {
        if (!s.press("Edit")) return;
        const int64_t min = between(0, 1000), max = between(0, 1000);
        s.type("LaTMinW", std::to_string(min));
        s.type("LaTMaxW", std::to_string(max));
        s.type("LaTQuickW", std::to_string(between(0, 1000)));
        s.click("ComSetTeach");
        if (chance(50)) s.press("Edit");
    }

    void setButton(Session& s) {
        auto slide = [&](const char* name, int64_t lo, int64_t hi) {
            auto* extender = dynamic_cast<platform::ControlExtender*>(s.view->Controls().find(name).get());
            auto slider =
                extender ? std::dynamic_pointer_cast<frame::ParameterSlider>(extender->object()) : nullptr;
            if (slider && extender->usable()) slider->slide(static_cast<double>(between(lo, hi)));
        };
        switch (between(0, 2)) {
            case 0:
                slide("mSliderFL", 0, 100), s.click("ComSetFL");
                break;
            case 1:
                slide("mSliderTP", -20, 120), s.click("ComSetPara");
                break;
            default:
                s.click("ComSetQT");
                break;
        }
    }

    void drag(Session& s) {
        const bool flowChart = chance(50);
        int64_t x = between(0, 4000);
        for (int64_t n = between(1, 6); n > 0; --n, x += between(-400, 400)) {
            const view::ObjectEventInfo info{
                "MouseMove",
                {platform::Variant(static_cast<int32_t>(between(0, 2))), platform::Variant(0),
                 platform::Variant(static_cast<int32_t>(x)), platform::Variant(0)}};
            const auto& chart = flowChart ? s.view->trend().flow : s.view->trend().temp;
            chart.object->raiseEvent(info);
        }
    }

    void resize(Session& s) {
        s.view->setWidth(static_cast<int32_t>(between(3000, 20000)));
        s.view->setHeight(static_cast<int32_t>(between(2000, 15000)));
        s.view->UserControl_Resize();
    }

    void changeLanguage(Session& s) {
        const int32_t languages[] = {0, 1033, 1031};
        const int32_t language = languages[between(0, 2)];
        s.f.model()->settings()->setLanguage(language);
        if (auto applied =
                std::dynamic_pointer_cast<host::IDataModel>(s.view->IQX_ActiveXApp_GetAppliedDataModel()))
            applied->settings()->setLanguage(language);
        s.view->IBase_CallbackModule_OnLanguageChanged(s.f.model());
    }

    void injectFault(Session& s) {
        SimLink& link = s.f.link();
        ++faults;
        switch (between(0, 6)) {
            case 0:
                link.failNext(SimLink::FailKind::Any, static_cast<int32_t>(between(1, 3)));
                break;
            case 1:
                link.abort();
                break;
            case 2:
                link.early = !link.early;
                break;
            case 3:
                link.connectOutcome = SimLink::ConnectOutcome::Fail;
                break;
            case 4:
                link.connectOutcome = SimLink::ConnectOutcome::Refuse;
                break;
            case 5:
                link.connectOutcome = SimLink::ConnectOutcome::Ok, --faults;
                break;  // the line recovers
            default:
                link.latencyMs = between(0, 2 * pollMs_);
                break;
        }
    }

    // What holds between any two steps, whatever happened.
    void expectConsistent(Session& s) {
        auto p = s.probe();
        ASSERT_EQ(s.localComm(), kLocalComm + p.jobs()) << "the shared counter lost track at step " << steps;
        ASSERT_EQ(p.early(), 0) << "an answer waits for an id that never came, step " << steps;
        ASSERT_LE(p.commands(), 1) << "step " << steps;
        ASSERT_TRUE(p.teachState() >= 0 && p.teachState() <= 14) << "step " << steps;
        if (!s.f.communication()->IsConnected()) {
            ASSERT_EQ(p.jobs(), 0) << "jobs pending on a line that is gone, step " << steps;
        }
    }

    int32_t pollMs_;
    std::mt19937_64 random_;
};

void soak(const char* name, int32_t pollMs, int64_t durationMs) {
    const std::optional<uint64_t> chosen = chooseSeed();
    ASSERT_TRUE(chosen) << "QX_SOAK_SEED=" << std::getenv("QX_SOAK_SEED")
                        << " is not a seed: a whole number from 0 to 18446744073709551615";
    const uint64_t seed = *chosen;
    std::cout << "soak " << name << ": seed " << seed << " (QX_SOAK_SEED=" << seed << " replays it)\n";
    platform::registryStore().clear();
    platform::registryStore().setDword("SOFTWARE\\Orvex\\DTM", "PollCycle", static_cast<uint32_t>(pollMs));
    const auto started = std::chrono::steady_clock::now();
    Soak soak(pollMs, seed);
    {
        Session s;
        soak.run(s, durationMs);
    }
    platform::registryStore().clear();
    const auto wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << "soak " << name << ": " << soak.steps << " steps, " << soak.faults << " faults injected, "
              << wall << " s wall time\n";
    testing::Test::RecordProperty("seed", std::to_string(seed));
}

TEST(SoakSeed, OnlyAWholeNumberReplaysARun) {
    EXPECT_EQ(seedFrom("0"), 0u);
    EXPECT_EQ(seedFrom("18446744073709551615"), UINT64_MAX);
    for (const char* refused : {"abc", "", "12abc", "-1", "+1", " 1", "18446744073709551616", "0x10"})
        EXPECT_EQ(seedFrom(refused), std::nullopt) << refused;
}

TEST(Soak, DayAtOneSecondPoll) {
    soak("24 h at 1 s", 1000, 24LL * 3600 * 1000);
}

TEST(Soak, HourAtTenMilliseconds) {
    soak("1 h at 10 ms", 10, 3600LL * 1000);
}

}  // namespace
}  // namespace qx::reliability::test
