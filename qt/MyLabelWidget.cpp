#include "MyLabelWidget.h"

#include <QPainter>

#include "ControlBinding.h"
#include "Twips.h"
#include "chart/ModelColour.h"

namespace qx::ui {

MyLabelWidget::MyLabelWidget(const std::shared_ptr<display::MyLabel>& model, QWidget* parent)
    : QWidget(parent), model_(model) {
    ControlBinding::bind(model, this, [this](const std::string& property) {
        if (property.empty() || property == "Caption")
            setToolTip(QString::fromStdString(model_.lock()->caption()));
        update();
    });
}

void MyLabelWidget::paintEvent(QPaintEvent*) {
    auto model = model_.lock();
    if (!model) return;
    QPainter painter(this);
    painter.fillRect(rect(), colourOf(model->backColor()));
    painter.setPen(colourOf(model->foreColor()));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QString::fromStdString(model->caption()));
}

}  // namespace qx::ui
