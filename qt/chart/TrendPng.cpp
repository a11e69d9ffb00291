#include "chart/TrendPng.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "chart/ChartPainter.h"

namespace qx::ui {

namespace {

constexpr int kMargin = 6;

QGuiApplication* ownApplication = nullptr;

void ensureGuiApplication() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    if (QCoreApplication::instance()) throw std::runtime_error("a picture needs a GUI application");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qxflow";
    static char* argv[] = {name, nullptr};
    ownApplication = new QGuiApplication(argc, argv);
    // Gone before the process ends, so that Qt hands back what it took (the font configuration).
    std::atexit([] {
        delete ownApplication;
        ownApplication = nullptr;
    });
}

QFont captionFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    return font;
}

QImage renderTrend(const TrendSource& source, QSize size) {
    ensureGuiApplication();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    const QFont font = captionFont();
    const QFontMetrics fm(font);
    const int half = size.height() / 2;
    const int captionHeight = fm.height() + kMargin;
    const struct {
        const platform::ChartObject& chart;
        std::string caption;
        QRect area;
    } charts[] = {{source.flowChart, source.flow.caption(), QRect(0, 0, size.width(), half)},
                  {source.temperatureChart, source.temperature.caption(),
                   QRect(0, half, size.width(), size.height() - half)}};
    // One left edge for both plots, so that their time axes line up.
    const ChartPainter painter;
    int leftRoom = 0;
    for (const auto& c : charts)
        leftRoom =
            std::max(leftRoom, painter.plotArea(c.chart, c.area.adjusted(0, captionHeight, 0, 0)).left() -
                                   c.area.left());
    for (const auto& c : charts) {
        p.setFont(font);
        p.setPen(QColor(40, 40, 40));
        p.drawText(QPointF(c.area.left() + kMargin, c.area.top() + kMargin + fm.ascent()),
                   QString::fromStdString(c.caption));
        painter.paint(p, c.chart, c.area.adjusted(0, captionHeight, 0, 0), leftRoom);
    }
    return image;
}

}  // namespace

void exportTrendPng(const std::string& path, const TrendSource& source, int width, int height) {
    if (width < 1 || height < 2) throw std::runtime_error(path + ": the picture has no room");
    if (!renderTrend(source, QSize(width, height)).save(QString::fromStdString(path), "PNG"))
        throw std::runtime_error(path + ": cannot be written");
}

}  // namespace qx::ui
