#include "platform/Controls.h"

#include <algorithm>

#include "platform/RuntimeError.h"

namespace qx::platform {

std::shared_ptr<PropertyObject> ControlFactories::create(const std::string& progId) const {
    auto it = factories_.find(progId);
    if (it == factories_.end()) raise(kInvalidClassString);
    return it->second();
}

std::shared_ptr<ControlExtender> Controls::add(const std::string& progId, const std::string& name,
                                               Control* container) {
    if (byName_.count(name)) raise(727, "There is already a control with the name '" + name + "'");
    auto extender = std::make_shared<ControlExtender>(name, progId, factories_.create(progId));
    extender->setVisible(false);  // a control added at run time starts hidden
    adopt(extender, container);
    return extender;
}

void Controls::adopt(std::shared_ptr<Control> control, Control* container) {
    control->setContainer(container);
    byName_[control->name()] = control;
    order_.push_back(control);
    observers_.notify(control, ControlsChange::Added);
}

std::shared_ptr<Control> Controls::item(const std::string& name) const {
    auto c = find(name);
    if (!c) raise(730, "Control array element '" + name + "' doesn't exist");
    return c;
}

std::shared_ptr<Control> Controls::find(const std::string& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

void Controls::remove(const std::string& name) {
    auto it = byName_.find(name);
    if (it == byName_.end()) return;
    const std::shared_ptr<Control> removed = it->second;
    order_.erase(std::find(order_.begin(), order_.end(), removed));
    byName_.erase(it);
    observers_.notify(removed, ControlsChange::Removed);
}

}  // namespace qx::platform
