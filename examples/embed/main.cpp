// The flow wizard view embedded in a plain main window, on a small frame of the application's
// own. It polls the simulated device; once the flow label has been painted with a polled value it
// prints that value. With --quit-after <ms> it ends by itself after that time: with status 0 when
// a polled value was painted, 1 when none was.
#include "FlowWizView.h"
#include "ViewBinding.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QScrollArea>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "SmallFrame.h"

namespace {

// Tells once when the widget has painted a caption the poll gave the label.
class PaintWatch : public QObject {
  public:
    PaintWatch(std::shared_ptr<qx::platform::Control> label, bool& painted)
        : label_(std::move(label)), painted_(painted) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted_ && polled()) {
            painted_ = true;
            std::printf("painted %s \"%s\"\n", label_->name().c_str(), caption().c_str());
            std::fflush(stdout);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    // The label starts empty; a polled flow is a number with its unit.
    bool polled() const { return caption().find_first_of("0123456789") != std::string::npos; }
    // The label is the view's own kind of control; its caption is a property like any other.
    std::string caption() const { return label_->getProperty("Caption").toText(); }

    std::shared_ptr<qx::platform::Control> label_;
    bool& painted_;
};

std::optional<int> quitAfter(const QStringList& arguments) {
    const auto at = arguments.indexOf("--quit-after");
    if (at < 0 || at + 1 >= arguments.size()) return std::nullopt;
    bool ok = false;
    const int ms = arguments.at(at + 1).toInt(&ok);
    return ok && ms >= 0 ? std::optional<int>(ms) : std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const auto quit = quitAfter(arguments);
    if (arguments.contains("--quit-after") && !quit) {
        std::fprintf(stderr, "usage: %s [--quit-after <ms>]\n", argv[0]);
        return 2;
    }

    embed::SmallFrame frame;
    frame.onMessage = [](const std::string& line) { std::printf("message: %s\n", line.c_str()); };
    const qx::FlowWizView view = qx::createFlowWizView(frame.ui());

    QMainWindow window;
    window.setWindowTitle("Flow wizard");
    auto* page = new QScrollArea(&window);
    window.setCentralWidget(page);
    // The view's widgets; the slider has none in this frame.
    qx::ui::ViewBinding binding(view.control, *view.controls, {}, nullptr);
    page->setWidget(binding.viewWidget());

    // Sited at its design size, as a container does; then the frame binds it to the device.
    view.control->move(0, 0, 12120, 9000);
    view.control->setVisible(true);
    view.resize();
    frame.start(view);

    bool painted = false;
    PaintWatch watch(view.controls->item("LaFS"), painted);
    if (QWidget* shown = binding.widget("LaFS")) shown->installEventFilter(&watch);
    // Charts take their points without notices; they look again at every frame.
    QTimer frames;
    QObject::connect(&frames, &QTimer::timeout, [&] { binding.modelsMayHaveChanged(); });
    frames.start(40);

    window.resize(840, 660);
    window.show();
    if (quit) QTimer::singleShot(*quit, &app, [&] { app.exit(painted ? 0 : 1); });
    return app.exec();
}
