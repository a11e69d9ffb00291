#include "sim/SimControl.h"

#include <sstream>
#include <vector>

#include "platform/Variant.h"

namespace qx::sim {

namespace {

struct Error {
    std::string why;
};

double number(const std::string& text) {
    double v;
    if (!platform::parseNumber(text, v)) throw Error{"not a number: " + text};
    return v;
}

int32_t count(const std::string& text) {
    const double v = number(text);
    if (v < 0 || v > 2'147'483'647 || v != static_cast<int32_t>(v)) throw Error{"not a count: " + text};
    return static_cast<int32_t>(v);
}

bool onOff(const std::string& text, const char* on, const char* off) {
    if (text == on) return true;
    if (text == off) return false;
    throw Error{std::string(on) + " or " + off + ", not " + text};
}

}  // namespace

bool SimControl::run(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string word; in >> word;) w.push_back(word);
    if (w.empty() || w[0].starts_with('#')) return true;
    try {
        auto arity = [&](size_t n) {
            if (w.size() != n) throw Error{"wrong number of words for " + w[0]};
        };
        const std::string& what = w[0];
        if (what == "quit") {
            server_.stopping = true;
            return false;
        } else if (what == "at" && w.size() > 2) {
            const int32_t ms = count(w[1]);
            const std::string rest = line.substr(line.find(w[2], line.find(w[1]) + w[1].size()));
            clock_.postAfter(ms, [this, rest] { run(rest); });
        } else if (what == "flow") {
            arity(2);
            device_.setFlow(number(w[1]));
        } else if (what == "temp") {
            arity(2);
            device_.setTemperature(number(w[1]));
        } else if (what == "settle") {
            arity(2);
            device_.setSettleMs(count(w[1]));
        } else if (what == "set") {
            arity(3);
            if (!device_.set(w[1], w[2])) throw Error{"the device has no value " + w[1] + " to set"};
        } else if (what == "show") {
            arity(2);
            out_ << w[1] << " = " << device_.value(w[1]).value_or("none") << std::endl;
        } else if (what == "latency") {
            arity(2);
            server_.latencyMs = count(w[1]);
        } else if (what == "mute") {
            arity(2);
            server_.muted = onOff(w[1], "on", "off");
        } else if (what == "fail") {
            if (w.size() < 2 || w.size() > 3) throw Error{"fail <read|write|any> [count]"};
            const int32_t n = w.size() == 3 ? count(w[2]) : 1;
            if (w[1] == "read")
                server_.failReads = n;
            else if (w[1] == "write")
                server_.failWrites = n;
            else if (w[1] == "any")
                server_.failAny = n;
            else
                throw Error{"fail read, write or any, not " + w[1]};
        } else if (what == "garble") {
            if (w.size() > 2) throw Error{"garble [count]"};
            server_.garble = w.size() == 2 ? count(w[1]) : 1;
        } else if (what == "connect") {
            arity(2);
            server_.setAccepting(onOff(w[1], "ok", "refuse"));
        } else if (what == "abort") {
            arity(1);
            server_.dropClients();
        } else {
            throw Error{"unknown command " + what};
        }
    } catch (const Error& e) {
        out_ << "error: " << e.why << std::endl;
    }
    return true;
}

}  // namespace qx::sim
