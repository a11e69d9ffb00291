#pragma once
// Reads a recording file, while its run goes on or after it ended. The file is opened read-only,
// so a reader never disturbs the writer; in WAL mode a reader sees every row committed up to the
// moment it starts reading, and readNew() picks up what came since the last call, so a recording
// that is still growing can be followed on a timer. Files of every layout so far are read.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "record/RecordingFile.h"

struct sqlite3;

namespace qx::record {

// Rows in the order written (time order, unless the frame's clock was set back meanwhile).
struct Recording {
    int version = 0;
    std::map<std::string, std::string> facts;
    std::vector<Sample> samples;
    std::vector<Event> events;

    std::string fact(const std::string& key) const {
        auto it = facts.find(key);
        return it == facts.end() ? std::string() : it->second;
    }
};

class RecordingReader {
  public:
    // Fails with RecordingError when the file is missing, no recording, of a layout this reader
    // does not know, or unreadable.
    explicit RecordingReader(const std::string& path);
    ~RecordingReader();
    RecordingReader(const RecordingReader&) = delete;
    RecordingReader& operator=(const RecordingReader&) = delete;

    const std::string& path() const { return path_; }
    int version() const { return version_; }
    // Into `recording`: the run's facts as they stand now (they are few, and a view bound anew
    // adds its units), and the samples and events committed since the last call appended. True
    // when a sample or an event came. Fails with RecordingError, leaving `recording` and the
    // reader as they were, so that a later call reads the same rows again.
    bool readNew(Recording& recording);

  private:
    // Appends the samples committed after the last read; the rowid of the last row read.
    int64_t readSamples(std::vector<Sample>& into) const;
    void check(int code, const char* what) const;

    std::string path_;
    sqlite3* db_ = nullptr;
    int version_ = 0;
    int64_t lastSamples_ = 0;  // the rowid of the last sample (layout 1) or block read
    int64_t lastEvent_ = 0;
};

// The whole file in one go.
Recording readRecording(const std::string& path);

}  // namespace qx::record
