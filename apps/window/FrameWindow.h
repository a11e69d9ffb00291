#pragma once
// qxframe's main window: the stand-in frame on screen. A menu bar, the frame's toolbar with the
// view's buttons and pictures, the view's page in the centre (scrolling when the window is
// smaller than the layout's minimum), the dockable simulator panel, and a status bar with the
// line, its connection state and a lost line's time and status. The frame's messages show as Qt
// dialogs. Everything the frame does goes through the console's interpreter, so the window and a
// script mean the same.
//
// The window follows change notices and never polls: the view's controls through the binding,
// the toolbar's buttons and the line through the frame's observers, the frame itself after every
// command. Virtual time moves with the real clock only when something falls due (one alarm for
// the scheduler's earliest task), and a real line's answers wake the window through its inbox.
#include <QLabel>
#include <QMainWindow>
#include <QScrollArea>
#include <QSocketNotifier>
#include <QToolBar>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "LineStatus.h"
#include "ParameterSetMenu.h"
#include "ViewBinding.h"
#include "VirtualTimePacer.h"
#include "script/Console.h"

class QActionGroup;

namespace qx::window {

class FrameWindow : public QMainWindow {
  public:
    // Virtual time runs at `speed` times the real clock when paced.
    explicit FrameWindow(console::Console& console, double speed = 1);
    ~FrameWindow() override;

    // Runs one console command line (a person's action on the frame); a refused command shows in
    // the status bar.
    void runLine(const std::string& line);
    // Runs one command line; the reason when it was refused.
    std::optional<std::string> tryLine(const std::string& line);
    // The frame sets the view up as a person meets it: English texts, the device (the built-in
    // flow monitor unless `deviceFile` names a description) on the simulated line or on the line
    // `lineChoice` names as a script's line command does ("modbus 127.0.0.1:1502"); the view
    // created, bound, given the toolbar and the callback. The reason when a step was refused (the
    // window then shows no view of a device it does not have).
    std::optional<std::string> openDevice(const std::string& deviceFile, const std::string& lineChoice);
    // Runs `ms` of virtual time at once and brings the window up to date (tests).
    void runFor(int64_t ms);
    // Runs `ms` of virtual time at the window's pace, reporting an error of an event with the
    // script's `line`, then calls done.
    void runPaced(int64_t ms, int line, std::function<void()> done);
    console::Console& console() { return console_; }

    // Looks at the frame after a command: binds a view that came, drops one that went, shows the
    // toolbar's buttons, the line and the simulator as they are now.
    void followFrame();
    // From now on the page's size is the view's size (a person resizes the window); while a
    // script runs, the script sizes the view and the page follows it.
    void letPageSizeView();
    // The frame switches its language and opens the view again, so that every caption the view
    // set at binding is looked up anew.
    void switchLanguage(int32_t language);
    // Sets virtual time to the present local date and time of day; before the view is created.
    void useRealTimeOfDay();
    // Virtual time runs on with the real clock while the window lives (after a script, or in an
    // interactive window).
    void startClock();
    // The clock that paces virtual time (tests step it by hand).
    ui::VirtualTimePacer& pacer() { return *pacer_; }
    ui::ViewBinding* binding() const { return binding_.get(); }
    const LineStatus& lineStatus() const { return *lineStatus_; }
    // The Device menu's parameter sets.
    ParameterSetMenu& parameterSets() { return *parameterSets_; }
    // The line's diagnostics, as a click on the status bar's line field opens them.
    void openLineDialog();

    // Records the run from now on into a new file in `folder` (by default the user's data
    // folder), named by date, time and device; a recording that cannot be written is told once.
    void recordRun(const std::string& folder = recordingsFolder());
    static std::string recordingsFolder();  // $XDG_DATA_HOME/qxflow/recordings
    const std::string& recordingPath() const { return recordingPath_; }

    // A description chosen in File › Open that validates: the frame opens it in a new frame on
    // the same line (the device is fixed once the frame has its model).
    std::function<void(const std::string& path)> onOpenDescription;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    void buildFileMenu();
    void openDescription();
    void exportTrend(const char* format, const QString& filter);
    void buildNoteBar();  // RunRecording.cpp
    void writeReport();
    void watchLine();
    void showLine();
    void bindView();
    void followToolbar();
    void showToolbarButtons();
    void followLine();
    void fitPageToView();
    void fitWindowToView();
    void sizeViewToPage();
    void markLanguage(int32_t language);
    void showMessage(const frame::MessageHandler::Message& message);

    console::Console& console_;
    QScrollArea* page_;
    QToolBar* toolbar_;
    QLabel* line_;
    ParameterSetMenu* parameterSets_ = nullptr;
    class SimulatorPanel* panel_;
    QActionGroup* languages_ = nullptr;
    std::unique_ptr<ui::ViewBinding> binding_;
    std::unique_ptr<ui::VirtualTimePacer> pacer_;
    int paceLine_ = 0;        // the script line whose wait the pacer runs
    bool clockFree_ = false;  // the pacer runs free on the real clock (not a script's wait)
    std::unique_ptr<QSocketNotifier> inboxWatch_;
    std::shared_ptr<frame::UiInbox> watchedInbox_;
    std::unique_ptr<LineStatus> lineStatus_;
    // Held weakly: a view made after the bound one went may well take its place in memory, and
    // must be bound all the same.
    std::weak_ptr<const view::QX_FlowWiz> boundView_;
    std::shared_ptr<frame::FrameToolbar> shownToolbar_;
    platform::Subscription toolbarWatch_;
    std::map<std::string, QAction*> buttons_;
    struct {
        std::function<void(const frame::MessageHandler::Message&)> onShown;
        std::function<void(const std::string&)> onConnection, onJobAnswer;
    } consoleObservers_;  // what the console had set before the window added its own
    bool pageSizesView_ = false;
    QSize fittedPage_;  // the page size the window was last fitted to
    class QLineEdit* noteText_ = nullptr;
    std::string recordingPath_;
};

}  // namespace qx::window
