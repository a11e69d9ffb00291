#pragma once
// The view's child controls by name, as the models a person's side sees: what the window's
// widgets show and what a click or a key goes through. A name the view does not have (or a
// control of another kind) fails the test at once.
#include <memory>
#include <stdexcept>
#include <string>

#include "display/CtlLedIM.h"
#include "display/MyLabel.h"
#include "platform/StandardControls.h"
#include "platform/Timer.h"
#include "view/QX_FlowWiz.h"

namespace qx::view {

template <class Model>
std::shared_ptr<Model> child(const QX_FlowWiz& view, const std::string& name) {
    auto found = view.Controls().findAs<Model>(name);
    if (!found) throw std::logic_error("the view has no such control: " + name);
    return found;
}

inline auto childButton(const QX_FlowWiz& v, const std::string& name) {
    return child<platform::CommandButton>(v, name);
}
inline auto childLabel(const QX_FlowWiz& v, const std::string& name) {
    return child<platform::Label>(v, name);
}
inline auto childMyLabel(const QX_FlowWiz& v, const std::string& name) {
    return child<display::MyLabel>(v, name);
}
inline auto childTextBox(const QX_FlowWiz& v, const std::string& name) {
    return child<platform::TextBox>(v, name);
}
inline auto childFrame(const QX_FlowWiz& v, const std::string& name) {
    return child<platform::Frame>(v, name);
}
inline auto childCheckBox(const QX_FlowWiz& v, const std::string& name) {
    return child<platform::CheckBox>(v, name);
}
inline auto childScrollBar(const QX_FlowWiz& v, const std::string& name) {
    return child<platform::ScrollBar>(v, name);
}
inline auto childComboBox(const QX_FlowWiz& v, const std::string& name) {
    return child<platform::ComboBox>(v, name);
}
inline auto childPicture(const QX_FlowWiz& v, const std::string& name) {
    return child<platform::PictureBox>(v, name);
}
inline auto childTimer(const QX_FlowWiz& v, const std::string& name) {
    return child<platform::Timer>(v, name);
}
inline auto childLamps(const QX_FlowWiz& v) {
    return child<display::CtlLedIM>(v, "CtlLedIM1");
}

}  // namespace qx::view
