// SPDX-License-Identifier: MIT
#include "output/picture_export.h"

#include "form/dialogs.h"
#include "form/long_work.h"
#include "form/output_room.h"
#include "form/scale_door.h"
#include "output/picture_bands.h"
#include "platform/busy_cursor.h"
#include "scale/scale_bar.h"
#include "widgets/picture_box.h"

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
QFont work_box_font(const OutputRoom& room) {
    QFont font = room.P_sub->font();
    font.setPixelSize(QFontInfo(font).pixelSize());
    return font;
}

// The scale bar where the last draw left it, as the scale shows it: the
// three lines, and the division value at the place of its label unless
// "hide division" is ticked; nothing at all with "hide scale" ticked. The
// measuring lines, the cross-hair and the reference line are never part of
// the picture.
ExportMarks scale_bar_marks(const OutputRoom& room) {
    const ShownScaleBar bar = room.scale.shown_scale_bar();
    ExportMarks marks;
    marks.colour = to_qcolor(export_colour);
    marks.lines = bar.lines;
    marks.caption = bar.caption;
    marks.caption_at = bar.caption_at;
    if (!bar.caption.isEmpty()) marks.font = work_box_font(room);
    return marks;
}

} // namespace

void save_picture(const OutputRoom& room) {
    if (room.pic_path.isEmpty()) return;
    const QString path = ask_save_picture(room.dialogs);
    if (path.isEmpty()) return;

    // The canvas is composed band by band on the way to the file rather than
    // in the work box; the box is left empty and hidden all the same.
    QString error;
    {
        // The export takes seconds at the larger zooms.
        BusyCursor busy;
        LongWork work(room.report, QStringLiteral("Saving %1").arg(QFileInfo(path).fileName()));
        error = write_exported_picture(
            shown_picture(*room.P_in), scale_bar_marks(room), path, 0,
            [&work](qint64 done, qint64 total) { work.progress(done, total); });
    }
    room.P_sub->clear_picture();
    room.P_sub->hide();
    if (!error.isEmpty()) {
        room.report(error);
        return;
    }
    room.report(QStringLiteral("Picture saved: %1, %2 x %3")
                    .arg(QFileInfo(path).fileName())
                    .arg(room.P_in->width())
                    .arg(room.P_in->height()),
                ReportOutcome::done);
}
