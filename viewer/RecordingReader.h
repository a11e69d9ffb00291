#pragma once
// Follows a recording file into a Recording held for viewing: the file's rows as the recording
// reader gives them (record/RecordingReader.h), turned into the viewer's samples and events.
#include <map>
#include <string>

#include "record/RecordingReader.h"
#include "viewer/Recording.h"

namespace qx::viewer {

// A file that is no recording, of another layout, or unreadable; the message says which.
using record::RecordingError;

class RecordingReader {
  public:
    explicit RecordingReader(const std::string& path) : file_(path) {}

    const std::string& path() const { return file_.path(); }
    // Appends the rows written since the last call (all of them the first time), takes the run's
    // facts when they changed, and settles the recording; true when anything came.
    bool readNew(Recording& recording);

  private:
    record::RecordingReader file_;
    record::Recording rows_;  // what the last read brought
};

// The whole file in one go.
Recording readRecording(const std::string& path);

}  // namespace qx::viewer
