// The form design of the view: every child control with its container, design-time size and
// event wiring. Captions the user sees are set at run time by text look-ups; the ones here are
// placeholders. Positions the layout does not compute are the design positions below.
#include "display/TrendPane.h"
#include "view/Colours.h"
#include "view/QX_FlowWiz.h"

namespace qx::view {

namespace {

template <class T, class... Args>
std::shared_ptr<T> place(platform::Controls& controls, platform::Control* container, int32_t left,
                         int32_t top, int32_t width, int32_t height, Args&&... args) {
    auto c = std::make_shared<T>(std::forward<Args>(args)...);
    c->move(left, top, width, height);
    controls.adopt(c, container);
    return c;
}

// The teach panel's left part, 4240 wide, in columns 45 apart: the lamps, the captions (two lines
// high, so that longer languages wrap instead of being cut), the taught values, the values to
// write, the state marks and the buttons. ComTQuick shares ComTMax's place: the teach mode shows
// one of the two rows.
constexpr int32_t kCaptionLeft = 480, kCaptionWidth = 1005, kCaptionHeight = 465, kCaptionAbove = 75;
constexpr int32_t kValueWidth = 540;
constexpr int32_t kTaughtLeft = kCaptionLeft + kCaptionWidth + 45;
constexpr int32_t kToWriteLeft = kTaughtLeft + kValueWidth + 45;
constexpr int32_t kMarkLeft = kToWriteLeft + kValueWidth + 45, kMarkWidth = 135;
constexpr int32_t kButtonLeft = kMarkLeft + kMarkWidth + 45,
                  kButtonWidth = 4215 - kButtonLeft;  // 25 short of the setting frames
constexpr int32_t kSetButtonWidth = 975;

}  // namespace

void QX_FlowWiz::buildForm() {
    setWidth(12120);
    setHeight(9000);
    buildTimers();
    SF1 = place<platform::Frame>(controls_, this, 0, 0, 12120, 9000, "SF1", "QX_BaseControls.QXScrollForm");
    buildTrendPane();
    buildStatusAndOptions();
    buildTeachPanel();
    buildHiddenControls();
}

// Disabled at design time.
void QX_FlowWiz::buildTimers() {
    auto& c = controls_;
    auto& sched = ui_.scheduler;
    TimerState = place<platform::Timer>(c, this, 0, 0, 0, 0, "TimerState", sched, 2000);
    TimerCnt = place<platform::Timer>(c, this, 0, 0, 0, 0, "TimerCnt", sched, 1000);
    Timer1 = place<platform::Timer>(c, this, 0, 0, 0, 0, "Timer1", sched, 1000);
    TimerState->Tick = [this] { TimerState_Timer(); };
    TimerCnt->Tick = [this] { TimerCnt_Timer(); };
    Timer1->Tick = [this] { Timer1_Timer(); };
}

// The charts come at run time; the check boxes, the scroll bars and the label rows are here.
void QX_FlowWiz::buildTrendPane() {
    auto& c = controls_;
    FrameChart = place<platform::Frame>(c, SF1.get(), 0, -210, 11910, 4200, "FrameChart");
    FrameChart->setVisible(false);
    CheckFL = place<platform::CheckBox>(c, FrameChart.get(), 120, 240, 255, 255, "CheckFL");
    CheckTP = place<platform::CheckBox>(c, FrameChart.get(), 120, 540, 255, 255, "CheckTP");
    CheckFL->setValue(1);  // both charts are shown at design time
    CheckTP->setValue(1);
    CheckFL->Click = [this] { CheckFL_Click(); };
    CheckTP->Click = [this] { CheckTP_Click(); };
    HSMin = place<platform::ScrollBar>(c, FrameChart.get(), 360, 3900, 11040, 255, "HSMin", true, 0,
                                       display::kFollowNewest);
    HSMin->setValue(display::kFollowNewest);
    auto vscroll = [&](const char* name, int32_t top) {
        return place<platform::ScrollBar>(c, FrameChart.get(), 60, top, 255, 735, name, false, -10000, 10000);
    };
    VSMax1 = vscroll("VSMax1", 600);
    VSMin1 = vscroll("VSMin1", 1400);
    VSMax2 = vscroll("VSMax2", 2400);
    VSMin2 = vscroll("VSMin2", 3200);
    for (auto* bar : {VSMax1.get(), VSMin1.get(), VSMax2.get(), VSMin2.get()}) bar->setValue(0);
    trend_->attachBars(HSMin, VSMax1, VSMin1, VSMax2, VSMin2);
    HSMin->Change = [this] { trend_->HSMin_Change(); };
    VSMax1->Change = [this] { trend_->VSMax1_Change(); };
    VSMin1->Change = [this] { trend_->VSMin1_Change(); };
    VSMax2->Change = [this] { trend_->VSMax2_Change(); };
    VSMin2->Change = [this] { trend_->VSMin2_Change(); };
    buildTrendLabels();
}

void QX_FlowWiz::buildTrendLabels() {
    auto& c = controls_;
    const auto& metrics = ui_.textMetrics;
    auto myLabel = [&](const char* name, int32_t left, int32_t top) {
        return place<display::MyLabel>(c, FrameChart.get(), left, top, 810, 270, name, metrics);
    };
    LaC2 = place<platform::Label>(c, FrameChart.get(), 420, 240, 1900, 255, "LaC2");
    LaLeFS = myLabel("LaLeFS", 2560, 240);
    LaFS = myLabel("LaFS", 3430, 240);
    LaMinMax = place<platform::Label>(c, FrameChart.get(), 4300, 240, 2000, 255, "LaMinMax");
    LaMinMax->sizeToCaption(metrics);  // the legend line goes on right after it
    LaLeSP = myLabel("LaLeSP", 6300, 240);
    LaSp = myLabel("LaSp", 7170, 240);
    LaC1 = place<platform::Label>(c, FrameChart.get(), 420, 540, 1900, 255, "LaC1");
    LaLeDF = myLabel("LaLeDF", 2320, 540);
    LaDF = myLabel("LaDF", 3190, 540);
    LaLeTS = myLabel("LaLeTS", 4060, 540);
    LaTS = myLabel("LaTS", 4930, 540);
    LaUnit1 = myLabel("LaUnit1", 120, 555);
    LaUnit2 = myLabel("LaUnit2", 120, 2355);
    LaTime = myLabel("LaTime", 11000, 540);
}

// The status line and the teach-in option buttons.
void QX_FlowWiz::buildStatusAndOptions() {
    auto& c = controls_;
    LaStatus = place<platform::Label>(c, SF1.get(), 0, 4050, 11850, 375, "LaStatus");
    LaStatus->setFontBold(true);
    LaStatus->setBackColor(kGreen);

    FrameTeachOption = place<platform::Frame>(c, SF1.get(), 0, 4485, 11850, 735, "FrameTeachOption");
    ComTeachMaxMin =
        place<platform::CommandButton>(c, FrameTeachOption.get(), 120, 240, 1935, 375, "ComTeachMaxMin");
    ComteachQuick =
        place<platform::CommandButton>(c, FrameTeachOption.get(), 2175, 240, 1935, 375, "ComteachQuick");
    ComTeachCancel =
        place<platform::CommandButton>(c, FrameTeachOption.get(), 4230, 240, 1455, 375, "ComTeachCancel");
    ComTest = place<platform::CommandButton>(c, FrameTeachOption.get(), 10200, 240, 1215, 375, "ComTest");
    ComTest->setVisible(false);
    ComTeachMaxMin->Click = [this] { ComTeachMaxMin_Click(); };
    ComteachQuick->Click = [this] { ComteachQuick_Click(); };
    ComTeachCancel->Click = [this] { ComTeachCancel_Click(); };
    ComTest->Click = [this] { ComTest_Click(); };
}

// The teach panel; its left part keeps the design positions below.
void QX_FlowWiz::buildTeachPanel() {
    auto& c = controls_;
    FrameTeach = place<platform::Frame>(c, SF1.get(), 0, 5280, 11850, 1860, "FrameTeach");
    FrameTeach->setVisible(false);
    PicTeach = place<platform::PictureBox>(c, FrameTeach.get(), 150, 180, 11550, 1620, "PicTeach");
    auto* pic = PicTeach.get();
    CtlLedIM1 = place<display::CtlLedIM>(c, pic, 120, 60, display::CtlLedIM::kDesignWidth,
                                         display::CtlLedIM::kDesignHeight, "CtlLedIM1", ui_.scheduler);
    auto label = [&](const char* name, int32_t left, int32_t top, int32_t width) {
        return place<platform::Label>(c, pic, left, top, width, 255, name);
    };
    // A caption beside a row of value fields whose top is `top`.
    auto caption = [&](const char* name, int32_t top) {
        return place<platform::Label>(c, pic, kCaptionLeft, top - kCaptionAbove, kCaptionWidth,
                                      kCaptionHeight, name);
    };
    auto textBox = [&](const char* name, int32_t left, int32_t top) {
        return place<platform::TextBox>(c, pic, left, top, kValueWidth, 315, name);
    };
    auto button = [&](const char* name, int32_t left, int32_t top) {
        return place<platform::CommandButton>(c, pic, left, top, kButtonWidth, 375, name);
    };
    LabeTMax = caption("LabeTMax", 90);
    LaTMax = textBox("LaTMax", kTaughtLeft, 90);
    LaTMaxW = textBox("LaTMaxW", kToWriteLeft, 90);
    LabBma = label("LabBma", kMarkLeft, 120, kMarkWidth);
    ComTMax = button("ComTMax", kButtonLeft, 60);
    LabelTMin = caption("LabelTMin", 570);
    LaTMin = textBox("LaTMin", kTaughtLeft, 570);
    LaTMinW = textBox("LaTMinW", kToWriteLeft, 570);
    LabBMi = label("LabBMi", kMarkLeft, 600, kMarkWidth);
    ComTMin = button("ComTMin", kButtonLeft, 540);
    LabelTQuick = caption("LabelTQuick", 90);
    LaTQuick = textBox("LaTQuick", kTaughtLeft, 90);
    LaTQuickW = textBox("LaTQuickW", kToWriteLeft, 90);
    LabBQ = label("LabBQ", kMarkLeft, 120, kMarkWidth);
    ComTQuick = button("ComTQuick", kButtonLeft, 60);
    Label1 = label("Label1", kCaptionLeft, 1140, kCaptionWidth);
    ComSetTeach = button("ComSetTeach", kButtonLeft, 1080);
    ComTMax->Click = [this] { ComTMax_Click(); };
    ComTMin->Click = [this] { ComTMin_Click(); };
    ComTQuick->Click = [this] { ComTQuick_Click(); };
    ComSetTeach->Click = [this] { ComSetTeach_Click(); };
    buildSettingFrames();
}

// The setting frames right of the teach panel's left part; the layout sizes them.
void QX_FlowWiz::buildSettingFrames() {
    auto& c = controls_;
    auto* pic = PicTeach.get();
    FrameFL = place<platform::Frame>(c, pic, 4240, 0, 3560, 1500, "FrameFL");
    ComSetFL = place<platform::CommandButton>(c, FrameFL.get(), 2460, 300, kSetButtonWidth, 375, "ComSetFL");
    FrameTP = place<platform::Frame>(c, pic, 7890, 0, 3560, 1500, "FrameTP");
    ComSetPara =
        place<platform::CommandButton>(c, FrameTP.get(), 2460, 300, kSetButtonWidth, 375, "ComSetPara");
    FrameQT = place<platform::Frame>(c, pic, 4240, 0, 3560, 1500, "FrameQT");
    CoQTOffset = place<platform::ComboBox>(c, FrameQT.get(), 120, 300, 1960, 315, "CoQTOffset");
    ComSetQT = place<platform::CommandButton>(c, FrameQT.get(), 2460, 300, kSetButtonWidth, 375, "ComSetQT");
    ComSetFL->Click = [this] { ComSetFL_Click(); };
    ComSetPara->Click = [this] { ComSetPara_Click(); };
    ComSetQT->Click = [this] { ComSetQT_Click(); };
}

// Hidden at design time; no role in the layout.
void QX_FlowWiz::buildHiddenControls() {
    auto& c = controls_;
    Command1 = place<platform::CommandButton>(c, this, 0, 0, 1215, 375, "Command1");
    cmdXmlExport = place<platform::CommandButton>(c, this, 0, 0, 1215, 375, "cmdXmlExport");
    chkXmlUnknown = place<platform::CheckBox>(c, this, 0, 0, 1215, 255, "chkXmlUnknown");
    Text1 = place<platform::TextBox>(c, this, 0, 0, 1215, 315, "Text1");
    Text11 = place<platform::TextBox>(c, this, 0, 0, 1215, 315, "Text11");
    for (platform::Control* hidden : std::initializer_list<platform::Control*>{
             Command1.get(), cmdXmlExport.get(), chkXmlUnknown.get(), Text1.get(), Text11.get()})
        hidden->setVisible(false);
}

// The chart wrappers' events and the public chart factory belong to the trend pane; the
// factory's range and title arguments were never used.
std::shared_ptr<platform::ControlExtender> QX_FlowWiz::CreateChart(platform::Control* cont,
                                                                   const std::string& sname, int16_t, int16_t,
                                                                   int16_t, int16_t, const std::string&) {
    return trend_->createChart(cont, sname);
}

void QX_FlowWiz::cPC1_ObjectEvent(const ObjectEventInfo& info) {
    trend_->chartEvent(info);
}

void QX_FlowWiz::cPC2_ObjectEvent(const ObjectEventInfo& info) {
    trend_->chartEvent(info);
}

}  // namespace qx::view
