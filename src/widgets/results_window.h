// SPDX-License-Identifier: MIT
#pragma once
// The results at a glance: a tool window beside the main one listing the rows
// this window wrote to its workbook, newest last, with the workbook's path
// above them and a button that opens the workbook in the desktop's
// spreadsheet program. It shows rows as it is given them, one by one; where
// they come from is its owner's business.

#include <QString>
#include <QWidget>
#include <array>

class QPushButton;
class QTableWidget;
class StatusLabel;

struct ResultRow {
    QString picture, x, y, d, comment;
    std::array<bool, 3> red{}; // X, Y, D marked red
};

class ResultsWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ResultsWindow(QWidget* owner);

    // The workbook the rows are written to ("" while none is open). Another
    // workbook than the rows' starts the list afresh.
    void set_workbook(const QString& path);
    void add_row(const ResultRow& row);

  signals:
    void open_workbook(); // the button: open it in the desktop's program

  private:
    StatusLabel* path_;
    QTableWidget* table_;
    QPushButton* open_;
    QString workbook_;
};
