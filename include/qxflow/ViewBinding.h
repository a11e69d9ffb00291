#pragma once
// The view on screen: one widget for each child control of the view, inside the widget of its
// container, made for the controls there are and for those the Controls collection adds later,
// and dropped with a control the collection removes. Timers have no widget. The widgets hold the
// models weakly; dropping the binding drops every widget and every observer it registered.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Export.h"
#include "platform/Controls.h"
#include "platform/Observers.h"

namespace qx::ui {

class QX_FLOW_EXPORT ViewBinding {
  public:
    using WidgetFactory = std::function<QWidget*(const std::shared_ptr<platform::Control>&, QWidget* parent)>;
    // Widgets for the frame's components created by program id (the slider), by program id.
    using WidgetFactories = std::map<std::string, WidgetFactory>;

    ViewBinding(const std::shared_ptr<platform::Control>& view, platform::Controls& controls,
                WidgetFactories factories, QWidget* parent);
    ~ViewBinding();
    ViewBinding(const ViewBinding&) = delete;
    ViewBinding& operator=(const ViewBinding&) = delete;

    QWidget* viewWidget() const { return root_; }
    // Models may have changed through members that send no notice (a chart's axes and points):
    // each chart on screen looks again at its next frame.
    void modelsMayHaveChanged() const;
    // The widget of the child control with that name; none when there is none.
    QWidget* widget(const std::string& name) const;

  private:
    void add(const std::shared_ptr<platform::Control>& control);
    void remove(const std::shared_ptr<platform::Control>& control);
    void showAsOneOfTheCharts(class ChartWidget* chart);
    QWidget* create(const std::shared_ptr<platform::Control>& control, QWidget* parent) const;

    WidgetFactories factories_;
    QPointer<QWidget> root_;
    const platform::Control* view_;
    std::weak_ptr<platform::Control> viewModel_;
    std::vector<QPointer<class ChartWidget>> charts_;
    std::map<std::string, QPointer<QWidget>> byName_;
    std::map<const platform::Control*, QPointer<QWidget>> byControl_;
    platform::Subscription membership_;
};

}  // namespace qx::ui
