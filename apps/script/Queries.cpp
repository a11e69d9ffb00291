// show and expect: the console's queries of the view's controls and fields, the models, the
// simulated device, the frame's toolbar and the trend charts.
#include <iostream>

#include "display/TrendPane.h"
#include "frame/ParameterLookup.h"
#include "platform/RuntimeError.h"
#include "script/Arguments.h"
#include "script/Console.h"
#include "script/ValueText.h"
#include "script/ViewFields.h"
#include "view/QX_FlowWiz.h"

namespace qx::console {

namespace {

std::string joinWords(const Command& c, size_t from, size_t count) {
    std::string s;
    for (size_t i = from; i < from + count; ++i) s += (i > from ? " " : "") + c.words[i].text;
    return s;
}

std::string environmentValue(const std::shared_ptr<host::IDataModel>& model, const std::string& name) {
    if (!model) return kNone;
    auto description = model->description();
    auto environment = description ? description->environment() : nullptr;
    if (!environment) return kNone;
    return variantText(environment->get(name));
}

}  // namespace

void Console::cmdShow(const Command& c) {
    Answer a = query(c);
    if (c.words.size() != 1 + a.words) fail(c, "show takes one query, not more words after " + a.what);
    emit(a.what + " = " + a.value);
}

void Console::cmdExpect(const Command& c) {
    Answer a;
    try {
        a = query(c);
    } catch (const ScriptError&) {
        // A query cut short by a faulty word fails on that word.
        if (c.malformed) throw *c.malformed;
        throw;
    }
    const std::string expected = c.restAfter(1 + a.words);
    if (a.value == expected) {
        emit("ok " + a.what);
    } else {
        failed_ = true;
        emit("FAIL line " + std::to_string(c.line) + ": " + a.what + " = " + a.value + " (expected " +
             expected + ")");
    }
}

Console::Answer Console::query(const Command& c) {
    const std::string& kind = c.words[1].text;
    if (kind == "lamps" || kind == "jobs" || kind == "early" || kind == "fifo" || kind == "connected")
        return {kind, stateQuery(kind), 1};
    if (kind == "line") return {kind, lineReport(), 1};
    if (kind == "field" || kind == "bound" || kind == "param" || kind == "device" || kind == "env" ||
        kind == "frame-env" || kind == "toolbar") {
        if (c.words.size() < 3) fail(c, kind + " wants 1 more word(s)");
        return {joinWords(c, 1, 2), namedQuery(c, kind, c.words[2].text), 2};
    }
    if (kind == "chart") {
        size_t words = 0;
        std::string value = chartQuery(c, words);
        return {joinWords(c, 1, words), std::move(value), words};
    }
    if (kind.find('.') != std::string::npos && !c.words[1].quoted)
        return {kind, controlProperty(kind, c.line), 1};
    fail(c, "unknown query " + kind);
}

// The lamp column, the job counts and the line's state: none without a view (or a line).
std::string Console::stateQuery(const std::string& kind) {
    if (kind == "connected") {
        auto comm = lineCommunication();
        return comm ? booleanText(comm->IsConnected()) : kNone;
    }
    const view::QX_FlowWiz* view = frame_.hasView() ? frame_.viewPtr().get() : nullptr;
    if (!view) return kNone;
    if (kind == "lamps") {
        const auto lamps = view->Controls().findAs<display::CtlLedIM>("CtlLedIM1");
        if (!lamps) return kNone;
        const auto& leds = *lamps;
        std::string value;
        for (int32_t i = 0; i < leds.lampCount(); ++i) value += colourText(leds.lampColor(i)) + " ";
        return value + "blink=" + std::to_string(leds.blinkingIndex());
    }
    const auto& jobs = view->jobs();
    if (kind == "jobs") return jobs.pending() ? numberText(jobs.pending()->Count()) : kNone;
    if (kind == "early") return jobs.early() ? numberText(jobs.early()->Count()) : kNone;
    return jobs.commands() ? numberText(jobs.commands()->Count()) : kNone;
}

// A query about one named thing: a field of the view, a parameter, a device value, an
// environment value or a toolbar button.
std::string Console::namedQuery(const Command& c, const std::string& kind, const std::string& name) {
    const view::QX_FlowWiz* view = frame_.hasView() ? frame_.viewPtr().get() : nullptr;
    if (kind == "field") {
        const FieldReader* reader = findViewField(name);
        if (!reader) fail(c, "the view has no field " + name);
        return view ? (*reader)(*view) : kNone;
    }
    if (kind == "bound") {
        // The very parameter, not the field named after it: with a matching category the
        // TEACH_MAX field holds TEACH_MAX_SAVE.
        return view ? booleanText(view->refs().holds(name)) : kNone;
    }
    if (kind == "param") {
        auto parameter =
            view && view->frame().mModel ? frame::findParameter(*view->frame().mModel, name) : nullptr;
        return parameter ? quoteText(parameter->valueText()) : kNone;
    }
    if (kind == "device") {
        requireSimulatedLine(c, "device queries");
        auto& sim = frame_.sim();
        auto value = sim.value(name);
        return !sim.has(name) ? kNone : value ? quoteText(*value) : kEmpty;
    }
    if (kind == "env") return view ? environmentValue(view->frame().mModel, name) : kNone;
    if (kind == "frame-env") return environmentValue(frame_.model(), name);
    return toolbarQuery(name);
}

std::string Console::controlProperty(const std::string& what, int line) {
    const auto dot = what.find('.');
    const std::string name = what.substr(0, dot), property = what.substr(dot + 1);
    if (name.empty() || property.empty()) throw ScriptError{line, "a control query is <Control>.<Property>"};
    if (!frame_.hasView()) return kNone;
    auto control = findControl(frame_.view(), name);
    if (!control) return kNone;
    try {
        return variantText(control->getProperty(property), isColourProperty(property));
    } catch (const platform::RuntimeError& e) {
        throw ScriptError{line, what + ": " + platform::errorSummary(e)};
    }
}

std::string Console::toolbarQuery(const std::string& what) {
    const auto& toolbar = frame_.toolbar();
    if (what == "count") return toolbar ? numberText(toolbar->buttons().count()) : kNone;
    if (what == "images") {
        if (!toolbar) return kNone;
        std::string keys;
        for (const auto& key : toolbar->images().keys()) keys += (keys.empty() ? "" : " ") + key;
        return keys;
    }
    const auto dot = what.rfind('.');
    if (dot == std::string::npos)
        throw ScriptError{currentLine_, "a toolbar query is count, images or <Key>.<Property>"};
    const std::string key = what.substr(0, dot), property = what.substr(dot + 1);
    if (property != "Value" && property != "Enabled" && property != "Style" && property != "ToolTipText" &&
        property != "Image")
        throw ScriptError{currentLine_, "a toolbar button has Value, Enabled, Style, ToolTipText and Image"};
    auto button = toolbar ? toolbar->buttons().find(key) : nullptr;
    if (!button) return kNone;
    if (property == "Value") return numberText(button->value());
    if (property == "Enabled") return booleanText(button->enabled());
    if (property == "Style") return numberText(button->Style());
    if (property == "ToolTipText") return quoteText(button->ToolTipText());
    return quoteText(button->image());
}

std::string Console::chartQuery(const Command& c, size_t& words) {
    const auto& w = c.words;
    if (w.size() < 4) fail(c, "a chart query is chart <PC1|PC2> <points|points2|x|y|y2|point p|point2 p>");
    const std::string& name = w[2].text;
    const std::string& kind = w[3].text;
    if (name != "PC1" && name != "PC2") fail(c, "chart PC1 or PC2, not " + name);
    words = 3;
    const bool point = kind == "point" || kind == "point2";
    if (point) {
        if (w.size() < 5) fail(c, "chart " + name + " " + kind + " wants a point number");
        words = 4;
    } else if (kind != "points" && kind != "points2" && kind != "x" && kind != "y" && kind != "y2") {
        fail(c, "no chart query " + kind);
    }
    const view::QX_FlowWiz* view = frame_.hasView() ? frame_.viewPtr().get() : nullptr;
    const auto& chart = !view           ? nullptr
                        : name == "PC1" ? view->trend().flow.object
                                        : view->trend().temp.object;
    if (!chart) return kNone;

    if (kind == "points") return numberText(chart->group(1).data().numPoints());
    if (kind == "points2") return numberText(chart->group(2).data().numPoints());
    if (kind == "x") {
        // The charts' X values are hours; people read seconds.
        const auto& axis = chart->chartArea().axis("X");
        return secondsText(axis.min() * 3600) + " " + secondsText(axis.max() * 3600);
    }
    if (kind == "y" || kind == "y2") {
        const auto& axis = chart->chartArea().axis(kind == "y" ? "Y" : "Y2");
        return numberText(axis.min()) + " " + numberText(axis.max());
    }
    const auto index = static_cast<int32_t>(wholeArgument(c, 4, kChartPoint));
    const auto& data = chart->group(kind == "point" ? 1 : 2).data();
    if (index < 1 || index > data.numPoints()) return kNone;
    auto x = data.x(index);
    std::string out = "x=" + (x ? secondsText(*x * 3600) : std::string("-"));
    for (int s = 1; s <= data.seriesCount(); ++s) {
        auto y = data.y(s, index);
        out += " y" + std::to_string(s) + "=" + (y ? numberText(*y) : std::string("-"));
    }
    return out;
}

}  // namespace qx::console
