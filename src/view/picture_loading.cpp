// SPDX-License-Identifier: MIT
#include "view/picture_loading.h"

#include "form/F_main.h"
#include "form/dialogs.h"
#include "form/view_mapping.h"
#include "measure/modes.h"
#include "measure/trace_colours.h"
#include "platform/recent_pictures.h"
#include "scale/calibration.h"
#include "scale/scale_bar.h"
#include "view/scrolling.h"
#include "view/show_picture.h"
#include "view/zoom.h"

#include <QCheckBox>
#include <QFileInfo>
#include <utility>

namespace {
// Says the picture's own size, whatever the zoom it shows at, as the decoding
// just read it; `more` follows it on the line.
void say_opened(F_main& f, QSize full, const QString& more) {
    f.report(QStringLiteral("Opened %1, %2 x %3")
                     .arg(QFileInfo(f.pic_path).fileName())
                     .arg(full.width())
                     .arg(full.height()) +
                 more,
             F_main::Outcome::done);
}
} // namespace

void open_picture(F_main& f) {
    const QString path = ask_open_picture(f);
    if (path.isEmpty()) return;
    open_picture_file(f, path);
}

bool open_picture_file(F_main& f, const QString& path) {
    // pic_path names the new file while it is read. A file that turns out not
    // to be a readable picture puts the previous pic_path back, with its
    // picture still shown, and the status bar says why.
    const QString previous = f.pic_path;
    const bool had_picture = f.P_in->has_picture();
    f.pic_path = path;
    // Opening reads the file even when it is the one shown, unchanged: the
    // kept picture's memory is only reused for it.
    const FileIdentity kept_file = std::exchange(f.full_picture_file, FileIdentity());
    const bool unlocked = value(f.Check_zlock) == 0;
    // Without the zoom lock the picture shows at its own size, at 100%; with
    // it, at the zoom in force, whose caption stays as it is.
    QSize full;
    if (const QString why = show_picture_at(f, unlocked ? 100.0 : view_mapping(f).percent, &full);
        !why.isEmpty()) {
        f.pic_path = previous;
        if (!f.full_picture.isNull()) f.full_picture_file = kept_file; // not touched
        // A large picture is let go before the next is decoded. When the new
        // file fails only past its header (a photo cut short in copying), the
        // previous picture is shown again as it was; the reason for the new
        // file is the one that stays.
        if (had_picture && !f.P_in->has_picture()) {
            if (const QString again = show_picture_at(f, view_mapping(f).percent); !again.isEmpty())
                f.report(again);
        }
        f.report(why);
        return false;
    }
    if (unlocked) set_view_zoom(f, 100);
    remember_recent_picture(path);
    restart_measuring(f);
    set_trace_grey(f);
    update_scroll_bars(f);
    draw_scale_bar(f);
    // A reference line marked on the previous picture means nothing on this one.
    say_opened(f, full,
               end_calibration(f) ? QStringLiteral(". Calibration ended: another picture was "
                                                   "opened; the scale was not changed.")
                                  : QString());
    return true;
}
