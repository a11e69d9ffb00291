#pragma once
// The recording viewer: a window with one chart per quantity (flow with the switch point and the
// taught limits, temperature) over a common time window, buttons for the ranges a commissioning
// engineer looks at, the list of events beside the charts, and under them the readout of the
// cursors A and B. A viewer of the run that is still being recorded reads the rows added since
// on a timer and, while it shows the newest samples, moves on with them.
#include <QWidget>
#include <memory>
#include <string>

#include "viewer/RecordingPainter.h"
#include "viewer/RecordingReader.h"
#include "viewer/ViewerTexts.h"

class QLabel;
class QListWidget;
class QTableWidget;
class QTimer;

namespace qx::viewer {

class RecordingChart;

class RecordingViewer : public QWidget {
  public:
    // Fails with RecordingError when the file is no readable recording. `follow`: the file is
    // still being written; read on what comes.
    RecordingViewer(const std::string& path, ViewerTexts texts, int32_t language, bool follow,
                    QWidget* parent = nullptr);
    ~RecordingViewer() override;

    const Recording& recording() const { return recording_; }
    const ChartWindow& window() const { return window_; }

    // Shows fromMs..toMs as far as the recording allows: no narrower than a tenth of a second, no
    // wider than the recording with a little room, and no further out than that room.
    void showRange(double fromMs, double toMs);
    // The newest `spanMs` of the recording; showAll() the whole of it.
    void showLast(double spanMs);
    void showAll();
    void placeCursor(bool b, double tMs);
    // Brings both cursors into the shown range, at a third and two thirds of it.
    void cursorsIntoView();
    // Centres the shown range on event i and marks it.
    void jumpToEvent(int i);
    // Reads what the writer committed since the last look; true when anything came.
    bool readNew();

    // The shown range as CSV and as a picture with a legend; std::runtime_error when it cannot be written.
    void exportCsv(const std::string& path) const;
    void exportPng(const std::string& path) const;
    QImage picture(const QSize& size) const;

    RecordingChart* flowChart() const { return charts_[0]; }
    RecordingChart* temperatureChart() const { return charts_[1]; }
    QTableWidget* readout() const { return readout_; }
    QListWidget* eventList() const { return events_; }

  private:
    QString text(const char* key) const { return QString::fromStdString(texts_.text(key)); }
    std::vector<ChartContent> contents() const;
    void changed();
    void showReadout();
    void fillEvents(int from);
    void askExport(bool png);
    std::pair<double, double> limits() const;

    std::unique_ptr<RecordingReader> reader_;
    Recording recording_;
    ViewerTexts texts_;
    int32_t language_;
    ChartWindow window_;
    RecordingChart* charts_[2] = {};
    QTableWidget* readout_ = nullptr;
    QListWidget* events_ = nullptr;
    QLabel* title_ = nullptr;
    QTimer* follow_ = nullptr;
};

}  // namespace qx::viewer
