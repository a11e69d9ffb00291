// The window's part of the commissioning record: every interactive run recorded into the user's
// data folder, a note line in its own tool bar, and File › Commissioning report. A recording that
// cannot be written is told once, in the status bar and a dialog that does not wait; the run goes
// on without it.
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "FrameWindow.h"
#include "view/QX_FlowWiz.h"

namespace qx::window {

namespace {

// A device's name as part of a file name: letters, digits, '-' and '_' kept, anything else '_'.
QString fileNamePart(const std::string& name) {
    QString part;
    for (const QChar c : QString::fromStdString(name))
        part += c.isLetterOrNumber() || c == u'-' || c == u'_' ? c : QChar(u'_');
    return part.isEmpty() ? QStringLiteral("device") : part;
}

}  // namespace

std::string FrameWindow::recordingsFolder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return (base + QStringLiteral("/qxflow/recordings")).toStdString();
}

void FrameWindow::buildNoteBar() {
    QToolBar* bar = addToolBar(tr("Note"));
    bar->setObjectName("NoteBar");
    noteText_ = new QLineEdit(bar);
    noteText_->setObjectName("NoteText");
    noteText_->setPlaceholderText(tr("A note for the record"));
    noteText_->setMinimumWidth(240);
    auto* button = new QPushButton(tr("&Note"), bar);
    button->setObjectName("NoteButton");
    bar->addWidget(noteText_);
    bar->addWidget(button);
    const auto add = [this] {
        const QString text = noteText_->text().trimmed();
        if (text.isEmpty()) return;
        console_.recorder().note(text.toStdString());
        noteText_->clear();
        statusBar()->showMessage(tr("Note added: %1").arg(text), 5000);
    };
    connect(button, &QPushButton::clicked, this, add);
    connect(noteText_, &QLineEdit::returnPressed, this, add);
}

void FrameWindow::recordRun(const std::string& folder) {
    auto& journal = console_.recorder().journal();
    journal.onFailure = [this](const std::string& why) {
        const QString text = tr("The run is not being recorded: %1").arg(QString::fromStdString(why));
        statusBar()->showMessage(text);
        // Told once; the dialog waits for nobody, so the run goes on behind it.
        QTimer::singleShot(0, this, [this, text] {
            auto* box = new QMessageBox(QMessageBox::Warning, tr("Recording"), text, QMessageBox::Ok, this);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->setModal(false);
            box->show();
        });
    };
    QDir().mkpath(QString::fromStdString(folder));
    const std::string device =
        console_.frame().model() ? console_.frame().model()->displayName() : std::string("device");
    const QString name = QStringLiteral("%1-%2.qxrec")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")),
                                  fileNamePart(device));
    const std::string path = folder + "/" + name.toStdString();
    if (console_.recorder().recordTo(path)) {
        recordingPath_ = path;
        statusBar()->showMessage(tr("Recording into %1").arg(QString::fromStdString(path)), 5000);
    }
}

void FrameWindow::writeReport() {
    QString path = QFileDialog::getSaveFileName(
        this, tr("Commissioning report"),
        QStringLiteral("report-%1.pdf")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))),
        tr("PDF documents (*.pdf)"));
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
    if (auto refused = tryLine("report pdf \"" + path.toStdString() + "\""))
        QMessageBox::critical(
            this, tr("Commissioning report"),
            tr("The report cannot be written.\n\n%1").arg(QString::fromStdString(*refused)));
}

}  // namespace qx::window
