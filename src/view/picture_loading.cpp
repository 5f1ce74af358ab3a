// SPDX-License-Identifier: MIT
#include "view/picture_loading.h"

#include "form/check_value.h"
#include "form/dialogs.h"
#include "form/long_work.h"
#include "form/measuring_door.h"
#include "form/scale_door.h"
#include "form/view_room.h"
#include "picture/picture_io.h"
#include "platform/busy_cursor.h"
#include "platform/recent_pictures.h"
#include "view/decode_ahead.h"
#include "view/early_screenful.h"
#include "view/held_input.h"
#include "view/picture_decoding.h"
#include "view/scrolling.h"
#include "view/zoom.h"
#include "widgets/click_label.h"

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
    explicit OpenRecord(QWidget* window) : QObject(window) {
        setObjectName(QStringLiteral("open_record"));
    }
    Underway* current = nullptr;
};

OpenRecord& open_record(QWidget* window) {
    // Found by name: the class has no meta-object of its own to be found by.
    auto* r =
        window->findChild<QObject*>(QStringLiteral("open_record"), Qt::FindDirectChildrenOnly);
    return r != nullptr ? *static_cast<OpenRecord*>(r) : *new OpenRecord(window);
}

// Makes `underway` the window's open under way while it lives, cancelling
// the one before.
class Registered {
  public:
    Registered(QWidget* window, Underway& underway) : record_(open_record(window)), me_(underway) {
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
PictureOpening opened(const QString& path, QSize full, const QString& more) {
    return {QStringLiteral("Opened %1, %2 x %3")
                    .arg(QFileInfo(path).fileName())
                    .arg(full.width())
                    .arg(full.height()) +
                more,
            ReportOutcome::done};
}

// Waits, with the event loop running, until `decoding` has finished or the
// open is cancelled; the status bar shows how far it got after half a second.
// `look_on` runs at every look at the worker meanwhile, and says whether it
// still waits for rows, looked for more often until they come.
void wait_for(const ViewRoom& room, PictureDecoding& decoding, const Underway& underway,
              const std::function<bool()>& look_on = {}) {
    LongWork work(room.report,
                  QStringLiteral("Opening %1").arg(QFileInfo(decoding.path()).fileName()),
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
DecodedPicture decode_for_open(const ViewRoom& room, const QString& path, QSize full,
                               double percent, Underway& underway) {
    std::unique_ptr<PictureDecoding> decoding = take_decoded_ahead(room, path);
    const bool ahead = decoding != nullptr;
    std::unique_ptr<QWidget> early;
    const EarlyPart part = early_part(room, full, percent);
    // A JPEG decoded from the top shows the part the viewport shows at the
    // top as soon as the worker has made its rows: decoding them here as well
    // would only take the worker's processor. A part further down, or of a
    // BMP, is read here while the worker decodes the whole.
    const bool from_worker =
        !ahead && !part.region.isEmpty() && part.region.top() == 0 && jpeg_stored_upright(path);
    if (!ahead) {
        decoding = std::make_unique<PictureDecoding>(path, full, percent,
                                                     std::exchange(room.spare_memory, QImage()));
        if (!from_worker) early = show_early_screenful(room, path, part);
        underway.early = early.get();
    }
    underway.decoding = decoding.get();
    const auto look_on = [&] {
        if (!from_worker || early) return false;
        if (QImage rows = decoding->rows_covering(part.region); !rows.isNull()) {
            early = show_early_part(room, part, std::move(rows), part.region);
            underway.early = early.get();
            return false;
        }
        return true;
    };
    if (!decoding->finished()) wait_for(room, *decoding, underway, look_on);
    underway.decoding = nullptr;
    if (underway.cancelled) {
        let_go_of(room, std::move(decoding));
        return {};
    }
    DecodedPicture decoded = decoding->take();
    // Decoded ahead from a file that has changed since: read again.
    if (ahead && !(decoded.file == file_identity(path))) {
        decoding = std::make_unique<PictureDecoding>(path, full, percent, std::move(decoded.full));
        underway.decoding = decoding.get();
        wait_for(room, *decoding, underway);
        underway.decoding = nullptr;
        if (underway.cancelled) {
            let_go_of(room, std::move(decoding));
            return {};
        }
        decoded = decoding->take();
    }
    return decoded;
}

} // namespace

void open_picture(const ViewRoom& room) {
    const QString path = ask_open_picture(room.dialogs);
    if (path.isEmpty()) return;
    const InputHeld held(room);
    const PictureOpening opening = open_picture_file(room, path);
    if (!opening.message.isEmpty()) room.report(opening.message, opening.outcome);
}

QString picture_being_opened(const ViewRoom& room) {
    const OpenRecord& record = open_record(room.window);
    return record.current != nullptr ? record.current->path : room.pic_path;
}

PictureOpening open_picture_file(const ViewRoom& room, const QString& path) {
    Underway underway;
    underway.path = path;
    const Registered registered(room.window, underway);
    // Input waits until the open has completed or been refused, and is then
    // handed on to the window as it is then.
    const InputHeld held(room);
    // Without the zoom lock the picture shows at its own size, at 100%; with
    // it, at the zoom in force, whose caption stays as it is.
    const bool unlocked = value(room.Check_zlock) == 0;
    const double percent = unlocked ? 100.0 : room.zoom.percent;
    // The checks that need no decoding come first: a file gone, unreadable or
    // no picture leaves everything as it was.
    const PictureSize stated = read_picture_size(path);
    if (!stated.size.isValid()) return {stated.error};
    DecodedPicture decoded;
    {
        const BusyCursor busy(qint64(stated.size.width()) * stated.size.height() > busy_pixels);
        decoded = decode_for_open(room, path, stated.size, percent, underway);
    }
    if (underway.cancelled) return {};
    // Nothing has changed so far but the early screenful, now withdrawn: a
    // file that proves damaged leaves the window exactly as it was.
    if (!decoded.error.isEmpty()) return {decoded.error};
    const QString previous = std::exchange(room.pic_path, path);
    if (!show_decoded_picture(room, decoded, percent)) {
        room.pic_path = previous;
        return {QStringLiteral("Could not read %1: the file changed while it was read").arg(path)};
    }
    if (unlocked) set_view_zoom(room.zoom, room.L_zval, 100);
    remember_recent_picture(path);
    room.measuring.restart_measuring();
    room.measuring.mark_measuring();
    update_scroll_bars(room);
    room.scale.draw_scale_bar();
    // A reference line marked on the previous picture means nothing on this one.
    const QString calibration_ended =
        room.scale.end_calibration() ? QStringLiteral(". Calibration ended: another picture was "
                                                      "opened; the scale was not changed.")
                                     : QString();
    decode_next_ahead(room);
    return opened(room.pic_path, stated.size, calibration_ended);
}
