#include "frame/FrameParameter.h"

#include <algorithm>
#include <cmath>

#include "frame/FrameSettings.h"
#include "platform/RuntimeError.h"

namespace qx::frame {

namespace {

// Parameters without a text in the model's language show their English one.
constexpr int32_t kFallbackLanguage = 1033;

host::Variant numberVariant(double v, ParameterDefinition::Kind kind) {
    if (kind == ParameterDefinition::Kind::Number) return host::Variant(v);
    return host::Variant(static_cast<int64_t>(v));
}

}  // namespace

FrameParameter::FrameParameter(ParameterDefinition definition, std::vector<ListEntry> entries,
                               std::shared_ptr<const FrameSettings> settings)
    : definition_(std::move(definition)),
      entries_(std::move(entries)),
      settings_(std::move(settings)),
      binding_(std::make_shared<FrameParameterBinding>(std::make_shared<FrameDeviceItem>(definition_.name))) {
    if (definition_.kind == ParameterDefinition::Kind::List && !entries_.empty()) {
        auto [lo, hi] =
            std::minmax_element(entries_.begin(), entries_.end(),
                                [](const ListEntry& a, const ListEntry& b) { return a.value < b.value; });
        definition_.minimum = lo->value;
        definition_.maximum = hi->value;
    }
}

std::shared_ptr<FrameParameter> FrameParameter::create(const ParameterDefinition& definition,
                                                       std::vector<ListEntry> entries,
                                                       std::shared_ptr<const FrameSettings> settings,
                                                       const std::optional<std::string>& startText) {
    std::shared_ptr<FrameParameter> p(
        new FrameParameter(definition, std::move(entries), std::move(settings)));
    p->valueObject_ = std::make_shared<FrameValueObject>(p);
    if (startText) p->acceptText(*startText);
    p->startValue_ = p->value_;
    return p;
}

std::string FrameParameter::valueText() const {
    if (!value_) return {};
    if (definition_.kind == ParameterDefinition::Kind::List) {
        for (const ListEntry& e : entries_)
            if (e.value == *value_) return e.text;
    }
    return platform::shortestText(*value_);
}

void FrameParameter::setValueText(const std::string& text) {
    acceptText(text);
}

bool FrameParameter::setDeviceValue(const std::optional<std::string>& text) {
    if (!text) {
        value_.reset();
        return true;
    }
    return acceptText(*text);
}

bool FrameParameter::acceptText(const std::string& text) {
    if (definition_.kind == ParameterDefinition::Kind::List) {
        for (const ListEntry& e : entries_) {
            if (e.text == text) {
                value_ = e.value;
                return true;
            }
        }
        return false;
    }
    double v = 0;
    return platform::parseNumber(text, v) && setNumber(v);
}

bool FrameParameter::setNumber(double v) {
    if (!accepts(v)) return false;
    value_ = v == 0 ? 0.0 : v;  // no "-0"
    return true;
}

bool FrameParameter::accepts(double v) const {
    switch (definition_.kind) {
        case ParameterDefinition::Kind::List:
            return std::any_of(entries_.begin(), entries_.end(),
                               [v](const ListEntry& e) { return e.value == v; });
        case ParameterDefinition::Kind::Integer:
            if (v != std::floor(v)) return false;
            [[fallthrough]];
        case ParameterDefinition::Kind::Number:
            return v >= definition_.minimum && v <= definition_.maximum;  // false for NaN as well
    }
    return false;
}

std::string FrameParameter::displayName() const {
    const int32_t language = settings_ ? settings_->language() : kFallbackLanguage;
    if (language == 0) return definition_.name;
    auto it = definition_.displayNames.find(language);
    if (it == definition_.displayNames.end()) it = definition_.displayNames.find(kFallbackLanguage);
    return it != definition_.displayNames.end() ? it->second : definition_.name;
}

host::Variant FrameParameter::minimum() const {
    return numberVariant(definition_.minimum, definition_.kind);
}

host::Variant FrameParameter::maximum() const {
    return numberVariant(definition_.maximum, definition_.kind);
}

std::shared_ptr<host::IValueObject> FrameParameter::valueObject() const {
    return valueObject_;
}

void FrameParameter::startFrom(const FrameParameter& other) {
    value_ = other.value_;
    startValue_ = value_;
}

std::shared_ptr<FrameParameter> FrameValueObject::owner() const {
    auto p = parameter_.lock();
    if (!p) platform::raise(platform::kObjectNotSet, "The parameter of this value object no longer exists");
    return p;
}

host::Variant FrameValueObject::value() const {
    auto p = owner();
    auto v = p->number();
    return v ? numberVariant(*v, p->kind()) : host::Variant();
}

void FrameValueObject::setValue(const host::Variant& v) {
    owner()->setNumber(v.toDouble());
}

int32_t FrameValueObject::flags() const {
    return owner()->flags();
}

int32_t FrameValueObject::state() const {
    return owner()->state();
}

std::shared_ptr<host::IParameter> FrameValueObject::parameter() const {
    return owner();
}

}  // namespace qx::frame
