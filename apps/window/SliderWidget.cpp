#include "SliderWidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <cmath>

#include "ControlBinding.h"
#include "frame/ParameterSlider.h"

namespace qx::window {

namespace {

// The thumb moves in steps of one tenth of the shown unit, fine enough for "#0.0".
constexpr double kTicksPerUnit = 10;

int ticks(double value) {
    return static_cast<int>(std::lround(value * kTicksPerUnit));
}

class SliderWidget : public QWidget {
  public:
    SliderWidget(const std::shared_ptr<platform::ControlExtender>& control,
                 const std::shared_ptr<frame::ParameterSlider>& slider, QWidget* parent)
        : QWidget(parent), slider_(slider) {
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(0, 0, 0, 0);
        thumb_ = new QSlider(Qt::Horizontal, this);
        text_ = new QLabel(this);
        text_->setMinimumWidth(70);
        text_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row->addWidget(thumb_, 1);
        row->addWidget(text_);
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
