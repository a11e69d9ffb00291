#include "platform/StandardControls.h"

#include "platform/RuntimeError.h"

namespace qx::platform {

namespace {
uint32_t colour(const Variant& v) {
    return static_cast<uint32_t>(static_cast<int64_t>(v.toDouble()));
}
}  // namespace

void Label::setCaption(std::string v) {
    assign(caption_, std::move(v), "Caption");
    if (sizedBy_) setWidth(sizedBy_->textWidth(caption_));
}

void Label::sizeToCaption(const TextMetrics& metrics) {
    sizedBy_ = &metrics;
    setWidth(metrics.textWidth(caption_));
}

Variant Label::getProperty(const std::string& name) const {
    if (name == "Caption") return caption_;
    if (name == "BackColor") return backColor_;
    if (name == "ForeColor") return foreColor_;
    if (name == "FontBold") return fontBold_;
    return Control::getProperty(name);
}

void Label::setProperty(const std::string& name, const Variant& value) {
    if (name == "Caption") return setCaption(value.toText());
    if (name == "BackColor") return setBackColor(colour(value));
    if (name == "ForeColor") return setForeColor(colour(value));
    if (name == "FontBold") return setFontBold(value.toBool());
    Control::setProperty(name, value);
}

Variant TextBox::getProperty(const std::string& name) const {
    if (name == "Text") return text_;
    return Control::getProperty(name);
}

void TextBox::setProperty(const std::string& name, const Variant& value) {
    if (name == "Text") return setText(value.toText());
    Control::setProperty(name, value);
}

Variant CommandButton::getProperty(const std::string& name) const {
    if (name == "Caption") return caption_;
    return Control::getProperty(name);
}

void CommandButton::setProperty(const std::string& name, const Variant& value) {
    if (name == "Caption") return setCaption(value.toText());
    Control::setProperty(name, value);
}

void CheckBox::setValue(int32_t v) {
    if (v != 0 && v != 1) raise(kInvalidPropertyValue);
    if (v == value_) return;
    value_ = v;
    changed("Value");
    fire(Click);
}

Variant CheckBox::getProperty(const std::string& name) const {
    if (name == "Caption") return caption_;
    if (name == "Value") return value_;
    return Control::getProperty(name);
}

void CheckBox::setProperty(const std::string& name, const Variant& value) {
    if (name == "Caption") return setCaption(value.toText());
    if (name == "Value") return setValue(value.toInt32());
    Control::setProperty(name, value);
}

const std::string& ComboBox::text() const {
    static const std::string empty;
    return listIndex_ < 0 ? empty : items_[static_cast<size_t>(listIndex_)];
}

void ComboBox::setText(const std::string& v) {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == v) return setListIndex(static_cast<int32_t>(i));
    raise(kInvalidPropertyValue);
}

void ComboBox::setListIndex(int32_t index) {
    if (index < -1 || index >= listCount()) raise(kInvalidPropertyValue);
    if (index == listIndex_) return;
    listIndex_ = index;
    changed("ListIndex");
    changed("Text");
    fire(Click);
}

const std::string& ComboBox::list(int32_t index) const {
    if (index < 0 || index >= listCount()) raise(381, "Invalid property array index");
    return items_[static_cast<size_t>(index)];
}

void ComboBox::addItem(std::string item) {
    items_.push_back(std::move(item));
    changed("ListCount");
}

void ComboBox::clear() {
    items_.clear();
    listIndex_ = -1;
    changed("ListCount");
    changed("ListIndex");
    changed("Text");
}

Variant ComboBox::getProperty(const std::string& name) const {
    if (name == "Text") return text();
    if (name == "ListIndex") return listIndex_;
    if (name == "ListCount") return listCount();
    return Control::getProperty(name);
}

void ComboBox::setProperty(const std::string& name, const Variant& value) {
    if (name == "Text") return setText(value.toText());
    if (name == "ListIndex") return setListIndex(value.toInt32());
    Control::setProperty(name, value);
}

Variant Frame::getProperty(const std::string& name) const {
    if (name == "Caption") return caption_;
    return Control::getProperty(name);
}

void Frame::setProperty(const std::string& name, const Variant& value) {
    if (name == "Caption") return setCaption(value.toText());
    Control::setProperty(name, value);
}

ScrollBar::ScrollBar(std::string name, bool horizontal, int32_t min, int32_t max)
    : Control(std::move(name), horizontal ? "HScrollBar" : "VScrollBar"),
      horizontal_(horizontal),
      min_(min),
      max_(max),
      value_(min) {}

void ScrollBar::setValue(int32_t v) {
    const int32_t lo = std::min(min_, max_), hi = std::max(min_, max_);
    if (v < lo || v > hi) raise(kInvalidPropertyValue);
    if (v == value_) return;
    value_ = v;
    changed("Value");
    fire(Change);
}

Variant ScrollBar::getProperty(const std::string& name) const {
    if (name == "Value") return value_;
    if (name == "Min") return min_;
    if (name == "Max") return max_;
    return Control::getProperty(name);
}

void ScrollBar::setProperty(const std::string& name, const Variant& value) {
    if (name == "Value") return setValue(value.toInt32());
    if (name == "Min") return setMin(value.toInt32());
    if (name == "Max") return setMax(value.toInt32());
    Control::setProperty(name, value);
}

// A person's input is taken only while the control is usable.
bool TextBox::userSetText(std::string v) {
    if (!usable()) return false;
    setText(std::move(v));
    return true;
}

bool CommandButton::userClick() {
    if (!usable()) return false;
    click();
    return true;
}

bool CheckBox::userClick() {
    return userSetValue(value_ == 0 ? 1 : 0);
}

bool CheckBox::userSetValue(int32_t v) {
    if (!usable()) return false;
    setValue(v);
    return true;
}

bool ComboBox::userSetText(const std::string& v) {
    if (!usable()) return false;
    setText(v);
    return true;
}

bool ComboBox::userSetListIndex(int32_t index) {
    if (!usable()) return false;
    setListIndex(index);
    return true;
}

bool ScrollBar::userSetValue(int32_t v) {
    if (!usable()) return false;
    setValue(v);
    return true;
}

}  // namespace qx::platform
