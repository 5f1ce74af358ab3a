#include "view/show_picture.h"

#include "form/F_main.h"
#include "picture/picture_io.h"
#include "platform/busy_cursor.h"
#include "view/zoomed_size.h"

// At or below 100% the picture area holds the picture scaled to the shown
// size (JPEG decoded at the DCT scale just above it). Above 100% it holds the
// picture at full size and magnifies, nearest-neighbour, only the part it
// paints: a 24-megapixel photo at 510% never becomes a 2.5 GB image, and each
// picture pixel shows as a sharp block a point can be placed inside.
//
// The work box P_sub is not needed for this: the decoder hands over the
// picture directly, so P_sub stays empty and hidden throughout.
namespace {
constexpr qint64 busy_pixels = 4'000'000;
}

QString show_picture_at(F_main& f, double percent, QSize* full_size) {
    // The checks that need no decoding come first: a file gone, unreadable or
    // no longer a picture leaves everything as it was.
    QString error;
    const QSize full = read_picture_size(f.pic_path, &error);
    if (!full.isValid()) return error;
    // A large picture is taken from the picture area before the new one is
    // decoded, so a step holds one decoded picture at a time; at and above
    // 100% the new one is decoded into its memory, which saves the system
    // zeroing and mapping a hundred megabytes afresh at every step. Should
    // the file then prove damaged past its header, the picture area stays
    // blank at its size; the zoom and pic_path stay as they were and the
    // status bar says why.
    // A few megapixels decode in the blink of an eye; larger pictures take
    // long enough for the pointer to say the window is busy.
    const BusyCursor busy(qint64(full.width()) * full.height() > busy_pixels);
    QImage memory;
    if (f.P_in->picture().sizeInBytes() > kept_picture_bytes) {
        memory = f.P_in->picture();
        f.P_in->clear_picture();
    }

    const QSize shown = zoomed_size(full, percent);
    const bool magnified = shown.width() > full.width() || shown.height() > full.height();
    // A picture shrunk from a JPEG is made in that memory too, when it fits.
    LoadedPicture loaded = shown == full || magnified
                               ? load_picture_reusing(f.pic_path, std::move(memory))
                               : load_picture_scaled(f.pic_path, shown, std::move(memory));
    if (!loaded.ok()) return loaded.error;
    if (magnified) {
        // Sized from the picture as decoded, should the file have changed
        // since its header was read.
        const QSize magnified_size = zoomed_size(loaded.image.size(), percent);
        f.P_in->set_picture_magnified(std::move(loaded.image), magnified_size);
    } else {
        f.P_in->set_picture(std::move(loaded.image));
    }
    if (full_size != nullptr) *full_size = full;
    return QString();
}
