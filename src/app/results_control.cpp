// SPDX-License-Identifier: MIT
#include "app/results_control.h"

#include "form/F_main.h"
#include "output/workbook_session.h"
#include "widgets/results_window.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>

namespace {

// The row as the workbook got it: picture, X, Y, D with their marks, comment.
ResultRow shown_row(const spreadsheet::TypedRow& cells) {
    ResultRow row;
    for (const spreadsheet::TypedCell& cell : cells) {
        switch (cell.col) {
        case 1:
            row.picture = cell.text;
            break;
        case 2:
        case 3:
        case 4:
            (cell.col == 2 ? row.x : cell.col == 3 ? row.y : row.d) = cell.text;
            row.red[size_t(cell.col - 2)] = cell.colour == 255u; // the red mark, exactly
            break;
        case 5:
            row.comment = cell.text;
            break;
        default:
            break;
        }
    }
    return row;
}

} // namespace

void open_workbook_in_desktop(F_main& f) {
    if (f.workbook->xl_open == 0) {
        f.report(QStringLiteral("No workbook is open: the first row written (\"to Excel\") "
                                "starts one."));
        return;
    }
    const QString book = QDir::toNativeSeparators(f.workbook->xl_book);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(f.workbook->xl_book)))
        f.report(QStringLiteral("Could not open %1: no spreadsheet program answered").arg(book));
    else
        f.report(QStringLiteral("Opened %1 in the desktop's spreadsheet program").arg(book),
                 F_main::Outcome::done);
}

void add_results_window(F_main& f) {
    auto* window = new ResultsWindow(&f);
    QObject::connect(window, &ResultsWindow::open_workbook, &f,
                     [&f] { open_workbook_in_desktop(f); });

    auto* view = f.menuBar()->findChild<QMenu*>(QStringLiteral("view_menu"));
    QAction* results = view->addAction(QStringLiteral("Results (&R)"));
    results->setObjectName(QStringLiteral("view_results"));
    results->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    QObject::connect(results, &QAction::triggered, window, [&f, window] {
        if (f.workbook->xl_open != 0) window->set_workbook(f.workbook->xl_book);
        window->show();
        window->raise();
        window->activateWindow();
    });

    auto* open = new QAction(QStringLiteral("Open workbook (&B)"), f.ff);
    open->setObjectName(QStringLiteral("open_workbook"));
    f.ff->insertAction(f.recovered_workbooks, open);
    QObject::connect(open, &QAction::triggered, &f, [&f] { open_workbook_in_desktop(f); });

    // Every row the session saves, also the ones that waited for a later save.
    QObject::connect(f.workbook, &WorkbookSession::row_saved, window,
                     [window](const WorkbookSession::WrittenRow& saved) {
                         window->set_workbook(saved.book);
                         window->add_row(shown_row(saved.cells));
                     });
}
