#include "chart/TrendPng.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <stdexcept>

#include "chart/ChartPainter.h"

namespace qx::ui {

namespace {

constexpr int kMargin = 6;

void ensureGuiApplication() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    if (QCoreApplication::instance()) throw std::runtime_error("a picture needs a GUI application");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qxflow";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process: Qt's own globals are torn down after main, and an
    // application destroyed among them would outlive what it uses.
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

void drawCaptioned(QPainter& p, const ChartPainter& painter, const platform::ChartObject& chart,
                   const std::string& caption, const QRect& area) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    const QFontMetrics fm(font);
    p.setPen(QColor(40, 40, 40));
    p.drawText(QPointF(area.left() + kMargin, area.top() + kMargin + fm.ascent()),
               QString::fromStdString(caption));
    painter.paint(p, chart, area.adjusted(0, fm.height() + kMargin, 0, 0));
}

}  // namespace

QImage renderTrend(const TrendSource& source, QSize size) {
    ensureGuiApplication();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    const ChartPainter painter;
    const int half = size.height() / 2;
    drawCaptioned(p, painter, source.flowChart, source.flow.caption(), QRect(0, 0, size.width(), half));
    drawCaptioned(p, painter, source.temperatureChart, source.temperature.caption(),
                  QRect(0, half, size.width(), size.height() - half));
    return image;
}

void exportTrendPng(const std::string& path, const TrendSource& source, QSize size) {
    if (size.width() < 1 || size.height() < 2) throw std::runtime_error(path + ": the picture has no room");
    if (!renderTrend(source, size).save(QString::fromStdString(path), "PNG"))
        throw std::runtime_error(path + ": cannot be written");
}

}  // namespace qx::ui
