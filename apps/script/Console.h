#pragma once
// The console: runs a script's commands against one view in the stand-in frame and prints what
// a person at the frame would see and what the device receives. Commands, queries and output
// lines are a fixed contract with the scripts that drive it.
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "frame/StandFrame.h"
#include "frame/line/Line.h"
#include "frame/line/RealTimeLoop.h"
#include "record/FrameRecorder.h"
#include "script/ScriptReader.h"

namespace qx::console {

class Console {
  public:
    // Relative paths in the script are taken from scriptFolder.
    Console(std::ostream& out, std::string scriptFolder);
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // Runs one command. Throws ScriptError for an unknown command, a wrong argument or a command
    // at the wrong moment.
    void run(const Command& command);
    // Runs every command of the script; the exit status: 0 when every expect held, 1 when one
    // failed, 2 on a script error (after printing "error: line N: <why>").
    int runScript(std::istream& script);

    bool anyFailed() const { return failed_; }
    frame::StandFrame& frame() { return frame_; }

    // ---- for a front end that runs a script step by step (the window) ----
    // When set, wait checks its argument and hands the length here instead of running the time,
    // so that the front end can run it through advance() at its own pace.
    std::function<void(int64_t ms, int line)> onWait;
    // Runs `ms` of virtual time as wait does; an error that escapes an event is reported with
    // `line` and time goes on.
    void advance(int64_t ms, int line);
    // The end of a script: prints the script error, if any, and from then on nothing more; the
    // exit status.
    int endScript(const ScriptError* error);
    // Prints what is due after a person's action outside a command.
    void afterEvent();
    // A front end that keeps time itself (a window on the real clock) drains a real line's inbox
    // as answers come; advance() then runs virtual time only and never waits for the line.
    void letFrontEndKeepTime() { frontEndKeepsTime_ = true; }
    // The frame runs on the real date: exports tell the date the trend started.
    void dateExports() { datedExports_ = true; }
    // The inbox a real line's answers come through; none on the simulated line.
    std::shared_ptr<frame::UiInbox> lineInbox() const;
    // What a person calls the line: "simulator", "127.0.0.1:1502".
    std::string lineName() const;
    // `show line`: the line's kind, address and diagnostics (all 0 before there is a connection).
    std::string lineReport() const;
    // The frame's communication object on the line, for the frame's own jobs; none before init.
    std::shared_ptr<frame::LineCommunication> frameLine() const;
    // The frame closes the view and opens it again on the same device, as it does to apply a
    // language switch: release, a new view, init with the device object, a new toolbar and the
    // callback registration.
    void reopenView();
    // The run's journal and its recording, which a window records into as well.
    record::FrameRecorder& recorder() { return *recorder_; }

  private:
    using Handler = void (Console::*)(const Command&);
    struct Entry {
        Handler handler;
        size_t minWords, maxWords;  // with the command word
    };
    static const std::vector<std::pair<std::string, Entry>>& commandTable();

    // ---- before create (SetupCommands.cpp) ----
    void cmdClock(const Command& c);
    void cmdRegistry(const Command& c);
    void cmdDevice(const Command& c);
    // The path of `device file=<name>` (taken from the script's folder when relative), once the
    // description there validates.
    std::string descriptionFile(const Command& c, const std::string& name);
    void cmdTrace(const Command& c);
    // ---- the frame and the container (FrameCommands.cpp) ----
    void cmdCreate(const Command& c);
    void cmdInit(const Command& c);
    void cmdSetToolbar(const Command& c);
    void cmdRegisterCallback(const Command& c);
    void cmdResize(const Command& c);
    void cmdViewVisible(const Command& c);
    void cmdFrameEnv(const Command& c);
    void cmdNotifyEnv(const Command& c);
    void cmdLanguage(const Command& c);
    void cmdUnload(const Command& c);
    void cmdLogMessage(const Command& c);
    void cmdRelease(const Command& c);
    void cmdTerminate(const Command& c);
    void cmdWait(const Command& c);
    // ---- a person's actions (UserCommands.cpp) ----
    void cmdPress(const Command& c);
    void cmdClick(const Command& c);
    void cmdCheck(const Command& c);
    void cmdType(const Command& c);
    void cmdChoose(const Command& c);
    void cmdSlide(const Command& c);
    void cmdScroll(const Command& c);
    void cmdDrag(const Command& c);
    // ---- the trend in files (ExportCommands.cpp) ----
    void cmdExport(const Command& c);
    // ---- the recording, notes and the report (RecordCommands.cpp) ----
    void installRecorder();
    void cmdRecord(const Command& c);
    void cmdNote(const Command& c);
    void cmdReport(const Command& c);
    // A path of the script, taken from the script's folder when relative.
    std::string scriptPath(const std::string& name) const;
    // ---- parameter sets (ParamsCommands.cpp) ----
    void cmdParams(const Command& c);
    // ---- the simulated flow monitor (SimCommands.cpp) ----
    void cmdSim(const Command& c);
    // ---- the line to the device (LineCommands.cpp) ----
    void cmdLine(const Command& c);
    // From now on the device object the frame makes at init talks over `line`.
    void chooseLine(std::unique_ptr<frame::Line> line);
    // The frame's communication object, whichever the line; none before there is one.
    host::CommunicationPtr lineCommunication() const;
    // Refuses what only the simulated line offers once a real line is chosen.
    void requireSimulatedLine(const Command& c, const std::string& what) const;
    // ---- queries (Queries.cpp) ----
    void cmdShow(const Command& c);
    void cmdExpect(const Command& c);
    struct Answer {
        std::string what;   // as the script wrote it
        std::string value;  // as show prints it
        size_t words = 0;   // the query's words, after show/expect
    };
    Answer query(const Command& c);
    std::string stateQuery(const std::string& kind);
    std::string namedQuery(const Command& c, const std::string& kind, const std::string& name);
    std::string controlProperty(const std::string& what, int line);
    std::string chartQuery(const Command& c, size_t& words);
    std::string toolbarQuery(const std::string& what);

    // ---- output lines (Output.cpp) ----
    void installObservers();
    void watchView();
    // Prints one line, after the state and status changes that came before it.
    void emit(const std::string& line);
    void flushStatus();
    void checkState();

    // ---- helpers (Console.cpp) ----
    view::QX_FlowWiz& liveView(const Command& c);
    // A child control of the view by name; the charts' wrappers also answer to the names of the
    // view's fields for them ("cPC1", "cPC2"). None when absent.
    static std::shared_ptr<platform::Control> findControl(view::QX_FlowWiz& view, const std::string& name);
    platform::Control& control(const Command& c, size_t word);
    // Prints "ignored <target>" when the control did not take a person's input.
    void taken(bool taken, const std::string& target);
    [[noreturn]] void fail(const Command& c, const std::string& why) const;

    std::ostream& out_;
    std::string scriptFolder_;
    frame::StandFrame frame_;
    // The line behind the device object (the simulated one unless a script chose another), and
    // on a line to a real device the loop that runs on real time.
    std::unique_ptr<frame::Line> line_;
    std::unique_ptr<frame::RealTimeLoop> realTime_;
    bool frontEndKeepsTime_ = false;
    bool datedExports_ = false;
    bool failed_ = false;
    bool created_ = false;
    bool releaseAsked_ = false;
    bool silent_ = false;  // after the script's end nothing more is printed
    bool traceDebug_ = false, traceReads_ = false, traceState_ = false;
    int32_t lastState_ = 0;
    bool statusPending_ = false;
    std::string pendingStatusText_;
    platform::Subscription statusWatch_;
    int currentLine_ = 0;
    std::unique_ptr<record::FrameRecorder> recorder_;
};

}  // namespace qx::console
