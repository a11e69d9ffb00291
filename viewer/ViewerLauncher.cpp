#include "viewer/ViewerLauncher.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "platform/LibraryFolder.h"
#include "viewer/RecordingFiles.h"
#include "viewer/RecordingViewer.h"
#include "viewer/ViewerTexts.h"

namespace qx::viewer {

ViewerTexts viewerTexts(int32_t language) {
    return ViewerTexts(platform::libraryFolder() + "/QX_FlowRes.mdb", language);
}

RecordingViewer* openViewer(QWidget* parent, int32_t language, const std::string& path, bool follow) {
    ViewerTexts texts = viewerTexts(language);
    try {
        // A recording of hours at a fast poll takes seconds to read; the pointer says so.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        struct Restore {
            ~Restore() { QApplication::restoreOverrideCursor(); }
        } restore;
        auto* viewer = new RecordingViewer(path, texts, language, follow, parent);
        viewer->setAttribute(Qt::WA_DeleteOnClose);
        viewer->show();
        return viewer;
    } catch (const RecordingError& e) {
        QMessageBox::critical(
            parent, QString::fromStdString(texts.text("IDS_3926_OpenRecording")),
            QString::fromStdString(texts.text("IDS_3921_CannotOpen")).replace("%1", e.what()));
        return nullptr;
    }
}

void openRecording(QWidget* parent, int32_t language) {
    const ViewerTexts texts = viewerTexts(language);
    const QString path =
        QFileDialog::getOpenFileName(parent, QString::fromStdString(texts.text("IDS_3926_OpenRecording")),
                                     QString::fromStdString(recordingsFolder()),
                                     QString::fromStdString(texts.text("IDS_3922_Recordings")) +
                                         " (*.sqlite *.sqlite3 *.db *.qxrec);;* (*)");
    if (!path.isEmpty()) openViewer(parent, language, path.toStdString(), false);
}

void openPresentRecording(QWidget* parent, int32_t language, const std::string& path) {
    const auto file = path.empty() ? newestFile(recordingsFolder()) : std::optional<std::string>(path);
    if (!file) {
        const ViewerTexts texts = viewerTexts(language);
        QMessageBox::information(parent, QString::fromStdString(texts.text("IDS_3926_OpenRecording")),
                                 QString::fromStdString(texts.text("IDS_3925_NoRecording")));
        return;
    }
    openViewer(parent, language, *file, true);
}

}  // namespace qx::viewer
