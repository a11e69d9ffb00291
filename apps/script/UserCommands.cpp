// What a person does on the frame's toolbar and in the view. Each action reaches the view the way
// a click, a key or a mouse would: through the control model's user entry point, whose events
// run the view's handlers. A target that is disabled or hidden, or sits in a container that is,
// takes nothing, and the console says so.
#include "display/TrendPane.h"
#include "frame/ParameterSlider.h"
#include "platform/StandardControls.h"
#include "script/Arguments.h"
#include "script/Console.h"
#include "script/ValueText.h"
#include "view/QX_FlowWiz.h"

namespace qx::console {

namespace {

template <class T>
T* as(platform::Control& control) {
    return dynamic_cast<T*>(&control);
}

}  // namespace

void Console::cmdPress(const Command& c) {
    liveView(c);
    // The toolbar lies outside the view: hiding the view does not stop a press.
    if (!frame_.press(c.words[1].text)) emit("ignored " + c.words[1].text);
}

void Console::cmdClick(const Command& c) {
    auto& target = control(c, 1);
    auto* button = as<platform::CommandButton>(target);
    auto* box = as<platform::CheckBox>(target);
    if (!button && !box) fail(c, c.words[1].text + " is neither a button nor a check box");
    // A check box's click follows the change of its value.
    taken(button ? button->userClick() : box->userClick(), c.words[1].text);
}

void Console::cmdCheck(const Command& c) {
    auto& target = control(c, 1);
    auto* box = as<platform::CheckBox>(target);
    if (!box) fail(c, c.words[1].text + " is not a check box");
    const auto value = static_cast<int32_t>(wholeArgument(c, 2, kCheckValue));
    taken(box->userSetValue(value), c.words[1].text);
}

void Console::cmdType(const Command& c) {
    auto& target = control(c, 1);
    auto* box = as<platform::TextBox>(target);
    if (!box) fail(c, c.words[1].text + " is not a text box");
    taken(box->userSetText(c.words[2].text), c.words[1].text);
}

void Console::cmdChoose(const Command& c) {
    auto& target = control(c, 1);
    auto* combo = as<platform::ComboBox>(target);
    if (!combo) fail(c, c.words[1].text + " is not a combo box");
    if (!target.usable()) return taken(false, c.words[1].text);
    bool listed = false;
    for (int32_t i = 0; i < combo->listCount(); ++i) listed = listed || combo->list(i) == c.words[2].text;
    if (!listed) fail(c, quoteText(c.words[2].text) + " is not an entry of " + c.words[1].text);
    taken(combo->userSetText(c.words[2].text), c.words[1].text);
}

void Console::cmdSlide(const Command& c) {
    const std::string& name = c.words[1].text;
    if (name != "mSliderFL" && name != "mSliderTP") fail(c, "slide mSliderFL or mSliderTP, not " + name);
    auto& target = control(c, 1);
    auto* extender = as<platform::ControlExtender>(target);
    auto slider = extender ? std::dynamic_pointer_cast<frame::ParameterSlider>(extender->object()) : nullptr;
    if (!slider) fail(c, name + " is not a parameter slider");
    const double value = numberArgument(c, 2, kSlideValue);
    // A locked slider's thumb does not move.
    taken(extender->userInput([&] { return slider->slide(value); }), name);
}

void Console::cmdScroll(const Command& c) {
    auto& target = control(c, 1);
    auto* bar = as<platform::ScrollBar>(target);
    if (!bar) fail(c, c.words[1].text + " is not a scroll bar");
    // The bar's own limits are the range.
    const ArgumentRange range{"scroll", "<value>", std::min(bar->min(), bar->max()),
                              std::max(bar->min(), bar->max()), true};
    const auto value = static_cast<int32_t>(wholeArgument(c, 2, range));
    taken(bar->userSetValue(value), c.words[1].text);  // its change follows
}

void Console::cmdDrag(const Command& c) {
    auto& view = liveView(c);
    const std::string& chart = c.words[1].text;
    if (chart != "PC1" && chart != "PC2") fail(c, "drag PC1 or PC2, not " + chart);
    const auto button = static_cast<int32_t>(wholeArgument(c, 2, kDragButton));
    std::vector<double> xs;
    for (size_t i = 3; i < c.words.size(); ++i) xs.push_back(numberArgument(c, i, kDragX));
    auto target = findControl(view, "c" + chart);
    if (!target) fail(c, "the view has no chart " + chart);
    if (!target->usable()) return taken(false, chart);
    auto mouseValue = [](double v) {
        return v == static_cast<int32_t>(v) ? platform::Variant(static_cast<int32_t>(v))
                                            : platform::Variant(v);
    };
    for (double x : xs) {
        view::ObjectEventInfo info{
            "MouseMove",
            {platform::Variant(button), platform::Variant(0), mouseValue(x), platform::Variant(0)}};
        // The chart's events reach the view only while the view holds the chart.
        const auto& held = chart == "PC1" ? view.trend().flow : view.trend().temp;
        if (held.control) held.object->raiseEvent(info);
        afterEvent();
    }
}

}  // namespace qx::console
