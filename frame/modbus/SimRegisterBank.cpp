#include "frame/modbus/SimRegisterBank.h"

#include <algorithm>

#include "frame/modbus/RegisterCodec.h"
#include "platform/Variant.h"

namespace qx::frame {

SimRegisterBank::SimRegisterBank(FlowMonitorSim& device, RegisterMap map, DescriptionFile description)
    : device_(device), map_(std::move(map)), description_(std::move(description)) {}

const ParameterDefinition* SimRegisterBank::definition(const std::string& name) const {
    for (const auto& module : description_.modules)
        for (const auto& group : module.groups)
            for (const auto& p : group.parameters)
                if (p.name == name) return &p;
    return nullptr;
}

const std::vector<ListEntry>* SimRegisterBank::entries(const ParameterDefinition& p) const {
    auto it = p.entriesByFirmware.find(std::to_string(device_.options().fw));
    if (it == p.entriesByFirmware.end()) it = p.entriesByFirmware.find("default");
    return it == p.entriesByFirmware.end() ? nullptr : &it->second;
}

// A parameter the simulated device does not model (identification, counters) is a constant: the
// description's default. One that depends on the device's variant exists only when the variant
// has it.
bool SimRegisterBank::exists(const RegisterEntry& e) const {
    if (device_.has(e.parameter)) return true;
    const ParameterDefinition* p = definition(e.parameter);
    return p && p->option.empty() && p->defaultText;
}

std::optional<std::string> SimRegisterBank::text(const RegisterEntry& e) const {
    if (device_.has(e.parameter)) return device_.value(e.parameter);
    const ParameterDefinition* p = definition(e.parameter);
    return p ? p->defaultText : std::nullopt;
}

// The device's value of the entry's parameter as a number: a list's text as its code.
std::optional<double> SimRegisterBank::number(const RegisterEntry& e) const {
    const auto text = this->text(e);
    if (!text) return std::nullopt;
    const ParameterDefinition* p = definition(e.parameter);
    if (p && p->kind == ParameterDefinition::Kind::List) {
        const auto* list = entries(*p);
        if (!list) return std::nullopt;
        auto it = std::ranges::find(*list, *text, &ListEntry::text);
        return it == list->end() ? std::nullopt : std::optional<double>(it->value);
    }
    double v;
    return platform::parseNumber(*text, v) ? std::optional<double>(v) : std::nullopt;
}

SimRegisterBank::Reply SimRegisterBank::read(RegisterTable table, uint16_t start, uint16_t count,
                                             std::vector<uint16_t>& out) const {
    out.assign(count, 0);
    for (uint32_t a = start; a < uint32_t{start} + count;) {
        const RegisterEntry* e = map_.covering(table, a);
        if (!e || !exists(*e)) return Reply::IllegalAddress;
        const auto v = number(*e);
        const auto registers = v ? encodeRegisters(map_, *e, *v) : std::nullopt;
        for (uint32_t r = e->address; r <= e->end(); ++r)
            if (registers && r >= start && r < uint32_t{start} + count)
                out[r - start] = (*registers)[r - e->address];
        a = e->end() + 1;
    }
    return Reply::Ok;
}

SimRegisterBank::Reply SimRegisterBank::write(uint16_t start, std::span<const uint16_t> values) {
    std::vector<WrittenValue> job;
    const uint32_t end = uint32_t{start} + static_cast<uint32_t>(values.size());
    for (uint32_t a = start; a < end;) {
        const RegisterEntry* e = map_.covering(RegisterTable::Holding, a);
        if (!e || !e->writable || e->address < start || e->end() >= end || !exists(*e))
            return Reply::IllegalAddress;
        const ParameterDefinition* p = definition(e->parameter);
        const double v = decodeRegisters(map_, *e, values.subspan(e->address - start, e->width()));
        if (!p) return Reply::IllegalAddress;
        if (p->kind == ParameterDefinition::Kind::List) {
            const auto* list = entries(*p);
            if (!list) return Reply::IllegalValue;
            auto it = std::ranges::find(*list, static_cast<int32_t>(v), &ListEntry::value);
            if (it == list->end()) return Reply::IllegalValue;
            job.push_back({e->parameter, it->text});
        } else {
            if (v < p->minimum || v > p->maximum) return Reply::IllegalValue;
            job.push_back({e->parameter, platform::shortestText(v)});
        }
        a = e->end() + 1;
    }
    if (device_.link().onWrite) device_.link().onWrite(job);
    device_.write(job);
    return Reply::Ok;
}

}  // namespace qx::frame
