#include "viewer/RecordingChart.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>

#include "viewer/RecordingCsv.h"

namespace qx::viewer {

namespace {
constexpr double kReach = 5;  // pixels within which a cursor line or an event marker is hit
}

RecordingChart::RecordingChart(const Recording& recording, ChartContent content, const ChartWindow& window,
                               QWidget* parent)
    : QWidget(parent), recording_(recording), content_(std::move(content)), window_(window) {
    setMouseTracking(true);
    setMinimumSize(240, 120);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void RecordingChart::setContent(ChartContent content) {
    content_ = std::move(content);
    update();
}

void RecordingChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    painter_.paint(p, recording_, content_, window_, rect());
}

RecordingChart::Drag RecordingChart::cursorAt(double x) const {
    const QRect plot = plotArea();
    for (const bool b : {true, false}) {
        const auto& t = b ? window_.cursorB : window_.cursorA;
        if (t && std::abs(RecordingPainter::xOf(plot, window_, *t) - x) <= kReach)
            return b ? Drag::CursorB : Drag::CursorA;
    }
    return Drag::None;
}

void RecordingChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const double x = event->position().x();
    drag_ = cursorAt(x);
    if (drag_ == Drag::None) {
        drag_ = Drag::Pan;
        setCursor(Qt::ClosedHandCursor);
    }
    pressX_ = x;
    pressWindow_ = window_;
}

void RecordingChart::mouseMoveEvent(QMouseEvent* event) {
    const double x = event->position().x();
    const QRect plot = plotArea();
    switch (drag_) {
        case Drag::None:
            setCursor(cursorAt(x) != Drag::None ? Qt::SizeHorCursor : Qt::ArrowCursor);
            return;
        case Drag::Pan: {
            const double shift =
                (pressX_ - x) / std::max(1, plot.width()) * (pressWindow_.toMs - pressWindow_.fromMs);
            if (onWindow) onWindow(pressWindow_.fromMs + shift, pressWindow_.toMs + shift);
            return;
        }
        case Drag::CursorA:
        case Drag::CursorB: {
            const double clamped = std::clamp(x, double(plot.left()), double(plot.right()));
            if (onCursor) onCursor(drag_ == Drag::CursorB, RecordingPainter::timeAt(plot, window_, clamped));
            return;
        }
    }
}

void RecordingChart::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    drag_ = Drag::None;
    setCursor(cursorAt(event->position().x()) != Drag::None ? Qt::SizeHorCursor : Qt::ArrowCursor);
}

void RecordingChart::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0 || !onWindow) return;
    // Zoom around the time under the pointer, so that what one looks at stays put.
    const QRect plot = plotArea();
    const double x = std::clamp(event->position().x(), double(plot.left()), double(plot.right()));
    const double pivot = RecordingPainter::timeAt(plot, window_, x);
    const double factor = std::pow(0.8, steps);
    onWindow(pivot - (pivot - window_.fromMs) * factor, pivot + (window_.toMs - pivot) * factor);
    event->accept();
}

QString RecordingChart::toolTipAt(const QPoint& pos) const {
    const QRect plot = plotArea();
    if (pos.y() < plot.bottom() - 4 || pos.y() > plot.bottom() + 14) return {};
    const auto near = RecordingPainter::eventsNear(recording_, plot, window_, pos.x(), kReach);
    QStringList lines;
    for (size_t i = 0; i < near.size() && i < 8; ++i) {
        const auto& e = recording_.events()[static_cast<size_t>(near[i])];
        lines << QString::fromStdString(localIsoTime(e.tMs).substr(11) + "  " + e.text);
    }
    if (near.size() > 8) lines << QString("… (%1)").arg(near.size() - 8);
    return lines.join('\n');
}

bool RecordingChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = toolTipAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

}  // namespace qx::viewer
