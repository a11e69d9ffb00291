#pragma once
// qxframe's main window: the stand-in frame on screen. A menu bar, the frame's toolbar with the
// view's buttons and pictures, the view's page in the centre (scrolling when the window is
// smaller than the layout's minimum), the dockable simulator panel, and a status bar with the
// line and its connection state. The frame's messages show as Qt dialogs. Everything the frame
// does goes through the console's interpreter, so the window and a script mean the same.
#include <QLabel>
#include <QMainWindow>
#include <QScrollArea>
#include <QToolBar>
#include <map>
#include <memory>
#include <string>

#include "ViewBinding.h"
#include "VirtualTimePacer.h"
#include "script/Console.h"

namespace qx::window {

class FrameWindow : public QMainWindow {
  public:
    explicit FrameWindow(console::Console& console);
    ~FrameWindow() override;

    // Runs one console command line (a person's action on the frame).
    void runLine(const std::string& line);
    // The frame sets the view up as a person meets it: English texts, the device (the built-in
    // flow monitor unless `deviceFile` names a description) on the simulated line or, with
    // `connect`, on Modbus TCP; the view created, bound, given the toolbar and the callback.
    void openDevice(const std::string& deviceFile, const std::string& connect);
    // Runs `ms` of virtual time at once and brings the window up to date (tests and scripts).
    void runFor(int64_t ms);
    console::Console& console() { return console_; }
    // Looks at the frame after every command and every step of time: binds a view that came,
    // drops one that went, and mirrors the toolbar and the line's state.
    void followFrame();
    // From now on the page's size is the view's size (a person resizes the window); while a
    // script runs, the script sizes the view and the page follows it.
    void letPageSizeView();
    // The frame switches its language and opens the view again, so that every caption the view
    // set at binding is looked up anew.
    void switchLanguage(int32_t language);
    // Virtual time runs on with the real clock, `speed` times as fast, while the window lives.
    void startClock(double speed);
    ui::ViewBinding* binding() const { return binding_.get(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    void bindView();
    void followToolbar();
    void fitPageToView();
    void fitWindowToView();
    void sizeViewToPage();
    void showMessage(const frame::MessageHandler::Message& message);

    console::Console& console_;
    QScrollArea* page_;
    QToolBar* toolbar_;
    QLabel* line_;
    class SimulatorPanel* panel_;
    std::unique_ptr<ui::ViewBinding> binding_;
    std::unique_ptr<ui::VirtualTimePacer> clock_;
    const view::QX_FlowWiz* boundView_ = nullptr;
    std::shared_ptr<frame::FrameToolbar> shownToolbar_;
    std::map<std::string, QAction*> buttons_;
    bool pageSizesView_ = false;
    QSize fittedPage_;  // the page size the window was last fitted to
};

}  // namespace qx::window
