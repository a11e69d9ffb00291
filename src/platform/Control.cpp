#include "platform/Control.h"

#include "platform/RuntimeError.h"

namespace qx::platform {

Control::Control(std::string name, std::string typeName)
    : name_(std::move(name)), typeName_(std::move(typeName)) {}

void Control::move(int32_t left, int32_t top, int32_t width, int32_t height) {
    setLeft(left);
    setTop(top);
    setWidth(width);
    setHeight(height);
}

int32_t Control::nonNegative(int32_t size) {
    if (size < 0) raise(kInvalidPropertyValue);
    return size;
}

bool Control::usable() const {
    for (const Control* c = this; c; c = c->container_)
        if (!c->visible_ || !c->enabled_) return false;
    return true;
}

Subscription Control::observe(Observer observer) {
    return observeProperties(
        [this, observer = std::move(observer)](const std::string& property) { observer(*this, property); });
}

void Control::fire(const Event& handler) {
    if (!handler) return;
    try {
        handler();
    } catch (const RuntimeError&) {
        // The handler ended at its failing step; nothing beyond it relies on more.
    }
}

Variant Control::getProperty(const std::string& name) const {
    if (name == "Name") return name_;
    if (name == "Visible") return visible_;
    if (name == "Enabled") return enabled_;
    if (name == "Left") return left_;
    if (name == "Top") return top_;
    if (name == "Width") return width_;
    if (name == "Height") return height_;
    if (name == "Tag") return tag_;
    raise(kNotSupported);
}

void Control::setProperty(const std::string& name, const Variant& value) {
    if (name == "Visible") return setVisible(value.toBool());
    if (name == "Enabled") return setEnabled(value.toBool());
    if (name == "Left") return setLeft(value.toInt32());
    if (name == "Top") return setTop(value.toInt32());
    if (name == "Width") return setWidth(value.toInt32());
    if (name == "Height") return setHeight(value.toInt32());
    if (name == "Tag") return setTag(value.toText());
    raise(kNotSupported);
}

namespace {
bool isExtenderProperty(const std::string& n) {
    return n == "Name" || n == "Visible" || n == "Left" || n == "Top" || n == "Width" || n == "Height" ||
           n == "Tag";
}
}  // namespace

Variant ControlExtender::getProperty(const std::string& name) const {
    if (isExtenderProperty(name) || !object_) return Control::getProperty(name);
    return object_->getProperty(name);
}

void ControlExtender::setProperty(const std::string& name, const Variant& value) {
    if (isExtenderProperty(name) || !object_) return Control::setProperty(name, value);
    object_->setProperty(name, value);
}

bool ControlExtender::userInput(const std::function<bool()>& input) {
    return usable() && input();
}

}  // namespace qx::platform
