#pragma once
// A value label on screen: its caption in its text colour on its background colour, one line,
// at the width the model took from the text metrics. The full caption is also the tooltip, for
// the rare text that the font makes wider than the metrics said.
#include <QWidget>
#include <memory>

#include "display/MyLabel.h"

namespace qx::ui {

class MyLabelWidget : public QWidget {
  public:
    MyLabelWidget(const std::shared_ptr<display::MyLabel>& model, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::weak_ptr<display::MyLabel> model_;
};

}  // namespace qx::ui
