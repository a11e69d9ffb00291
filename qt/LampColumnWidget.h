#pragma once
// The lamp column on screen: each lamp of the model painted as a filled rectangle at its place,
// in the colour the model holds. Blinking is the model's own, on the scheduler's timer; the
// widget repaints at each change the model announces.
#include <QWidget>
#include <memory>

#include "display/CtlLedIM.h"

namespace qx::ui {

class LampColumnWidget : public QWidget {
  public:
    LampColumnWidget(const std::shared_ptr<display::CtlLedIM>& model, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::weak_ptr<display::CtlLedIM> model_;
};

}  // namespace qx::ui
