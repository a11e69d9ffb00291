#pragma once
// Reads a recording file (SQLite, written by the frame while its run goes on) into a Recording.
// The file is opened read-only, so a viewer never disturbs the writer; in WAL mode a reader sees
// every row committed up to the moment it starts reading, and readNew() picks up what came since
// the last call, so a recording that is still growing can be followed on a timer.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "viewer/Recording.h"

struct sqlite3;

namespace qx::viewer {

// The layout of recording files this reader understands (the file's user_version).
inline constexpr int kRecordingLayout = 1;

// A file that is no recording, of another layout, or unreadable; the message says which.
class RecordingError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class RecordingReader {
  public:
    explicit RecordingReader(const std::string& path);
    ~RecordingReader();
    RecordingReader(const RecordingReader&) = delete;
    RecordingReader& operator=(const RecordingReader&) = delete;

    const std::string& path() const { return path_; }
    // Appends the rows written since the last call (all of them the first time) and settles the
    // recording; true when anything came.
    bool readNew(Recording& recording);

  private:
    void check(int code, const char* what) const;

    std::string path_;
    sqlite3* db_ = nullptr;
    int64_t lastSample_ = 0;  // the rowid of the last sample read
    int64_t lastEvent_ = 0;
    bool runRead_ = false;
};

// The whole file in one go.
Recording readRecording(const std::string& path);

}  // namespace qx::viewer
