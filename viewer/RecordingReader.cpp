#include "viewer/RecordingReader.h"

#include <limits>

namespace qx::viewer {

namespace {

double valueOf(const std::optional<double>& v) {
    return v ? *v : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

bool RecordingReader::readNew(Recording& recording) {
    const auto factsBefore = rows_.facts;
    rows_.samples.clear();
    rows_.events.clear();
    bool any = file_.readNew(rows_);
    for (const record::Sample& s : rows_.samples) {
        recording.append({s.tMs,
                          {valueOf(s.flow), valueOf(s.temperature), valueOf(s.switchPoint),
                           valueOf(s.taughtMax), valueOf(s.taughtMin)}});
    }
    for (record::Event& e : rows_.events)
        recording.appendEvent({e.tMs, std::move(e.kind), std::move(e.text), e.detail.value_or("")});
    if (rows_.facts != factsBefore) {
        recording.setRun(rows_.facts);
        any = true;
    }
    recording.settle();
    return any;
}

Recording readRecording(const std::string& path) {
    RecordingReader reader(path);
    Recording recording;
    reader.readNew(recording);
    return recording;
}

}  // namespace qx::viewer
