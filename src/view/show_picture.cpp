// SPDX-License-Identifier: MIT
#include "view/show_picture.h"

#include "form/view_room.h"
#include "picture/picture_io.h"
#include "platform/busy_cursor.h"
#include "platform/file_identity.h"
#include "view/kept_picture.h"
#include "view/zoomed_size.h"
#include "widgets/picture_box.h"

#include <utility>

// Above 100% the picture area holds the picture at full size and magnifies,
// nearest-neighbour, only the part it paints: a 24-megapixel photo at 510%
// never becomes a 2.5 GB image, and each picture pixel shows as a sharp block
// a point can be placed inside. Below 100% it holds the kept picture too and
// shrinks, by area average, only the part it paints; a picture too large to
// keep is held shrunk to the shown size, as decoded.
//
// The full-size picture is kept between steps (view/kept_picture.h): a step
// on an unchanged file decodes nothing. A file that changed, or a picture too
// large to keep below 100%, is read again here.
//
// The work box P_sub is not needed for this: the decoder hands over the
// picture directly, so P_sub stays empty and hidden throughout.
namespace {
constexpr qint64 busy_pixels = 4'000'000;
}

QString show_picture_at(const ViewRoom& room, double percent) {
    // Taken before anything is decoded: a file changed while it is read
    // differs from it at the next step, and is read again then.
    const FileIdentity file = file_identity(room.pic_path);
    if (show_kept_picture(room, percent, file)) return QString();
    // The checks that need no decoding come first: a file gone, unreadable or
    // no longer a picture leaves everything as it was.
    const PictureSize stated = read_picture_size(room.pic_path);
    if (!stated.size.isValid()) return stated.error;
    const QSize full = stated.size;
    // A large picture is taken from the picture area before the new one is
    // decoded, so a step holds one decoded picture at a time (with the kept
    // full-size one, one of each size); the new one is decoded into its
    // memory, which saves the system zeroing and mapping a hundred megabytes
    // afresh at every step. Should the file then prove damaged past its
    // header, the picture area stays blank at its size; the zoom and pic_path
    // stay as they were and the caller says why.
    // A few megapixels decode in the blink of an eye; larger pictures take
    // long enough for the pointer to say the window is busy.
    const BusyCursor busy(qint64(full.width()) * full.height() > busy_pixels);
    QImage kept = std::move(room.full_picture);
    room.full_picture = QImage();
    room.smaller_picture = QImage();
    room.full_picture_file = FileIdentity();
    QImage memory;
    if (room.P_in->picture().sizeInBytes() > released_before_decoding_bytes) {
        memory = room.P_in->picture();
        room.P_in->clear_picture();
    }
    // At 100% and above the picture area held the kept picture itself.
    if (kept.sizeInBytes() <= released_before_decoding_bytes ||
        kept.constBits() == memory.constBits())
        kept = QImage();

    const QSize shown = zoomed_size(full, percent);
    if (keeps_full_picture(full, shown)) {
        // The full-size picture is decoded into the kept one's memory, or
        // else into the picture area's; it is the only picture made: below
        // 100% the picture area shrinks from it only the part exposed.
        if (kept.isNull()) kept = std::exchange(memory, QImage());
        memory = QImage();
        LoadedPicture loaded = load_picture_reusing(room.pic_path, std::move(kept));
        if (!loaded.ok()) return loaded.error;
        // Sized from the picture as decoded, should the file have changed
        // since its header was read.
        const QSize decoded = loaded.image.size();
        keep_full_picture(room, file, loaded.image);
        loaded.image = QImage(); // full_picture holds it alone
        show_full_picture_at(room, zoomed_size(decoded, percent));
    } else {
        // Too large to keep below 100%: decoded at the DCT scale and shrunk
        // as it is decoded, nothing full-size held.
        LoadedPicture loaded = load_picture_scaled(room.pic_path, shown, std::move(memory));
        if (!loaded.ok()) return loaded.error;
        room.P_in->set_picture(std::move(loaded.image));
    }
    return QString();
}
