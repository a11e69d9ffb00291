#include "display/MyLabel.h"

namespace qx::display {

MyLabel::MyLabel(std::string name, const platform::TextMetrics& metrics)
    : Control(std::move(name), "MyLabel"), metrics_(metrics), label1_("Label1") {
    label1_.setContainer(this);
    label1_.setCaption("Label1");
    fitLabelToText();
    // The control mirrors Label1's visible properties, so a window needs to watch only the control.
    label1Watch_ = label1_.observe([this](const platform::Control&, const std::string& property) {
        if (property == "Caption" || property == "BackColor" || property == "ForeColor") changed(property);
    });
    setWidth(kDesignWidth);
    setHeight(kDesignHeight);
}

void MyLabel::setCaption(std::string txt) {
    label1_.setCaption(std::move(txt));
    fitLabelToText();
    setWidth(label1_.width());
}

void MyLabel::fitLabelToText() {
    label1_.setWidth(metrics_.textWidth(label1_.caption()));
}

void MyLabel::setWidth(int32_t v) {
    if (v == width()) return;
    Control::setWidth(v);
    UserControl_Resize();
}

void MyLabel::setHeight(int32_t v) {
    if (v == height()) return;
    Control::setHeight(v);
    UserControl_Resize();
}

void MyLabel::UserControl_Resize() {
    label1_.setHeight(height());
}

platform::Variant MyLabel::getProperty(const std::string& name) const {
    if (name == "Caption") return caption();
    if (name == "BackColor" || name == "ForeColor") return label1_.getProperty(name);
    return Control::getProperty(name);
}

void MyLabel::setProperty(const std::string& name, const platform::Variant& value) {
    if (name == "Caption") return setCaption(value.toText());
    if (name == "BackColor" || name == "ForeColor") return label1_.setProperty(name, value);
    Control::setProperty(name, value);
}

}  // namespace qx::display
