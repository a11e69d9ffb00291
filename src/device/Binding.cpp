// Binding the view to what the frame hands over: the device object with its communication
// object, the applied data model, and the flow monitor's parameters found by module, group and
// name, with the sliders, captions and tolerance list that follow from them.
#include <array>
#include <string>

#include "display/TrendPane.h"
#include "support/DebugLog.h"
#include "view/Colours.h"
#include "view/QX_FlowWiz.h"

namespace qx::view {

using platform::ignoreErrors;

namespace {

// The bus category whose devices keep their taught limits in the *_SAVE parameters.
constexpr const char* kSaveCategory = "2C4CD8B8-D509-4ECB-94A7-019F12569C8B";

// Quick-teach tolerances, largest positive offset first; " 0 %" is the initial choice.
constexpr std::array<const char*, 8> kTolerances = {" 6,0 %", " 4,5 %", " 3,0 %", " 1,5 %",
                                                    " 0 %",   "-1,5 %", "-3,0 %", "-4,5 %"};
constexpr int32_t kToleranceZero = 4;
constexpr std::array<const char*, 17> kTolerancesFw1 = {
    " 4,0 %", " 3,5 %", " 3,0 %", " 2,5 %", " 2,0 %", " 1,5 %", " 1,0 %", " 0,5 %", " 0 %",
    "-0,5 %", "-1,0 %", "-1,5 %", "-2,0 %", "-2,5 %", "-3,0 %", "-3,5 %", "-4,0 %"};
constexpr int32_t kToleranceZeroFw1 = 8;

// description → module → group → value object → parameter, each by name.
ParameterPtr lookUpParameter(const host::IDataModel& model, const std::string& module,
                             const std::string& group, const std::string& name) {
    auto& modules = must(must(model.description()).modules());
    auto& groups = must(must(modules.item(module)).groups());
    auto& valueObjects = must(must(groups.item(group)).valueObjects());
    return must(valueObjects.item(name)).parameter();
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
            if (!mDevice) {
                mDevice = device;
                try {
                    mSpecComm = device->CreateCommunication();
                } catch (const RuntimeError& e) {
                    platform::ErrorLineScope scope(e);
                    support::DebugLog(*this,
                                      "Init_Data_Universal(): ERROR: when calling CreateCommunication(): " +
                                          platform::errorSummary(e),
                                      "");
                }
                if (mSpecComm) {
                    mSpecComm->SetReceiver(std::weak_ptr<host::IBase_Communication>(self()));
                    jobs_.reportCountTo(this);
                }
            }
            Init_Data(device->datamodel(), moduleName, contextName);
        }
    } catch (const RuntimeError& e) {
        logOnError("Init_Data_Universal", e);
    }
}

void QX_FlowWiz::Init_Data(const host::DataModelPtr& model, const std::string& module,
                           const std::string& context) {
    if (!model && module == mModule && context == mContext) return;

    // The model the frame hands back from a callback registration is the filter to keep.
    auto keepFilter = [this](const std::shared_ptr<host::IBase_CallbackModule>& kept) {
        mFilter = std::dynamic_pointer_cast<device::CFilterCallbackModule>(kept);
        if (kept && !mFilter) platform::raise(platform::kTypeMismatch);
    };
    // The view works on its own copy of the frame's model, sharing the environment values.
    auto createAppliedModel = [this] {
        mModel = must(must(mFrameModel).description()).createModel();
        auto& frameEnvironment = must(must(mFrameModel->description()).environment());
        frameEnvironment.link(must(must(mModel).description()).environment());
    };

    try {
        if (!mModel) {
            mFrameModel = model;
            if (model) {
                if (support::IsCombineModels())
                    mModel = mFrameModel;
                else
                    createAppliedModel();
            }
        } else {
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
            if (!model || model == mFrameModel) {
                must(mModel->settings()).setLanguage(must(mFrameModel->settings()).language());
            } else {
                mFrameModel = model;
                if (support::IsCombineModels()) {
                    mModel = mFrameModel;
                } else {
                    must(mModel->settings()).reset();
                    createAppliedModel();
                }
            }
        }
        if (context != mContext) jobs_.forgetPollButton();
        mModule = module;
        mContext = context;
        if (!mModel) return;
        must(must(mModel->description()).environment()).put("CONTEXT_COMM", mContext);

        // Bus category: a device of the saving category keeps its taught limits apart. Whatever
        // cannot be read leaves the index 0 or the category empty.
        std::shared_ptr<host::IDeviceDescription> description;
        std::shared_ptr<host::IDatabase> database;
        std::shared_ptr<host::IRecordset> modules, categories;
        int32_t busCategory = 0;
        std::string category;
        ignoreErrors([&] { description = mModel->description(); });
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
        mCategoryMatch = category == kSaveCategory;

        must(GetResource()).setLanguage(must(mModel->settings()).language());
        must(must(mModel->description()).environment()).put("SRC", "DEV");
        mModel->registerView(std::weak_ptr<host::Object>(self()));
    } catch (const RuntimeError& e) {
        logOnError("Init_Data", e);
        return;
    }

    // From here on a statement that fails is skipped and the set-up goes on. A reference whose
    // look-up fails is none, never the parameter of an earlier model.
    const host::IDataModel& applied = *mModel;
    auto bind = [&applied](ParameterPtr& ref, const char* moduleName, const char* group, const char* name) {
        ref.reset();
        ignoreErrors([&] { ref = lookUpParameter(applied, moduleName, group, name); });
    };
    auto skip = [](auto&& statement) { ignoreErrors(statement); };
    auto setCaption = [&](auto& control, auto&& text) { skip([&] { control->setCaption(text()); }); };

    bind(pQUICK_2, "SYSTEM_FMX", "DUMMY", "QUICK_2");
    bind(pPROINFLOW_RAW, "PROIN_FMX", "PROIN", "PROINFLOW_RAW");
    bind(pDELTAFLOW_NEW, "PROIN_FMX", "PROIN", "DELTAFLOW_NEW");
    bind(pPROINTEMP, "PROIN_FMX", "PROIN", "PROINTEMP");
    bind(pSWPOINT, "MEDIA_FMX", "MEDIA", "SWPOINT");
    {
        auto slider = [this]() -> host::ISlider& { return must(mSliderTP.object); };
        skip([&] { slider().setProperty("MaxValue", must(pSWPOINT).maximum()); });
        skip([&] { slider().setProperty("MinValue", must(pSWPOINT).minimum()); });
        skip([&] { slider().setProperty("unit", must(pSWPOINT).unit()); });
        skip([&] { slider().UpdateLimits(); });
        skip([&] { slider().setProperty("value", must(pSWPOINT).valueText()); });
        skip([&] { slider().setProperty("Step", 1); });
    }
    bind(pTEACHDO_SWPOINT, "TEACH_FMX", "FLOW2_FMX", "TEACHDO_SWPOINT");
    {
        // The flow switch point is a percentage of the taught span: it starts at 0 whatever the
        // parameter's own minimum.
        auto slider = [this]() -> host::ISlider& { return must(mSliderFL.object); };
        skip([&] { slider().setProperty("MaxValue", must(pTEACHDO_SWPOINT).maximum()); });
        skip([&] { slider().setProperty("MinValue", 0); });
        skip([&] { slider().setProperty("unit", must(pTEACHDO_SWPOINT).unit()); });
        skip([&] { slider().UpdateLimits(); });
        skip([&] { slider().setProperty("Step", 1); });
        skip([&] { slider().setProperty("value", must(pTEACHDO_SWPOINT).valueText()); });
    }
    bind(pDELTAFLOW_RAW, "PROIN_FMX", "PROIN", "DELTAFLOW_RAW");
    if (mCategoryMatch) {
        bind(pTEACH_MAX, "TEACH_FMX", "FLOW2_FMX", "TEACH_MAX_SAVE");
        bind(pTEACH_MIN, "TEACH_FMX", "FLOW2_FMX", "TEACH_MIN_SAVE");
    } else {
        bind(pTEACH_MAX, "TEACH_FMX", "FLOW_FMX", "TEACH_MAX");
        bind(pTEACH_MIN, "TEACH_FMX", "FLOW_FMX", "TEACH_MIN");
    }

    // The chart legends.
    setCaption(LaC1, [&] { return lookUpText("IDS_Temperaturdiagramm") + " - "; });
    setCaption(LaLeDF, [&] { return must(pPROINTEMP).displayName(); });
    LaLeDF->setForeColor(kTemperatureColour);
    LaDF->setForeColor(kTemperatureColour);
    setCaption(LaLeTS, [&] { return must(pSWPOINT).displayName() + ", "; });
    LaLeTS->setForeColor(kRed);
    LaTS->setForeColor(kRed);
    setCaption(LaC2, [&] { return lookUpText("IDS_Stroemungsdiagramm") + " - "; });
    setCaption(LaLeFS, [&] { return must(pPROINFLOW_RAW).displayName(); });
    setCaption(LabelTMin, [&] { return must(pTEACH_MIN).displayName(); });
    setCaption(LabeTMax, [&] { return must(pTEACH_MAX).displayName(); });
    LaUnit1->setCaption("[Bit]");
    LaUnit2->setCaption("[°C]");
    LaTime->setCaption("");

    bind(pTEACHDO_QUICK_MODE, "TEACH_FMX", "FLOW2_FMX", "TEACHDO_QUICK_MODE");
    bind(pTEACHDO_QUICK, "TEACH_FMX", "TEACH", "TEACHDO_QUICK");
    bind(pFLOWSP_RAW, "PROIN_FMX", "PROIN", "FLOWSP_RAW");
    bind(pFLOWSPQT_RAW, "TEACH_FMX", "FLOW2_FMX", "FLOWSPQT_RAW");

    // A device without a valid quick-teach mode only knows the max/min teach.
    if (pTEACHDO_QUICK_MODE) {
        skip([&] {
            if (pTEACHDO_QUICK_MODE->noValue() != 0) {
                pTEACHDO_QUICK_MODE.reset();
                mTeachMode = wizard::TeachMode::MaxMin;
            } else {
                mQuickButtonVisible = true;
                mTeachMode = wizard::TeachMode::None;
            }
        });
    } else {
        mTeachMode = wizard::TeachMode::MaxMin;
    }

    setCaption(FrameTP, [&] { return must(pSWPOINT).displayName(); });
    setCaption(FrameFL, [&] { return must(pTEACHDO_SWPOINT).displayName(); });
    skip([&] { FrameFL->setVisible(IsSwitchPointAvailable()); });
    setCaption(FrameQT, [&] { return must(pTEACHDO_QUICK).displayName(); });
    FrameQT->setVisible(false);
    skip([&] { mSwitchPointSettable = IsSwitchPointAvailable(); });
    skip([&] { mFwVersion = must(mModel->description()).item("FWversion").toInt16(); });

    CoQTOffset->clear();
    if (mFwVersion != 1) {
        for (const char* text : kTolerances) CoQTOffset->addItem(text);
        skip([&] { CoQTOffset->setListIndex(kToleranceZero); });
    } else {
        for (const char* text : kTolerancesFw1) CoQTOffset->addItem(text);
        skip([&] { CoQTOffset->setListIndex(kToleranceZeroFw1); });
    }

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

    mSwitchPointFlow = -1;
    setCaption(LaLeSP, [&] { return pFLOWSP_RAW ? pFLOWSP_RAW->displayName() + ", " : std::string(); });
    LaSp->setCaption("");
    LaLeSP->setForeColor(kBlue);
    LaSp->setForeColor(kBlue);
    LaLeFS->setForeColor(kFlowColour);
    LaFS->setForeColor(kFlowColour);
    skip([&] {
        if (pFLOWSP_RAW && pFLOWSP_RAW->noValue() != 0) {
            LaTQuick->setText("n. def.");
            LaTQuickW->setText("n. def.");
        }
    });

    // The charts scale afresh to the values that follow.
    trend_->startAfresh();
    mRefreshSwitchInputs = true;

    FrameTeachOption->setEnabled(false);
    setCaption(ComSetTeach, [&] { return lookUpText("IDS_SET_MANUAL"); });
    skip([&] { trend_->clear(trend_->flow); });
    skip([&] { trend_->clear(trend_->temp); });
    trend_->forgetStart();
}

}  // namespace qx::view
