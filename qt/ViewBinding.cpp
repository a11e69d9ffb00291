#include "ViewBinding.h"

#include <QLineEdit>
#include <QVBoxLayout>

#include "ControlBinding.h"
#include "LampColumnWidget.h"
#include "MyLabelWidget.h"
#include "StandardWidgets.h"
#include "chart/ChartWidget.h"
#include "platform/ChartObject.h"
#include "platform/Timer.h"
#include "view/QX_FlowWiz.h"

namespace qx::ui {

namespace {

template <class T>
std::shared_ptr<T> as(const std::shared_ptr<platform::Control>& control) {
    return std::dynamic_pointer_cast<T>(control);
}

// A chart on screen: the extender's place and visibility, with the chart widget filling it. The
// host keeps the chart model alive while its widget paints it.
class ChartHost : public QWidget {
  public:
    ChartHost(std::shared_ptr<platform::ChartObject> chart, QWidget* parent)
        : QWidget(parent), chart_(std::move(chart)) {
        auto* fill = new QVBoxLayout(this);
        fill->setContentsMargins(0, 0, 0, 0);
        widget_ = new ChartWidget(*chart_, this);
        fill->addWidget(widget_);
    }

    ChartWidget* chartWidget() const { return widget_; }

  private:
    std::shared_ptr<platform::ChartObject> chart_;
    ChartWidget* widget_;
};

// The boxes of the taught values: the view fills them at every update and from the values it
// wrote, and never reads them.
bool showsOnly(const std::string& box) {
    return box == "LaTMin" || box == "LaTMax" || box == "LaTQuick";
}

// The boxes of the values to write by hand take text only while their button can write it: the
// view fills them again at every update unless the toolbar's Edit button is pressed, and that is
// exactly when it enables the button (a box may stay enabled after Edit is released).
constexpr const char* kWriteButton = "ComSetTeach";
constexpr const char* kBoxesToWrite[] = {"LaTMinW", "LaTMaxW", "LaTQuickW"};

// Keeps a box read-only while the button that writes it is disabled; lives with the box.
class WritableWhileEnabled : public QObject {
  public:
    WritableWhileEnabled(QLineEdit* box, platform::Control& button) : QObject(box) {
        const auto follow = [box](const platform::Control& b) { box->setReadOnly(!b.enabled()); };
        follow(button);
        watch_ = button.observe([follow](const platform::Control& b, const std::string& property) {
            if (property.empty() || property == "Enabled") follow(b);
        });
    }

  private:
    platform::Subscription watch_;
};

// Charts come at run time, after the labels beside them; the layout lets the label rows reach
// onto a chart's edge, so a chart goes below its siblings.
QWidget* createChart(const std::shared_ptr<platform::Control>& extender,
                     std::shared_ptr<platform::ChartObject> chart, QWidget* parent) {
    auto* host = new ChartHost(std::move(chart), parent);
    ControlBinding::bind(extender, host);
    host->lower();
    return host;
}

}  // namespace

ViewBinding::ViewBinding(const std::shared_ptr<platform::Control>& view, platform::Controls& controls,
                         WidgetFactories factories, QWidget* parent)
    : factories_(std::move(factories)),
      root_(createSurface(view, parent)),
      view_(view.get()),
      viewModel_(view) {
    root_->setObjectName(QString::fromStdString(view->name()));
    byControl_[view_] = root_;
    for (const auto& control : controls.all()) add(control);
    for (const auto& control : controls.all())
        if (control->name() == kWriteButton)
            for (const char* name : kBoxesToWrite)
                if (auto* box = qobject_cast<QLineEdit*>(widget(name)))
                    new WritableWhileEnabled(box, *control);
    membership_ = controls.observe(
        [this](const std::shared_ptr<platform::Control>& control, platform::ControlsChange change) {
            if (change == platform::ControlsChange::Added)
                add(control);
            else
                remove(control);
        });
}

ViewBinding::~ViewBinding() {
    membership_.reset();
    delete root_.data();
}

QWidget* ViewBinding::widget(const std::string& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second.data();
}

void ViewBinding::add(const std::shared_ptr<platform::Control>& control) {
    auto parent = byControl_.find(control->container());
    if (parent == byControl_.end() || !parent->second) return;  // outside the view
    QWidget* widget = create(control, parent->second);
    if (!widget) return;
    widget->setObjectName(QString::fromStdString(control->name()));
    if (auto* host = dynamic_cast<ChartHost*>(widget)) showAsOneOfTheCharts(host->chartWidget());
    byName_[control->name()] = widget;
    byControl_[control.get()] = widget;
}

// The charts stand one above the other: their time axes line up, and their titles speak the
// language of the view's data model (English until the view is bound to one).
void ViewBinding::modelsMayHaveChanged() const {
    for (const auto& chart : charts_)
        if (chart) chart->frameSoon();
}

void ViewBinding::showAsOneOfTheCharts(ChartWidget* chart) {
    for (const auto& other : charts_)
        if (other) chart->alignWith(other);
    charts_.emplace_back(chart);
    chart->followLanguage([weak = viewModel_]() -> int32_t {
        auto wizard = std::dynamic_pointer_cast<view::QX_FlowWiz>(weak.lock());
        auto settings = wizard && wizard->frame().mModel ? wizard->frame().mModel->settings() : nullptr;
        return settings ? settings->language() : 0;
    });
}

void ViewBinding::remove(const std::shared_ptr<platform::Control>& control) {
    auto it = byControl_.find(control.get());
    if (it == byControl_.end()) return;
    delete it->second.data();
    byControl_.erase(it);
    byName_.erase(control->name());
}

QWidget* ViewBinding::create(const std::shared_ptr<platform::Control>& control, QWidget* parent) const {
    // The frame's components (the sliders) are added after the view's own controls, which would
    // stack them on top; the layout lets a slider's rectangle reach under its frame's Set button,
    // so they go below their siblings and every button stays where a person sees it.
    if (auto factory = factories_.find(control->typeName()); factory != factories_.end()) {
        QWidget* widget = factory->second(control, parent);
        if (widget) widget->lower();
        return widget;
    }
    if (as<platform::Timer>(control)) return nullptr;
    if (auto m = as<display::CtlLedIM>(control)) return new LampColumnWidget(m, parent);
    if (auto m = as<display::MyLabel>(control)) return new MyLabelWidget(m, parent);
    if (auto m = as<platform::Label>(control)) return createLabel(m, parent);
    if (auto m = as<platform::TextBox>(control)) return createTextBox(m, parent, showsOnly(control->name()));
    if (auto m = as<platform::CommandButton>(control)) return createCommandButton(m, parent);
    if (auto m = as<platform::CheckBox>(control)) return createCheckBox(m, parent);
    if (auto m = as<platform::ComboBox>(control)) return createComboBox(m, parent);
    if (auto m = as<platform::ScrollBar>(control)) return createScrollBar(m, parent);
    // The view's scroll form is a plain surface: the window scrolls the whole page.
    if (auto m = as<platform::Frame>(control); m && control->typeName() == "Frame")
        return createFrame(m, parent);
    if (auto m = as<platform::ControlExtender>(control))
        if (auto chart = std::dynamic_pointer_cast<platform::ChartObject>(m->object()))
            return createChart(control, std::move(chart), parent);
    return createSurface(control, parent);
}

}  // namespace qx::ui
