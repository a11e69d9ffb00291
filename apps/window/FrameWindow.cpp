#include "FrameWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QFileDialog>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QStatusBar>
#include <algorithm>

#include "LineDialog.h"
#include "ScreenTextMetrics.h"
#include "SimulatorPanel.h"
#include "SliderWidget.h"
#include "Twips.h"
#include "frame/DeviceDescriptionFile.h"
#include "host/Slider.h"
#include "platform/RuntimeError.h"
#include "script/ScriptReader.h"
#include "view/QX_FlowWiz.h"
#include "viewer/ViewerLauncher.h"

namespace qx::window {

namespace {

// The frame puts the details of a detailed message after this line break.
constexpr const char* kDetailsMark = "\r\nDetails:";

// None when the image list lacks the key.
host::PicturePtr pictureOf(const frame::FrameToolbar& toolbar, const std::string& key) {
    const auto keys = toolbar.images().keys();
    return std::find(keys.begin(), keys.end(), key) == keys.end() ? nullptr : toolbar.images().item(key);
}

QIcon iconOf(const host::PicturePtr& picture) {
    QPixmap pixmap;
    if (picture) pixmap.loadFromData(picture->png().data(), static_cast<uint>(picture->png().size()), "PNG");
    return QIcon(pixmap);
}

// A person's input, before which virtual time catches up with the real clock, so that what the
// input starts is timed from the moment the person gave it.
bool isInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::Shortcut:
            return true;
        default:
            return false;
    }
}

// "trend-20261206-142301" for a trend exported now.
QString exportName(const char* format) {
    return QStringLiteral("trend-%1.%2")
        .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")), QString(format));
}

}  // namespace

FrameWindow::FrameWindow(console::Console& console, double speed)
    : console_(console),
      page_(new QScrollArea(this)),
      toolbar_(addToolBar(tr("Frame"))),
      line_(new QLabel(this)),
      lineStatus_(std::make_unique<LineStatus>("simulator")) {
    console_.frame().setTextMetrics(std::make_shared<ui::ScreenTextMetrics>());
    console_.letFrontEndKeepTime();
    auto& scheduler = console_.frame().scheduler();
    pacer_ = std::make_unique<ui::VirtualTimePacer>([this](int64_t ms) { console_.advance(ms, paceLine_); },
                                                    [&scheduler]() -> std::optional<int64_t> {
                                                        const auto due = scheduler.nextDueMs();
                                                        if (!due) return std::nullopt;
                                                        return *due - scheduler.nowMs();
                                                    },
                                                    speed);
    scheduler.onEarlierTask = [this] { pacer_->rearm(); };

    setWindowTitle(tr("qxframe"));
    toolbar_->setObjectName("FrameToolbar");
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(16, 16));  // the pictures' own size
    page_->setWidgetResizable(false);
    setCentralWidget(page_);
    line_->setObjectName("LineStatus");
    line_->setToolTip(tr("Click for the line's diagnostics"));
    // A lost line's text is long and must stay readable whole in a narrow window: it wraps.
    line_->setWordWrap(true);
    line_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    statusBar()->addPermanentWidget(line_, 1);
    panel_ = new SimulatorPanel([this](const std::string& line) { runLine(line); }, this);
    addDockWidget(Qt::RightDockWidgetArea, panel_);
    buildMenus();
    buildNoteBar();
    menuBar()->findChild<QMenu*>("DeviceMenu")->addAction(panel_->toggleViewAction());

    // The console prints each message; the window shows it as well.
    auto handler = console_.frame().messageHandler();
    consoleObservers_.onShown = handler->onShown;
    handler->onShown = [print = handler->onShown, this](const frame::MessageHandler::Message& m) {
        if (print) print(m);
        showMessage(m);
    };
    watchLine();
    qApp->installEventFilter(this);
    followFrame();
}

FrameWindow::~FrameWindow() {
    qApp->removeEventFilter(this);
    // The console may outlive the window: it gets its own observers back.
    console_.frame().scheduler().onEarlierTask = nullptr;
    console_.frame().messageHandler()->onShown = consoleObservers_.onShown;
    console_.frame().link().onConnection = consoleObservers_.onConnection;
    console_.frame().link().onJobAnswer = consoleObservers_.onJobAnswer;
    pacer_.reset();
    binding_.reset();
}

// The line's observers are copied into the device object at init, so they are set before.
void FrameWindow::watchLine() {
    auto& link = console_.frame().link();
    consoleObservers_.onConnection = link.onConnection;
    consoleObservers_.onJobAnswer = link.onJobAnswer;
    const auto timeOfDay = [this] { return console_.frame().scheduler().timeOfDay(); };
    link.onConnection = [print = link.onConnection, this, timeOfDay](const std::string& status) {
        if (print) print(status);
        lineStatus_->connection(status, timeOfDay());
        showLine();
    };
    link.onJobAnswer = [print = link.onJobAnswer, this, timeOfDay](const std::string& status) {
        if (print) print(status);
        lineStatus_->jobAnswer(status, timeOfDay());
        showLine();
    };
}

void FrameWindow::showLine() {
    line_->setText(QString::fromStdString(lineStatus_->text()));
    line_->setStyleSheet(lineStatus_->lost() ? QStringLiteral("color: #b00000; font-weight: bold")
                                             : QString());
}

void FrameWindow::buildMenus() {
    buildFileMenu();

    QMenu* view = menuBar()->addMenu(tr("&View"));
    languages_ = new QActionGroup(this);
    for (const auto& [name, language] : {std::pair{tr("&English"), 1033}, std::pair{tr("&German"), 1031}}) {
        QAction* action =
            view->addAction(name, this, [this, language = language] { switchLanguage(language); });
        action->setCheckable(true);
        action->setData(language);
        languages_->addAction(action);
    }

    QMenu* device = menuBar()->addMenu(tr("&Device"));
    device->setObjectName("DeviceMenu");
    parameterSets_ = new ParameterSetMenu(
        console_, [this](const std::string& line) { runLine(line); }, this);
    parameterSets_->addTo(*device);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("&About"), this, [this] {
        QMessageBox::about(this, tr("About qxframe"),
                           tr("qxframe: the flow wizard in the stand-in frame.\nQt %1").arg(qVersion()));
    });
}

void FrameWindow::openLineDialog() {
    auto* dialog = findChild<LineDialog*>("LineDialog");
    if (!dialog) {
        dialog = new LineDialog([this] { return console_.lineReport(); }, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    dialog->show();
    dialog->raise();
}

void FrameWindow::buildFileMenu() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Open device description..."), QKeySequence::Open, this,
                    [this] { openDescription(); });
    file->addSeparator();
    file->addAction(tr("Export trend as &CSV..."), this,
                    [this] { exportTrend("csv", tr("CSV files (*.csv)")); });
    file->addAction(tr("Export trend as &PNG..."), this,
                    [this] { exportTrend("png", tr("PNG pictures (*.png)")); });
    file->addAction(tr("Commissioning &report..."), this, [this] { writeReport(); });
    file->addSeparator();
    const auto language = [this] {
        const QAction* shown = languages_ ? languages_->checkedAction() : nullptr;
        return shown ? shown->data().toInt() : 1033;
    };
    file->addAction(tr("Open &recording..."), this,
                    [this, language] { viewer::openRecording(this, language()); });
    file->addAction(tr("&This run's recording"), this,
                    [this, language] { viewer::openPresentRecording(this, language()); });
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);
}

// A description is checked whole before anything is given up: one that does not validate leaves
// the running view and its line as they are.
void FrameWindow::openDescription() {
    const QString path = QFileDialog::getOpenFileName(this, tr("Open device description"), {},
                                                      tr("Device descriptions (*.json)"));
    if (path.isEmpty()) return;
    try {
        frame::readDescriptionFile(path.toStdString());
    } catch (const platform::RuntimeError& e) {
        QMessageBox::critical(this, tr("Open device description"),
                              tr("The device description cannot be opened.\n\n%1")
                                  .arg(QString::fromStdString(e.description())));
        return;
    }
    if (onOpenDescription) onOpenDescription(path.toStdString());
}

// The export reads the chart models, as the console's export command does.
void FrameWindow::exportTrend(const char* format, const QString& filter) {
    QString path = QFileDialog::getSaveFileName(this, tr("Export trend"), exportName(format), filter);
    if (path.isEmpty()) return;
    const QString suffix = QStringLiteral(".") + format;
    if (!path.endsWith(suffix, Qt::CaseInsensitive)) path += suffix;
    runLine(std::string("export ") + format + " \"" + path.toStdString() + "\"");
}

void FrameWindow::runLine(const std::string& line) {
    if (auto refused = tryLine(line)) statusBar()->showMessage(QString::fromStdString(*refused), 5000);
}

std::optional<std::string> FrameWindow::tryLine(const std::string& line) {
    std::optional<console::ScriptError> malformed;
    console::Command command{0, console::splitWords(line, 0, malformed), line, malformed};
    std::optional<std::string> refused;
    try {
        console_.run(command);
    } catch (const console::ScriptError& e) {
        refused = e.why;
    }
    followFrame();
    return refused;
}

std::optional<std::string> FrameWindow::openDevice(const std::string& deviceFile,
                                                   const std::string& lineChoice) {
    std::vector<std::string> lines = {"device lang=1033"};
    if (!deviceFile.empty()) lines.push_back("device file=\"" + deviceFile + "\"");
    if (!lineChoice.empty()) lines.push_back("line " + lineChoice);
    for (const char* line : {"create", "init device", "set-toolbar", "register-callback"})
        lines.emplace_back(line);
    for (const auto& line : lines)
        if (auto refused = tryLine(line)) return refused;
    return std::nullopt;
}

void FrameWindow::runFor(int64_t ms) {
    console_.advance(ms, 0);
}

void FrameWindow::runPaced(int64_t ms, int line, std::function<void()> done) {
    paceLine_ = line;
    pacer_->run(ms, std::move(done));
}

void FrameWindow::followFrame() {
    auto& frame = console_.frame();
    const bool stale = frame.hasView() ? boundView_.lock() != frame.viewPtr() : binding_ != nullptr;
    if (stale) bindView();
    followToolbar();
    fitPageToView();
    if (binding_ && !pageSizesView_ && binding_->viewWidget()->size() != fittedPage_) fitWindowToView();
    followLine();
    markLanguage(frame.options().language);
    showLine();
    if (binding_) binding_->modelsMayHaveChanged();
}

// A real line is named in the status bar, its answers wake the window, and the simulator's panel
// goes: it would show a device that is not the one on the line.
void FrameWindow::followLine() {
    const auto inbox = console_.lineInbox();
    if (inbox != watchedInbox_) {  // a script may choose another line before init
        watchedInbox_ = inbox;
        *lineStatus_ = LineStatus(console_.lineName());
        panel_->toggleViewAction()->setEnabled(!inbox);
        inboxWatch_.reset();
        if (inbox) {
            panel_->hide();
            inboxWatch_ = std::make_unique<QSocketNotifier>(inbox->fd(), QSocketNotifier::Read);
            connect(inboxWatch_.get(), &QSocketNotifier::activated, this, [this, inbox] {
                if (pacer_->running() && clockFree_) pacer_->step();
                if (inbox->drain() == 0) return;
                console_.advance(0, paceLine_);
                if (binding_) binding_->modelsMayHaveChanged();
            });
        }
    }
    if (!inbox) panel_->follow(console_.frame().sim(), console_.frame().link().latencyMs);
}

void FrameWindow::bindView() {
    binding_.reset();
    auto& frame = console_.frame();
    boundView_ = frame.viewPtr();
    if (!frame.hasView()) return;
    ui::ViewBinding::WidgetFactories factories = {{host::kSliderProgId, createSliderWidget}};
    binding_ =
        std::make_unique<ui::ViewBinding>(frame.viewPtr(), frame.view().Controls(), factories, nullptr);
    page_->setWidget(binding_->viewWidget());
    if (pageSizesView_) sizeViewToPage();
}

// While a script sizes the view, the window grows or shrinks so that the page shows all of it.
void FrameWindow::fitWindowToView() {
    fitPageToView();
    const QSize page = binding_->viewWidget()->size();
    fittedPage_ = page;
    // The page asks for exactly the whole view just while the window takes its size from what its
    // parts ask for; afterwards a person may resize it freely.
    const int border = 2 * page_->frameWidth();
    page_->setFixedSize(page + QSize(border, border));
    layout()->activate();
    // Not adjustSize(): that keeps a window within two thirds of the screen. The main window's
    // hint leaves out its status bar.
    resize(sizeHint() + QSize(0, statusBar()->sizeHint().height()));
    page_->setMinimumSize(0, 0);
    page_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

// A new toolbar is shown anew; its buttons are then followed through their change notices.
void FrameWindow::followToolbar() {
    const auto& toolbar = console_.frame().toolbar();
    if (toolbar != shownToolbar_) {
        toolbar_->clear();
        buttons_.clear();
        shownToolbar_ = toolbar;
        toolbarWatch_ =
            toolbar ? toolbar->buttons().observe([this] { showToolbarButtons(); }) : platform::Subscription();
    }
    showToolbarButtons();
}

void FrameWindow::showToolbarButtons() {
    if (!shownToolbar_) return;
    for (const auto& key : shownToolbar_->buttons().keys()) {
        auto button = shownToolbar_->buttons().find(key);
        QAction*& action = buttons_[key];
        if (!action) {
            action = toolbar_->addAction(iconOf(pictureOf(*shownToolbar_, button->image())),
                                         QString::fromStdString(key));
            action->setObjectName(QString::fromStdString(key));
            connect(action, &QAction::triggered, this, [this, key] { runLine("press " + key); });
        }
        action->setCheckable(button->Style() == frame::kCheckStyle);
        action->setChecked(button->value() == 1);
        action->setEnabled(button->enabled());
        action->setToolTip(QString::fromStdString(button->ToolTipText()));
    }
}

// The page shows the view at its own layout: at least as large as the view's scroll form, which
// the layout never makes smaller than its minimum.
void FrameWindow::fitPageToView() {
    if (!binding_) return;
    QSize extent;
    if (QWidget* form = binding_->widget("SF1"))
        extent = QSize(form->geometry().right() + 1, form->geometry().bottom() + 1);
    // Sized, not given a minimum: a minimum would keep the page from shrinking with the view.
    if (extent.isValid()) binding_->viewWidget()->resize(extent);
}

void FrameWindow::useRealTimeOfDay() {
    const QDateTime now = QDateTime::currentDateTime();
    console_.frame().setClock(now.time().msecsSinceStartOfDay());
    console_.frame().scheduler().setStartDay(static_cast<int32_t>(QDate(1970, 1, 1).daysTo(now.date())));
    console_.dateExports();
}

void FrameWindow::startClock() {
    paceLine_ = 0;
    clockFree_ = true;
    pacer_->start();
}

void FrameWindow::letPageSizeView() {
    pageSizesView_ = true;
    sizeViewToPage();
}

void FrameWindow::sizeViewToPage() {
    if (!binding_ || !console_.frame().hasView()) return;
    const QSize size = page_->viewport()->size();
    runLine("resize " + std::to_string(ui::toTwips(size.width())) + " " +
            std::to_string(ui::toTwips(size.height())));
}

bool FrameWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool dragging =
        event->type() == QEvent::MouseMove && static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton;
    if (dragging && binding_) binding_->modelsMayHaveChanged();  // a scroll bar's thumb moves the window
    if (isInput(event->type())) {
        if (clockFree_) pacer_->step();
        // What the input does to the charts shows at the next frame after it.
        if (binding_) binding_->modelsMayHaveChanged();
    }
    if (watched == page_->viewport() && event->type() == QEvent::Resize && pageSizesView_) sizeViewToPage();
    if (watched == line_ && event->type() == QEvent::MouseButtonRelease) openLineDialog();
    return QMainWindow::eventFilter(watched, event);
}

void FrameWindow::markLanguage(int32_t language) {
    for (QAction* action : languages_->actions()) action->setChecked(action->data().toInt() == language);
}

void FrameWindow::switchLanguage(int32_t language) {
    runLine("language " + std::to_string(language));
    if (!console_.frame().hasView()) return;
    console_.reopenView();
    followFrame();
    if (pageSizesView_) sizeViewToPage();
}

// A detailed message tells of a failure, a plain one refuses what a person entered or asks for
// attention. The box is window-modal: the person answers it before using the view again, while
// time, the line and the charts go on.
void FrameWindow::showMessage(const frame::MessageHandler::Message& message) {
    auto* box = new QMessageBox(message.detailed ? QMessageBox::Critical : QMessageBox::Warning,
                                QString::fromStdString(message.caption), {}, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    std::string text = message.text;
    if (auto mark = text.find(kDetailsMark); message.detailed && mark != std::string::npos) {
        box->setDetailedText(QString::fromStdString(text.substr(mark + std::string(kDetailsMark).size())));
        text.erase(mark);
    }
    box->setText(QString::fromStdString(text));
    box->open();
}

}  // namespace qx::window
