#include "SimulatorPanel.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "frame/FlowMonitorNames.h"
#include "script/Arguments.h"

namespace qx::window {

namespace {

struct Range {
    int min, max, start;
};

// A slider and a spin box that move together; `changed` gets every value a person sets. The box
// is the one to follow the simulator with.
QWidget* sliderWithBox(const Range& range, const QString& suffix, const std::function<void(int)>& changed,
                       QSpinBox*& box) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* slider = new QSlider(Qt::Horizontal);
    box = new QSpinBox;
    slider->setRange(range.min, range.max);
    box->setRange(range.min, range.max);
    box->setSuffix(suffix);
    box->setKeyboardTracking(false);  // a number typed goes to the device on Enter, not per key
    slider->setTracking(false);       // a drag sets the flow once, where it ends
    slider->setValue(range.start);
    box->setValue(range.start);
    QObject::connect(slider, &QSlider::valueChanged, box, &QSpinBox::setValue);
    QObject::connect(box, &QSpinBox::valueChanged, slider, &QSlider::setValue);
    QObject::connect(box, &QSpinBox::valueChanged, row, [changed](int v) { changed(v); });
    layout->addWidget(slider, 1);
    layout->addWidget(box);
    return row;
}

QSpinBox* milliseconds(const Range& range, const std::function<void(int)>& changed) {
    auto* box = new QSpinBox;
    box->setRange(range.min, range.max);
    box->setValue(range.start);
    box->setSuffix(" ms");
    box->setSingleStep(50);
    box->setKeyboardTracking(false);
    QObject::connect(box, &QSpinBox::valueChanged, box, [changed](int v) { changed(v); });
    return box;
}

}  // namespace

SimulatorPanel::SimulatorPanel(std::function<void(const std::string&)> run, QWidget* parent)
    : QDockWidget(tr("Simulated flow monitor"), parent), run_(std::move(run)) {
    setObjectName("SimulatorPanel");
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    auto* form = new QFormLayout;
    auto sim = [this](const std::string& what) {
        return [this, what](int v) {
            if (!following_) run_("sim " + what + " " + std::to_string(v));
        };
    };
    // The device's defaults: flow 0, 22 °C, settled after 2000 ms, answers after 50 ms. The
    // units follow the device (follow()).
    form->addRow(tr("Flow"), sliderWithBox({0, 1000, 0}, " Bit", sim("flow"), flow_));
    flow_->setObjectName("SimulatedFlow");
    form->addRow(tr("Temperature"), sliderWithBox({-20, 120, 22}, " °C", sim("temp"), temperature_));
    settle_ = milliseconds({0, 60000, 2000}, sim("settle"));
    latency_ = milliseconds({0, 10000, 50}, sim("latency"));
    form->addRow(tr("Settling time"), settle_);
    form->addRow(tr("Answer latency"), latency_);
    column->addLayout(form);

    auto* failNext = new QPushButton(tr("Fail the next job"));
    auto* abort = new QPushButton(tr("Drop the connection"));
    auto* refuse = new QCheckBox(tr("Refuse connections"));
    connect(failNext, &QPushButton::clicked, this, [this] { run_("sim fail any"); });
    connect(abort, &QPushButton::clicked, this, [this] { run_("sim abort"); });
    connect(refuse, &QCheckBox::toggled, this,
            [this](bool on) { run_(on ? "sim connect refuse" : "sim connect ok"); });
    column->addWidget(failNext);
    column->addWidget(abort);
    column->addWidget(refuse);
    column->addStretch(1);
    setWidget(body);
}

void SimulatorPanel::follow(const frame::FlowMonitorSim& sim, int64_t latencyMs) {
    const auto show = [](QSpinBox* box, std::optional<double> value) {
        if (!value || box->hasFocus()) return;  // a person typing keeps the box
        box->setValue(static_cast<int>(std::lround(*value)));
    };
    const auto number = [&](const char* role) -> std::optional<double> {
        const auto text = sim.roleValue(role);
        if (!text) return std::nullopt;
        return console::anyNumber(*text);
    };
    // Showing what the simulator holds is not a person setting it.
    following_ = true;
    flow_->setSuffix(QString::fromStdString(" " + sim.table().flowUnit));
    temperature_->setSuffix(QString::fromStdString(" " + sim.table().temperatureUnit));
    show(flow_, number(frame::kFlow));
    show(temperature_, number(frame::kTemperature));
    show(settle_, static_cast<double>(sim.settleMs()));
    show(latency_, static_cast<double>(latencyMs));
    following_ = false;
}

}  // namespace qx::window
