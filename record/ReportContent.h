#pragma once
// What the commissioning report says, gathered from the frame without any toolkit: the device's
// identity, the settings as the device holds them (the model's values as last read), the teach
// events and notes of the run's journal, the trend around the last teach-in with its statistics,
// and every parameter the device description names. Texts come from the resource file in the
// model's language (English where the model has none). The PDF is drawn from this elsewhere.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frame/StandFrame.h"
#include "record/RunJournal.h"

namespace qx::record {

struct ReportLine {
    std::string label, value, unit;
};

struct ReportEntry {
    std::string time;  // "10:02:03"
    std::string text;
};

// Minimum, maximum and mean of one quantity over the samples that hold it.
struct ValueStatistics {
    size_t count = 0;
    double min = 0, max = 0, mean = 0;
};
ValueStatistics flowStatistics(const std::vector<Sample>& samples);
ValueStatistics temperatureStatistics(const std::vector<Sample>& samples);

struct ReportContent {
    int32_t language = 1033;
    std::string generated;  // "2026-12-07 10:12:00"
    std::vector<ReportLine> identity;
    std::vector<ReportLine> settings;
    std::vector<ReportEntry> teachEvents;
    std::vector<ReportEntry> notes;
    bool aroundTeach = false;     // the stretch lies around a teach-in, else it is the last minutes
    std::vector<Sample> stretch;  // the trend shown
    ValueStatistics flow, temperature;
    std::string flowUnit, temperatureUnit;
    std::vector<ReportLine> parameters;

    // A text of the report in its language, by resource key.
    std::string text(const std::string& key) const;
};

// Builds the report of the run the frame and its journal hold, at `nowMs` on the frame's clock.
ReportContent gatherReport(frame::StandFrame& frame, const RunJournal& journal, int64_t nowMs);

// The stretch of the trend the report shows: five minutes either side of the last teach-in (a
// write of a teach code) when there is one, else the ten minutes before `nowMs`.
std::vector<Sample> reportStretch(const RunJournal& journal, int64_t nowMs, bool& aroundTeach);

}  // namespace qx::record
