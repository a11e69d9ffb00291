#pragma once
// What the wizard's logic asks of the view: the controls it shows and enables, the lamp column,
// the status line and the teach codes written to the device. The logic names what it means
// (the maximum's teach button, a lamp that says "wait"), the view knows which control that is.
#include <cstdint>

#include "wizard/TeachState.h"

namespace qx::wizard {

enum class TeachButton { StartMaxMin, StartQuick, Cancel, SetByHand, Maximum, Minimum, Quick };
enum class TeachField { MaximumByHand, MinimumByHand, QuickByHand };
enum class SettingPane { Flow, Temperature, Quick };
// The lamp's colour: go ahead, or wait and look at the status line.
enum class LampSignal { Go, Wait };

enum class StatusStyle : int32_t { Normal = 0, Attention = 1, Warning = 2 };

class WizardScreen {
  public:
    virtual void showStatus(const char* textKey, StatusStyle style) = 0;

    virtual void enableButton(TeachButton button, bool enabled) = 0;
    virtual void showButton(TeachButton button, bool visible) = 0;
    virtual void enableField(TeachField field, bool enabled) = 0;
    // The max/min value fields, or their quick-teach counterparts on the firmware that has them.
    virtual void showMaxMinFields(bool show) = 0;
    virtual void showPane(SettingPane pane, bool visible) = 0;
    virtual void enableSettingInput(SettingPane pane, bool enabled) = 0;
    virtual bool switchPointAvailable() = 0;

    virtual void resetLamps() = 0;  // the column laid out anew, every lamp off
    virtual void clearLamps() = 0;  // every lamp of the column as it stands off
    virtual void setLamp(int16_t lamp, LampSignal signal, bool blink) = 0;
    virtual void clearLevelLamps(int16_t keep) = 0;  // the level lamps between the ends, but `keep`

    // A procedure starts: the charts' window starts with it and the ranges so far are saved.
    virtual void startProcedureWindow() = 0;
    // The editing of taught values by hand ends with the procedure.
    virtual void endEditing() = 0;
    // One view update, as new values would bring it.
    virtual void updateView() = 0;

    // The command code goes into the model first; sending it as the teach job writes the device.
    virtual void writeTeachCode(TeachCode code) = 0;
    virtual void sendTeachJob() = 0;
    // Firmware that knows the teach mode is told that it starts or ends.
    virtual void sendTeachMode(bool on) = 0;
    // The quick-teach offset goes back to its default in the model; the device is not written.
    virtual void resetQuickOffset(int16_t value) = 0;

  protected:
    ~WizardScreen() = default;
};

}  // namespace qx::wizard
