#include "SliderWidget.h"

#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

#include "ControlBinding.h"
#include "Twips.h"
#include "frame/ParameterSlider.h"

namespace qx::window {

namespace {

// The thumb moves in steps of one tenth of the shown unit, fine enough for "#0.0".
constexpr double kTicksPerUnit = 10;
// The layout puts the frame's Set button over the slider's right end (860 twips of it), and the
// binding stacks the slider below the button; the track and the value stop short of the button,
// with a gap, so no part of the slider hides under it.
constexpr int kUnderSetButtonTwips = 860 + 60;

int ticks(double value) {
    return static_cast<int>(std::lround(value * kTicksPerUnit));
}

class SliderWidget : public QWidget {
  public:
    SliderWidget(const std::shared_ptr<platform::ControlExtender>& control,
                 const std::shared_ptr<frame::ParameterSlider>& slider, QWidget* parent)
        : QWidget(parent), slider_(slider) {
        auto* column = new QVBoxLayout(this);
        column->setContentsMargins(0, 0, ui::toPixels(kUnderSetButtonTwips), 0);
        thumb_ = new QSlider(Qt::Horizontal, this);
        thumb_->setTickPosition(QSlider::TicksBelow);
        text_ = new QLabel(this);
        text_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        column->addWidget(thumb_);
        column->addWidget(text_);
        column->addStretch(1);
        auto* binding = ui::ControlBinding::bind(control, this);
        watch_ = slider->observeProperties([this](const std::string&) { follow(); });
        follow();
        connect(thumb_, &QSlider::valueChanged, binding, [this, binding](int position) {
            auto extender = binding->model<platform::ControlExtender>();
            auto s = slider_.lock();
            if (!extender || !s || updating_) return;
            extender->userInput([&] { return s->slide(position / kTicksPerUnit); });
            follow();
        });
    }

  private:
    void follow() {
        auto s = slider_.lock();
        if (!s) return;
        updating_ = true;
        thumb_->setRange(ticks(s->minimum()), ticks(s->maximum()));
        thumb_->setValue(ticks(s->value()));
        thumb_->setEnabled(!s->locked());
        text_->setText(QString::fromStdString(s->displayText()));
        updating_ = false;
    }

    std::weak_ptr<frame::ParameterSlider> slider_;
    QSlider* thumb_;
    QLabel* text_;
    platform::Subscription watch_;
    bool updating_ = false;
};

}  // namespace

QWidget* createSliderWidget(const std::shared_ptr<platform::Control>& control, QWidget* parent) {
    auto extender = std::dynamic_pointer_cast<platform::ControlExtender>(control);
    auto slider = extender ? std::dynamic_pointer_cast<frame::ParameterSlider>(extender->object()) : nullptr;
    if (!slider) return nullptr;
    return new SliderWidget(extender, slider, parent);
}

}  // namespace qx::window
