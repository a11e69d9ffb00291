#include "FrameWindow.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QProcess>
#include <QStatusBar>
#include <algorithm>

#include "ScreenTextMetrics.h"
#include "SimulatorPanel.h"
#include "SliderWidget.h"
#include "Twips.h"
#include "host/Slider.h"
#include "script/ScriptReader.h"
#include "view/QX_FlowWiz.h"

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

// The status bar's text on the line to the device.
QString lineText(const QString& state) {
    return QCoreApplication::translate("FrameWindow", "Line to the device: %1").arg(state);
}

}  // namespace

FrameWindow::FrameWindow(console::Console& console)
    : console_(console),
      page_(new QScrollArea(this)),
      toolbar_(addToolBar(tr("Frame"))),
      line_(new QLabel(this)) {
    console_.frame().setTextMetrics(std::make_shared<ui::ScreenTextMetrics>());
    setWindowTitle(tr("qxframe"));
    toolbar_->setObjectName("FrameToolbar");
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(16, 16));  // the pictures' own size
    page_->setWidgetResizable(false);
    page_->viewport()->installEventFilter(this);
    setCentralWidget(page_);
    statusBar()->addPermanentWidget(line_);
    // As wide as its longest text, so that the size grip never cuts it.
    line_->setMinimumWidth(line_->fontMetrics().horizontalAdvance(lineText(tr("not connected"))));
    panel_ = new SimulatorPanel([this](const std::string& line) { runLine(line); }, this);
    addDockWidget(Qt::RightDockWidgetArea, panel_);
    buildMenus();
    menuBar()->findChild<QMenu*>("DeviceMenu")->addAction(panel_->toggleViewAction());

    // The console prints each message; the window shows it as well.
    auto handler = console_.frame().messageHandler();
    handler->onShown = [print = handler->onShown, this](const frame::MessageHandler::Message& m) {
        if (print) print(m);
        showMessage(m);
    };
    followFrame();
}

FrameWindow::~FrameWindow() {
    clock_.reset();
    binding_.reset();
}

void FrameWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(tr("&Open device description..."), QKeySequence::Open, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, tr("Open device description"), {},
                                                          tr("Device descriptions (*.json)"));
        if (path.isEmpty()) return;
        // The device is fixed once the frame has its model: a new device is a new frame.
        QProcess::startDetached(QCoreApplication::applicationFilePath(), {"--device", path});
        close();
    });
    // The export reads the chart models, as the console's export command does.
    const auto exportAs = [this](const char* format, const QString& filter) {
        const QString path = QFileDialog::getSaveFileName(this, tr("Export trend"), {}, filter);
        if (!path.isEmpty()) runLine(std::string("export ") + format + " \"" + path.toStdString() + "\"");
    };
    file->addSeparator();
    file->addAction(tr("Export trend as &CSV..."), this,
                    [exportAs] { exportAs("csv", tr("CSV files (*.csv)")); });
    file->addAction(tr("Export trend as &PNG..."), this,
                    [exportAs] { exportAs("png", tr("PNG pictures (*.png)")); });
    file->addSeparator();
    file->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->addAction(tr("&English"), this, [this] { switchLanguage(1033); });
    view->addAction(tr("&German"), this, [this] { switchLanguage(1031); });

    QMenu* device = menuBar()->addMenu(tr("&Device"));
    device->setObjectName("DeviceMenu");

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("&About"), this, [this] {
        QMessageBox::about(this, tr("About qxframe"),
                           tr("qxframe: the flow wizard in the stand-in frame.\nQt %1").arg(qVersion()));
    });
}

void FrameWindow::runLine(const std::string& line) {
    std::optional<console::ScriptError> malformed;
    console::Command command{0, console::splitWords(line, 0, malformed), line, malformed};
    try {
        console_.run(command);
    } catch (const console::ScriptError& e) {
        statusBar()->showMessage(QString::fromStdString(e.why), 5000);
    }
    followFrame();
}

void FrameWindow::openDevice(const std::string& deviceFile, const std::string& connect) {
    runLine("device lang=1033");
    if (!deviceFile.empty()) runLine("device file=\"" + deviceFile + "\"");
    if (!connect.empty()) runLine("line modbus " + connect);
    for (const char* line : {"create", "init device", "set-toolbar", "register-callback"}) runLine(line);
}

void FrameWindow::runFor(int64_t ms) {
    console_.advance(ms, 0);
    followFrame();
}

void FrameWindow::followFrame() {
    auto& frame = console_.frame();
    const view::QX_FlowWiz* present = frame.hasView() ? &frame.view() : nullptr;
    if (present != boundView_) bindView();
    followToolbar();
    fitPageToView();
    if (binding_ && !pageSizesView_ && binding_->viewWidget()->size() != fittedPage_) fitWindowToView();
    panel_->follow(frame.sim(), frame.link().latencyMs);
    const auto comm = frame.communication();
    line_->setText(lineText(!comm                 ? tr("no line")
                            : comm->IsConnected() ? tr("connected")
                                                  : tr("not connected")));
}

void FrameWindow::bindView() {
    binding_.reset();
    auto& frame = console_.frame();
    boundView_ = frame.hasView() ? &frame.view() : nullptr;
    if (!boundView_) return;
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

void FrameWindow::followToolbar() {
    const auto& toolbar = console_.frame().toolbar();
    if (toolbar != shownToolbar_) {
        toolbar_->clear();
        buttons_.clear();
        shownToolbar_ = toolbar;
    }
    if (!toolbar) return;
    for (const auto& key : toolbar->buttons().keys()) {
        auto button = toolbar->buttons().find(key);
        QAction*& action = buttons_[key];
        if (!action) {
            action = toolbar_->addAction(iconOf(pictureOf(*toolbar, button->image())),
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

void FrameWindow::startClock(double speed) {
    clock_ = std::make_unique<ui::VirtualTimePacer>(
        [this](int64_t ms) {
            console_.advance(ms, 0);
            followFrame();
        },
        speed);
    clock_->start();
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
    if (watched == page_->viewport() && event->type() == QEvent::Resize && pageSizesView_) sizeViewToPage();
    return QMainWindow::eventFilter(watched, event);
}

void FrameWindow::switchLanguage(int32_t language) {
    runLine("language " + std::to_string(language));
    if (!console_.frame().hasView()) return;
    console_.reopenView();
    followFrame();
    if (pageSizesView_) sizeViewToPage();
}

void FrameWindow::showMessage(const frame::MessageHandler::Message& message) {
    auto* box = new QMessageBox(QMessageBox::Information, QString::fromStdString(message.caption), {},
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    std::string text = message.text;
    if (auto mark = text.find(kDetailsMark); message.detailed && mark != std::string::npos) {
        box->setDetailedText(QString::fromStdString(text.substr(mark + std::string(kDetailsMark).size())));
        text.erase(mark);
    }
    box->setText(QString::fromStdString(text));
    // Not modal: the frame goes on while the message waits for the person.
    box->open();
}

}  // namespace qx::window
