#include "chart/ChartWidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <cmath>

namespace qx::ui {

namespace {

// Button and shift numbers as the chart's mouse events count them.
int32_t buttonsOf(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0);
}

int32_t shiftOf(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

constexpr double kFallbackRate = 60;  // a screen that reports no rate

}  // namespace

ChartStamp ChartStamp::of(const platform::ChartObject& chart) {
    const auto& area = chart.chartArea();
    return {chart.refreshCount(),
            chart.group(1).data().numPoints(),
            chart.group(2).data().numPoints(),
            area.axis("X").min(),
            area.axis("X").max(),
            area.axis("Y").min(),
            area.axis("Y").max(),
            area.axis("Y2").min(),
            area.axis("Y2").max(),
            area.axis("X").timeScale().base(),
            {},
            0};
}

ChartWidget::ChartWidget(platform::ChartObject& chart, QWidget* parent)
    : QWidget(parent), chart_(chart), frames_(new QTimer(this)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);  // the painter fills every pixel
    frames_->setTimerType(Qt::PreciseTimer);
    frames_->setSingleShot(true);
    connect(frames_, &QTimer::timeout, this, [this] { onFrame(); });
    watch_ = chart_.observeProperties([this](const std::string&) { frameSoon(); });
}

void ChartWidget::frameSoon() {
    if (!isVisible() || frames_->isActive()) return;
    frames_->start(frameInterval());
    // An aligned chart's room follows this one's labels.
    if (partner_) partner_->frameSoon();
}

int ChartWidget::frameInterval() const {
    const QScreen* s = screen();
    const double rate = s && s->refreshRate() >= 1 ? s->refreshRate() : kFallbackRate;
    return std::max(1, static_cast<int>(std::lround(1000 / rate)));
}

void ChartWidget::alignWith(ChartWidget* other) {
    partner_ = other;
    if (other && other->partner_ != this) other->alignWith(this);
}

void ChartWidget::followLanguage(std::function<int32_t()> language) {
    language_ = std::move(language);
}

PlotRoom ChartWidget::sharedRoom() const {
    PlotRoom room = painter_.neededRoom(chart_, rect());
    if (partner_ && partner_->isVisible()) {
        const PlotRoom other = partner_->painter_.neededRoom(partner_->chart_, partner_->rect());
        room = {std::max(room.left, other.left), std::max(room.right, other.right)};
    }
    return room;
}

ChartStamp ChartWidget::stamp() const {
    ChartStamp s = ChartStamp::of(chart_);
    s.room = sharedRoom();
    s.language = language_ ? language_() : 0;
    return s;
}

QRect ChartWidget::plotRect() const {
    return painter_.plotArea(chart_, rect(), sharedRoom());
}

void ChartWidget::onFrame() {
    // Qt merges repeated requests until the paint runs, so a slow paint costs no extra frames.
    if (!(stamp() == painted_)) update();
}

void ChartWidget::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    // A paint of a strip (the part a tooltip, a menu or another window uncovered, or a sibling's
    // repaint) shows the newest model only there; the rest of the screen still shows an older
    // one. Only a paint of all that can be seen counts, or the next frame would find nothing new
    // and the chart would stand still until the model moved again.
    const ChartStamp now = stamp();
    if ((visibleRegion() - event->region()).isEmpty()) painted_ = now;
    painter_.setLanguage(now.language);
    painter_.paint(p, chart_, rect(), now.room);
}

void ChartWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    chart_.userMouseMove(buttonsOf(event->buttons()), shiftOf(event->modifiers()), at.x(), at.y());
    // A drag moves the time window through the axes, which send no notice.
    if (event->buttons() != Qt::NoButton) frameSoon();
}

void ChartWidget::showEvent(QShowEvent*) {
    frameSoon();
}

void ChartWidget::hideEvent(QHideEvent*) {
    frames_->stop();
}

}  // namespace qx::ui
