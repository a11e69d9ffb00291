#include "platform/ChartDefinition.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <set>
#include <sstream>
#include <utility>

#include "platform/FileContents.h"
#include "platform/RuntimeError.h"
#include "platform/Variant.h"

namespace qx::platform {

namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::string trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

std::vector<std::string> words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// A value the reader refuses; the caller adds the file and the line.
[[noreturn]] void refuse(std::string what) {
    raise(kInvalidPropertyValue, std::move(what));
}

template <class E>
E wordOf(const std::string& value, std::initializer_list<std::pair<const char*, E>> names) {
    for (const auto& [name, e] : names)
        if (lower(value) == lower(name)) return e;
    std::string known;
    for (const auto& n : names) {
        if (!known.empty()) known += '|';
        known += n.first;
    }
    refuse("'" + value + "' is not one of " + known);
}

int32_t wholeNumber(const std::string& value) {
    int32_t v = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
    if (ec != std::errc() || end != value.data() + value.size())
        refuse("'" + value + "' is not a whole number");
    return v;
}

double number(const std::string& value) {
    double v = 0;
    if (!parseNumber(value, v) || !std::isfinite(v)) refuse("'" + value + "' is not a number");
    return v;
}

bool boolean(const std::string& value) {
    return wordOf<bool>(value, {{"true", true}, {"false", false}});
}

// rgb(red, green, blue) with each part 0..255, as 0x00BBGGRR.
uint32_t color(const std::string& value) {
    const std::string v = lower(value);
    if (v.size() < 5 || v.compare(0, 4, "rgb(") != 0 || v.back() != ')')
        refuse("'" + value + "' is not a colour rgb(red, green, blue)");
    std::istringstream parts(v.substr(4, v.size() - 5));
    uint32_t result = 0;
    std::string part;
    int n = 0;
    for (; std::getline(parts, part, ','); ++n) {
        const int32_t c = wholeNumber(trim(part));
        if (n > 2 || c < 0 || c > 255) refuse("'" + value + "' is not a colour rgb(red, green, blue)");
        result |= static_cast<uint32_t>(c) << (8 * n);
    }
    if (n != 3) refuse("'" + value + "' is not a colour rgb(red, green, blue)");
    return result;
}

SymbolShape symbolShape(const std::string& v) {
    return wordOf<SymbolShape>(v, {{"None", SymbolShape::None},
                                   {"Dot", SymbolShape::Dot},
                                   {"Box", SymbolShape::Box},
                                   {"Triangle", SymbolShape::Triangle},
                                   {"Diamond", SymbolShape::Diamond},
                                   {"Star", SymbolShape::Star},
                                   {"Cross", SymbolShape::Cross}});
}

LinePattern linePattern(const std::string& v) {
    return wordOf<LinePattern>(v, {{"None", LinePattern::None},
                                   {"Solid", LinePattern::Solid},
                                   {"Dash", LinePattern::Dash},
                                   {"Dot", LinePattern::Dot},
                                   {"DashDot", LinePattern::DashDot}});
}

// The sections of a whole definition with the keys the view's trend charts take from each.
struct WholeSection {
    std::string name;
    std::vector<std::string> keys;
};

std::vector<WholeSection> wholeSections() {
    const std::vector<std::string> axis = {"Visible", "Min", "Max"};
    const std::vector<std::string> style = {"LinePattern", "FillColor", "SymbolShape"};
    std::vector<WholeSection> sections = {
        {"Chart", {"Version", "BackColor", "AllowUserChanges"}},
        {"Axis X", {"Visible", "Min", "Max", "Labels", "TimeUnit", "TimeFormat"}},
        {"Axis Y", axis},
        {"Axis Y2", axis},
    };
    for (int g = 1; g <= kChartGroupCount; ++g) {
        sections.push_back({"Group " + std::to_string(g), {"ChartType"}});
        for (int s = 1; s <= kChartGroupSeries[static_cast<size_t>(g - 1)]; ++s)
            sections.push_back({"Group " + std::to_string(g) + " Style " + std::to_string(s), style});
    }
    return sections;
}

class DefinitionReader {
  public:
    DefinitionReader(ChartDefinition& d, const std::string& source) : d_(d), source_(source) {}

    void read(const std::string& text) {
        std::istringstream in(text);
        for (std::string raw; std::getline(in, raw);) {
            ++line_;
            if (line_ == 1 && raw.compare(0, 3, "\xEF\xBB\xBF") == 0) raw.erase(0, 3);
            const std::string l = trim(raw);
            if (l.empty() || l[0] == '#' || l[0] == ';') continue;
            try {
                if (l[0] == '[')
                    enterSection(l);
                else
                    assign(l);
            } catch (const RuntimeError& e) {
                raise(kInvalidPropertyValue,
                      source_ + ", line " + std::to_string(line_) + ": " + e.description());
            }
        }
        if (!versionSeen_)
            raise(kInvalidPropertyValue, source_ + ": not a chart definition (no Version in [Chart])");
    }

    // Refuses a definition that lacks a section or key of wholeSections(), naming the first.
    void requireWhole() const {
        for (const WholeSection& section : wholeSections()) {
            const std::string name = lower(section.name);
            if (!given_.contains(name))
                raise(kInvalidPropertyValue,
                      source_ + ": not a whole chart definition: no section [" + section.name + "]");
            for (const std::string& key : section.keys) {
                if (!given_.contains(name + "/" + lower(key)))
                    raise(kInvalidPropertyValue,
                          source_ + ": not a whole chart definition: [" + section.name + "] has no " + key);
            }
        }
    }

  private:
    enum class Section { None, Chart, Axis, Group, Style };

    void enterSection(const std::string& l) {
        if (l.back() != ']') refuse("a section name ends with ']'");
        const auto w = words(l.substr(1, l.size() - 2));
        const std::string kind = w.empty() ? std::string() : lower(w[0]);
        if (kind == "chart" && w.size() == 1) {
            section_ = Section::Chart;
        } else if (kind == "axis" && w.size() == 2) {
            section_ = Section::Axis;
            axis_ = wordOf<ChartAxis*>(w[1], {{"X", &d_.axisX}, {"Y", &d_.axisY}, {"Y2", &d_.axisY2}});
        } else if (kind == "group" && (w.size() == 2 || (w.size() == 4 && lower(w[2]) == "style"))) {
            group_ = wholeNumber(w[1]);
            if (group_ < 1 || group_ > kChartGroupCount) refuse("there is no chart group " + w[1]);
            section_ = Section::Group;
            if (w.size() == 4) {
                style_ = wholeNumber(w[3]);
                if (style_ < 1 || style_ > kChartGroupSeries[static_cast<size_t>(group_ - 1)])
                    refuse("chart group " + w[1] + " has no series " + w[3]);
                section_ = Section::Style;
            }
        } else {
            refuse("unknown section " + l);
        }
        // Section names as wholeSections() writes them, whatever case and spacing the file has.
        sectionName_.clear();
        for (const std::string& word : w) sectionName_ += (sectionName_.empty() ? "" : " ") + lower(word);
        if (section_ == Section::Group || section_ == Section::Style) {
            sectionName_ = "group " + std::to_string(group_);
            if (section_ == Section::Style) sectionName_ += " style " + std::to_string(style_);
        }
        given_.insert(sectionName_);
    }

    void assign(const std::string& l) {
        const auto eq = l.find('=');
        if (eq == std::string::npos) refuse("expected Key = Value");
        const std::string key = lower(trim(l.substr(0, eq)));
        const std::string value = trim(l.substr(eq + 1));
        bool known = false;
        switch (section_) {
            case Section::None:
                refuse("a setting before the first section");
            case Section::Chart:
                known = chartKey(key, value);
                break;
            case Section::Axis:
                known = axisKey(*axis_, key, value);
                break;
            case Section::Group:
                known = groupKey(d_.groups[static_cast<size_t>(group_ - 1)], key, value);
                break;
            case Section::Style:
                known = styleKey(
                    d_.groups[static_cast<size_t>(group_ - 1)].styles[static_cast<size_t>(style_ - 1)], key,
                    value);
                break;
        }
        if (!known) refuse("unknown key '" + trim(l.substr(0, eq)) + "'");
        given_.insert(sectionName_ + "/" + key);
    }

    bool chartKey(const std::string& key, const std::string& value) {
        if (key == "version") {
            if (value != "1") refuse("version " + value + " is not supported");
            versionSeen_ = true;
        } else if (key == "backcolor") {
            d_.backColor = color(value);
        } else if (key == "allowuserchanges") {
            d_.allowUserChanges = boolean(value);
        } else {
            return false;
        }
        return true;
    }

    static bool axisKey(ChartAxis& a, const std::string& key, const std::string& value) {
        if (key == "title")
            a.setTitle(value);
        else if (key == "visible")
            a.setVisible(boolean(value));
        else if (key == "grid")
            a.setGrid(boolean(value));
        else if (key == "min")
            a.setMin(number(value));
        else if (key == "max")
            a.setMax(number(value));
        else if (key == "labels")
            a.setLabels(
                wordOf<AxisLabels>(value, {{"Values", AxisLabels::Values}, {"Time", AxisLabels::Time}}));
        else if (key == "timeunit")
            a.timeScale().setUnit(wordOf<TimeUnit>(value, {{"Seconds", TimeUnit::Seconds},
                                                           {"Minutes", TimeUnit::Minutes},
                                                           {"Hours", TimeUnit::Hours}}));
        else if (key == "timeformat")
            a.timeScale().setFormat(value);
        else
            return false;
        return true;
    }

    static bool groupKey(ChartGroupLook& g, const std::string& key, const std::string& value) {
        if (key != "charttype") return false;
        g.type = wordOf<ChartType>(
            value, {{"Plot", ChartType::Plot}, {"Step", ChartType::Step}, {"Area", ChartType::Area}});
        return true;
    }

    static bool styleKey(ChartStyle& s, const std::string& key, const std::string& value) {
        if (key == "linecolor")
            s.setLineColor(color(value));
        else if (key == "linewidth")
            s.setLineWidth(wholeNumber(value));
        else if (key == "linepattern")
            s.setLinePattern(linePattern(value));
        else if (key == "fillcolor")
            s.setFillColor(color(value));
        else if (key == "symbolshape")
            s.setSymbolShape(symbolShape(value));
        else if (key == "symbolsize")
            s.setSymbolSize(wholeNumber(value));
        else
            return false;
        return true;
    }

    ChartDefinition& d_;
    const std::string& source_;
    int line_ = 0;
    Section section_ = Section::None;
    ChartAxis* axis_ = nullptr;
    int group_ = 0;
    int style_ = 0;
    bool versionSeen_ = false;
    std::string sectionName_;
    std::set<std::string> given_;  // "axis y2", "axis y2/max", ...
};

}  // namespace

ChartDefinition ChartDefinition::standard() {
    static constexpr std::array<uint32_t, 4> palette = {0xFF0000, 0x0000FF, 0x008000, 0x800080};
    ChartDefinition d;
    for (size_t g = 0; g < d.groups.size(); ++g) {
        d.groups[g].styles.resize(static_cast<size_t>(kChartGroupSeries[g]));
        for (size_t s = 0; s < d.groups[g].styles.size(); ++s) {
            d.groups[g].styles[s].setLineColor(palette[s]);
            d.groups[g].styles[s].setFillColor(palette[s]);
        }
    }
    return d;
}

ChartDefinition ChartDefinition::parse(const std::string& text, const std::string& source) {
    ChartDefinition d = standard();
    DefinitionReader(d, source).read(text);
    return d;
}

ChartDefinition ChartDefinition::parseWhole(const std::string& text, const std::string& source) {
    ChartDefinition d = standard();
    DefinitionReader reader(d, source);
    reader.read(text);
    reader.requireWhole();
    return d;
}

ChartDefinition ChartDefinition::readFile(const std::string& path) {
    const FileContents file = readFileContents(path);
    if (!file.ok) raise(kFileNotFound, "File not found: " + path);
    return parse(file.bytes, std::filesystem::path(path).filename().string());
}

}  // namespace qx::platform
