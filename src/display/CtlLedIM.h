#pragma once
// The lamp column: a vertical stack of filled lamps, lamp 0 at the top, of which at most one
// blinks. The wizard uses it as a level indicator; the fill colour alone carries a lamp's state.
// Lamps are laid out only by Init; resizing the control afterwards leaves them where they are.
// Any change of the lamps is announced to observers as the property "shLed".
#include <cstdint>
#include <vector>

#include "platform/Control.h"
#include "platform/PackageInternal.h"
#include "platform/Scheduler.h"
#include "platform/Timer.h"

namespace qx::display {

class QX_FLOW_INTERNAL CtlLedIM : public platform::Control {
  public:
    // One lamp (an element of shLed), in twips relative to the control.
    struct Lamp {
        int32_t left = 0;
        int32_t top = 0;
        int32_t width = 0;
        int32_t height = 0;
        uint32_t fillColor = 0xFFFFFF;
        bool visible = true;
    };

    static constexpr int32_t kDesignWidth = 315;
    static constexpr int32_t kDesignHeight = 975;
    static constexpr int32_t kBlinkInterval = 500;  // ms, each half of the blink period

    CtlLedIM(std::string name, platform::Scheduler& scheduler);

    // Rebuilds the column with `count` lamps (at least lamp 0) in the off colour and ends any
    // blinking. Failures reach the caller.
    void Init(int16_t count, uint32_t offColor);
    // Paints lamp idx; with blink it becomes the one blinking lamp, without it nothing blinks any
    // more. A lamp that was blinking keeps the colour of its last phase. Never raises.
    void SetLED(int16_t idx, uint32_t lColor, bool blink = false);
    // Paints lamp idx in the off colour and ends any blinking. Never raises.
    void ClearLED(int16_t idx);
    // Paints every lamp in the off colour and ends any blinking. Never raises.
    void ClearAllLED();

    int32_t lampCount() const { return static_cast<int32_t>(shLed_.size()); }
    // Error 9 for an index that names no lamp.
    const Lamp& lamp(int32_t index) const { return shLed_[position(index)]; }
    uint32_t lampColor(int32_t index) const { return lamp(index).fillColor; }
    // -1 when no lamp blinks; 0 before the first Init, like the rest of the zeroed state.
    int16_t blinkingIndex() const { return blinkIndex_; }
    const platform::Timer& blinkTimer() const { return timer1_; }
    // The view lets go: the blink timer stops, the lamps keep what they show.
    void stopBlinkTimer() { timer1_.setEnabled(false); }

    // Adds the read-only "LampCount" and "BlinkIndex".
    platform::Variant getProperty(const std::string& name) const override;

  private:
    size_t position(int32_t index) const;  // error 9 unless index names a lamp
    void paint(int32_t index, uint32_t color);
    void Timer1_Timer();

    std::vector<Lamp> shLed_;
    platform::Timer timer1_;
    // The control's state starts zeroed, as the column had it before its first Init.
    int16_t blinkIndex_ = 0;
    uint32_t offColor_ = 0;
    bool blinkPhase_ = false;  // true while the blinking lamp shows the blink colour
    uint32_t blinkColor_ = 0;
};

}  // namespace qx::display
