#include "script/ViewFields.h"
#include "view/QX_FlowWiz.h"

#include <algorithm>
#include <map>

#include "display/TrendPane.h"
#include "script/ValueText.h"

namespace qx::console {

namespace {

using view::QX_FlowWiz;

template <class T>
FieldReader number(T QX_FlowWiz::*field) {
    return [field](const QX_FlowWiz& v) { return numberText(static_cast<double>(v.*field)); };
}

FieldReader flag(bool QX_FlowWiz::*field) {
    return [field](const QX_FlowWiz& v) { return booleanText(v.*field); };
}

FieldReader text(std::string QX_FlowWiz::*field) {
    return [field](const QX_FlowWiz& v) { return quoteText(v.*field); };
}

// Frame objects print as their class name, controls as their type name, the view's own
// objects as the name of their class.
template <class T>
FieldReader object(std::shared_ptr<T> QX_FlowWiz::*field, const char* className = "") {
    return [field, className](const QX_FlowWiz& v) -> std::string {
        const auto& p = v.*field;
        if (!p) return kNone;
        if constexpr (std::is_base_of_v<host::Object, T>)
            return p->className();
        else if constexpr (std::is_base_of_v<platform::Control, T>)
            return p->typeName();
        else
            return className;
    };
}

// The job bookkeeping, read through the book the view owns.
using device::JobBook;

FieldReader jobsObject(const void* (*read)(const JobBook&), const char* className) {
    return [read, className](const QX_FlowWiz& v) -> std::string {
        return read(v.jobs()) ? className : std::string(kNone);
    };
}

FieldReader jobsText(const std::string& (JobBook::*read)() const) {
    return [read](const QX_FlowWiz& v) { return quoteText((v.jobs().*read)()); };
}

// The trend pane's state, read through the pane the view owns.
using display::TrendPane;

FieldReader trendNumber(int16_t (*read)(const TrendPane&)) {
    return [read](const QX_FlowWiz& v) { return numberText(read(v.trend())); };
}

FieldReader trendFlag(bool (TrendPane::*read)() const) {
    return [read](const QX_FlowWiz& v) { return booleanText((v.trend().*read)()); };
}

FieldReader trendTime(const std::optional<int32_t>& (TrendPane::*read)() const) {
    return [read](const QX_FlowWiz& v) {
        const auto& t = (v.trend().*read)();
        return t ? numberText(*t) : std::string(kEmpty);
    };
}

// A chart object or control prints as its type, none when the pane holds none.
FieldReader trendObject(std::string (*typeOf)(const TrendPane&)) {
    return [typeOf](const QX_FlowWiz& v) {
        const std::string type = typeOf(v.trend());
        return type.empty() ? std::string(kNone) : type;
    };
}

FieldReader slider(view::SliderRef QX_FlowWiz::*field) {
    return [field](const QX_FlowWiz& v) -> std::string {
        const auto& s = v.*field;
        return s ? s.control->typeName() : std::string(kNone);
    };
}

const std::map<std::string, FieldReader>& fields() {
    static const std::map<std::string, FieldReader> table = {
        // Frame objects.
        {"mModel", object(&QX_FlowWiz::mModel)},
        {"mFrameModel", object(&QX_FlowWiz::mFrameModel)},
        {"mRes", object(&QX_FlowWiz::mRes)},
        {"mMessageHandler", object(&QX_FlowWiz::mMessageHandler)},
        {"mToolbar", object(&QX_FlowWiz::mToolbar)},
        {"mReceiver", object(&QX_FlowWiz::mReceiver)},
        {"mDevice", object(&QX_FlowWiz::mDevice)},
        {"mSpecComm", object(&QX_FlowWiz::mSpecComm)},
        // Binding and context.
        {"mModule", text(&QX_FlowWiz::mModule)},
        {"mContext", text(&QX_FlowWiz::mContext)},
        {"mCategoryMatch", flag(&QX_FlowWiz::mCategoryMatch)},
        {"mFwVersion", number(&QX_FlowWiz::mFwVersion)},
        {"mReleasePending", flag(&QX_FlowWiz::mReleasePending)},
        {"mMessageDetails", text(&QX_FlowWiz::mMessageDetails)},
        {"mPollMode",
         [](const QX_FlowWiz& v) { return numberText(static_cast<double>(v.jobs().pollMode())); }},
        // Job bookkeeping.
        {"mUuids",
         jobsObject([](const JobBook& j) -> const void* { return j.pending(); }, "CuuidCollection")},
        {"mUuids2", jobsObject([](const JobBook& j) -> const void* { return j.early(); }, "CuuidCollection")},
        {"mFifo", jobsObject([](const JobBook& j) -> const void* { return j.commands(); }, "CCommandFiFo")},
        {"mFilter", object(&QX_FlowWiz::mFilter, "CFilterCallbackModule")},
        {"mTeachJobId", jobsText(&JobBook::teachJobId)},
        {"mSettingJobId", jobsText(&JobBook::settingJobId)},
        // Wizard.
        {"mTeachState", number(&QX_FlowWiz::mTeachState)},
        {"mTeachMode", number(&QX_FlowWiz::mTeachMode)},
        {"mTeachMin", number(&QX_FlowWiz::mTeachMin)},
        {"mTeachMax", number(&QX_FlowWiz::mTeachMax)},
        {"mFlow", number(&QX_FlowWiz::mFlow)},
        {"mFlowUnsettled", number(&QX_FlowWiz::mFlowUnsettled)},
        {"mSwitchPointFlow", number(&QX_FlowWiz::mSwitchPointFlow)},
        {"mTeachActive", flag(&QX_FlowWiz::mTeachActive)},
        {"mQuickTeachActive", flag(&QX_FlowWiz::mQuickTeachActive)},
        {"mQuickButtonVisible", flag(&QX_FlowWiz::mQuickButtonVisible)},
        {"mSwitchPointSettable", flag(&QX_FlowWiz::mSwitchPointSettable)},
        {"mSliderTPLoaded", flag(&QX_FlowWiz::mSliderTPLoaded)},
        {"mRefreshSwitchInputs", flag(&QX_FlowWiz::mRefreshSwitchInputs)},
        {"SuccessTicks", number(&QX_FlowWiz::SuccessTicks)},
        // Trend charts and their ranges.
        {"mFlowChart",
         trendObject([](const TrendPane& t) -> std::string { return t.flow.object ? "ChartObject" : ""; })},
        {"mTempChart",
         trendObject([](const TrendPane& t) -> std::string { return t.temp.object ? "ChartObject" : ""; })},
        {"cPC1", trendObject([](const TrendPane& t) -> std::string {
             return t.flow.control ? t.flow.control->typeName() : "";
         })},
        {"cPC2", trendObject([](const TrendPane& t) -> std::string {
             return t.temp.control ? t.temp.control->typeName() : "";
         })},
        {"mFlowRangeMax", trendNumber([](const TrendPane& t) { return t.flow.range.max; })},
        {"mFlowRangeMin", trendNumber([](const TrendPane& t) { return t.flow.range.min; })},
        {"mTempRangeMax", trendNumber([](const TrendPane& t) { return t.temp.range.max; })},
        {"mTempRangeMin", trendNumber([](const TrendPane& t) { return t.temp.range.min; })},
        {"mSavedFlowRangeMax", trendNumber([](const TrendPane& t) { return t.flow.saved.max; })},
        {"mSavedFlowRangeMin", trendNumber([](const TrendPane& t) { return t.flow.saved.min; })},
        {"mSavedTempRangeMax", trendNumber([](const TrendPane& t) { return t.temp.saved.max; })},
        {"mSavedTempRangeMin", trendNumber([](const TrendPane& t) { return t.temp.saved.min; })},
        {"mRestartTrend", trendFlag(&TrendPane::restartPending)},
        {"mResetTimeBase", trendFlag(&TrendPane::resetTimeBase)},
        {"mChartBreakPending", trendFlag(&TrendPane::chartBreakPending)},
        {"mTrendStart", trendTime(&TrendPane::trendStart)},
        {"mTeachStartTime", trendTime(&TrendPane::teachStartTime)},
        {"mAxisStep", trendNumber([](const TrendPane& t) { return t.axisStep(); })},
        {"mDragAnchor", trendNumber([](const TrendPane& t) { return t.dragAnchor(); })},
        // Polling and the status line.
        {"mRunTime", number(&QX_FlowWiz::mRunTime)},
        {"mPendingStatus", text(&QX_FlowWiz::mPendingStatus)},
        {"mPendingStyle", number(&QX_FlowWiz::mPendingStyle)},
        // Sliders of the manual settings.
        {"mSliderFL", slider(&QX_FlowWiz::mSliderFL)},
        {"mSliderTP", slider(&QX_FlowWiz::mSliderTP)},
    };
    return table;
}

}  // namespace

const FieldReader* findViewField(const std::string& name) {
    const auto& table = fields();
    auto it = table.find(name);
    if (it != table.end()) return &it->second;
    // The parameter references print like the other objects.
    static std::map<std::string, FieldReader> parameterReaders;
    const auto& refs = device::ParameterRefs::byName();
    auto p = std::find_if(refs.begin(), refs.end(),
                          [&](const auto& entry) { return "p" + std::string(entry.first) == name; });
    if (p == refs.end()) return nullptr;
    auto [reader, added] =
        parameterReaders.try_emplace(name, [member = p->second](const QX_FlowWiz& v) -> std::string {
            const auto& parameter = v.refs().*member;
            return parameter ? parameter->className() : std::string(kNone);
        });
    return &reader->second;
}

}  // namespace qx::console
