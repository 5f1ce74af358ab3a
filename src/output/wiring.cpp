// SPDX-License-Identifier: MIT
#include "output/wiring.h"

#include "form/F_main.h"
#include "form/output_room.h"
#include "output/picture_export.h"
#include "output/spreadsheet_export.h"
#include "output/workbook_recovery.h"
#include "output/workbook_session.h"
#include "platform/event_hooks.h"
#include "widgets/forward_typing.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>

void wire_output(F_main& f) {
    // The session first: the room holds it. After measuring's and the
    // scale's wiring: the room holds their doors.
    f.workbook = new WorkbookSession(f.spreadsheets, &f);
    f.workbook->show_read_back_progress(Reporter(f));
    const OutputRoom room = f.output_room();

    QObject::connect(f.fs, &QAction::triggered, &f, [room] { save_picture(room); });

    // A rescue at any time (a row, "new", logging out, closing) shows the
    // menu item that opens the recovery folder.
    QObject::connect(f.workbook, &WorkbookSession::rows_rescued, &f,
                     [room] { show_recovered_workbooks_item(room); });
    QObject::connect(f.Command_excel, &QPushButton::clicked, &f,
                     [room] { Command_excel_Click(room); });
    QObject::connect(f.Command_new, &QPushButton::clicked, &f, [room] { Command_new_Click(room); });
    on_key_press(f.Command_excel,
                 [room](int& key_ascii) { Command_excel_KeyPress(room, key_ascii); });
    // The focus moves to "to Excel" after a measurement; a comment typed
    // then goes where it was meant to go.
    forward_typing(f.Command_excel, f.Text_comment);
    // Installed last, so it sees the keys first: a key held on a button
    // writes one row, or starts one workbook, not one per repeat.
    for (QPushButton* button : {f.Command_excel, f.Command_new})
        ignore_key_repeats(button, {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter});
    QObject::connect(f.recovered_workbooks, &QAction::triggered, &f,
                     [room] { recovered_workbooks_Click(room); });
}
