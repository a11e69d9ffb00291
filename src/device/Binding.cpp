// Binding the view to what the frame hands over: the device object with its communication
// object, the applied data model, and the device's parameters found by module, group and name
// where the device's table places them, with the sliders, captions and tolerance list that
// follow from them.
#include <string>

#include "display/TrendPane.h"
#include "support/DebugLog.h"
#include "view/Colours.h"
#include "view/QX_FlowWiz.h"

namespace qx::view {

using platform::ignoreErrors;

namespace {

using device::ParameterRefs;

// During the set-up a caption that cannot be built stays as it was.
template <class Control, class Text>
void setCaption(const std::shared_ptr<Control>& control, Text&& text) {
    ignoreErrors([&] { control->setCaption(text()); });
}

// A device of the saving category keeps its taught limits apart. Whatever cannot be read leaves
// the index 0 or the category empty, so such a device counts as not of that category.
bool isOfSavingCategory(const host::IDataModel& model, const std::string& savingCategory) {
    std::shared_ptr<host::IDeviceDescription> description;
    std::shared_ptr<host::IDatabase> database;
    std::shared_ptr<host::IRecordset> modules, categories;
    int32_t busCategory = 0;
    std::string category;
    ignoreErrors([&] { description = model.description(); });
    ignoreErrors([&] { database = must(must(description).settings()).database(); });
    ignoreErrors([&] {
        modules = must(database).query("Select * from Buscategories where module=" +
                                       must(description).item("IDX").toText());
    });
    ignoreErrors([&] { busCategory = must(modules).field("busCategory").toInt32(); });
    ignoreErrors([&] {
        categories = must(database).query("Select * from BusCategoryTypes where BusCat_idx=" +
                                          std::to_string(busCategory));
    });
    ignoreErrors([&] { category = must(categories).field("category").toText(); });
    return category == savingCategory;
}

}  // namespace

void QX_FlowWiz::Init_Data_Universal(const host::ObjectPtr& obj, const std::string& module,
                                     const std::string& context) {
    try {
        const std::string moduleName = module.empty() ? mModule : module;
        const std::string contextName = context.empty() ? mContext : context;
        if (!obj) {
            Init_Data(nullptr, moduleName, contextName);
        } else if (auto model = std::dynamic_pointer_cast<host::IDataModel>(obj)) {
            Init_Data(model, moduleName, contextName);
        } else if (auto device = std::dynamic_pointer_cast<host::IDevice>(obj)) {
            // The first device object stays for the view's life; a later one only brings its model.
            if (!mDevice) takeDevice(device);
            Init_Data(device->datamodel(), moduleName, contextName);
        }
    } catch (const RuntimeError& e) {
        logOnError("Init_Data_Universal", e);
    }
}

void QX_FlowWiz::takeDevice(const host::DevicePtr& device) {
    mDevice = device;
    try {
        mSpecComm = device->CreateCommunication();
    } catch (const RuntimeError& e) {
        platform::ErrorLineScope scope(e);
        support::DebugLog(
            *this,
            "Init_Data_Universal(): ERROR: when calling CreateCommunication(): " + platform::errorSummary(e),
            "");
    }
    if (mSpecComm) {
        mSpecComm->SetReceiver(std::weak_ptr<host::IBase_Communication>(self()));
        jobs_.reportCountTo(this);
    }
}

void QX_FlowWiz::Init_Data(const host::DataModelPtr& model, const std::string& module,
                           const std::string& context) {
    if (!model && module == mModule && context == mContext) return;
    try {
        applyModel(model);
        if (context != mContext) jobs_.forgetPollButton();
        mModule = module;
        mContext = context;
        if (!mModel) return;
        must(must(mModel->description()).environment()).put("CONTEXT_COMM", mContext);
        refs_.readTable(*mModel);
        mCategoryMatch = isOfSavingCategory(*mModel, refs_.table.savingCategory);
        must(GetResource()).setLanguage(must(mModel->settings()).language());
        must(must(mModel->description()).environment()).put("SRC", "DEV");
        mModel->registerView(std::weak_ptr<host::Object>(self()));
    } catch (const RuntimeError& e) {
        logOnError("Init_Data", e);
        return;
    }

    // From here on a statement that fails is skipped and the set-up goes on.
    bindProcessValues();
    loadTemperatureSlider();
    refs_.bind(&ParameterRefs::TEACHDO_SWPOINT, *mModel, mCategoryMatch);
    loadFlowSlider();
    bindTaughtLimits();
    captionChartLegends();
    bindTeachParameters();
    chooseTeachMode();
    captionSettingFrames();
    fillToleranceList();
    captionTeachPanel();
    showSwitchPointLegend();
    startAfresh();
}

void QX_FlowWiz::applyModel(const host::DataModelPtr& model) {
    if (!mModel) {
        mFrameModel = model;
        if (model) {
            if (support::IsCombineModels())
                mModel = mFrameModel;
            else
                createAppliedModel();
        }
        return;
    }
    detachFromModels();
    if (!model || model == mFrameModel) {
        must(mModel->settings()).setLanguage(must(mFrameModel->settings()).language());
        return;
    }
    mFrameModel = model;
    if (support::IsCombineModels()) {
        mModel = mFrameModel;
    } else {
        must(mModel->settings()).reset();
        createAppliedModel();
    }
}

void QX_FlowWiz::createAppliedModel() {
    // The view works on its own copy of the frame's model, sharing the environment values.
    mModel = must(must(mFrameModel).description()).createModel();
    auto& frameEnvironment = must(must(mFrameModel->description()).environment());
    frameEnvironment.link(must(must(mModel).description()).environment());
}

void QX_FlowWiz::detachFromModels() {
    if (mModule != "$$MODULE") {
        ignoreErrors([this] {
            auto& viewModule = must(must(mModel->viewModules()).item(mModule));
            must(must(viewModule.contexts()).item(mContext)).notify(self());
        });
        keepFilter(mModel->exchangeCallback(mFilter));
    } else {
        mModel->exchangeCallback(std::static_pointer_cast<host::IBase_CallbackModule>(self()));
    }
    keepFilter(must(mFrameModel).exchangeCallback(mFilter));
    must(mFilter).DetachTarget();
}

void QX_FlowWiz::keepFilter(const std::shared_ptr<host::IBase_CallbackModule>& kept) {
    // What the model hands back from a callback registration is the filter to keep.
    mFilter = std::dynamic_pointer_cast<device::CFilterCallbackModule>(kept);
    if (kept && !mFilter) platform::raise(platform::kTypeMismatch);
}

void QX_FlowWiz::bindProcessValues() {
    refs_.bind(&ParameterRefs::QUICK_2, *mModel, mCategoryMatch);
    refs_.bind(&ParameterRefs::PROINFLOW_RAW, *mModel, mCategoryMatch);
    refs_.bind(&ParameterRefs::DELTAFLOW_NEW, *mModel, mCategoryMatch);
    refs_.bind(&ParameterRefs::PROINTEMP, *mModel, mCategoryMatch);
    refs_.bind(&ParameterRefs::SWPOINT, *mModel, mCategoryMatch);
}

void QX_FlowWiz::loadTemperatureSlider() {
    auto slider = [this]() -> host::ISlider& { return must(mSliderTP.object); };
    ignoreErrors([&] { slider().setProperty("MaxValue", must(refs_.SWPOINT).maximum()); });
    ignoreErrors([&] { slider().setProperty("MinValue", must(refs_.SWPOINT).minimum()); });
    ignoreErrors([&] { slider().setProperty("unit", must(refs_.SWPOINT).unit()); });
    ignoreErrors([&] { slider().UpdateLimits(); });
    ignoreErrors([&] { slider().setProperty("value", must(refs_.SWPOINT).valueText()); });
    ignoreErrors([&] { slider().setProperty("Step", 1); });
}

void QX_FlowWiz::loadFlowSlider() {
    // The flow switch point is a percentage of the taught span: it starts at 0 whatever the
    // parameter's own minimum.
    auto slider = [this]() -> host::ISlider& { return must(mSliderFL.object); };
    ignoreErrors([&] { slider().setProperty("MaxValue", must(refs_.TEACHDO_SWPOINT).maximum()); });
    ignoreErrors([&] { slider().setProperty("MinValue", 0); });
    ignoreErrors([&] { slider().setProperty("unit", must(refs_.TEACHDO_SWPOINT).unit()); });
    ignoreErrors([&] { slider().UpdateLimits(); });
    ignoreErrors([&] { slider().setProperty("Step", 1); });
    ignoreErrors([&] { slider().setProperty("value", must(refs_.TEACHDO_SWPOINT).valueText()); });
}

void QX_FlowWiz::bindTaughtLimits() {
    refs_.bind(&ParameterRefs::DELTAFLOW_RAW, *mModel, mCategoryMatch);
    // The table places the taught limits by the bus category found above.
    refs_.bind(&ParameterRefs::TEACH_MAX, *mModel, mCategoryMatch);
    refs_.bind(&ParameterRefs::TEACH_MIN, *mModel, mCategoryMatch);
}

void QX_FlowWiz::captionChartLegends() {
    setCaption(LaC1, [&] { return lookUpText("IDS_Temperaturdiagramm") + " - "; });
    setCaption(LaLeDF, [&] { return must(refs_.PROINTEMP).displayName(); });
    LaLeDF->setForeColor(kTemperatureColour);
    LaDF->setForeColor(kTemperatureColour);
    setCaption(LaLeTS, [&] { return must(refs_.SWPOINT).displayName() + ", "; });
    LaLeTS->setForeColor(kRed);
    LaTS->setForeColor(kRed);
    setCaption(LaC2, [&] { return lookUpText("IDS_Stroemungsdiagramm") + " - "; });
    setCaption(LaLeFS, [&] { return must(refs_.PROINFLOW_RAW).displayName(); });
    setCaption(LabelTMin, [&] { return must(refs_.TEACH_MIN).displayName(); });
    setCaption(LabeTMax, [&] { return must(refs_.TEACH_MAX).displayName(); });
    LaUnit1->setCaption("[" + refs_.table.flowUnit + "]");
    LaUnit2->setCaption("[" + refs_.table.temperatureUnit + "]");
    LaTime->setCaption("");
}

void QX_FlowWiz::bindTeachParameters() {
    refs_.bind(&ParameterRefs::TEACHDO_QUICK_MODE, *mModel, mCategoryMatch);
    refs_.bind(&ParameterRefs::TEACHDO_QUICK, *mModel, mCategoryMatch);
    refs_.bind(&ParameterRefs::FLOWSP_RAW, *mModel, mCategoryMatch);
    refs_.bind(&ParameterRefs::FLOWSPQT_RAW, *mModel, mCategoryMatch);
}

void QX_FlowWiz::chooseTeachMode() {
    // A device without a valid quick-teach mode only knows the max/min teach.
    if (!refs_.TEACHDO_QUICK_MODE) {
        mTeachMode = wizard::TeachMode::MaxMin;
        return;
    }
    ignoreErrors([&] {
        if (refs_.TEACHDO_QUICK_MODE->noValue() != 0) {
            refs_.TEACHDO_QUICK_MODE.reset();
            mTeachMode = wizard::TeachMode::MaxMin;
        } else {
            mQuickButtonVisible = true;
            mTeachMode = wizard::TeachMode::None;
        }
    });
}

void QX_FlowWiz::captionSettingFrames() {
    setCaption(FrameTP, [&] { return must(refs_.SWPOINT).displayName(); });
    setCaption(FrameFL, [&] { return must(refs_.TEACHDO_SWPOINT).displayName(); });
    ignoreErrors([&] { FrameFL->setVisible(IsSwitchPointAvailable()); });
    setCaption(FrameQT, [&] { return must(refs_.TEACHDO_QUICK).displayName(); });
    FrameQT->setVisible(false);
    ignoreErrors([&] { mSwitchPointSettable = IsSwitchPointAvailable(); });
}

void QX_FlowWiz::fillToleranceList() {
    ignoreErrors([&] { mFwVersion = must(mModel->description()).item("FWversion").toInt16(); });
    CoQTOffset->clear();
    const device::ToleranceList& tolerances = refs_.table.tolerancesFor(mFwVersion);
    for (const std::string& text : tolerances.texts) CoQTOffset->addItem(text);
    ignoreErrors([&] { CoQTOffset->setListIndex(tolerances.zero); });
}

void QX_FlowWiz::captionTeachPanel() {
    setCaption(LabelTQuick, [&] { return lookUpText("IDS_FWZ_QTV"); });
    setCaption(FrameTeach, [&] { return lookUpText("IDS_FWZ_TEACH_PROC"); });
    setCaption(FrameTeachOption, [&] { return lookUpText("IDS_FWZ_TEACH_OPT"); });
    setCaption(ComSetPara, [&] { return lookUpText("IDS_FWZ_SET"); });
    setCaption(ComSetFL, [&] { return lookUpText("IDS_FWZ_SET"); });
    setCaption(ComSetQT, [&] { return lookUpText("IDS_FWZ_SET"); });
    setCaption(ComTMax, [&] { return lookUpText("IDS_TMax"); });
    setCaption(ComTMin, [&] { return lookUpText("IDS_TMin"); });
    setCaption(ComTQuick, [&] { return lookUpText("IDS_TQuick"); });
    setCaption(ComTeachMaxMin, [&] { return lookUpText("IDS_TMAX_MIN"); });
    setCaption(ComteachQuick, [&] { return lookUpText("IDS_TSQUICK"); });
    setCaption(ComTeachCancel, [&] { return lookUpText("IDS_TCANCEL"); });
}

void QX_FlowWiz::showSwitchPointLegend() {
    mSwitchPointFlow = -1;
    setCaption(LaLeSP,
               [&] { return refs_.FLOWSP_RAW ? refs_.FLOWSP_RAW->displayName() + ", " : std::string(); });
    LaSp->setCaption("");
    LaLeSP->setForeColor(kBlue);
    LaSp->setForeColor(kBlue);
    LaLeFS->setForeColor(kFlowColour);
    LaFS->setForeColor(kFlowColour);
    // A device without a quick-teach switch point says so in both quick-teach fields.
    ignoreErrors([&] {
        if (refs_.FLOWSP_RAW && !device::ParameterRefs::hasValue(refs_.FLOWSP_RAW)) {
            LaTQuick->setText("n. def.");
            LaTQuickW->setText("n. def.");
        }
    });
}

void QX_FlowWiz::startAfresh() {
    // The charts scale afresh to the values that follow.
    trend_->startAfresh();
    mRefreshSwitchInputs = true;

    FrameTeachOption->setEnabled(false);
    setCaption(ComSetTeach, [&] { return lookUpText("IDS_SET_MANUAL"); });
    ignoreErrors([&] { trend_->ClearChart(trend_->flow); });
    ignoreErrors([&] { trend_->ClearChart(trend_->temp); });
    trend_->forgetStart();
}

}  // namespace qx::view
