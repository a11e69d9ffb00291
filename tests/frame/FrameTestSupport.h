#pragma once
// What the frame's tests share: a fixture holding the simulated device, the frame's model of it
// and a communication object to it, driven by step scripts in the console's words; the view's
// way of reaching a parameter; the error number a call fails with.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <source_location>
#include <string>
#include <utility>
#include <vector>

#include "frame/FlowMonitorSim.h"
#include "frame/FrameModelFactory.h"
#include "frame/ParameterLookup.h"
#include "frame/SimCommunication.h"
#include "host/ViewInterfaces.h"
#include "platform/RuntimeError.h"
#include "platform/VirtualScheduler.h"

namespace qx::frame::test {

using EventLog = std::vector<std::string>;

// The pieces of a text between separators, without leading blanks, none empty.
inline std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    for (size_t at = 0; at < text.size();) {
        const auto end = std::min(text.find(separator, at), text.size());
        const auto start = std::min(text.find_first_not_of(' ', at), end);
        if (start < end) pieces.push_back(text.substr(start, end - start));
        at = end + separator.size();
    }
    return pieces;
}

struct RecordingReceiver : host::IBase_Communication {
    explicit RecordingReceiver(EventLog& target) : log(target) {}
    void IBase_Communication_OnJobResponse(const std::string& id, const std::string& s, int32_t) override {
        log.push_back("job " + id + " " + s);
    }
    void IBase_Communication_OnConnectStatusChanged(const std::string& s) override {
        log.push_back("status " + s);
    }
    void IBase_Communication_OnReleased() override { log.push_back("released"); }
    EventLog& log;
};

// The log holds what the console prints: the link's observers (`write P=v ...`, `read n`,
// `connection S`) just before the receiver's callbacks (`job ID STATUS`, `status S`).
class FrameTest : public ::testing::Test {
  protected:
    FrameTest() { reset({}); }

    // A new device, model and communication object for these options.
    void reset(const DeviceOptions& options) {
        sim = std::make_shared<FlowMonitorSim>(scheduler, options);
        model = createFrameModel(options);
        comm = SimCommunication::create(scheduler, sim);
        comm->SetReceiver(receiver);
        link().onWrite = [this](const std::vector<WrittenValue>& values) {
            std::string line = "write";
            for (const auto& v : values) line += " " + v.name + "=" + v.text.value_or("");
            log.push_back(line);
        };
        link().onRead = [this](size_t n) { log.push_back("read " + std::to_string(n)); };
        link().onConnection = [this](const std::string& s) { log.push_back("connection " + s); };
    }

    // Steps, separated by ", " or line ends:
    //   the device  "flow N", "settle MS", "sim P=V" (its own value, which it must take),
    //               "job P=V;P=V" (values reaching it as one job), "cmd C" (QUICK_2 alone)
    //   the link    "latency MS", "early", "fail read|write|any=N", "outcome ok|fail|refuse", "abort"
    //   requests    "connect", "disconnect" (must be accepted; "... refused": must not be);
    //               "read P;P|P" (groups), "write P=V;P" (the model's values set first; one
    //               parameter alone, several as a list); "... -> ID" checks the id, "->" an empty one
    //   the model   "set P=V" (a value text), "novalue P"
    //   time        "wait MS"
    //   checks      "P=V" the device's value, "param P=V" the model's ("<none>": no value),
    //               "mode N" the device's teach mode, "connected yes|no",
    //               "log E;E" (the events since the last check; none when bare)
    void run(const std::string& script, std::source_location at = std::source_location::current()) {
        for (const std::string& line : split(script, "\n"))
            for (const std::string& step : split(line, ", ")) {
                ::testing::ScopedTrace trace(at.file_name(), static_cast<int>(at.line()), step);
                perform(step);
            }
    }

    SimLink& link() { return sim->link(); }

    platform::VirtualScheduler scheduler;
    EventLog log;
    std::shared_ptr<RecordingReceiver> receiver = std::make_shared<RecordingReceiver>(log);
    std::shared_ptr<FlowMonitorSim> sim;
    std::shared_ptr<FrameDataModel> model;
    std::shared_ptr<SimCommunication> comm;

  private:
    void perform(const std::string& step) {
        const auto blank = std::min(step.find(' '), step.size());
        const auto arrow = std::min(step.find(" ->"), step.size());
        const std::string word = step.substr(0, blank), id = step.substr(std::min(arrow + 4, step.size()));
        const std::string rest = blank < arrow ? step.substr(blank + 1, arrow - blank - 1) : "";
        const std::string name = rest.substr(0, rest.find('=')), value = rest.substr(rest.find('=') + 1);
        std::vector<host::ParameterList> groups;
        std::vector<WrittenValue> job;
        for (const auto& group : word == "read" || word == "write" ? split(rest, "|") : EventLog{}) {
            groups.emplace_back();
            for (const auto& pair : split(group, ";")) {
                groups.back().push_back(findParameter(*model, pair.substr(0, pair.find('='))));
                if (pair != groups.back().back()->name()) perform("set " + pair);
            }
        }
        for (const auto& pair : word == "job" ? split(rest, ";") : EventLog{})
            job.push_back({pair.substr(0, pair.find('=')), pair.substr(pair.find('=') + 1)});
        auto write = [&] {
            host::WriteItem item = groups[0].size() == 1 ? host::WriteItem(groups[0][0]) : groups[0];
            return comm->QueueWrite(true, item);
        };
        auto param = [&] { return findParameter(*model, name); };
        static const std::map<std::string, SimLink::FailKind> kinds = {{"read", SimLink::FailKind::Read},
                                                                       {"write", SimLink::FailKind::Write},
                                                                       {"any", SimLink::FailKind::Any}};
        static const std::map<std::string, SimLink::ConnectOutcome> outcomes = {
            {"ok", SimLink::ConnectOutcome::Ok},
            {"fail", SimLink::ConnectOutcome::Fail},
            {"refuse", SimLink::ConnectOutcome::Refuse}};
        const std::map<std::string, std::function<void()>> actions = {
            {"flow", [&] { sim->setFlow(std::stod(rest)); }},
            {"settle", [&] { sim->setSettleMs(std::stoll(rest)); }},
            {"sim", [&] { EXPECT_TRUE(sim->set(name, value)); }},
            {"job", [&] { sim->write(job); }},
            {"cmd", [&] { perform("job QUICK_2=" + rest); }},
            {"latency", [&] { link().latencyMs = std::stoll(rest); }},
            {"early", [&] { link().early = true; }},
            {"fail", [&] { link().failNext(kinds.at(name), std::stoi(value)); }},
            {"outcome", [&] { link().connectOutcome = outcomes.at(rest); }},
            {"abort", [&] { link().abort(); }},
            {"connect", [&] { EXPECT_EQ(comm->Connecting(true), rest != "refused"); }},
            {"disconnect", [&] { EXPECT_EQ(comm->Connecting(false), rest != "refused"); }},
            {"read", [&] { EXPECT_EQ(comm->QueueRead(true, groups), id); }},
            {"write", [&] { EXPECT_EQ(write(), id); }},
            {"set", [&] { param()->setValueText(value); }},
            {"novalue", [&] { findParameter(*model, rest)->setDeviceValue(std::nullopt); }},
            {"wait", [&] { scheduler.advance(std::stoll(rest)); }},
            {"param", [&] { EXPECT_EQ(param()->noValue() ? "<none>" : param()->valueText(), value); }},
            {"mode", [&] { EXPECT_EQ(sim->teachMode(), std::stoi(rest)); }},
            {"connected", [&] { EXPECT_EQ(comm->IsConnected(), rest == "yes"); }},
            {"log", [&] { EXPECT_EQ(std::exchange(log, {}), split(rest, ";")); }},
        };
        if (actions.count(word))
            actions.at(word)();
        else
            EXPECT_EQ(sim->value(step.substr(0, step.find('='))).value_or("<none>"),
                      step.substr(step.find('=') + 1));
    }
};

// description → module → group → value object → parameter, as the view binds.
inline host::ParameterPtr lookup(const host::IDataModel& model, const std::string& module,
                                 const std::string& groupName, const std::string& name) {
    auto group = model.description()->modules()->item(module)->groups()->item(groupName);
    return group->valueObjects()->item(name)->parameter();
}

// 0 when the call does not fail.
template <class F>
int32_t errorOf(F&& f) {
    try {
        f();
    } catch (const platform::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace qx::frame::test
