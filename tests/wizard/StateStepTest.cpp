// The wizard's idle step as the user sees it on the view after an update: the status message and
// its colour, the setting inputs, fields and frames the view's controls show for it. The steps'
// decisions themselves are tested on their own (TeachInTest).
#include <cctype>
#include <string>

#include "view/ViewChildren.h"
#include "wizard/WizardStand.h"

namespace qx::stand::test {
namespace {

class StateStepTest : public LiveViewTest {};

// Which teach triggers a person can press: upper case when enabled.
std::string triggers(WizardStand& s) {
    auto flag = [](const platform::Control& c, const char* on, const char* off) {
        return c.enabled() ? on : off;
    };
    auto& v = s.v();
    return std::string(flag(*childButton(v, "ComTMax"), "MAX", "max")) + " " +
           flag(*childButton(v, "ComTMin"), "MIN", "min") + " " +
           flag(*childButton(v, "ComTQuick"), "QUICK", "quick");
}

// Device values as a read job would bring them into the model.
struct Values {
    int fw = 1;
    int mode = 2;
    int flow = 0;
    bool settled = true;
    int min = 100;
    int max = 800;
};

WizardStand directView(const Values& in) {
    DeviceOptions o;
    o.fw = in.fw;
    return WizardStand(o, false);
}

void load(WizardStand& s, const Values& in) {
    auto& v = s.v();
    WizardStand::put(v.refs().TEACHDO_QUICK_MODE, std::to_string(in.mode));
    WizardStand::put(v.refs().PROINFLOW_RAW, std::to_string(in.flow));
    WizardStand::put(v.refs().DELTAFLOW_NEW, in.settled ? "1" : "0");
    WizardStand::put(v.refs().TEACH_MIN, std::to_string(in.min));
    WizardStand::put(v.refs().TEACH_MAX, std::to_string(in.max));
}

// The status message with its colour.
std::string message(const WizardStand& s) {
    const uint32_t c = s.statusColour();
    return s.status() + (c == kGreen ? " (green)" : c == kAmber ? " (amber)" : " (?)");
}

// Idle: the message and the manual inputs depend on the mode and, in max/min mode, on whether
// the taught span is usable. Inputs locked beforehand show which ones the update unlocked.
TEST_F(StateStepTest, IdleOffersTheInputsOfTheDevicesMode) {
    // Set buttons | fields | frames, upper case where enabled or shown.
    auto inputs = [](WizardStand& s) {
        auto flag = [](bool on, const char* up, const char* low) { return on ? up : low; };
        auto& v = s.v();
        return std::string(flag(childButton(v, "ComSetFL")->enabled(), "FL", "fl")) + " " +
               flag(childButton(v, "ComSetPara")->enabled(), "TP", "tp") + " " +
               flag(childButton(v, "ComSetQT")->enabled(), "QT", "qt") + "|" +
               flag(childTextBox(v, "LaTMax")->visible(), "MAXMIN", "maxmin") + " " +
               flag(childLabel(v, "LabelTQuick")->visible(), "QUICK", "quick") + "|" +
               flag(childFrame(v, "FrameFL")->visible(), "FL", "fl") + " " +
               flag(childFrame(v, "FrameQT")->visible(), "QT", "qt");
    };
    struct Case {
        Values in;
        const char* status;
        const char* inputs;
    };
    const std::vector<Case> cases = {
        {{.min = 100, .max = 109}, "IDS_FWZ_SELECT_TEACH (amber)", "fl tp qt|maxmin quick|FL qt"},
        {{.min = 100, .max = 110}, "IDS_FWZ_MAX_MIN_ACT (green)", "FL TP qt|MAXMIN quick|FL qt"},
        {{.fw = 0, .min = 100, .max = 150}, "IDS_FWZ_SELECT_TEACH (amber)", "fl tp qt|maxmin quick|FL qt"},
        {{.fw = 0, .min = 100, .max = 151}, "IDS_FWZ_MAX_MIN_ACT (green)", "FL TP qt|MAXMIN quick|FL qt"},
        {{.mode = 1}, "IDS_FWZ_QUICK_ACT (green)", "fl TP QT|maxmin QUICK|fl QT"},
        {{.fw = 0, .mode = 1}, "IDS_FWZ_QUICK_ACT (green)", "fl TP QT|maxmin quick|fl QT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases.data());
        WizardStand s = directView(c.in);
        load(s, c.in);
        auto& v = s.v();
        ViewTestSeam::enableSettingInput(v, wizard::SettingPane::Flow, false);
        ViewTestSeam::enableSettingInput(v, wizard::SettingPane::Temperature, false);
        ViewTestSeam::enableSettingInput(v, wizard::SettingPane::Quick, false);
        ViewTestSeam::showMaxMinFields(v, false);
        childLabel(v, "LabelTQuick")->setVisible(false);
        childButton(v, "ComTeachMaxMin")->setEnabled(false);
        childButton(v, "ComSetTeach")->setEnabled(true);
        childTextBox(v, "LaTMaxW")->setEnabled(true);
        ViewTestSeam::update(v);
        EXPECT_EQ(wizard::number(v.progress().mTeachState), 0);
        EXPECT_EQ(message(s), c.status);
        EXPECT_EQ(inputs(s), c.inputs);
        // Whatever the mode: ready to start either procedure, nothing to teach or set by hand.
        EXPECT_TRUE(childButton(v, "ComTeachMaxMin")->enabled());
        EXPECT_TRUE(childButton(v, "ComteachQuick")->enabled());
        EXPECT_FALSE(childButton(v, "ComSetTeach")->enabled());
        EXPECT_FALSE(childTextBox(v, "LaTMaxW")->enabled());
        EXPECT_EQ(triggers(s), "max min quick");
        EXPECT_TRUE(childButton(v, "ComTMax")->visible() && childButton(v, "ComTMin")->visible() &&
                    childButton(v, "ComTQuick")->visible());
    }
}

}  // namespace
}  // namespace qx::stand::test
