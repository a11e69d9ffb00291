#pragma once
// Ties one widget to one control model: the widget sits at the model's position and size and
// shows and enables itself as the model says, and `show` copies every other property the model
// announces. The binding is a child of the widget and holds the model weakly, so whichever of
// the two goes first, no observer is left behind and no widget reaches a model that is gone.
#include <QObject>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "platform/Control.h"
#include "platform/Observers.h"

namespace qx::ui {

class ControlBinding : public QObject {
  public:
    using Show = std::function<void(const std::string& property)>;

    // Copies the model's whole state into the widget now and each change from then on.
    ControlBinding(const std::shared_ptr<platform::Control>& model, QWidget* widget, Show show);

    // The model, while it exists.
    template <class T = platform::Control>
    std::shared_ptr<T> model() const {
        return std::dynamic_pointer_cast<T>(model_.lock());
    }

    // Binds `widget` to `model`; the binding lives and dies with the widget.
    static ControlBinding* bind(const std::shared_ptr<platform::Control>& model, QWidget* widget,
                                Show show = {});

  private:
    void showProperty(const std::string& property);

    std::weak_ptr<platform::Control> model_;
    QWidget* widget_;
    Show show_;
    platform::Subscription subscription_;
};

}  // namespace qx::ui
