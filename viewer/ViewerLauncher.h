#pragma once
// How the frame window opens the viewer: on a recording the person picks, or on the present
// run's own recording while it grows. Failures are told in a message box; the frame goes on.
#include <QString>
#include <cstdint>
#include <string>

class QWidget;

namespace qx::viewer {

// The viewer's texts in `language` from the resource database beside the library.
class ViewerTexts;
ViewerTexts viewerTexts(int32_t language);

// Asks for a file (starting in the recordings folder) and opens a viewer on it.
void openRecording(QWidget* parent, int32_t language);
// `path` empty: the newest file of the recordings folder, which is the present run's while the
// window records it.
void openPresentRecording(QWidget* parent, int32_t language, const std::string& path = {});
// Opens a viewer on `path`; nullptr (after telling the person why) when it is no recording.
class RecordingViewer;
RecordingViewer* openViewer(QWidget* parent, int32_t language, const std::string& path, bool follow);

}  // namespace qx::viewer
