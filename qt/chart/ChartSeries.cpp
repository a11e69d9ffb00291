#include "chart/ChartSeries.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "trend/ChartDecimation.h"

namespace qx::ui {

using platform::ChartAxis;
using platform::ChartObject;
using platform::ChartStyle;
using trend::ChartColumns;
using trend::ChartVertex;
using trend::DecimatedSeries;

namespace {

Qt::PenStyle penStyleOf(platform::LinePattern p) {
    switch (p) {
        case platform::LinePattern::None:
            return Qt::NoPen;
        case platform::LinePattern::Solid:
            return Qt::SolidLine;
        case platform::LinePattern::Dash:
            return Qt::DashLine;
        case platform::LinePattern::Dot:
            return Qt::DotLine;
        case platform::LinePattern::DashDot:
            return Qt::DashDotLine;
    }
    return Qt::SolidLine;
}

// Maps chart values to pixels of the plot rectangle.
class PlotMapping {
  public:
    PlotMapping(const QRectF& plot, const ChartAxis& x, const ChartAxis& y) : plot_(plot), x_(x), y_(y) {}

    double px(double x) const {
        return plot_.left() + (x - x_.min()) / (x_.max() - x_.min()) * plot_.width();
    }
    double py(double y) const {
        return plot_.bottom() - (y - y_.min()) / (y_.max() - y_.min()) * plot_.height();
    }
    QPointF point(const ChartVertex& v) const { return {px(v.x), py(v.y)}; }
    double bottom() const { return plot_.bottom(); }

  private:
    QRectF plot_;
    const ChartAxis& x_;
    const ChartAxis& y_;
};

QPolygonF runPolygon(const DecimatedSeries& s, size_t run, const PlotMapping& m, platform::ChartType type) {
    QPolygonF line;
    for (size_t i = s.runStarts[run]; i < s.runEnd(run); ++i) {
        const QPointF p = m.point(s.vertices[i]);
        if (type == platform::ChartType::Step && !line.isEmpty()) line.append({p.x(), line.back().y()});
        // A vertex in the middle of a level stretch adds nothing to what is drawn (not even to a
        // dash pattern, which runs on along the line), but a held value stored every poll would
        // make every pixel column's vertices a stroke of their own.
        if (line.size() >= 2 && line.back().y() == p.y() && line[line.size() - 2].y() == p.y())
            line.back() = p;
        else
            line.append(p);
    }
    return line;
}

void drawSymbols(QPainter& painter, const DecimatedSeries& s, const PlotMapping& m, const ChartStyle& style) {
    const double r = style.symbolSize() / 2.0;
    const QColor fill = colourOf(style.fillColor());
    painter.setPen(style.symbolShape() == platform::SymbolShape::Star ||
                           style.symbolShape() == platform::SymbolShape::Cross
                       ? QPen(fill, 1.2)
                       : QPen(Qt::NoPen));
    painter.setBrush(fill);
    // Where points crowd closer than a symbol's width the symbols would only pile up into a smear
    // over the line, at the cost of one shape per vertex; there the line alone shows the values.
    const double room = std::max(1, style.symbolSize());
    const size_t n = s.vertices.size();
    for (size_t i = 0; i < n; ++i) {
        const QPointF c = m.point(s.vertices[i]);
        if ((i > 0 && std::abs(c.x() - m.px(s.vertices[i - 1].x)) < room) ||
            (i + 1 < n && std::abs(m.px(s.vertices[i + 1].x) - c.x()) < room))
            continue;
        switch (style.symbolShape()) {
            case platform::SymbolShape::None:
                return;
            case platform::SymbolShape::Dot:
                painter.drawEllipse(c, r, r);
                break;
            case platform::SymbolShape::Box:
                painter.drawRect(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r));
                break;
            case platform::SymbolShape::Triangle:
                painter.drawPolygon(
                    QPolygonF({{c.x(), c.y() - r}, {c.x() + r, c.y() + r}, {c.x() - r, c.y() + r}}));
                break;
            case platform::SymbolShape::Diamond:
                painter.drawPolygon(QPolygonF(
                    {{c.x(), c.y() - r}, {c.x() + r, c.y()}, {c.x(), c.y() + r}, {c.x() - r, c.y()}}));
                break;
            case platform::SymbolShape::Star:
                painter.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
                painter.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
                [[fallthrough]];
            case platform::SymbolShape::Cross:
                painter.drawLine(QPointF(c.x() - r, c.y() - r), QPointF(c.x() + r, c.y() + r));
                painter.drawLine(QPointF(c.x() - r, c.y() + r), QPointF(c.x() + r, c.y() - r));
                break;
        }
    }
}

void drawSeries(QPainter& painter, const DecimatedSeries& s, const PlotMapping& m, platform::ChartType type,
                const ChartStyle& style) {
    if (s.vertices.empty()) return;
    if (type == platform::ChartType::Area) {
        painter.setPen(style.linePattern() == platform::LinePattern::None || style.lineWidth() == 0
                           ? QPen(Qt::NoPen)
                           : QPen(colourOf(style.lineColor()), style.lineWidth()));
        painter.setBrush(colourOf(style.fillColor()));
        for (size_t r = 0; r < s.runCount(); ++r) {
            QPolygonF area = runPolygon(s, r, m, type);
            area.append({area.back().x(), m.bottom()});
            area.append({area.front().x(), m.bottom()});
            painter.drawPolygon(area);
        }
        return;
    }
    if (style.linePattern() != platform::LinePattern::None && style.lineWidth() > 0) {
        painter.setPen(linePenOf(style));
        painter.setBrush(Qt::NoBrush);
        for (size_t r = 0; r < s.runCount(); ++r) {
            const QPolygonF line = runPolygon(s, r, m, type);
            if (line.size() == 1) {
                painter.drawPoint(line.front());  // a lone point between two holes still shows
                continue;
            }
            // A wide pen strokes a polyline as one outline, and one that doubles back on itself in
            // every pixel column costs the rasterizer far more than a frame; strokes of a few
            // dozen vertices each cost next to nothing, and where several vertices share a pixel
            // no eye sees where one stroke ends and the next begins. A run with room between its
            // points is drawn in one stroke, as it always was.
            const qsizetype spanned =
                static_cast<qsizetype>(std::abs(line.back().x() - line.front().x())) + 1;
            if (line.size() <= 2 * spanned) {
                painter.drawPolyline(line);
                continue;
            }
            constexpr qsizetype kStroke = 32;
            const bool smooth = painter.testRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::Antialiasing, false);
            for (qsizetype i = 0; i + 1 < line.size(); i += kStroke)
                painter.drawPolyline(line.constData() + i,
                                     static_cast<int>(std::min(kStroke + 1, line.size() - i)));
            painter.setRenderHint(QPainter::Antialiasing, smooth);
        }
    }
    if (style.symbolShape() != platform::SymbolShape::None) drawSymbols(painter, s, m, style);
}

bool hasRange(const ChartAxis& a) {
    return a.max() > a.min();
}

}  // namespace

void drawGroups(QPainter& painter, const ChartObject& chart, const QRectF& plot, bool areas) {
    const ChartAxis& x = chart.chartArea().axis("X");
    const ChartColumns window{x.min(), x.max(), static_cast<int>(plot.width())};
    if (window.empty()) return;
    for (int g = platform::kChartGroupCount; g >= 1; --g) {
        const ChartAxis& y = chart.chartArea().axis(g == 1 ? "Y" : "Y2");
        const platform::ChartGroup& group = chart.group(g);
        if (!hasRange(y) || areas != (group.chartType() == platform::ChartType::Area)) continue;
        const PlotMapping mapping(plot, x, y);
        if (areas) {
            for (int s = 1; s <= group.styleCount(); ++s)
                drawSeries(painter, trend::decimate(group.data(), s, window), mapping, group.chartType(),
                           group.style(s));
        } else {
            for (int s = group.styleCount(); s >= 1; --s)
                drawSeries(painter, trend::decimate(group.data(), s, window), mapping, group.chartType(),
                           group.style(s));
        }
    }
}

QPen linePenOf(const ChartStyle& style) {
    if (style.linePattern() == platform::LinePattern::None || style.lineWidth() <= 0) return QPen(Qt::NoPen);
    return QPen(colourOf(style.lineColor()), style.lineWidth(), penStyleOf(style.linePattern()), Qt::FlatCap,
                Qt::RoundJoin);
}

}  // namespace qx::ui
