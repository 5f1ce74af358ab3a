// SPDX-License-Identifier: MIT
#include "output/picture_export.h"

#include "form/F_main.h"
#include "form/dialogs.h"
#include "form/long_work.h"
#include "output/picture_bands.h"
#include "platform/busy_cursor.h"
#include "scale/scale_bar.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QFontInfo>
#include <QGuiApplication>

namespace {

// The scale bar's colour in the file.
constexpr Colour export_colour = scale_bar_grey;

// The picture as the picture area holds it; nothing is copied.
ShownPicture shown_picture(const PictureBox& P_in) {
    return {P_in.picture(), P_in.magnified(), P_in.size(), to_qcolor(P_in.background()),
            P_in.shrunk()};
}

// The work box's font at the pixel size it has on screen, so the text in the
// file has the size it would have in the box.
QFont work_box_font(const F_main& f) {
    QFont font = f.P_sub->font();
    font.setPixelSize(QFontInfo(font).pixelSize());
    return font;
}

// The scale bar where the last draw left it: the three lines, and the
// division value at the place of its label unless "hide division" is ticked.
// Nothing at all with "hide scale" ticked. The measuring lines, the
// cross-hair and the reference line are never part of the picture.
ExportMarks scale_bar_marks(const F_main& f) {
    ExportMarks marks;
    marks.colour = to_qcolor(export_colour);
    if (value(f.Check_hidescale) != 0) return marks;
    if (value(f.Check_hidedivisions) == 0) {
        marks.caption = f.L_div->text();
        marks.caption_at = f.L_div->pos();
        marks.font = work_box_font(f);
    }
    for (const LineObject* line : {f.Line_ax0, f.Line_ax1, f.Line_eq})
        marks.lines.emplace_back(line->X1(), line->Y1(), line->X2(), line->Y2());
    return marks;
}

} // namespace

void save_picture(F_main& f) {
    if (f.pic_path.isEmpty()) return;
    const QString path = ask_save_picture(f);
    if (path.isEmpty()) return;

    // The canvas is composed band by band on the way to the file rather than
    // in the work box; the box is left empty and hidden all the same.
    QString error;
    {
        // The export takes seconds at the larger zooms.
        BusyCursor busy;
        LongWork work(f, QStringLiteral("Saving %1").arg(QFileInfo(path).fileName()));
        error = write_exported_picture(
            shown_picture(*f.P_in), scale_bar_marks(f), path, 0,
            [&work](qint64 done, qint64 total) { work.progress(done, total); });
    }
    f.P_sub->clear_picture();
    f.P_sub->hide();
    if (!error.isEmpty()) {
        f.report(error);
        return;
    }
    f.report(QStringLiteral("Picture saved: %1, %2 x %3")
                 .arg(QFileInfo(path).fileName())
                 .arg(f.P_in->width())
                 .arg(f.P_in->height()),
             F_main::Outcome::done);
}

void wire_picture_export(F_main& f) {
    QObject::connect(f.fs, &QAction::triggered, &f, [&f] { save_picture(f); });
}
