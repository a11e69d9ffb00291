#include "script/ViewFields.h"
#include "view/QX_FlowWiz.h"

#include <algorithm>
#include <map>

#include "display/TrendPane.h"
#include "script/ValueText.h"

namespace qx::console {

namespace {

using view::BindingState;
using view::FrameLink;
using view::QX_FlowWiz;
using view::StatusLine;
using view::WizardProgress;

// The view's own state, a group at a time through the view's const accessors.
template <class Group>
using GroupOf = const Group& (QX_FlowWiz::*)() const;

template <class Group, class T>
FieldReader number(GroupOf<Group> group, T Group::*field) {
    return
        [group, field](const QX_FlowWiz& v) { return numberText(static_cast<double>((v.*group)().*field)); };
}

template <class Group>
FieldReader flag(GroupOf<Group> group, bool Group::*field) {
    return [group, field](const QX_FlowWiz& v) { return booleanText((v.*group)().*field); };
}

template <class Group>
FieldReader text(GroupOf<Group> group, std::string Group::*field) {
    return [group, field](const QX_FlowWiz& v) { return quoteText((v.*group)().*field); };
}

// Frame objects print as their class name, controls as their type name, the view's own
// objects as the name of their class.
template <class T>
FieldReader object(std::shared_ptr<T> FrameLink::*field, const char* className = "") {
    return [field, className](const QX_FlowWiz& v) -> std::string {
        const auto& p = v.frame().*field;
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

FieldReader slider(view::SliderRef FrameLink::*field) {
    return [field](const QX_FlowWiz& v) -> std::string {
        const auto& s = v.frame().*field;
        return s ? s.control->typeName() : std::string(kNone);
    };
}

const std::map<std::string, FieldReader>& fields() {
    static const std::map<std::string, FieldReader> table = {
        // Frame objects.
        {"mModel", object(&FrameLink::mModel)},
        {"mFrameModel", object(&FrameLink::mFrameModel)},
        {"mRes", object(&FrameLink::mRes)},
        {"mMessageHandler", object(&FrameLink::mMessageHandler)},
        {"mToolbar", object(&FrameLink::mToolbar)},
        {"mReceiver", object(&FrameLink::mReceiver)},
        {"mDevice", object(&FrameLink::mDevice)},
        {"mSpecComm", object(&FrameLink::mSpecComm)},
        // Binding and context.
        {"mModule", text(&QX_FlowWiz::binding, &BindingState::mModule)},
        {"mContext", text(&QX_FlowWiz::binding, &BindingState::mContext)},
        {"mCategoryMatch", flag(&QX_FlowWiz::binding, &BindingState::mCategoryMatch)},
        {"mFwVersion", number(&QX_FlowWiz::binding, &BindingState::mFwVersion)},
        {"mReleasePending", flag(&QX_FlowWiz::frame, &FrameLink::mReleasePending)},
        {"mMessageDetails", text(&QX_FlowWiz::frame, &FrameLink::mMessageDetails)},
        {"mPollMode",
         [](const QX_FlowWiz& v) { return numberText(static_cast<double>(v.jobs().pollMode())); }},
        // Job bookkeeping.
        {"mUuids",
         jobsObject([](const JobBook& j) -> const void* { return j.pending(); }, "CuuidCollection")},
        {"mUuids2", jobsObject([](const JobBook& j) -> const void* { return j.early(); }, "CuuidCollection")},
        {"mFifo", jobsObject([](const JobBook& j) -> const void* { return j.commands(); }, "CCommandFiFo")},
        {"mFilter",
         [](const QX_FlowWiz& v) -> std::string {
             return v.binding().mFilter ? "CFilterCallbackModule" : kNone;
         }},
        {"mTeachJobId", jobsText(&JobBook::teachJobId)},
        {"mSettingJobId", jobsText(&JobBook::settingJobId)},
        // Wizard.
        {"mTeachState", number(&QX_FlowWiz::progress, &WizardProgress::mTeachState)},
        {"mTeachMode", number(&QX_FlowWiz::progress, &WizardProgress::mTeachMode)},
        {"mTeachMin", number(&QX_FlowWiz::progress, &WizardProgress::mTeachMin)},
        {"mTeachMax", number(&QX_FlowWiz::progress, &WizardProgress::mTeachMax)},
        {"mFlow", number(&QX_FlowWiz::progress, &WizardProgress::mFlow)},
        {"mFlowUnsettled", number(&QX_FlowWiz::progress, &WizardProgress::mFlowUnsettled)},
        {"mSwitchPointFlow", number(&QX_FlowWiz::progress, &WizardProgress::mSwitchPointFlow)},
        {"mTeachActive", flag(&QX_FlowWiz::progress, &WizardProgress::mTeachActive)},
        {"mQuickTeachActive", flag(&QX_FlowWiz::progress, &WizardProgress::mQuickTeachActive)},
        {"mQuickButtonVisible", flag(&QX_FlowWiz::progress, &WizardProgress::mQuickButtonVisible)},
        {"mSwitchPointSettable", flag(&QX_FlowWiz::progress, &WizardProgress::mSwitchPointSettable)},
        {"mSliderTPLoaded", flag(&QX_FlowWiz::progress, &WizardProgress::mSliderTPLoaded)},
        {"mRefreshSwitchInputs", flag(&QX_FlowWiz::progress, &WizardProgress::mRefreshSwitchInputs)},
        {"SuccessTicks", number(&QX_FlowWiz::progress, &WizardProgress::SuccessTicks)},
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
        {"mRunTime", number(&QX_FlowWiz::status, &StatusLine::mRunTime)},
        {"mPendingStatus", text(&QX_FlowWiz::status, &StatusLine::mPendingStatus)},
        {"mPendingStyle", number(&QX_FlowWiz::status, &StatusLine::mPendingStyle)},
        // Sliders of the manual settings.
        {"mSliderFL", slider(&FrameLink::mSliderFL)},
        {"mSliderTP", slider(&FrameLink::mSliderTP)},
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
