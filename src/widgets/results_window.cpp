// SPDX-License-Identifier: MIT
#include "widgets/results_window.h"

#include "widgets/status_label.h"

#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

ResultsWindow::ResultsWindow(QWidget* owner) : QWidget(owner, Qt::Tool) {
    setObjectName(QStringLiteral("results_window"));
    setWindowTitle(QStringLiteral("Results"));
    path_ = new StatusLabel(this);
    path_->setObjectName(QStringLiteral("results_workbook"));
    table_ = new QTableWidget(0, 5, this);
    table_->setObjectName(QStringLiteral("results_rows"));
    table_->setHorizontalHeaderLabels({QStringLiteral("picture"), QStringLiteral("X"),
                                       QStringLiteral("Y"), QStringLiteral("D"),
                                       QStringLiteral("comment")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    table_->horizontalHeader()->setStretchLastSection(true);
    open_ = new QPushButton(QStringLiteral("Open in the spreadsheet program"), this);
    open_->setObjectName(QStringLiteral("results_open"));
    connect(open_, &QPushButton::clicked, this, &ResultsWindow::open_workbook);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(path_);
    layout->addWidget(table_, 1);
    layout->addWidget(open_, 0, Qt::AlignRight);
    set_workbook(QString());
    resize(620, 320);
}

void ResultsWindow::set_workbook(const QString& path) {
    if (!path.isEmpty() && path != workbook_) table_->setRowCount(0);
    if (!path.isEmpty()) workbook_ = path;
    path_->set_message(workbook_.isEmpty()
                           ? QStringLiteral("No workbook yet: the first row written starts one.")
                           : QDir::toNativeSeparators(workbook_));
    open_->setEnabled(!workbook_.isEmpty());
}

void ResultsWindow::add_row(const ResultRow& row) {
    const int at = table_->rowCount();
    table_->insertRow(at);
    const QString texts[] = {row.picture, row.x, row.y, row.d, row.comment};
    for (int col = 0; col < 5; ++col) {
        auto* item = new QTableWidgetItem(texts[col]);
        if (col >= 1 && col <= 3) {
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (row.red[size_t(col - 1)]) item->setForeground(Qt::red);
        }
        if (col == 0) item->setToolTip(row.picture);
        table_->setItem(at, col, item);
    }
    table_->scrollToBottom();
}
