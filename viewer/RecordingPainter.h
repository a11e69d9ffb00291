#pragma once
// Draws one chart of a recording over a time window: a title row with the legend, the plot with
// its grid, the lines of the chart's quantities (each decimated to the plot's pixel columns
// through the recording's summaries, so a paint costs the same at any range), the event markers
// on the time axis and the cursors A and B. The widget, the PNG export and the benchmark all
// paint through here, so that what is exported is what was shown.
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

#include "viewer/Recording.h"

class QPainter;

namespace qx::viewer {

struct ChartLine {
    Quantity quantity;
    QString name;
    QColor colour;
    Qt::PenStyle style = Qt::SolidLine;
    qreal width = 1;
};

struct ChartContent {
    QString title;  // before the legend; none where the legend names the quantity
    std::vector<ChartLine> lines;
};

// What the viewer lays over every chart: the window, the cursors and the event picked in the list.
struct ChartWindow {
    double fromMs = 0;
    double toMs = 0;
    std::optional<double> cursorA, cursorB;
    int pickedEvent = -1;  // index into the recording's events
};

class RecordingPainter {
  public:
    RecordingPainter();

    void paint(QPainter& painter, const Recording& recording, const ChartContent& content,
               const ChartWindow& window, const QRect& area) const;

    // The plot inside `area`: below the title row, right of the value labels, above the time labels.
    QRect plotArea(const QRect& area) const;
    // Pixel x of time t in `plot`, and back.
    static double xOf(const QRect& plot, const ChartWindow& window, double tMs);
    static double timeAt(const QRect& plot, const ChartWindow& window, double x);
    // The events whose markers lie within `reach` pixels of x, nearest first.
    static std::vector<int> eventsNear(const Recording& recording, const QRect& plot,
                                       const ChartWindow& window, double x, double reach);

    static QColor cursorColour(bool b) { return b ? QColor(0, 128, 0) : QColor(200, 0, 160); }

  private:
    QFont font_;
    int titleHeight_, labelWidth_, timeHeight_;
};

}  // namespace qx::viewer
