#include "record/FrameRecorder.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "device/DeviceTable.h"
#include "display/TrendPane.h"
#include "frame/FrameDatabase.h"
#include "platform/ChartObject.h"
#include "view/QX_FlowWiz.h"

namespace qx::record {

namespace {

constexpr int64_t kMsPerDay = 86'400'000;

std::optional<double> yOf(const platform::ChartData& data, int series, int32_t p) {
    if (series > data.seriesCount()) return std::nullopt;
    const auto v = data.y(series, p);
    return v ? std::optional<double>(*v) : std::nullopt;
}

std::string quoted(const std::string& text) {
    return nlohmann::json(text).dump();
}

// The bus category as the model's database gives it to the view: the id of the category.
std::string categoryId(frame::DeviceOptions::Category c, const device::DeviceTable& table) {
    switch (c) {
        case frame::DeviceOptions::Category::Match:
            return table.savingCategory.empty() ? device::DeviceTable::flowMonitor().savingCategory
                                                : table.savingCategory;
        case frame::DeviceOptions::Category::Other:
            return frame::kOtherCategory;
        case frame::DeviceOptions::Category::None:
            break;
    }
    return "none";
}

}  // namespace

FrameRecorder::FrameRecorder(frame::StandFrame& frame) : frame_(frame), startedMs_(0) {
    startedMs_ = nowMs();
    journal_.setFacts({{"started", isoDateTime(startedMs_)}, {"started_ms", std::to_string(startedMs_)}});
    updateFacts();
    hookLine();
}

int64_t FrameRecorder::nowMs() const {
    auto& scheduler = frame_.scheduler();
    return int64_t{scheduler.startDay()} * kMsPerDay + scheduler.nowMs();
}

void FrameRecorder::event(const char* kind, std::string text, std::optional<std::string> detail) {
    journal_.addEvent({nowMs(), kind, std::move(text), std::move(detail)});
}

// Each observer is put in front of the one already there, which still runs after it.
void FrameRecorder::hookLine() {
    auto& link = frame_.link();
    link.onWrite = [this, alive = alive_,
                    next = link.onWrite](const std::vector<frame::WrittenValue>& values) {
        if (!*alive) {
            if (next) next(values);
            return;
        }
        const int job = ++writeJobs_;
        std::string text = "write";
        nlohmann::json params = nlohmann::json::array();
        for (const auto& v : values) {
            text += " " + v.name + "=" + quoted(v.text.value_or(""));
            params.push_back(
                {{"name", v.name}, {"value", v.text ? nlohmann::json(*v.text) : nlohmann::json()}});
        }
        event(kind::kWrite, text, nlohmann::json{{"job", job}, {"params", params}}.dump());
        writeAwaitingAnswer_ = job;
        if (next) next(values);
    };
    // A write's answer follows the device's acting on it; a failed job never reached the device,
    // so the line cannot tell which it was.
    link.onJobAnswer = [this, alive = alive_, next = link.onJobAnswer](const std::string& status) {
        if (!*alive) {
            if (next) next(status);
            return;
        }
        const bool ok = status == "SUCCESS";
        if (writeAwaitingAnswer_ || !ok) {
            nlohmann::json detail{{"answer", ok ? "OK" : "FAILED"}};
            detail["job"] = writeAwaitingAnswer_ ? nlohmann::json(*writeAwaitingAnswer_) : nlohmann::json();
            const std::string who = writeAwaitingAnswer_
                                        ? "write job " + std::to_string(*writeAwaitingAnswer_)
                                        : std::string("a job");
            event(kind::kAnswer, who + " answered " + (ok ? "OK" : "FAILED"), detail.dump());
        }
        writeAwaitingAnswer_.reset();
        if (next) next(status);
    };
    link.onConnection = [this, alive = alive_, next = link.onConnection](const std::string& status) {
        if (!*alive) {
            if (next) next(status);
            return;
        }
        event(kind::kConnection, "connection " + status);
        if (next) next(status);
    };
    auto handler = frame_.messageHandler();
    handler->onShown = [this, alive = alive_,
                        next = handler->onShown](const frame::MessageHandler::Message& m) {
        if (!*alive) {
            if (next) next(m);
            return;
        }
        event(kind::kMessage, m.text,
              nlohmann::json{{"caption", m.caption}, {"detailed", m.detailed}}.dump());
        if (next) next(m);
    };
}

void FrameRecorder::note(const std::string& text) {
    event(kind::kNote, text);
}

bool FrameRecorder::recordTo(const std::string& path) {
    const int64_t now = nowMs();
    journal_.setFacts({{"started", isoDateTime(now)}, {"started_ms", std::to_string(now)}});
    return journal_.recordTo(path, now);
}

void FrameRecorder::afterEvent() {
    if (!frame_.hasView()) {
        view_ = nullptr;
        statusWatch_ = {};
        return;
    }
    followView();
    takeSamples();
    const int32_t state = wizard::number(frame_.view().progress().mTeachState);
    if (state != teachState_) {
        teachState_ = state;
        event(kind::kTeachState, "teach state " + std::to_string(state),
              nlohmann::json{{"state", state}}.dump());
    }
}

void FrameRecorder::followView() {
    auto& view = frame_.view();
    const auto& model = view.frame().mModel;
    const auto settings = model ? model->settings() : nullptr;
    const int32_t language = settings ? settings->language() : -1;
    if (model.get() != factsModel_ || language != factsLanguage_) {
        factsModel_ = model.get();
        factsLanguage_ = language;
        updateFacts();
    }
    if (view_ == &view) return;
    view_ = &view;
    auto status = view.Controls().findAs<platform::Label>("LaStatus");
    if (!status) return;
    statusWatch_ = status->observe([this](const platform::Control& control, const std::string& property) {
        if (property != "Caption") return;
        const auto& text = static_cast<const platform::Label&>(control).caption();
        if (!text.empty()) event(kind::kStatus, text);
    });
}

void FrameRecorder::updateFacts() {
    const auto& options = frame_.options();
    RunFacts facts{{"bus_category", categoryId(options.category, frame_.sim().table())},
                   {"description", options.descriptionPath.empty() ? "built-in" : options.descriptionPath}};
    host::DataModelPtr model = frame_.model();
    host::ParameterPtr flow, temperature;
    if (frame_.hasView()) {
        auto& view = frame_.view();
        if (view.frame().mModel) model = view.frame().mModel;
        flow = view.refs().PROINFLOW_RAW;
        temperature = view.refs().PROINTEMP;
    }
    int32_t language = options.language;
    if (model) {
        facts.emplace_back("device_name", model->displayName());
        if (auto description = model->description()) {
            const auto fw = description->item("FWversion");
            facts.emplace_back("firmware_item", fw.isEmpty() ? std::string() : fw.toText());
        }
        if (auto settings = model->settings()) language = settings->language();
    }
    facts.emplace_back("language", language == 1031 ? "de" : "en");
    if (flow) facts.emplace_back("flow_unit", flow->unit());
    if (temperature) facts.emplace_back("temperature_unit", temperature->unit());
    journal_.setFacts(facts);
}

void FrameRecorder::takeSamples() {
    const auto& trend = frame_.view().trend();
    const platform::ChartObject* flow = trend.flow.object.get();
    const platform::ChartObject* temp = trend.temp.object.get();
    if (!flow || !temp) return;
    if (flow != flowChart_ || temp != tempChart_) {
        flowChart_ = flow;
        tempChart_ = temp;
        seenPoints_ = 0;
        lastX_.reset();
    }
    const auto& values = flow->group(1).data();
    const auto& temps = temp->group(1).data();
    // Both charts get their points in one update, so a point of one stands beside the other's.
    const int32_t n = std::min(values.numPoints(), temps.numPoints());
    // A trend started afresh empties the charts: what they hold then is all new.
    if (n < seenPoints_ || (seenPoints_ > 0 && values.x(seenPoints_) != lastX_)) seenPoints_ = 0;
    if (n == seenPoints_) return;
    const int64_t now = nowMs();
    for (int32_t p = seenPoints_ + 1; p <= n; ++p) {
        journal_.addSample({now, yOf(values, 1, p), yOf(temps, 1, p), yOf(values, 2, p), yOf(values, 3, p),
                            yOf(values, 4, p), yOf(temps, 2, p)});
    }
    seenPoints_ = n;
    lastX_ = values.x(n);
}

}  // namespace qx::record
