#include "LampColumnWidget.h"

#include <QPainter>

#include "ControlBinding.h"
#include "Twips.h"
#include "chart/ModelColour.h"

namespace qx::ui {

namespace {
const QColor kLampOutline(128, 128, 128);
}

LampColumnWidget::LampColumnWidget(const std::shared_ptr<display::CtlLedIM>& model, QWidget* parent)
    : QWidget(parent), model_(model) {
    ControlBinding::bind(model, this, [this](const std::string& property) {
        if (property.empty() || property == "shLed") update();
    });
}

void LampColumnWidget::paintEvent(QPaintEvent*) {
    auto model = model_.lock();
    if (!model) return;
    QPainter painter(this);
    painter.setPen(kLampOutline);
    for (int32_t i = 0; i < model->lampCount(); ++i) {
        const auto& lamp = model->lamp(i);
        if (!lamp.visible) continue;
        // The outline is drawn inside the lamp, so neighbouring lamps share no pixel.
        const QRect r = pixelRect(lamp.left, lamp.top, lamp.width, lamp.height).adjusted(0, 0, -1, -1);
        painter.fillRect(r, colourOf(lamp.fillColor));
        painter.drawRect(r);
    }
}

}  // namespace qx::ui
