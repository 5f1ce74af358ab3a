#include "shell/unload.h"

#include "output/spreadsheet_export.h"
#include "shell/F_main.h"
#include "shell/tutorial.h"

#include <cstdio>

void F_main_Unload(F_main& f) {
    const QString book = f.xl_book;
    QString why;
    if (!close_workbook(f, &why)) {
        // The window is going and the status bar with it. The file on disk is
        // the last good save, which already holds every row saved after its
        // write; only what that save could not take is lost.
        const QString line =
            QStringLiteral("kelvo: the workbook was not saved on closing: %1\n").arg(why);
        std::fputs(line.toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
        abandon_workbook(f);
    }
    remove_leftover_workbook_files(book);
    if (f.F_tut_Vw == 1 && f.tutorial) f.tutorial->close();
}
