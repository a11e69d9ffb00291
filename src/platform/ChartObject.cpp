#include "platform/ChartObject.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "platform/Controls.h"
#include "platform/RuntimeError.h"

namespace qx::platform {

void registerChartComponent(ControlFactories& factories) {
    factories.add(kChartProgId, [] { return std::make_shared<ChartObject>(); });
}

namespace {

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

[[noreturn]] void noSuchProperty(const std::string& path) {
    raise(kNotSupported, "The chart has no property '" + path + "'");
}

// A property path as a late-bound call chain spells it: Name(arg, ...).Name.Name(arg).
class PropertyPath {
  public:
    explicit PropertyPath(const std::string& path) : path_(path) {
        size_t i = 0;
        const auto blanks = [&] {
            while (i < path.size() && path[i] == ' ') ++i;
        };
        while (true) {
            blanks();
            Part part;
            while (i < path.size() && (std::isalnum(static_cast<unsigned char>(path[i])) || path[i] == '_'))
                part.name += path[i++];
            if (part.name.empty()) noSuchProperty(path);
            blanks();
            if (i < path.size() && path[i] == '(') readArguments(++i, part);
            parts_.push_back(std::move(part));
            blanks();
            if (i == path.size()) break;
            if (path[i++] != '.') noSuchProperty(path);
        }
    }

    // The next part is `name` with `argCount` arguments and more parts follow: step into it.
    bool enter(std::string_view name, size_t argCount = 0) {
        if (next_ + 1 >= parts_.size() || !matches(parts_[next_], name, argCount)) return false;
        entered_ = &parts_[next_++];
        return true;
    }
    // The next part is `name` with `argCount` arguments and it is the last one.
    bool last(std::string_view name, size_t argCount = 0) {
        if (next_ + 1 != parts_.size() || !matches(parts_[next_], name, argCount)) return false;
        entered_ = &parts_[next_++];
        return true;
    }
    // The remaining parts are exactly these names, without arguments.
    bool rest(std::initializer_list<std::string_view> names) {
        if (parts_.size() - next_ != names.size()) return false;
        size_t k = next_;
        for (auto n : names)
            if (!matches(parts_[k++], n, 0)) return false;
        next_ = parts_.size();
        return true;
    }

    // Arguments of the part entered last, converted as a late-bound call converts them.
    int32_t number(size_t i) const { return Variant(entered_->args[i]).toInt32(); }
    const std::string& text(size_t i) const { return entered_->args[i]; }

  private:
    struct Part {
        std::string name;
        std::vector<std::string> args;
    };

    void readArguments(size_t& i, Part& part) {
        std::string arg;
        bool quoted = false;
        for (; i < path_.size(); ++i) {
            const char ch = path_[i];
            if (ch == '"') {
                quoted = !quoted;
            } else if (!quoted && (ch == ',' || ch == ')')) {
                part.args.push_back(arg);
                arg.clear();
                if (ch == ')') {
                    ++i;
                    return;
                }
            } else if (quoted || ch != ' ') {
                arg += ch;
            }
        }
        noSuchProperty(path_);
    }

    static bool matches(const Part& p, std::string_view name, size_t argCount) {
        return p.args.size() == argCount && sameName(p.name, name);
    }

    const std::string& path_;
    std::vector<Part> parts_;
    size_t next_ = 0;
    const Part* entered_ = nullptr;
};

enum class Field {
    AllowUserChanges,
    RefreshCount,
    ActionMapCount,
    BackColor,
    ChartType,
    FillColor,
    SymbolShape,
    NumPoints,
    X,
    Y,
    AxisMin,
    AxisMax,
    AxisTitle,
    TimeBase,
    TimeFormat,
    LocationWidth,
    LocationHeight,
};

// What a property path names; indices are checked when the property is used.
struct Target {
    Field field{};
    int group = 0;
    int style = 0;
    int series = 0;
    int32_t point = 0;
    std::string axis;
};

std::optional<Field> dataField(PropertyPath& c, Target& t) {
    if (c.last("NumPoints", 1)) {
        t.series = c.number(0);
        return Field::NumPoints;
    }
    for (auto [name, field] : {std::pair{"X", Field::X}, std::pair{"y", Field::Y}}) {
        if (!c.last(name, 2)) continue;
        t.series = c.number(0);
        t.point = c.number(1);
        return field;
    }
    return std::nullopt;
}

std::optional<Field> groupField(PropertyPath& c, Target& t) {
    if (c.rest({"ChartType"})) return Field::ChartType;
    if (c.enter("Styles", 1)) {
        t.style = c.number(0);
        if (c.rest({"Fill", "color"})) return Field::FillColor;
        if (c.rest({"Symbol", "Shape"})) return Field::SymbolShape;
        return std::nullopt;
    }
    if (c.enter("data")) return dataField(c, t);
    return std::nullopt;
}

std::optional<Field> areaField(PropertyPath& c, Target& t) {
    if (c.rest({"Location", "Width"})) return Field::LocationWidth;
    if (c.rest({"Location", "Height"})) return Field::LocationHeight;
    if (!c.enter("Axes", 1)) return std::nullopt;
    t.axis = c.text(0);
    if (c.rest({"Min"})) return Field::AxisMin;
    if (c.rest({"Max"})) return Field::AxisMax;
    if (c.rest({"Title"})) return Field::AxisTitle;
    if (c.rest({"TimeScale", "Base"})) return Field::TimeBase;
    if (c.rest({"TimeScale", "Format"})) return Field::TimeFormat;
    return std::nullopt;
}

Target resolve(const std::string& path) {
    PropertyPath c(path);
    Target t;
    std::optional<Field> f;
    if (c.rest({"AllowUserChanges"}))
        f = Field::AllowUserChanges;
    else if (c.rest({"RefreshCount"}))
        f = Field::RefreshCount;
    else if (c.rest({"BackColor"}))
        f = Field::BackColor;
    else if (c.rest({"ActionMaps", "Count"}))
        f = Field::ActionMapCount;
    else if (c.enter("ChartGroups", 1)) {
        t.group = c.number(0);
        f = groupField(c, t);
    } else if (c.enter("ChartArea"))
        f = areaField(c, t);
    if (!f) noSuchProperty(path);
    t.field = *f;
    return t;
}

const char* chartTypeName(ChartType t) {
    switch (t) {
        case ChartType::Plot:
            return "Plot";
        case ChartType::Step:
            return "Step";
        case ChartType::Area:
            return "Area";
    }
    return "";
}

// X is one array shared by the group's series, addressed as series 1.
void checkXSeries(int series) {
    if (series != 1) raise(kSubscriptOutOfRange, "X has only the series 1, not " + std::to_string(series));
}

void checkSeries(const ChartData& d, int series) {
    if (series < 1 || series > d.seriesCount())
        raise(kSubscriptOutOfRange,
              "Series " + std::to_string(series) + " is outside 1.." + std::to_string(d.seriesCount()));
}

uint32_t colorOf(const Variant& v) {
    const int32_t c = v.toInt32();
    if (c < 0) raise(kInvalidPropertyValue, "Not a colour: " + std::to_string(c));
    return static_cast<uint32_t>(c);
}

}  // namespace

ChartStyle& ChartGroup::style(int s) {
    return const_cast<ChartStyle&>(static_cast<const ChartGroup&>(*this).style(s));
}

const ChartStyle& ChartGroup::style(int s) const {
    if (s < 1 || s > styleCount())
        raise(kSubscriptOutOfRange,
              "Style " + std::to_string(s) + " is outside 1.." + std::to_string(styleCount()));
    return styles_[static_cast<size_t>(s - 1)];
}

void ChartGroup::applyLook(const ChartGroupLook& look) {
    type_ = look.type;
    styles_ = look.styles;
}

void ChartLocation::setWidth(int32_t pixels) {
    if (pixels < 0) raise(kInvalidPropertyValue, "A width cannot be negative");
    width_ = pixels;
}

void ChartLocation::setHeight(int32_t pixels) {
    if (pixels < 0) raise(kInvalidPropertyValue, "A height cannot be negative");
    height_ = pixels;
}

ChartAxis& ChartArea::axis(std::string_view name) {
    return const_cast<ChartAxis&>(static_cast<const ChartArea&>(*this).axis(name));
}

const ChartAxis& ChartArea::axis(std::string_view name) const {
    if (sameName(name, "X")) return x_;
    if (sameName(name, "Y")) return y_;
    if (sameName(name, "Y2")) return y2_;
    raise(kSubscriptOutOfRange, "There is no axis '" + std::string(name) + "'");
}

void ChartArea::applyAxes(const ChartDefinition& d) {
    x_ = d.axisX;
    y_ = d.axisY;
    y2_ = d.axisY2;
}

bool ChartActionMaps::has(ChartAction a) const {
    return std::find(actions_.begin(), actions_.end(), a) != actions_.end();
}

ChartObject::ChartObject() : groups_{ChartGroup(kChartGroupSeries[0]), ChartGroup(kChartGroupSeries[1])} {
    apply(ChartDefinition::standard());
}

ChartGroup& ChartObject::group(int g) {
    return const_cast<ChartGroup&>(static_cast<const ChartObject&>(*this).group(g));
}

const ChartGroup& ChartObject::group(int g) const {
    if (g < 1 || g > kChartGroupCount)
        raise(kSubscriptOutOfRange, "There is no chart group " + std::to_string(g));
    return groups_[static_cast<size_t>(g - 1)];
}

void ChartObject::userMouseMove(int32_t buttons, int32_t shift, int32_t x, int32_t y) {
    if (ObjectEvent) ObjectEvent({"MouseMove", {Variant(buttons), Variant(shift), Variant(x), Variant(y)}});
}

void ChartObject::load(const std::string& path) {
    apply(ChartDefinition::readFile(path));
}

void ChartObject::apply(const ChartDefinition& d) {
    for (size_t g = 0; g < groups_.size(); ++g) groups_[g].applyLook(d.groups[g]);
    area_.applyAxes(d);
    allowUserChanges_ = d.allowUserChanges;
    backColor_ = d.backColor;
    changed("Look");
}

void ChartObject::setAllowUserChanges(bool v) {
    allowUserChanges_ = v;
    changed("AllowUserChanges");
}

void ChartObject::refresh() {
    ++refreshCount_;
    changed("RefreshCount");
}

Variant ChartObject::getProperty(const std::string& name) const {
    const Target t = resolve(name);
    switch (t.field) {
        case Field::AllowUserChanges:
            return allowUserChanges_;
        case Field::RefreshCount:
            return static_cast<int64_t>(refreshCount_);
        case Field::ActionMapCount:
            return actionMaps_.count();
        case Field::BackColor:
            return backColor_;
        case Field::ChartType:
            return chartTypeName(group(t.group).chartType());
        case Field::FillColor:
            return group(t.group).style(t.style).fillColor();
        case Field::SymbolShape:
            return static_cast<int>(group(t.group).style(t.style).symbolShape());
        case Field::NumPoints: {
            const ChartData& d = group(t.group).data();
            checkSeries(d, t.series);
            return d.numPoints();
        }
        case Field::X: {
            const ChartData& d = group(t.group).data();
            checkXSeries(t.series);
            const auto x = d.x(t.point);
            return x ? Variant(*x) : Variant();
        }
        case Field::Y: {
            const auto y = group(t.group).data().y(t.series, t.point);
            return y ? Variant(static_cast<int>(*y)) : Variant();
        }
        case Field::AxisMin:
            return area_.axis(t.axis).min();
        case Field::AxisMax:
            return area_.axis(t.axis).max();
        case Field::AxisTitle:
            return area_.axis(t.axis).title();
        case Field::TimeBase:
            return area_.axis(t.axis).timeScale().base();
        case Field::TimeFormat:
            return area_.axis(t.axis).timeScale().format();
        case Field::LocationWidth:
            return area_.location().width();
        case Field::LocationHeight:
            return area_.location().height();
    }
    noSuchProperty(name);
}

void ChartObject::setProperty(const std::string& name, const Variant& value) {
    setField(name, value);
    changed(name);
}

void ChartObject::setField(const std::string& name, const Variant& value) {
    const Target t = resolve(name);
    switch (t.field) {
        case Field::AllowUserChanges:
            return setAllowUserChanges(value.toBool());
        case Field::FillColor:
            return group(t.group).style(t.style).setFillColor(colorOf(value));
        case Field::SymbolShape:
            return group(t.group).style(t.style).setSymbolShape(value.toInt16());
        case Field::NumPoints: {
            ChartData& d = group(t.group).data();
            checkSeries(d, t.series);
            return d.setNumPoints(value.toInt32());
        }
        case Field::X: {
            ChartData& d = group(t.group).data();
            checkXSeries(t.series);
            return d.setX(t.point, value.toDouble());
        }
        case Field::Y:
            return group(t.group).data().setY(t.series, t.point, value.toInt16());
        case Field::AxisMin:
            return area_.axis(t.axis).setMin(value.toDouble());
        case Field::AxisMax:
            return area_.axis(t.axis).setMax(value.toDouble());
        case Field::AxisTitle:
            return area_.axis(t.axis).setTitle(value.toText());
        case Field::TimeBase:
            return area_.axis(t.axis).timeScale().setBase(value.toInt32());
        case Field::LocationWidth:
            return area_.location().setWidth(value.toInt32());
        case Field::LocationHeight:
            return area_.location().setHeight(value.toInt32());
        case Field::RefreshCount:
        case Field::ActionMapCount:
        case Field::BackColor:
        case Field::ChartType:
        case Field::TimeFormat:
            raise(kNotSupported, "The chart's property '" + name + "' is read-only");
    }
}

}  // namespace qx::platform
