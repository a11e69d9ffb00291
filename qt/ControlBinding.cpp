#include "ControlBinding.h"

#include "Twips.h"

namespace qx::ui {

ControlBinding::ControlBinding(const std::shared_ptr<platform::Control>& model, QWidget* widget, Show show)
    : QObject(widget), model_(model), widget_(widget), show_(std::move(show)) {
    subscription_ = model->observe(
        [this](const platform::Control&, const std::string& property) { showProperty(property); });
    showProperty("");
}

ControlBinding* ControlBinding::bind(const std::shared_ptr<platform::Control>& model, QWidget* widget,
                                     Show show) {
    return new ControlBinding(model, widget, std::move(show));
}

// An empty property name stands for all of them.
void ControlBinding::showProperty(const std::string& property) {
    auto control = model_.lock();
    if (!control) return;
    const bool all = property.empty();
    if (all || property == "Left" || property == "Top" || property == "Width" || property == "Height")
        widget_->setGeometry(pixelRect(control->left(), control->top(), control->width(), control->height()));
    if (all || property == "Visible") widget_->setVisible(control->visible());
    if (all || property == "Enabled") widget_->setEnabled(control->enabled());
    if (show_) show_(property);
}

}  // namespace qx::ui
