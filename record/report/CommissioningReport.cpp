#include "report/CommissioningReport.h"

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <stdexcept>

#include "chart/GuiApplication.h"

namespace qx::report {

namespace {

using record::Sample;

QString q(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped();
}

QString number(double v) {
    return QString::number(v, 'f', std::abs(v - std::round(v)) < 1e-9 ? 0 : 2);
}

// The picture of the stretch: the flow above, the temperature below, each over the same times.
constexpr int kPictureWidth = 2000;
constexpr int kPanelHeight = 520;
constexpr int kLeft = 150, kRight = 30, kTop = 60, kBottom = 70;

struct Panel {
    QString title;
    std::optional<double> Sample::*value;
    std::optional<double> Sample::*line;  // the switch point
    bool band;                            // the taught band
    QColor colour;
};

void drawPanel(QPainter& p, const QRect& area, const Panel& panel, const std::vector<Sample>& samples,
               const record::ReportContent& c) {
    const QRect plot(area.left() + kLeft, area.top() + kTop, area.width() - kLeft - kRight,
                     area.height() - kTop - kBottom);
    p.setPen(QColor(40, 40, 40));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(30);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QPoint(area.left() + 10, area.top() + 40), panel.title);
    const int titleEnd = area.left() + 10 + QFontMetrics(font).horizontalAdvance(panel.title);
    font.setBold(false);
    font.setPixelSize(24);
    p.setFont(font);
    // The legend: the switch-point line and, on the flow, the taught band.
    int legend = titleEnd + 40;
    const int middle = area.top() + 31;
    p.setPen(QPen(QColor(200, 0, 0), 3, Qt::DashLine));
    p.drawLine(legend, middle, legend + 50, middle);
    p.setPen(QColor(40, 40, 40));
    const QString line = QString::fromStdString(c.text("IDS_REP_SWITCH_LINE"));
    p.drawText(QPoint(legend + 60, area.top() + 40), line);
    legend += 60 + QFontMetrics(font).horizontalAdvance(line) + 40;
    if (panel.band) {
        p.fillRect(QRect(legend, middle - 12, 50, 24), QColor(255, 200, 0, 60));
        p.drawText(QPoint(legend + 60, area.top() + 40), QString::fromStdString(c.text("IDS_REP_BAND")));
    }
    p.drawRect(plot);
    if (samples.empty()) return;

    double lo = std::numeric_limits<double>::max(), hi = std::numeric_limits<double>::lowest();
    auto widen = [&](const std::optional<double>& v) {
        if (!v) return;
        lo = std::min(lo, *v);
        hi = std::max(hi, *v);
    };
    for (const auto& s : samples) {
        widen(s.*panel.value);
        widen(s.*panel.line);
        if (panel.band) {
            widen(s.taughtMax);
            widen(s.taughtMin);
        }
    }
    if (lo > hi) return;
    const double margin = std::max((hi - lo) * 0.08, 1.0);
    lo -= margin;
    hi += margin;
    const int64_t t0 = samples.front().tMs, t1 = std::max(samples.back().tMs, t0 + 1);
    auto xOf = [&](int64_t t) {
        return plot.left() + static_cast<double>(t - t0) / static_cast<double>(t1 - t0) * plot.width();
    };
    auto yOf = [&](double v) { return plot.bottom() - (v - lo) / (hi - lo) * plot.height(); };

    // Axis labels: five values, four times.
    for (int i = 0; i <= 4; ++i) {
        const double v = lo + (hi - lo) * i / 4;
        const double y = yOf(v);
        p.setPen(QColor(220, 220, 220));
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        p.setPen(QColor(40, 40, 40));
        p.drawText(QRectF(area.left(), y - 15, kLeft - 10, 30), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(v, 'f', 0));
    }
    for (int i = 0; i <= 3; ++i) {
        const int64_t t = t0 + (t1 - t0) * i / 3;
        const double x = xOf(t);
        // The first and last label stay inside the picture.
        const QRectF box = i == 0   ? QRectF(x, plot.bottom() + 8, 200, 30)
                           : i == 3 ? QRectF(x - 200, plot.bottom() + 8, 200, 30)
                                    : QRectF(x - 100, plot.bottom() + 8, 200, 30);
        p.drawText(box,
                   i == 0   ? Qt::AlignLeft
                   : i == 3 ? Qt::AlignRight
                            : Qt::AlignCenter,
                   QString::fromStdString(record::isoDateTime(t).substr(11, 8)));
    }

    p.save();
    p.setClipRect(plot);
    p.setRenderHint(QPainter::Antialiasing);
    // The taught band where the chart had one, as a shaded stretch between its limits.
    if (panel.band) {
        QColor fill(255, 200, 0, 60);
        for (size_t i = 0; i + 1 < samples.size(); ++i) {
            const auto& a = samples[i];
            if (!a.taughtMax || !a.taughtMin) continue;
            const double x0 = xOf(a.tMs), x1 = std::max(xOf(samples[i + 1].tMs), x0 + 1);
            p.fillRect(QRectF(QPointF(x0, yOf(*a.taughtMax)), QPointF(x1, yOf(*a.taughtMin))), fill);
        }
    }
    // A line per quantity, broken at holes and where the quantity is missing; many samples to a
    // pixel column are drawn as that column's span.
    auto drawLine = [&](std::optional<double> Sample::*member, const QPen& pen) {
        p.setPen(pen);
        QPainterPath path;
        bool open = false;
        double column = -1, cMin = 0, cMax = 0;
        auto flush = [&] {
            if (column >= 0 && cMin != cMax) {
                path.moveTo(column, yOf(cMin));
                path.lineTo(column, yOf(cMax));
            }
        };
        for (const auto& s : samples) {
            const auto& v = s.*member;
            if (!v) {
                open = false;
                continue;
            }
            const double x = std::floor(xOf(s.tMs));
            if (open && x == column) {
                cMin = std::min(cMin, *v);
                cMax = std::max(cMax, *v);
                continue;
            }
            flush();
            if (open)
                path.lineTo(x, yOf(*v));
            else
                path.moveTo(x, yOf(*v));
            open = true;
            column = x;
            cMin = cMax = *v;
        }
        flush();
        p.drawPath(path);
    };
    drawLine(panel.line, QPen(QColor(200, 0, 0), 3, Qt::DashLine));
    drawLine(panel.value, QPen(panel.colour, 3));
    p.restore();
}

QImage trendPicture(const record::ReportContent& c) {
    QImage image(kPictureWidth, 2 * kPanelHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    auto title = [&](const char* key, const std::string& unit) {
        QString t = QString::fromStdString(c.text(key));
        if (!unit.empty()) t += QStringLiteral(" [%1]").arg(QString::fromStdString(unit));
        return t;
    };
    drawPanel(
        p, QRect(0, 0, kPictureWidth, kPanelHeight),
        {title("IDS_REP_FLOW", c.flowUnit), &Sample::flow, &Sample::switchPoint, true, QColor(0, 90, 200)},
        c.stretch, c);
    drawPanel(p, QRect(0, kPanelHeight, kPictureWidth, kPanelHeight),
              {title("IDS_REP_TEMPERATURE", c.temperatureUnit), &Sample::temperature,
               &Sample::temperatureSwitchPoint, false, QColor(0, 140, 60)},
              c.stretch, c);
    return image;
}

QString table(const std::vector<record::ReportLine>& lines, bool units) {
    QString html = QStringLiteral("<table cellspacing='0' cellpadding='3' width='100%'>");
    for (const auto& l : lines) {
        html += QStringLiteral("<tr><td width='45%'>%1</td><td><b>%2</b>%3</td></tr>")
                    .arg(q(l.label), q(l.value),
                         units && !l.unit.empty() ? QStringLiteral(" ") + q(l.unit) : QString());
    }
    return html + QStringLiteral("</table>");
}

QString entries(const std::vector<record::ReportEntry>& list, const record::ReportContent& c) {
    if (list.empty()) return QStringLiteral("<p>%1</p>").arg(q(c.text("IDS_REP_NONE")));
    QString html = QStringLiteral(
                       "<table cellspacing='0' cellpadding='3'><tr><th align='left'>%1</th>"
                       "<th align='left'>%2</th></tr>")
                       .arg(q(c.text("IDS_REP_TIME")), q(c.text("IDS_REP_EVENT")));
    for (const auto& e : list)
        html += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>").arg(q(e.time), q(e.text));
    return html + QStringLiteral("</table>");
}

QString statistics(const record::ReportContent& c) {
    auto row = [&](const char* key, const record::ValueStatistics& s, const std::string& unit) {
        const QString u = unit.empty() ? QString() : QStringLiteral(" ") + q(unit);
        if (s.count == 0)
            return QStringLiteral("<tr><td>%1</td><td colspan='4'>%2</td></tr>")
                .arg(q(c.text(key)), q(c.text("IDS_REP_NO_VALUE")));
        return QStringLiteral("<tr><td>%1</td><td>%2%5</td><td>%3%5</td><td>%4%5</td><td>%6</td></tr>")
            .arg(q(c.text(key)), number(s.min), number(s.max), number(s.mean), u, QString::number(s.count));
    };
    return QStringLiteral(
               "<table cellspacing='0' cellpadding='3'><tr><th></th><th align='left'>%1</th>"
               "<th align='left'>%2</th><th align='left'>%3</th><th align='left'>%4</th></tr>")
               .arg(q(c.text("IDS_REP_MINIMUM")), q(c.text("IDS_REP_MAXIMUM")), q(c.text("IDS_REP_MEAN")),
                    q(c.text("IDS_REP_SAMPLES"))) +
           row("IDS_REP_FLOW", c.flow, c.flowUnit) +
           row("IDS_REP_TEMPERATURE", c.temperature, c.temperatureUnit) + QStringLiteral("</table>");
}

QString parameterTable(const record::ReportContent& c) {
    QString html =
        QStringLiteral(
            "<table cellspacing='0' cellpadding='2' width='100%'><tr>"
            "<th align='left'>%1</th><th align='left'>%2</th><th align='left'>%3</th></tr>")
            .arg(q(c.text("IDS_REP_PARAMETER")), q(c.text("IDS_REP_VALUE")), q(c.text("IDS_REP_UNIT")));
    for (const auto& l : c.parameters)
        html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>")
                    .arg(q(l.label), q(l.value), q(l.unit));
    return html + QStringLiteral("</table>");
}

}  // namespace

void writeReportPdf(const std::string& path, const record::ReportContent& c) {
    ui::ensureGuiApplication();
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error(path + ": " + file.errorString().toStdString());

    QPdfWriter writer(&file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(18, 15, 18, 15), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(QString::fromStdString(c.text("IDS_REP_TITLE")));
    writer.setCreator(QStringLiteral("QX_Flow"));

    QTextDocument doc;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9.5);
    doc.setDefaultFont(font);
    doc.setDefaultStyleSheet(
        QStringLiteral("h1 { font-size: 16pt; } h2 { font-size: 12pt; margin-top: 12px; }"
                       " th { background-color: #e8e8e8; }"));
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("qx:trend")),
                    QVariant::fromValue(trendPicture(c)));

    QString html = QStringLiteral("<h1>%1</h1>").arg(q(c.text("IDS_REP_TITLE")));
    html += QStringLiteral("<h2>%1</h2>").arg(q(c.text("IDS_REP_DEVICE"))) + table(c.identity, false);
    html += QStringLiteral("<h2>%1</h2>").arg(q(c.text("IDS_REP_SETTINGS"))) + table(c.settings, true);
    html += QStringLiteral("<h2>%1</h2>").arg(q(c.text("IDS_REP_EVENTS"))) + entries(c.teachEvents, c);
    html += QStringLiteral("<h2>%1</h2>").arg(q(c.text("IDS_REP_NOTES"))) + entries(c.notes, c);
    // The trend and its statistics start a page of their own, the heading never apart from them.
    html += QStringLiteral("<h2 style='page-break-before: always'>%1</h2>")
                .arg(q(c.text(c.aroundTeach ? "IDS_REP_TREND_TEACH" : "IDS_REP_TREND_LAST")));
    if (c.stretch.empty()) {
        html += QStringLiteral("<p>%1</p>").arg(q(c.text("IDS_REP_NO_SAMPLES")));
    } else {
        // The picture takes nearly the text's width (174 mm, 657 units of the layout).
        html += QStringLiteral("<p><img src='qx:trend' width='640'></p>");
        html += QStringLiteral("<h2>%1</h2>").arg(q(c.text("IDS_REP_STATS"))) + statistics(c);
    }
    html += QStringLiteral("<h2>%1</h2>").arg(q(c.text("IDS_REP_PARAMETERS"))) + parameterTable(c);
    doc.setHtml(html);
    // The document is laid out in the units of a 96 dpi screen and scaled to the writer's resolution
    // when printed.
    doc.setPageSize(writer.pageLayout().paintRect(QPageLayout::Point).size() * (96.0 / 72.0));
    doc.print(&writer);
    file.close();
    if (file.error() != QFileDevice::NoError)
        throw std::runtime_error(path + ": " + file.errorString().toStdString());
}

}  // namespace qx::report
