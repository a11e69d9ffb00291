#include "device/ParameterRefs.h"

#include "platform/RuntimeError.h"

namespace qx::device {

using platform::ignoreErrors;
using platform::must;

namespace {

// The rows of one query on the model's database for the device, each handed to `row`. A query
// the database cannot answer, or a row without the fields asked for, leaves `part` empty.
template <class Part, class Row>
void readPart(host::IDatabase& database, const std::string& sql, Part& part, Row&& row) {
    Part read{};
    try {
        const auto records = database.query(sql);
        for (auto& rs = must(records); !rs.eof(); rs.moveNext()) row(rs, read);
        part = std::move(read);
    } catch (const platform::RuntimeError&) {
        part = Part{};
    }
}

CategoryScope scopeOf(const std::string& text) {
    if (text == "saving") return CategoryScope::Saving;
    if (text == "other") return CategoryScope::Other;
    return CategoryScope::Any;
}

}  // namespace

const std::array<std::pair<const char*, ParameterRefs::Member>, 13>& ParameterRefs::byName() {
    static const std::array<std::pair<const char*, Member>, 13> table = {{
        {"QUICK_2", &ParameterRefs::QUICK_2},
        {"PROINFLOW_RAW", &ParameterRefs::PROINFLOW_RAW},
        {"DELTAFLOW_NEW", &ParameterRefs::DELTAFLOW_NEW},
        {"PROINTEMP", &ParameterRefs::PROINTEMP},
        {"SWPOINT", &ParameterRefs::SWPOINT},
        {"TEACHDO_SWPOINT", &ParameterRefs::TEACHDO_SWPOINT},
        {"DELTAFLOW_RAW", &ParameterRefs::DELTAFLOW_RAW},
        {"TEACH_MAX", &ParameterRefs::TEACH_MAX},
        {"TEACH_MIN", &ParameterRefs::TEACH_MIN},
        {"TEACHDO_QUICK_MODE", &ParameterRefs::TEACHDO_QUICK_MODE},
        {"TEACHDO_QUICK", &ParameterRefs::TEACHDO_QUICK},
        {"FLOWSP_RAW", &ParameterRefs::FLOWSP_RAW},
        {"FLOWSPQT_RAW", &ParameterRefs::FLOWSPQT_RAW},
    }};
    return table;
}

bool ParameterRefs::holds(const std::string& parameterName) const {
    for (const auto& [name, member] : byName()) {
        const auto& p = this->*member;
        if (p && p->name() == parameterName) return true;
    }
    return false;
}

void ParameterRefs::readTable(const host::IDataModel& model) {
    table = {};
    firmware.reset();
    std::shared_ptr<host::IDeviceDescription> description;
    std::shared_ptr<host::IDatabase> database;
    std::string idx;
    ignoreErrors([&] { description = model.description(); });
    ignoreErrors([&] { firmware = must(description).item("FWversion").toInt32(); });
    ignoreErrors([&] { database = must(must(description).settings()).database(); });
    ignoreErrors([&] { idx = must(description).item("IDX").toText(); });
    if (database && !idx.empty()) {
        const std::string device = " where module=" + idx;
        readPart(
            *database, "Select * from WizardParameters" + device, table.places,
            [](const host::IRecordset& r, auto& places) {
                places[r.field("firmware").toText()].push_back(
                    {r.field("role").toText(), r.field("moduleName").toText(), r.field("groupName").toText(),
                     r.field("parameter").toText(), scopeOf(r.field("category").toText())});
            });
        readPart(*database, "Select * from WizardTolerances" + device + " order by firmware, position",
                 table.tolerances, [](const host::IRecordset& r, auto& lists) {
                     auto& list = lists[r.field("firmware").toText()];
                     if (r.field("zero").toInt32() != 0) list.zero = static_cast<int32_t>(list.texts.size());
                     list.texts.push_back(r.field("text").toText());
                 });
        std::map<std::string, std::string> settings;
        readPart(*database, "Select * from WizardSettings" + device, settings,
                 [](const host::IRecordset& r, auto& s) {
                     s[r.field("name").toText()] = r.field("value").toText();
                 });
        table.savingCategory = settings["savingCategory"];
        table.flowUnit = settings["flowUnit"];
        table.temperatureUnit = settings["temperatureUnit"];
    }
    table.complete(DeviceTable::flowMonitor());
}

void ParameterRefs::bind(Member member, const host::IDataModel& model, bool savingCategory) {
    auto& ref = this->*member;
    ref.reset();
    const char* role = nullptr;
    for (const auto& [name, m] : byName())
        if (m == member) role = name;
    const ParameterPlace* at = role ? table.place(role, firmware, savingCategory) : nullptr;
    if (!at) return;
    ignoreErrors([&] {
        auto& modules = must(must(model.description()).modules());
        auto& groups = must(must(modules.item(at->module)).groups());
        auto& valueObjects = must(must(groups.item(at->group)).valueObjects());
        ref = must(valueObjects.item(at->name)).parameter();
    });
}

}  // namespace qx::device
