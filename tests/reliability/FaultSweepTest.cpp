// Every job the view sends, hit by every fault the simulated line can inject, once and for good,
// with the frame asking for the release before the job, while it is outstanding and after its
// answer. Whatever happens, the release must end cleanly (Session::expectReleasedCleanly).
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "reliability/Session.h"

namespace qx::reliability::test {
namespace {

using frame::SimLink;
using frame::WrittenValue;
using Step = std::function<void(Session&)>;

Step wait(int64_t ms) {
    return [ms](Session& s) { s.f.wait(ms); };
}
Step click(const char* name) {
    return [name](Session& s) { s.click(name); };
}
Step flow(double value) {
    return [value](Session& s) { s.f.sim().setFlow(value); };
}

// A job picked by what it carries: the n-th read, or the n-th write whose first parameter has
// that name (and text, when one is given).
struct Target {
    SimLink::JobKind kind;
    std::string name;
    std::string text;
    int occurrence = 1;

    bool matches(SimLink::JobKind k, const std::vector<WrittenValue>& values) const {
        if (k != kind) return false;
        if (kind == SimLink::JobKind::Read) return true;
        return !values.empty() && values[0].name == name && (text.empty() || values[0].text == text);
    }
};

Target read(int occurrence) {
    return {SimLink::JobKind::Read, "", "", occurrence};
}
Target code(const char* text, int occurrence = 1) {
    return {SimLink::JobKind::Write, "QUICK_2", text, occurrence};
}
Target write(const char* name) {
    return {SimLink::JobKind::Write, name, "", 1};
}

// What a person does, and the jobs that sends.
struct Procedure {
    const char* name;
    std::vector<Step> steps;
    std::vector<Target> targets;
};

std::vector<Procedure> procedures() {
    return {
        {"polling", {wait(5000)}, {read(1), read(3)}},
        {"max/min teach",
         {wait(100), click("ComTeachMaxMin"), flow(500), wait(4000), click("ComTMax"), wait(1000), flow(200),
          wait(4000), click("ComTMin"), wait(6000)},
         {code("4"), code("1"), code("0", 1), code("2"), code("0", 2), code("5"), code("0", 3)}},
        {"quick teach",
         {wait(100), click("ComteachQuick"), flow(300), wait(4000), click("ComTQuick"), wait(5000)},
         {code("4"), code("3"), code("0", 1), code("5")}},
        {"cancelled teach",
         {wait(100), click("ComTeachMaxMin"), wait(2000), click("ComTeachCancel"), wait(2000)},
         {code("5")}},
        {"values by hand",
         {wait(100), click("ComTeachMaxMin"), wait(2000), [](Session& s) { s.press("Edit"); },
          [](Session& s) { s.type("LaTMaxW", "700"), s.type("LaTMinW", "150"); }, click("ComSetTeach"),
          wait(3000), [](Session& s) { s.press("Edit"); }, click("ComTeachCancel"), wait(2000)},
         {write("TEACHDO_QUICK_MODE")}},
        {"set buttons",
         {wait(2000), click("ComSetFL"), wait(2000), click("ComSetPara"), wait(2000),
          [](Session& s) { s.f.sim().set("TEACHDO_QUICK_MODE", "1"); }, wait(3000), click("ComSetQT"),
          wait(2000)},
         {write("TEACHDO_SWPOINT"), write("SWPOINT"), write("TEACHDO_QUICK")}},
    };
}

enum class Fault { JobFails, Abort, LostConnection, EarlyAnswer, RefusedConnection };
enum class When { Before, During, After };

const char* nameOf(Fault f) {
    switch (f) {
        case Fault::JobFails:
            return "job fails";
        case Fault::Abort:
            return "abort";
        case Fault::LostConnection:
            return "lost connection";
        case Fault::EarlyAnswer:
            return "early answer";
        case Fault::RefusedConnection:
            return "refused connection";
    }
    return "";
}
const char* nameOf(When w) {
    return w == When::Before ? "before" : w == When::During ? "during" : "after";
}

// One run: the procedure with the fault aimed at the target job and the release at its moment.
class SweepRun {
  public:
    SweepRun(const Procedure& procedure, const Target& target) : procedure_(procedure), target_(target) {}

    // The virtual time at which the view hands the target job over when nothing goes wrong: its
    // answer, less the line's latency.
    std::optional<int64_t> locate() {
        Session s;
        std::optional<int64_t> at;
        int seen = 0;
        auto note = [&](SimLink::JobKind kind, const std::vector<WrittenValue>& values) {
            if (!at && target_.matches(kind, values) && ++seen == target_.occurrence)
                at = s.f.scheduler().nowMs() - s.f.link().latencyMs;
        };
        s.f.link().onRead = [&](size_t) { note(SimLink::JobKind::Read, {}); };
        s.f.link().onWrite = [&](const std::vector<WrittenValue>& values) {
            note(SimLink::JobKind::Write, values);
        };
        for (const auto& step : procedure_.steps) step(s);
        return at;
    }

    void run(int64_t at, Fault fault, bool persistent, When when) {
        Session s;
        SimLink& link = s.f.link();
        auto& scheduler = s.f.scheduler();
        const int64_t latency = link.latencyMs;
        auto atTime = [&](int64_t t, std::function<void()> task) {
            scheduler.postAfter(t - scheduler.nowMs(), task);
        };
        // Armed in the turn before the job, so that the faults of a job hit this one.
        atTime(at - 1, [&] {
            switch (fault) {
                case Fault::JobFails:
                    link.failNext(SimLink::FailKind::Any,
                                  persistent ? std::numeric_limits<int32_t>::max() : 1);
                    break;
                case Fault::Abort:
                    break;
                case Fault::LostConnection:
                    link.abort();
                    if (persistent) link.connectOutcome = SimLink::ConnectOutcome::Fail;
                    break;
                case Fault::EarlyAnswer:
                    link.early = true;
                    break;
                case Fault::RefusedConnection:
                    link.abort();
                    link.connectOutcome = SimLink::ConnectOutcome::Refuse;
                    break;
            }
            if (when == When::Before) s.release();
        });
        // While the job is outstanding: the line drops it, and an early answer was for it alone.
        std::function<void()> abortAgain = [&] {
            link.abort();
            if (persistent) scheduler.postAfter(500, abortAgain);
        };
        atTime(at + 1, [&] {
            if (fault == Fault::Abort) abortAgain();
            if (fault == Fault::EarlyAnswer && !persistent) link.early = false;
            if (fault == Fault::RefusedConnection && !persistent)
                link.connectOutcome = SimLink::ConnectOutcome::Ok;
            if (when == When::During) s.release();
        });
        atTime(at + latency + 1, [&] {
            if (when == When::After) s.release();
        });
        for (const auto& step : procedure_.steps) step(s);
        s.f.wait(60'000);
        s.expectReleasedCleanly();
        ++runs;
    }

    int runs = 0;

  private:
    const Procedure& procedure_;
    const Target& target_;
};

TEST(FaultSweep, EveryJobEveryFaultEveryReleaseMomentEndsCleanly) {
    int runs = 0;
    for (const auto& procedure : procedures()) {
        for (const auto& target : procedure.targets) {
            SweepRun sweep(procedure, target);
            const auto at = sweep.locate();
            ASSERT_TRUE(at) << procedure.name << ": target job " << &target - procedure.targets.data()
                            << " never sent";
            for (Fault fault : {Fault::JobFails, Fault::Abort, Fault::LostConnection, Fault::EarlyAnswer,
                                Fault::RefusedConnection}) {
                for (bool persistent : {false, true}) {
                    for (When when : {When::Before, When::During, When::After}) {
                        SCOPED_TRACE(testing::Message()
                                     << procedure.name << ", job " << &target - procedure.targets.data()
                                     << ", " << nameOf(fault) << (persistent ? " for good" : " once")
                                     << ", release " << nameOf(when) << " (job at " << *at << " ms)");
                        sweep.run(*at, fault, persistent, when);
                    }
                }
            }
            runs += sweep.runs;
        }
    }
    std::cout << "fault sweep: " << runs << " runs\n";
}

}  // namespace
}  // namespace qx::reliability::test
