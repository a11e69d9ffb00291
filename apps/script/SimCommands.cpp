// The simulated flow monitor's commands: its process values, its own parameter values, and the
// line to it (latency, early answers, failing jobs, connection outcomes, a dropped connection).
#include "script/Arguments.h"
#include "script/Console.h"

namespace qx::console {

void Console::cmdSim(const Command& c) {
    requireSimulatedLine(c, "sim commands");
    const std::string& what = c.words[1].text;
    auto& sim = frame_.sim();
    auto& link = frame_.link();
    auto arity = [&](size_t lo, size_t hi) {
        if (c.words.size() < lo || c.words.size() > hi) fail(c, "wrong number of arguments for sim " + what);
    };

    if (what == "flow") {
        arity(3, 3);
        sim.setFlow(numberArgument(c, 2, kSimFlow));
    } else if (what == "temp") {
        arity(3, 3);
        sim.setTemperature(numberArgument(c, 2, kSimTemp));
    } else if (what == "settle") {
        arity(3, 3);
        sim.setSettleMs(wholeArgument(c, 2, kSimSettle));
    } else if (what == "latency") {
        arity(3, 3);
        link.latencyMs = wholeArgument(c, 2, kSimLatency);
    } else if (what == "early") {
        arity(3, 3);
        auto on = switchWord(c.words[2].text);
        if (!on) fail(c, "sim early on or off, not " + c.words[2].text);
        link.early = *on;
    } else if (what == "fail") {
        arity(3, 4);
        const std::string& kind = c.words[2].text;
        frame::SimLink::FailKind k;
        if (kind == "read")
            k = frame::SimLink::FailKind::Read;
        else if (kind == "write")
            k = frame::SimLink::FailKind::Write;
        else if (kind == "any")
            k = frame::SimLink::FailKind::Any;
        else
            fail(c, "sim fail read, write or any, not " + kind);
        const int64_t count = c.words.size() == 4 ? wholeArgument(c, 3, kSimFailCount) : 1;
        link.failNext(k, static_cast<int32_t>(count));
    } else if (what == "connect") {
        arity(3, 3);
        const std::string& outcome = c.words[2].text;
        if (outcome == "ok")
            link.connectOutcome = frame::SimLink::ConnectOutcome::Ok;
        else if (outcome == "fail")
            link.connectOutcome = frame::SimLink::ConnectOutcome::Fail;
        else if (outcome == "refuse")
            link.connectOutcome = frame::SimLink::ConnectOutcome::Refuse;
        else
            fail(c, "sim connect ok, fail or refuse, not " + outcome);
    } else if (what == "abort") {
        arity(2, 2);
        link.abort();
    } else if (what == "set") {
        arity(4, 4);
        if (!sim.set(c.words[2].text, c.words[3].text))
            fail(c, "the device has no value " + c.words[2].text + " to set");
    } else {
        fail(c, "unknown sim command " + what);
    }
}

}  // namespace qx::console
