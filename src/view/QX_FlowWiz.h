#pragma once
// QX_FlowWiz: the flow wizard view the frame shows for a calorimetric flow monitor. Its member
// functions live by concern in view/ (lifecycle, toolbar, layout), device/ (binding, connection,
// polling) and wizard/ (view update, teach-in, manual settings); the trend pane it owns
// (display/TrendPane.h) holds the charts, their ranges and their time window.
//
// Everything runs on the UI thread of the container's scheduler. Its inside is private: a frame
// calls the frame interfaces, a person (or the console, the window, a test acting as one) uses
// the child controls through their models, found by name in Controls(), and everyone reads the
// view's state by concern through the const accessors. The teach-in's decisions are the wizard's
// logic (wizard/TeachIn.h), which shows what it decides through the view's WizardScreen side.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/CFilterCallbackModule.h"
#include "device/IuuidCollection.h"
#include "device/JobBook.h"
#include "device/ParameterRefs.h"
#include "display/ChartEvent.h"
#include "display/CtlLedIM.h"
#include "display/MyLabel.h"
#include "host/DataModel.h"
#include "host/Device.h"
#include "host/FrameServices.h"
#include "host/Resource.h"
#include "host/Slider.h"
#include "host/Toolbar.h"
#include "host/ViewInterfaces.h"
#include "platform/ChartObject.h"
#include "platform/Controls.h"
#include "platform/PackageInternal.h"
#include "platform/RuntimeError.h"
#include "platform/StandardControls.h"
#include "platform/Timer.h"
#include "view/ViewState.h"
#include "wizard/TeachIn.h"
#include "wizard/TeachState.h"
#include "wizard/WizardScreen.h"

namespace qx::display {
class TrendPane;
}
namespace qx::view {

using host::ParameterPtr;
using platform::must;
using platform::RuntimeError;
using platform::Variant;
using wizard::TeachCode;
using wizard::TeachMode;
using wizard::TeachState;

using display::ObjectEventInfo;

class QX_FLOW_INTERNAL QX_FlowWiz : public platform::Control,
                                    public host::Object,
                                    public host::IQX_ActiveXConfig2,
                                    public host::IQX_ActiveXApp,
                                    public host::IQX_ActiveXAppEvts,
                                    public host::IBase_CallbackModule,
                                    public host::IBase_Communication,
                                    public host::ISpec_Log,
                                    public device::IuuidCollection,
                                    private BindingState,
                                    private WizardProgress,
                                    private StatusLine,
                                    private FrameLink,
                                    private wizard::WizardScreen {
  public:
    // The container creates the view: the form design, then the creation steps.
    static std::shared_ptr<QX_FlowWiz> create(const platform::UiContext& ui);
    ~QX_FlowWiz() override;

    std::string className() const override { return "QX_FlowWiz"; }

    // ---- frame interfaces (view/Lifecycle.cpp, view/Toolbar.cpp, device/Connection.cpp) ----
    void IQX_ActiveXConfig2_init(const host::ObjectPtr& obj, const std::optional<std::string>& args,
                                 const std::optional<std::string>& argtype,
                                 const std::shared_ptr<host::IMessageHandler>& messagehandler) override;
    bool IQX_ActiveXConfig2_PrepareToRelease() override;
    void IQX_ActiveXApp_SetToolbar(const host::ToolbarPtr& ctrlToolbar) override;
    bool IQX_ActiveXApp_SetActionArea(const host::ObjectPtr& ctrlActionArea) override;
    host::ObjectPtr IQX_ActiveXApp_GetAppliedDataModel() override;
    bool IQX_ActiveXApp_RegisterCallback(const std::shared_ptr<host::ICallbackReceiver>& receiver) override;
    void IQX_ActiveXAppEvts_ActionAreaButtonClick(const std::string& key) override;
    void IQX_ActiveXAppEvts_ToolbarButtonClick(const host::ButtonPtr& button) override;
    void IQX_ActiveXAppEvts_ToolbarButtonMenuClick(const host::ObjectPtr& buttonMenu) override;
    void IBase_CallbackModule_OnLanguageChanged(const host::ObjectPtr& m) override;
    void IBase_CallbackModule_OnUnload(const host::ObjectPtr& m) override;
    void IBase_CallbackModule_OnEnvironmentChanged(const host::ObjectPtr& m, const std::string& key,
                                                   const Variant& value) override;
    void IBase_Communication_OnJobResponse(const std::string& id, const std::string& status,
                                           int32_t kind) override;
    void IBase_Communication_OnConnectStatusChanged(const std::string& status) override;
    void IBase_Communication_OnReleased() override;
    void ISpec_Log_Log(const std::string& kind, const std::string& DataObj, const std::string& data,
                       const Variant& ignored) override;
    void ISpec_Log_Init(const host::ObjectPtr& client) override;
    void IuuidCollection_OnCountChanged(int32_t difference) override;

    // ---- what the container does with the control it sites ----
    void UserControl_Resize();
    const platform::UiContext& ui() const { return ui_; }
    // The public chart factory; its range and title arguments were never used.
    std::shared_ptr<platform::ControlExtender> CreateChart(platform::Control* cont, const std::string& sname,
                                                           int16_t yMin, int16_t yMax, int16_t yB1,
                                                           int16_t yB2, const std::string& sTitle);

    // ---- the read-only surface: the child controls by name as models (a person's operations go
    // through their user entry points), and the view's state by concern ----
    platform::Controls& Controls() { return controls_; }
    const platform::Controls& Controls() const { return controls_; }
    const display::TrendPane& trend() const { return *trend_; }
    const device::JobBook& jobs() const { return jobs_; }
    const device::ParameterRefs& refs() const { return refs_; }
    const BindingState& binding() const { return *this; }
    const WizardProgress& progress() const { return *this; }
    const StatusLine& status() const { return *this; }
    const FrameLink& frame() const { return *this; }

  private:
    // ---- lifecycle and services (view/Lifecycle.cpp, view/Messages.cpp) ----
    void UserControl_Initialize();
    void UserControl_Terminate();
    void ReportMessage(const std::string& text, const std::string& caption);
    void ReportMessageWithDetails(const std::string& text, const std::string& caption);
    std::string WizardTitle();
    std::shared_ptr<host::IResource> GetResource();
    std::string lookUpText(const std::string& key);  // GetResource, then its text with option 0
    std::string messageCaption();                    // device name, a blank, WizardTitle

    // ---- toolbar (view/Toolbar.cpp) and layout (view/Layout.cpp) ----
    void mToolbar_ButtonClick(const host::ButtonPtr& button);
    std::string AddToolbarImages(const std::shared_ptr<host::IImageList>& imageList);
    void EnsureToolbarImages(const std::shared_ptr<host::IImageList>& imageList);
    void ResetPolling();

    // ---- data-model binding (device/Binding.cpp) ----
    void Init_Data_Universal(const host::ObjectPtr& obj, const std::string& module,
                             const std::string& context);
    void Init_Data(const host::DataModelPtr& model, const std::string& module, const std::string& context);

    // ---- connection and jobs (device/Connection.cpp) ----
    std::string SendReadJob(const host::ParameterList& items);
    std::string SendWriteJob(host::WriteItem& item);
    bool ConnectAndUploadDepends();

    // ---- polling and timers (device/Polling.cpp) ----
    void Timer1_Timer();
    void TimerCnt_Timer();
    void TimerState_Timer();
    host::ParameterList BuildPollList();
    void ReadValuesOnce();
    void ShowStatus(const std::string& text, int32_t style);
    void ClearLevelLamps(int16_t keep);
    void ComTest_Click();

    // ---- wizard (wizard/UpdateView.cpp, wizard/WizardFields.cpp) ----
    void UpdateView();
    void ShowMaxMinFields(bool show);
    bool IsSwitchPointAvailable();

    // ---- teach-in commands (wizard/TeachCommands.cpp) ----
    void ComTeachMaxMin_Click();
    void ComteachQuick_Click();
    void ComTMax_Click();
    void ComTMin_Click();
    void ComTQuick_Click();
    void ComTeachCancel_Click();
    void ComSetTeach_Click();
    void SetTeachMode(bool on);

    // ---- manual settings (wizard/ManualSettings.cpp) ----
    void ComSetFL_Click();
    void ComSetPara_Click();
    void ComSetQT_Click();
    void CheckFL_Click();
    void CheckTP_Click();
    void EnableFlowSwitchPointInput(bool enable);
    void EnableTempSwitchPointInput(bool enable);
    void EnableQuickOffsetInput(bool enable);

    // ---- the trend pane (display/TrendPane.h): the chart events pass to it ----
    void cPC1_ObjectEvent(const ObjectEventInfo& info);
    void cPC2_ObjectEvent(const ObjectEventInfo& info);

    // ================= child controls (view/FormDesign.cpp) =================
    std::shared_ptr<platform::Timer> TimerState, TimerCnt, Timer1;
    std::shared_ptr<platform::Frame> SF1, FrameChart, FrameTeachOption, FrameTeach, FrameFL, FrameTP, FrameQT;
    std::shared_ptr<platform::CheckBox> CheckFL, CheckTP, chkXmlUnknown;
    std::shared_ptr<platform::ScrollBar> HSMin, VSMax1, VSMin1, VSMax2, VSMin2;
    std::shared_ptr<display::MyLabel> LaDF, LaFS, LaLeDF, LaLeFS, LaLeSP, LaSp, LaLeTS, LaTS, LaUnit1,
        LaUnit2, LaTime;
    std::shared_ptr<platform::Label> LaMinMax, LaC1, LaC2, LaStatus;
    std::shared_ptr<platform::Label> LabelTMin, LabeTMax, LabelTQuick, Label1, LabBMi, LabBQ, LabBma;
    std::shared_ptr<platform::CommandButton> ComTeachMaxMin, ComteachQuick, ComTeachCancel, ComTest;
    std::shared_ptr<platform::CommandButton> ComTMin, ComTMax, ComTQuick, ComSetTeach, ComSetFL, ComSetPara,
        ComSetQT;
    std::shared_ptr<platform::CommandButton> Command1, cmdXmlExport;
    std::shared_ptr<platform::PictureBox> PicTeach;
    std::shared_ptr<platform::TextBox> LaTMin, LaTMax, LaTQuick, LaTMinW, LaTMaxW, LaTQuickW, Text1, Text11;
    std::shared_ptr<platform::ComboBox> CoQTOffset;
    std::shared_ptr<display::CtlLedIM> CtlLedIM1;

    // Logs "<operation>(): ONERROR: Error <n>: <message> (<description>)", as the entry points
    // report a failure they catch.
    void logOnError(const std::string& operation, const platform::RuntimeError& e);

    // Tests set up what no operation reaches on its own through this one seam (tests/ViewTestSeam.h).
    friend struct ViewTestSeam;

    explicit QX_FlowWiz(const platform::UiContext& ui);
    void buildForm();  // the form design: every child control with its container and events
    void buildTimers();
    void buildTrendPane();
    void buildTrendLabels();
    void buildStatusAndOptions();
    void buildTeachPanel();
    void buildSettingFrames();
    void buildHiddenControls();
    void stopTimers();         // Timer1, TimerCnt and TimerState, in that order
    void dropOwnReferences();  // the charts and sliders the view holds, then stopTimers
    std::shared_ptr<QX_FlowWiz> self();
    // The binding's steps (device/Binding.cpp), in the order Init_Data takes them.
    void takeDevice(const host::DevicePtr& device);  // with its communication object
    void applyModel(const host::DataModelPtr& model);
    void createAppliedModel();
    void detachFromModels();  // hands the models' callback registrations back
    void keepFilter(const std::shared_ptr<host::IBase_CallbackModule>& kept);
    void bindProcessValues();
    void loadTemperatureSlider();
    void loadFlowSlider();
    void bindTaughtLimits();
    void captionChartLegends();
    void bindTeachParameters();
    void chooseTeachMode();
    void captionSettingFrames();
    void fillToleranceList();
    void captionTeachPanel();
    void showSwitchPointLegend();
    void startAfresh();  // the charts and the wizard's inputs

    // What the wizard's logic shows and writes (view/TeachScreen.cpp).
    platform::CommandButton& buttonFor(wizard::TeachButton button);
    platform::Frame& paneFor(wizard::SettingPane pane);
    void showStatus(const char* textKey, wizard::StatusStyle style) override;
    void enableButton(wizard::TeachButton button, bool enabled) override;
    void showButton(wizard::TeachButton button, bool visible) override;
    void enableField(wizard::TeachField field, bool enabled) override;
    void showMaxMinFields(bool show) override;
    void showPane(wizard::SettingPane pane, bool visible) override;
    void enableSettingInput(wizard::SettingPane pane, bool enabled) override;
    bool switchPointAvailable() override;
    void resetLamps() override;
    void clearLamps() override;
    void setLamp(int16_t lamp, wizard::LampSignal signal, bool blink) override;
    void clearLevelLamps(int16_t keep) override;
    void startProcedureWindow() override;
    void endEditing() override;
    void updateView() override;
    void writeTeachCode(TeachCode code) override;
    void sendTeachJob() override;
    void sendTeachMode(bool on) override;
    void resetQuickOffset(int16_t value) override;

    // Write jobs whose answers the view tells apart from the rest.
    void sendTeachJob(ParameterPtr& parameter);
    void sendSettingJob(ParameterPtr& parameter);

    // The steps of UpdateView, in the order it runs them (wizard/UpdateView.cpp).
    void startTrendIfDue(int32_t now);
    void readTeachAndFlowValues();
    void computeSwitchPointFlow();
    void plotProcessValues(int32_t now);
    void loadSwitchInputs();
    void showTaughtValues();
    void showValueLabels();
    void showLegend();
    void showQuickTeachValue();
    void showPanes();

    // The steps of UserControl_Resize (view/Layout.cpp).
    int16_t layOutScrollForm();
    void limitChartsToHeight();
    void layOutCharts(int16_t H, bool flowShown, bool tempShown);
    void layOutChartSides(bool flowShown, bool tempShown);
    void layOutLabelRows(bool flowShown);
    void stackPanes();
    void layOutTeachPanel();

    // The steps of the release (view/Lifecycle.cpp).
    void releaseDeviceItems();
    bool deferReleaseWhileBusy();
    // When the release is deferred and nothing is outstanding, finishes it on the next turn
    // (device/ReleaseCompletion.cpp).
    void finishReleaseWithoutAnswers();
    void reportConnectFailed();

    // What the toolbar's buttons do (view/Toolbar.cpp).
    void followNewestWithSavedRanges();
    void restartTrendWindow();
    void switchEditing(bool pressed);
    void switchPolling(host::IButton& button);
    void toggleFunctionSwitch(const std::string& key);

    platform::UiContext ui_;
    platform::Controls controls_;
    std::unique_ptr<display::TrendPane> trend_;
    // After the model, so that the pending collection hands back its count while the model is
    // still there.
    device::JobBook jobs_;
    device::ParameterRefs refs_;
    wizard::TeachIn teachIn_{*this, *this, *this};
};

}  // namespace qx::view
