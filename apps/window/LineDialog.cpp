#include "LineDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "LineStatus.h"

namespace qx::window {

LineDialog::LineDialog(std::function<std::string()> report, QWidget* parent)
    : QDialog(parent),
      report_(std::move(report)),
      table_(new QTableWidget(0, 2, this)),
      timer_(new QTimer(this)) {
    setObjectName("LineDialog");
    setWindowTitle(tr("Line diagnostics"));
    table_->setObjectName("LineDiagnostics");
    table_->setHorizontalHeaderLabels({tr("Counter"), tr("Value")});
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    connect(timer_, &QTimer::timeout, this, &LineDialog::refresh);
    timer_->start(500);
    refresh();
    // Every counter shows at once: ten rows are no reason to scroll.
    table_->setMinimumHeight(table_->horizontalHeader()->sizeHint().height() +
                             table_->verticalHeader()->length() + 2 * table_->frameWidth());
    resize(320, sizeHint().height());
}

void LineDialog::refresh() {
    const auto rows = diagnosticsRows(report_());
    table_->setRowCount(static_cast<int>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        const int row = static_cast<int>(i);
        for (int column = 0; column < 2; ++column) {
            const std::string& text = column == 0 ? rows[i].first : rows[i].second;
            auto* item = table_->item(row, column);
            if (!item) table_->setItem(row, column, item = new QTableWidgetItem);
            item->setText(QString::fromStdString(text));
        }
    }
}

}  // namespace qx::window
