#include "ParameterSetMenu.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <memory>

#include "frame/FrameDataModel.h"
#include "frame/line/LineCommunication.h"
#include "script/Console.h"

namespace qx::window {

std::string quotedPath(const std::string& path) {
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

ParameterSetMenu::ParameterSetMenu(console::Console& console, std::function<void(const std::string&)> run,
                                   QWidget* parent)
    : QObject(parent), console_(console), run_(std::move(run)), parent_(parent) {
    confirm = [this](const std::string& path, const std::vector<frame::Difference>& differences, bool load) {
        return showTable(path, differences, load);
    };
}

void ParameterSetMenu::addTo(QMenu& menu) {
    const QString filter = tr("Parameter sets (*.json)");
    menu.addAction(tr("&Save parameters..."), this, [this, filter] {
        QString path = QFileDialog::getSaveFileName(parent_, tr("Save parameters"), {}, filter);
        if (path.isEmpty()) return;
        if (!path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)) path += QStringLiteral(".json");
        run_("params save " + quotedPath(path.toStdString()));
    });
    menu.addAction(tr("&Compare with parameter set..."), this, [this, filter] {
        const QString path =
            QFileDialog::getOpenFileName(parent_, tr("Compare with parameter set"), {}, filter);
        if (!path.isEmpty()) compare(path.toStdString(), false);
    });
    menu.addAction(tr("&Load parameter set..."), this, [this, filter] {
        const QString path = QFileDialog::getOpenFileName(parent_, tr("Load parameter set"), {}, filter);
        if (!path.isEmpty()) compare(path.toStdString(), true);
    });
    menu.addSeparator();
}

void ParameterSetMenu::compare(const std::string& path, bool load) {
    frame::ParameterSet set;
    try {
        set = frame::readSetFile(path);
    } catch (const frame::ParameterSetError& e) {
        return tell(tr("%1: %2").arg(QString::fromStdString(path), QString::fromStdString(e.what())));
    }
    const auto comm = console_.frameLine();
    const auto model = console_.frame().model();
    if (!comm || !model || !comm->IsConnected()) return tell(tr("The device is not connected."));
    const auto parameters = frame::describedParameters(*model);
    const std::string id =
        comm->QueueFrameRead({parameters.begin(), parameters.end()}, [this, path, set, model, load](bool ok) {
            if (!ok) return tell(tr("The device did not answer the read."));
            shown_ = frame::compareSet(set, *model);
            if (confirm(path, shown_, load) && load) run_("params load " + quotedPath(path));
        });
    if (id.empty()) tell(tr("The device is not connected."));
}

bool ParameterSetMenu::showTable(const std::string& path, const std::vector<frame::Difference>& differences,
                                 bool load) {
    QDialog dialog(parent_);
    dialog.setObjectName("ParameterSetTable");
    dialog.setWindowTitle(load ? tr("Load parameter set") : tr("Compare with parameter set"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(tr("%1: %n difference(s)", nullptr, static_cast<int>(differences.size()))
                                     .arg(QString::fromStdString(path)),
                                 &dialog));
    auto* table = new QTableWidget(static_cast<int>(differences.size()), 3, &dialog);
    table->setHorizontalHeaderLabels({tr("Parameter"), tr("File"), tr("Device")});
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (size_t i = 0; i < differences.size(); ++i) {
        const auto& d = differences[i];
        int column = 0;
        for (const std::string* text : {&d.name, &d.fileText, &d.deviceText})
            table->setItem(static_cast<int>(i), column++,
                           new QTableWidgetItem(QString::fromStdString(*text)));
    }
    layout->addWidget(table);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    if (load) buttons->addButton(tr("&Write to device"), QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(480, 320);
    return dialog.exec() == QDialog::Accepted;
}

void ParameterSetMenu::tell(const QString& text) {
    QMessageBox::information(parent_, tr("Parameter sets"), text);
}

}  // namespace qx::window
