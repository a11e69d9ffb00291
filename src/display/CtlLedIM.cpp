#include "display/CtlLedIM.h"

#include <limits>

#include "platform/RuntimeError.h"

namespace qx::display {

namespace {
// The design-time lamp: white, at the top left corner, one tenth of the column high.
constexpr CtlLedIM::Lamp kDesignLamp{0,        0,   CtlLedIM::kDesignWidth, CtlLedIM::kDesignHeight / 10,
                                     0xFFFFFF, true};
}  // namespace

CtlLedIM::CtlLedIM(std::string name, platform::Scheduler& scheduler)
    : Control(std::move(name), "CtlLedIM"),
      shLed_{kDesignLamp},
      timer1_("Timer1", scheduler, kBlinkInterval) {
    setWidth(kDesignWidth);
    setHeight(kDesignHeight);
    timer1_.setContainer(this);
    timer1_.Tick = [this] { Timer1_Timer(); };
}

size_t CtlLedIM::position(int32_t index) const {
    if (index < 0 || index >= lampCount())
        platform::raise(platform::kSubscriptOutOfRange, "Lamp " + std::to_string(index) + " doesn't exist");
    return static_cast<size_t>(index);
}

void CtlLedIM::paint(int32_t index, uint32_t color) {
    Lamp& l = shLed_[position(index)];
    if (l.fillColor == color) return;
    l.fillColor = color;
    changed("shLed");
}

void CtlLedIM::Init(int16_t count, uint32_t offColor) {
    blinkIndex_ = -1;  // a running blink timer stops itself at its next tick
    offColor_ = offColor;

    shLed_.resize(1);
    Lamp& first = shLed_.front();
    first.width = width();
    // Always a tenth of the control (whole twips, remainder dropped), whatever the count: ten
    // lamps fill the column, fewer leave space below, more run past the bottom edge.
    first.height = height() / 10;
    first.fillColor = offColor;

    for (int32_t i = 1; i < count; ++i) {
        Lamp next = shLed_.front();
        const Lamp& above = shLed_.back();
        const int64_t top = static_cast<int64_t>(above.top) + above.height;
        if (top > std::numeric_limits<int32_t>::max()) {
            changed("shLed");  // the lamps made so far stay; observers must see them
            platform::raise(platform::kOverflow,
                            "Lamp " + std::to_string(i) + " lies outside the twips range");
        }
        next.top = static_cast<int32_t>(top);
        next.visible = true;
        shLed_.push_back(next);
    }
    changed("shLed");
}

void CtlLedIM::SetLED(int16_t idx, uint32_t lColor, bool blink) {
    platform::ignoreErrors([&] { paint(idx, lColor); });
    timer1_.setEnabled(blink);
    // Setting the interval restarts a running timer, so a new blink colour always shows a full half.
    timer1_.setInterval(kBlinkInterval);
    blinkPhase_ = blink;
    blinkColor_ = lColor;
    blinkIndex_ = blink ? idx : int16_t{-1};
}

void CtlLedIM::ClearLED(int16_t idx) {
    platform::ignoreErrors([&] { paint(idx, offColor_); });
    blinkIndex_ = -1;
}

void CtlLedIM::ClearAllLED() {
    for (int32_t i = 0; i < lampCount(); ++i) platform::ignoreErrors([&] { paint(i, offColor_); });
    blinkIndex_ = -1;
    timer1_.setEnabled(false);
}

void CtlLedIM::Timer1_Timer() {
    if (blinkIndex_ == -1) {
        timer1_.setEnabled(false);
        return;
    }
    platform::ignoreErrors([&] { paint(blinkIndex_, blinkPhase_ ? offColor_ : blinkColor_); });
    blinkPhase_ = !blinkPhase_;
}

platform::Variant CtlLedIM::getProperty(const std::string& name) const {
    if (name == "LampCount") return lampCount();
    if (name == "BlinkIndex") return static_cast<int>(blinkIndex_);
    return Control::getProperty(name);
}

}  // namespace qx::display
