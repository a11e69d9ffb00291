// record <file>, note <text>, report pdf <file>: the run kept in a recording, the person's notes,
// and the commissioning report. The console journals every run in memory, so a report needs no
// recording; a recording that cannot be written is told on standard error and the run goes on.
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "record/FrameRecorder.h"
#include "record/ReportContent.h"
#include "report/CommissioningReport.h"
#include "script/Console.h"

namespace qx::console {

void Console::installRecorder() {
    recorder_ = std::make_unique<record::FrameRecorder>(frame_);
    recorder_->journal().onFailure = [this](const std::string& why) {
        std::cerr << "qxflow-run: line " << currentLine_ << ": recording " << why << "\n";
    };
}

std::string Console::scriptPath(const std::string& name) const {
    std::filesystem::path path = name;
    if (path.is_relative()) path = std::filesystem::path(scriptFolder_) / path;
    return path.string();
}

void Console::cmdRecord(const Command& c) {
    if (c.words[1].text.empty()) fail(c, "record wants the path of a file");
    if (recorder_->recordTo(scriptPath(c.words[1].text))) emit("recording " + c.words[1].text);
}

void Console::cmdNote(const Command& c) {
    // A note is the rest of the line as written, or one quoted text.
    const std::string text = c.words.size() == 2 && c.words[1].quoted ? c.words[1].text : c.restAfter(1);
    recorder_->note(text);
}

void Console::cmdReport(const Command& c) {
    if (c.words[1].text != "pdf") fail(c, "report pdf, not " + c.words[1].text);
    liveView(c);
    recorder_->afterEvent();
    const auto content = record::gatherReport(frame_, recorder_->journal(), recorder_->nowMs());
    try {
        report::writeReportPdf(scriptPath(c.words[2].text), content);
    } catch (const std::runtime_error& e) {
        fail(c, e.what());
    }
    emit("exported " + c.words[2].text);
}

}  // namespace qx::console
