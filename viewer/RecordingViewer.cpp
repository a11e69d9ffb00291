#include "viewer/RecordingViewer.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>
#include <cmath>
#include <stdexcept>

#include "viewer/RecordingChart.h"
#include "viewer/RecordingCsv.h"

namespace qx::viewer {

namespace {

constexpr double kNarrowest = 100;  // ms
constexpr int kFollowMs = 1000;

QString clock(double ms) {
    return QString::fromStdString(localIsoTime(static_cast<int64_t>(std::llround(ms))).substr(11));
}

}  // namespace

RecordingViewer::RecordingViewer(const std::string& path, ViewerTexts texts, int32_t language, bool follow,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window),
      reader_(std::make_unique<RecordingReader>(path)),
      texts_(std::move(texts)),
      language_(language) {
    reader_->readNew(recording_);
    setWindowTitle(text("IDS_3900_ViewerTitle").replace("%1", QString::fromStdString(path)));

    auto* top = new QHBoxLayout;
    title_ = new QLabel;
    title_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The title has a row of its own: beside the buttons a narrow window cut the date off.
    top->addStretch(1);
    const auto button = [&](const char* key, auto action) {
        auto* b = new QPushButton(text(key));
        b->setObjectName(key);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        top->addWidget(b);
        return b;
    };
    button("IDS_3906_OneMinute", [this] { showLast(60e3); });
    button("IDS_3907_TenMinutes", [this] { showLast(600e3); });
    button("IDS_3908_OneHour", [this] { showLast(3600e3); });
    button("IDS_3909_All", [this] { showAll(); });
    top->addSpacing(12);
    button("IDS_3910_CursorsHere", [this] { cursorsIntoView(); });
    top->addSpacing(12);
    button("IDS_3911_ExportCsv", [this] { askExport(false); });
    button("IDS_3912_ExportPng", [this] { askExport(true); });

    auto* chartsBox = new QWidget;
    auto* chartsLayout = new QVBoxLayout(chartsBox);
    chartsLayout->setContentsMargins(0, 0, 0, 0);
    chartsLayout->setSpacing(2);
    const auto shown = contents();
    for (size_t c = 0; c < 2; ++c) {
        charts_[c] = new RecordingChart(recording_, shown[c], window_, chartsBox);
        charts_[c]->onWindow = [this](double from, double to) { showRange(from, to); };
        charts_[c]->onCursor = [this](bool b, double t) { placeCursor(b, t); };
        chartsLayout->addWidget(charts_[c]);
    }
    auto* eventsBox = new QWidget;
    auto* eventsLayout = new QVBoxLayout(eventsBox);
    eventsLayout->setContentsMargins(0, 0, 0, 0);
    eventsLayout->addWidget(new QLabel(text("IDS_3913_Events")));
    events_ = new QListWidget;
    events_->setObjectName("events");
    // A long text ends in an ellipsis; its tool tip and the marker's give it whole.
    events_->setWordWrap(false);
    events_->setTextElideMode(Qt::ElideRight);
    events_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    events_->setMinimumWidth(160);
    eventsLayout->addWidget(events_);
    connect(events_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { jumpToEvent(events_->row(item)); });
    connect(events_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { jumpToEvent(events_->row(item)); });
    auto* split = new QSplitter(Qt::Horizontal);
    split->addWidget(chartsBox);
    split->addWidget(eventsBox);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    split->setSizes({780, 300});
    split->setCollapsible(0, false);

    readout_ = new QTableWidget(3, 6);
    readout_->setObjectName("readout");
    readout_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    readout_->setSelectionMode(QAbstractItemView::NoSelection);
    readout_->setFocusPolicy(Qt::NoFocus);
    readout_->setHorizontalHeaderLabels(
        {"A", "B", "B − A", text("IDS_3916_Min"), text("IDS_3917_Max"), text("IDS_3918_Mean")});
    const QString flowUnit = QString::fromStdString(recording_.run("flow_unit"));
    const QString tempUnit = QString::fromStdString(recording_.run("temperature_unit"));
    const auto withUnit = [](QString name, const QString& unit) {
        return unit.isEmpty() ? name : name + " [" + unit + "]";
    };
    readout_->setVerticalHeaderLabels({text("IDS_3914_Time"), withUnit(text("IDS_3901_Flow"), flowUnit),
                                       withUnit(text("IDS_3902_Temperature"), tempUnit)});
    readout_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    readout_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    readout_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    readout_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 6; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            readout_->setItem(r, c, item);
        }
    readout_->resizeRowsToContents();
    int height = readout_->horizontalHeader()->sizeHint().height() + 2 * readout_->frameWidth();
    for (int r = 0; r < 3; ++r) height += readout_->rowHeight(r);
    readout_->setFixedHeight(height);

    auto* hint = new QLabel(text("IDS_3919_Hint"));
    hint->setWordWrap(true);
    QPalette muted = hint->palette();
    muted.setColor(QPalette::WindowText, QColor(90, 90, 90));
    hint->setPalette(muted);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addLayout(top);
    layout->addWidget(split, 1);
    layout->addWidget(readout_);
    layout->addWidget(hint);

    fillEvents(0);
    showAll();
    cursorsIntoView();
    // Below this the buttons' texts and the readout's numbers no longer fit in either language.
    setMinimumSize(780, 560);
    resize(1100, 720);

    if (follow) {
        follow_ = new QTimer(this);
        connect(follow_, &QTimer::timeout, this, [this] { readNew(); });
        follow_->start(kFollowMs);
    }
}

RecordingViewer::~RecordingViewer() = default;

std::vector<ChartContent> RecordingViewer::contents() const {
    // The legend names each line; the quantity's own entry carries the unit, so no title repeats it.
    const auto withUnit = [](QString name, const std::string& unit) {
        return unit.empty() ? name : name + " [" + QString::fromStdString(unit) + "]";
    };
    return {
        {{},
         {{Quantity::Flow, withUnit(text("IDS_3901_Flow"), recording_.run("flow_unit")), QColor(0, 0, 128),
           Qt::SolidLine, 1.5},
          {Quantity::SwitchPoint, text("IDS_3903_SwitchPoint"), QColor(220, 0, 0), Qt::DashLine, 1.5},
          {Quantity::TaughtMax, text("IDS_3904_TaughtMax"), QColor(0, 150, 60), Qt::DotLine, 1.5},
          {Quantity::TaughtMin, text("IDS_3905_TaughtMin"), QColor(230, 130, 0), Qt::DotLine, 1.5}}},
        {{},
         {{Quantity::Temperature, withUnit(text("IDS_3902_Temperature"), recording_.run("temperature_unit")),
           QColor(150, 30, 30), Qt::SolidLine, 1.5}}}};
}

std::pair<double, double> RecordingViewer::limits() const {
    const auto span = recording_.span();
    if (!span) {
        const double now = static_cast<double>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                   std::chrono::system_clock::now().time_since_epoch())
                                                   .count());
        return {now - 60e3, now};
    }
    const auto [from, to] = *span;
    const double room = std::max(1000.0, static_cast<double>(to - from) * 0.02);
    return {static_cast<double>(from) - room, static_cast<double>(to) + room};
}

void RecordingViewer::showRange(double fromMs, double toMs) {
    if (toMs < fromMs) std::swap(fromMs, toMs);
    const auto [lo, hi] = limits();
    const double width = std::clamp(toMs - fromMs, kNarrowest, hi - lo);
    if (width != toMs - fromMs) fromMs = (fromMs + toMs) / 2 - width / 2;
    fromMs = std::clamp(fromMs, lo, hi - width);
    window_.fromMs = fromMs;
    window_.toMs = fromMs + width;
    changed();
}

void RecordingViewer::showLast(double spanMs) {
    const double end = limits().second;
    showRange(end - spanMs, end);
}

void RecordingViewer::showAll() {
    const auto [lo, hi] = limits();
    showRange(lo, hi);
}

void RecordingViewer::placeCursor(bool b, double tMs) {
    (b ? window_.cursorB : window_.cursorA) = tMs;
    changed();
}

void RecordingViewer::cursorsIntoView() {
    const double w = window_.toMs - window_.fromMs;
    window_.cursorA = window_.fromMs + w / 3;
    window_.cursorB = window_.fromMs + 2 * w / 3;
    changed();
}

void RecordingViewer::jumpToEvent(int i) {
    const auto& events = recording_.events();
    if (i < 0 || i >= static_cast<int>(events.size())) return;
    window_.pickedEvent = i;
    const double t = static_cast<double>(events[static_cast<size_t>(i)].tMs);
    const double w = window_.toMs - window_.fromMs;
    if (events_->currentRow() != i) events_->setCurrentRow(i);
    showRange(t - w / 2, t + w / 2);
}

bool RecordingViewer::readNew() {
    const auto before = recording_.span();
    const bool atEnd = !before || window_.toMs >= static_cast<double>(before->second);
    const int eventsBefore = static_cast<int>(recording_.events().size());
    bool any = false;
    try {
        any = reader_->readNew(recording_);
    } catch (const RecordingError&) {
        // The writer may hold the file for a moment; the next tick reads what this one missed.
        return false;
    }
    if (!any) return false;
    if (static_cast<int>(recording_.events().size()) != eventsBefore) fillEvents(0);
    if (atEnd && before) {
        const double w = window_.toMs - window_.fromMs;
        const double end = limits().second;
        showRange(end - w, end);
    } else {
        changed();
    }
    return true;
}

void RecordingViewer::fillEvents(int from) {
    const auto& events = recording_.events();
    // An event that came late for its time goes in its place; rebuild from the first that moved.
    while (events_->count() > from) delete events_->takeItem(events_->count() - 1);
    for (size_t i = static_cast<size_t>(from); i < events.size(); ++i) {
        const auto& e = events[i];
        auto* item =
            new QListWidgetItem(clock(static_cast<double>(e.tMs)) + "  " + QString::fromStdString(e.text));
        item->setToolTip(QString::fromStdString(localIsoTime(e.tMs) + "\n" + e.kind + ": " + e.text +
                                                (e.detail.empty() ? "" : "\n" + e.detail)));
        events_->addItem(item);
    }
    if (window_.pickedEvent >= 0) events_->setCurrentRow(window_.pickedEvent);
}

void RecordingViewer::changed() {
    const QString device = QString::fromStdString(recording_.run("device_name"));
    const QString started = QString::fromStdString(recording_.run("started"));
    title_->setText(QString("<b>%1</b>  %2&nbsp;&nbsp;&nbsp;%3 – %4")
                        .arg(device.toHtmlEscaped(), started.toHtmlEscaped(), clock(window_.fromMs),
                             clock(window_.toMs)));
    for (RecordingChart* chart : charts_)
        if (chart) chart->update();
    showReadout();
}

void RecordingViewer::showReadout() {
    if (!readout_) return;
    const QLocale locale(language_ == 1031 ? QLocale::German : QLocale::English);
    const auto number = [&](double v, bool mean = false) {
        if (std::isnan(v)) return QString("–");
        const bool whole = !mean && v == std::round(v);
        return locale.toString(v, 'f', whole ? 0 : 2);
    };
    const auto set = [&](int r, int c, const QString& s) { readout_->item(r, c)->setText(s); };
    const double a = window_.cursorA.value_or(NAN), b = window_.cursorB.value_or(NAN);
    set(0, 0, std::isnan(a) ? "–" : clock(a));
    set(0, 1, std::isnan(b) ? "–" : clock(b));
    set(0, 2, std::isnan(a) || std::isnan(b) ? "–" : locale.toString((b - a) / 1000, 'f', 3) + " s");
    for (int r = 1; r <= 2; ++r) {
        const Quantity q = r == 1 ? Quantity::Flow : Quantity::Temperature;
        const double va = std::isnan(a) ? NAN : recording_.valueAt(q, a).value_or(NAN);
        const double vb = std::isnan(b) ? NAN : recording_.valueAt(q, b).value_or(NAN);
        set(r, 0, number(va));
        set(r, 1, number(vb));
        set(r, 2, number(vb - va));
        const Stretch s = std::isnan(a) || std::isnan(b) ? Stretch{} : recording_.between(q, a, b);
        set(r, 3, s.empty() ? "–" : number(s.low));
        set(r, 4, s.empty() ? "–" : number(s.high));
        set(r, 5, s.empty() ? "–" : number(s.mean(), true));
    }
}

void RecordingViewer::exportCsv(const std::string& path) const {
    exportRecordingCsv(path, recording_, window_.fromMs, window_.toMs);
}

QImage RecordingViewer::picture(const QSize& size) const {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    const QFont font("DejaVu Sans", 10);
    p.setFont(font);
    const int header = QFontMetrics(font).height() + 10;
    p.setPen(Qt::black);
    p.drawText(
        QRect(8, 0, size.width() - 16, header), Qt::AlignVCenter | Qt::AlignLeft,
        QString("%1   %2 – %3")
            .arg(QString::fromStdString(recording_.run("device_name")),
                 QString::fromStdString(localIsoTime(static_cast<int64_t>(std::llround(window_.fromMs)))),
                 clock(window_.toMs)));
    const RecordingPainter painter;
    const auto shown = contents();
    const int h = (size.height() - header) / 2;
    for (int c = 0; c < 2; ++c)
        painter.paint(p, recording_, shown[static_cast<size_t>(c)], window_,
                      QRect(0, header + c * h, size.width(), h));
    return image;
}

void RecordingViewer::exportPng(const std::string& path) const {
    if (!picture(QSize(1280, 800)).save(QString::fromStdString(path), "PNG"))
        throw std::runtime_error(path + ": cannot be written");
}

void RecordingViewer::askExport(bool png) {
    const QString filter =
        png ? text("IDS_3924_PngPictures") + " (*.png)" : text("IDS_3923_CsvFiles") + " (*.csv)";
    const QString path = QFileDialog::getSaveFileName(
        this, text(png ? "IDS_3912_ExportPng" : "IDS_3911_ExportCsv"), {}, filter);
    if (path.isEmpty()) return;
    try {
        if (png)
            exportPng(path.toStdString());
        else
            exportCsv(path.toStdString());
    } catch (const std::exception& e) {
        QMessageBox::critical(this, windowTitle(),
                              text("IDS_3920_CannotWrite").replace("%1", QString::fromUtf8(e.what())));
    }
}

}  // namespace qx::viewer
