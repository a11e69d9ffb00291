#include "record/ReportContent.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>

#include "platform/LibraryFolder.h"
#include "view/QX_FlowWiz.h"

namespace qx::record {

namespace {

constexpr int64_t kAroundTeachMs = 5 * 60'000;
constexpr int64_t kLastMinutesMs = 10 * 60'000;

// The report's texts in one language, read once from the resource file beside the library. A
// text the file lacks in that language is the English one, one it lacks altogether its key.
class ResourceTexts {
  public:
    explicit ResourceTexts(int32_t language) : language_(language) {
        const std::string path = platform::libraryFolder() + "/QX_FlowRes.mdb";
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            sqlite3_stmt* s = nullptr;
            if (sqlite3_prepare_v2(db,
                                   "SELECT key, language, text FROM texts WHERE key LIKE 'IDS_REP_%'"
                                   " AND language IN (1033, ?)",
                                   -1, &s, nullptr) == SQLITE_OK) {
                sqlite3_bind_int(s, 1, language);
                while (sqlite3_step(s) == SQLITE_ROW) {
                    const std::string key = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
                    const std::string text = reinterpret_cast<const char*>(sqlite3_column_text(s, 2));
                    if (sqlite3_column_int(s, 1) == language_ || !texts_.count(key)) texts_[key] = text;
                }
            }
            sqlite3_finalize(s);
        }
        sqlite3_close(db);
    }
    const std::map<std::string, std::string>& all() const { return texts_; }

  private:
    int32_t language_;
    std::map<std::string, std::string> texts_;
};

std::map<std::string, std::string>& textsOf(int32_t language) {
    static std::map<int32_t, std::map<std::string, std::string>> cache;
    auto it = cache.find(language);
    if (it == cache.end()) it = cache.emplace(language, ResourceTexts(language).all()).first;
    return it->second;
}

std::string timeOf(int64_t tMs) {
    return isoDateTime(tMs).substr(11, 8);
}

template <class Pick>
ValueStatistics statisticsOf(const std::vector<Sample>& samples, Pick pick) {
    ValueStatistics s;
    double sum = 0;
    for (const auto& sample : samples) {
        const std::optional<double>& v = pick(sample);
        if (!v) continue;
        if (s.count == 0 || *v < s.min) s.min = *v;
        if (s.count == 0 || *v > s.max) s.max = *v;
        sum += *v;
        ++s.count;
    }
    if (s.count) s.mean = sum / static_cast<double>(s.count);
    return s;
}

// Every parameter the description names, each once, in the description's order.
std::vector<host::ParameterPtr> parametersOf(const host::IDataModel& model) {
    std::vector<host::ParameterPtr> all;
    auto description = model.description();
    if (!description) return all;
    auto modules = description->modules();
    for (int32_t m = 1; modules && m <= modules->count(); ++m) {
        auto groups = modules->item(m)->groups();
        for (int32_t g = 1; groups && g <= groups->count(); ++g) {
            auto objects = groups->item(g)->valueObjects();
            for (int32_t o = 1; objects && o <= objects->count(); ++o) {
                auto p = objects->item(o)->parameter();
                if (!p) continue;
                const auto name = p->name();
                if (std::none_of(all.begin(), all.end(), [&](const auto& q) { return q->name() == name; }))
                    all.push_back(p);
            }
        }
    }
    return all;
}

bool writesTeachCode(const Event& e) {
    if (e.kind != kind::kWrite || !e.detail) return false;
    const auto detail = nlohmann::json::parse(*e.detail, nullptr, false);
    if (!detail.is_object() || !detail.contains("params")) return false;
    const auto& params = detail["params"];
    // A code alone in QUICK_2 is a teach; with other parameters it selects the mode.
    return params.size() == 1 && params[0].value("name", "") == "QUICK_2" && params[0]["value"].is_string() &&
           params[0]["value"].get<std::string>() >= "1" && params[0]["value"].get<std::string>() <= "3";
}

}  // namespace

std::string ReportContent::text(const std::string& key) const {
    const auto& texts = textsOf(language);
    auto it = texts.find(key);
    return it == texts.end() ? key : it->second;
}

ValueStatistics flowStatistics(const std::vector<Sample>& samples) {
    return statisticsOf(samples, [](const Sample& s) -> const std::optional<double>& { return s.flow; });
}

ValueStatistics temperatureStatistics(const std::vector<Sample>& samples) {
    return statisticsOf(samples,
                        [](const Sample& s) -> const std::optional<double>& { return s.temperature; });
}

std::vector<Sample> reportStretch(const RunJournal& journal, int64_t nowMs, bool& aroundTeach) {
    std::optional<int64_t> teach;
    for (const auto& e : journal.events())
        if (writesTeachCode(e)) teach = e.tMs;
    aroundTeach = teach.has_value();
    const int64_t from = teach ? *teach - kAroundTeachMs : nowMs - kLastMinutesMs;
    const int64_t to = teach ? *teach + kAroundTeachMs : nowMs;
    std::vector<Sample> stretch;
    const auto& samples = journal.samples();
    auto first = std::lower_bound(samples.begin(), samples.end(), from,
                                  [](const Sample& s, int64_t t) { return s.tMs < t; });
    for (auto it = first; it != samples.end() && it->tMs <= to; ++it) stretch.push_back(*it);
    return stretch;
}

ReportContent gatherReport(frame::StandFrame& frame, const RunJournal& journal, int64_t nowMs) {
    ReportContent r;
    auto& view = frame.view();
    host::DataModelPtr model = view.frame().mModel ? view.frame().mModel : frame.model();
    const auto settings = model ? model->settings() : nullptr;
    r.language = settings && settings->language() == 1031 ? 1031 : 1033;
    const std::string iso = isoDateTime(nowMs);
    r.generated = iso.substr(0, 10) + " " + iso.substr(11, 8);

    // Parameters by name, the view's bound ones first: they stand for their role on any device.
    std::map<std::string, host::ParameterPtr> byName;
    const auto all = model ? parametersOf(*model) : std::vector<host::ParameterPtr>{};
    for (const auto& p : all) byName[p->name()] = p;
    auto role = [&](const host::ParameterPtr& bound, const char* name) {
        if (bound) return bound;
        auto it = byName.find(name);
        return it == byName.end() ? nullptr : it->second;
    };
    const auto& refs = view.refs();
    auto valueOf = [&](const host::ParameterPtr& p) {
        return p->noValue() == 0 ? p->valueText() : r.text("IDS_REP_NO_VALUE");
    };
    // A value text that already ends in its unit (the tolerance list's " 0 %") keeps it once.
    auto line = [&](const char* key, const host::ParameterPtr& p) {
        if (!p) return;
        std::string value = valueOf(p), unit = p->unit();
        if (!unit.empty() && value.ends_with(unit)) unit.clear();
        r.settings.push_back({r.text(key), value, unit});
    };

    const std::string description = journal.fact("description");
    r.identity = {
        {r.text("IDS_REP_DEVICE_NAME"), model ? model->displayName() : std::string(), ""},
        {r.text("IDS_REP_FIRMWARE"), journal.fact("firmware_item"), ""},
        {r.text("IDS_REP_BUS"), journal.fact("bus_category"), ""},
        {r.text("IDS_REP_DESCRIPTION"),
         description == "built-in" || description.empty() ? r.text("IDS_REP_BUILT_IN") : description, ""},
        {r.text("IDS_REP_DATE"), r.generated, ""}};

    const auto mode = role(refs.TEACHDO_QUICK_MODE, "TEACHDO_QUICK_MODE");
    const bool quick = mode && mode->noValue() == 0 && mode->valueText() == "1";
    if (mode)
        r.settings.push_back({r.text("IDS_REP_TEACH_MODE"),
                              mode->noValue() != 0 ? r.text("IDS_REP_NO_VALUE")
                              : quick              ? r.text("IDS_REP_MODE_QUICK")
                                                   : r.text("IDS_REP_MODE_MAXMIN"),
                              ""});
    line("IDS_REP_TAUGHT_MAX", role(refs.TEACH_MAX, "TEACH_MAX"));
    line("IDS_REP_TAUGHT_MIN", role(refs.TEACH_MIN, "TEACH_MIN"));
    // In quick-teach mode the device switches at the quick-teach point where it keeps one apart.
    const auto flowSp = role(refs.FLOWSP_RAW, "FLOWSP_RAW");
    const auto quickSp = role(refs.FLOWSPQT_RAW, "FLOWSPQT_RAW");
    line("IDS_REP_FLOW_SP", quick && quickSp ? quickSp : flowSp);
    line("IDS_REP_FLOW_SP_SHARE", role(refs.TEACHDO_SWPOINT, "TEACHDO_SWPOINT"));
    line("IDS_REP_QT_TOL", role(refs.TEACHDO_QUICK, "TEACHDO_QUICK"));
    line("IDS_REP_TEMP_SP", role(refs.SWPOINT, "SWPOINT"));

    for (const auto& e : journal.events()) {
        if (e.kind == kind::kNote) r.notes.push_back({timeOf(e.tMs), e.text});
        const bool failed = e.kind == kind::kAnswer && e.text.ends_with("FAILED");
        if (e.kind == kind::kWrite || failed) r.teachEvents.push_back({timeOf(e.tMs), e.text});
    }

    r.stretch = reportStretch(journal, nowMs, r.aroundTeach);
    r.flow = flowStatistics(r.stretch);
    r.temperature = temperatureStatistics(r.stretch);
    const auto flowParam = role(refs.PROINFLOW_RAW, "PROINFLOW_RAW");
    const auto tempParam = role(refs.PROINTEMP, "PROINTEMP");
    r.flowUnit = flowParam ? flowParam->unit() : journal.fact("flow_unit");
    r.temperatureUnit = tempParam ? tempParam->unit() : journal.fact("temperature_unit");

    for (const auto& p : all) {
        const std::string shown = p->displayName();
        std::string value = valueOf(p), unit = p->unit();
        if (!unit.empty() && value.ends_with(unit)) unit.clear();
        r.parameters.push_back(
            {shown == p->name() || shown.empty() ? p->name() : shown + " (" + p->name() + ")", value, unit});
    }
    return r;
}

}  // namespace qx::record
