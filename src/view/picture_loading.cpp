// SPDX-License-Identifier: MIT
#include "view/picture_loading.h"

#include "form/F_main.h"
#include "form/dialogs.h"
#include "form/long_work.h"
#include "form/measure_room.h"
#include "form/scale_room.h"
#include "form/view_mapping.h"
#include "measure/modes.h"
#include "measure/trace_colours.h"
#include "picture/picture_io.h"
#include "platform/busy_cursor.h"
#include "platform/recent_pictures.h"
#include "scale/calibration.h"
#include "scale/scale_bar.h"
#include "view/decode_ahead.h"
#include "view/early_screenful.h"
#include "view/held_input.h"
#include "view/picture_decoding.h"
#include "view/scrolling.h"
#include "view/zoom.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <utility>

namespace {

constexpr qint64 busy_pixels = 4'000'000;
// How often the waiting open looks at its worker: the picture shows at most
// this long after it is decoded.
constexpr int look_ms = 4;
// ...and while the first screenful is awaited from the worker's rows, which
// the user sees as the wait for the picture.
constexpr int early_look_ms = 1;

// An open waiting for its picture. A newer open cancels it: its decoding is
// asked to stop and its early screenful withdrawn at once; it ends, changing
// nothing, when the newer one has (the newer one runs inside its wait).
struct Underway {
    QString path;
    bool cancelled = false;
    PictureDecoding* decoding = nullptr;
    QPointer<QWidget> early;
};

// The window's open under way, if any.
class OpenRecord : public QObject {
  public:
    explicit OpenRecord(F_main& f) : QObject(&f) { setObjectName(QStringLiteral("open_record")); }
    Underway* current = nullptr;
};

OpenRecord& open_record(F_main& f) {
    // Found by name: the class has no meta-object of its own to be found by.
    auto* r = f.findChild<QObject*>(QStringLiteral("open_record"), Qt::FindDirectChildrenOnly);
    return r != nullptr ? *static_cast<OpenRecord*>(r) : *new OpenRecord(f);
}

// Makes `underway` the window's open under way while it lives, cancelling
// the one before.
class Registered {
  public:
    Registered(F_main& f, Underway& underway) : record_(open_record(f)), me_(underway) {
        if (Underway* before = std::exchange(record_.current, &me_)) {
            before->cancelled = true;
            if (before->decoding) before->decoding->stop();
            if (before->early) before->early->hide();
        }
    }
    ~Registered() {
        if (record_.current == &me_) record_.current = nullptr;
    }
    Registered(const Registered&) = delete;
    Registered& operator=(const Registered&) = delete;

  private:
    OpenRecord& record_;
    Underway& me_;
};

// The picture's own size, whatever the zoom it shows at, as the decoding just
// read it; `more` follows it on the line.
PictureOpening opened(const F_main& f, QSize full, const QString& more) {
    return {QStringLiteral("Opened %1, %2 x %3")
                    .arg(QFileInfo(f.pic_path).fileName())
                    .arg(full.width())
                    .arg(full.height()) +
                more,
            F_main::Outcome::done};
}

// Waits, with the event loop running, until `decoding` has finished or the
// open is cancelled; the status bar shows how far it got after half a second.
// `look_on` runs at every look at the worker meanwhile, and says whether it
// still waits for rows, looked for more often until they come.
void wait_for(F_main& f, PictureDecoding& decoding, const Underway& underway,
              const std::function<bool()>& look_on = {}) {
    LongWork work(f, QStringLiteral("Opening %1").arg(QFileInfo(decoding.path()).fileName()),
                  LongWork::Thread::waited_on);
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (decoding.finished() || underway.cancelled) {
            loop.quit();
            return;
        }
        if (look_on && !look_on() && look.interval() != look_ms) look.setInterval(look_ms);
        work.progress(decoding.rows(), decoding.rows_in_all());
    });
    look.setTimerType(Qt::PreciseTimer);
    look.start(look_on ? early_look_ms : look_ms);
    // Quitting the application ends every loop: this one waits on regardless.
    while (!decoding.finished() && !underway.cancelled)
        loop.exec();
}

// The decoded picture of `path` whose picture is `full` large, to show at
// `percent`: from the decoding ahead when that is of this file, unchanged,
// else decoded now with the part the viewport will show on screen first.
// Null in both images when cancelled.
DecodedPicture decode_for_open(F_main& f, const QString& path, QSize full, double percent,
                               Underway& underway) {
    std::unique_ptr<PictureDecoding> decoding = take_decoded_ahead(f, path);
    const bool ahead = decoding != nullptr;
    std::unique_ptr<QWidget> early;
    const EarlyPart part = early_part(f, full, percent);
    // A JPEG decoded from the top shows the part the viewport shows at the
    // top as soon as the worker has made its rows: decoding them here as well
    // would only take the worker's processor. A part further down, or of a
    // BMP, is read here while the worker decodes the whole.
    const bool from_worker =
        !ahead && !part.region.isEmpty() && part.region.top() == 0 && jpeg_stored_upright(path);
    if (!ahead) {
        decoding = std::make_unique<PictureDecoding>(path, full, percent);
        if (!from_worker) early = show_early_screenful(f, path, part);
        underway.early = early.get();
    }
    underway.decoding = decoding.get();
    const auto look_on = [&] {
        if (!from_worker || early) return false;
        if (QImage rows = decoding->decoded_part(part.region); !rows.isNull()) {
            early = show_early_part(f, part, std::move(rows));
            underway.early = early.get();
            return false;
        }
        return true;
    };
    if (!decoding->finished()) wait_for(f, *decoding, underway, look_on);
    underway.decoding = nullptr;
    if (underway.cancelled) {
        let_go_of(f, std::move(decoding));
        return {};
    }
    DecodedPicture decoded = decoding->take();
    // Decoded ahead from a file that has changed since: read again.
    if (ahead && !(decoded.file == file_identity(path))) {
        decoding = std::make_unique<PictureDecoding>(path, full, percent);
        underway.decoding = decoding.get();
        wait_for(f, *decoding, underway);
        underway.decoding = nullptr;
        if (underway.cancelled) {
            let_go_of(f, std::move(decoding));
            return {};
        }
        decoded = decoding->take();
    }
    return decoded;
}

} // namespace

void open_picture(F_main& f) {
    const QString path = ask_open_picture(f);
    if (path.isEmpty()) return;
    const InputHeld held(f);
    const PictureOpening opening = open_picture_file(f, path);
    if (!opening.message.isEmpty()) f.report(opening.message, opening.outcome);
}

QString picture_being_opened(F_main& f) {
    const OpenRecord& record = open_record(f);
    return record.current != nullptr ? record.current->path : f.pic_path;
}

PictureOpening open_picture_file(F_main& f, const QString& path) {
    Underway underway;
    underway.path = path;
    const Registered registered(f, underway);
    // Input waits until the open has completed or been refused, and is then
    // handed on to the window as it is then.
    const InputHeld held(f);
    // Without the zoom lock the picture shows at its own size, at 100%; with
    // it, at the zoom in force, whose caption stays as it is.
    const bool unlocked = value(f.Check_zlock) == 0;
    const double percent = unlocked ? 100.0 : view_mapping(f).percent;
    // The checks that need no decoding come first: a file gone, unreadable or
    // no picture leaves everything as it was.
    const PictureSize stated = read_picture_size(path);
    if (!stated.size.isValid()) return {stated.error};
    DecodedPicture decoded;
    {
        const BusyCursor busy(qint64(stated.size.width()) * stated.size.height() > busy_pixels);
        decoded = decode_for_open(f, path, stated.size, percent, underway);
    }
    if (underway.cancelled) return {};
    // Nothing has changed so far but the early screenful, now withdrawn: a
    // file that proves damaged leaves the window exactly as it was.
    if (!decoded.error.isEmpty()) return {decoded.error};
    const QString previous = std::exchange(f.pic_path, path);
    if (!show_decoded_picture(f, decoded, percent)) {
        f.pic_path = previous;
        return {QStringLiteral("Could not read %1: the file changed while it was read").arg(path)};
    }
    if (unlocked) set_view_zoom(f, 100);
    remember_recent_picture(path);
    restart_measuring(f.measure_room());
    set_trace_grey(f.measure_room());
    update_scroll_bars(f);
    draw_scale_bar(f.scale_room());
    // A reference line marked on the previous picture means nothing on this one.
    const QString calibration_ended =
        end_calibration(f.scale_room()) ? QStringLiteral(". Calibration ended: another picture was "
                                                         "opened; the scale was not changed.")
                                        : QString();
    decode_next_ahead(f);
    return opened(f, stated.size, calibration_ended);
}
