// SPDX-License-Identifier: MIT
#include "view/picture_decoding.h"

#include "form/view_room.h"
#include "picture/picture_io.h"
#include "picture/worker_thread.h"
#include "view/kept_picture.h"
#include "view/zoomed_size.h"
#include "widgets/picture_box.h"

#include <sys/resource.h>
#include <unistd.h>
#include <utility>

PictureDecoding::PictureDecoding(QString path, QSize full, double percent, QImage memory,
                                 bool background)
    : path_(std::move(path)), full_(full), percent_(percent), background_(background),
      memory_(std::move(memory)) {
    worker_ = thread_beside([this] { decode(); });
}

PictureDecoding::~PictureDecoding() {
    stop();
    worker_.join();
}

QImage PictureDecoding::rows_covering(QRect region) {
    if (watch_.rows.load(std::memory_order_acquire) <= region.bottom()) return QImage();
    QImage rows = watch_.rows_so_far();
    if (rows.size() != full_ || !rows.rect().contains(region)) return QImage();
    return rows;
}

DecodedPicture PictureDecoding::take() {
    return std::exchange(result_, DecodedPicture());
}

void PictureDecoding::decode() {
    // Linux gives each thread its own nice value, and the decoder's helper
    // threads inherit it. Failing to lower it costs nothing but speed.
    if (background_) (void)::setpriority(PRIO_PROCESS, id_t(::gettid()), 10);
    // Taken before anything is decoded: a file changed while it is read
    // differs from it when the picture is used, and is read again then.
    result_.file = file_identity(path_);
    const QSize shown = zoomed_size(full_, percent_);
    if (keeps_full_picture(full_, shown)) {
        // Kept whole: below 100% the picture area shrinks only the part it
        // shows, from the kept picture, as a zoom step does.
        LoadedPicture loaded = load_picture_reusing(path_, std::move(memory_), &watch_);
        result_.full = std::move(loaded.image);
        result_.error = std::move(loaded.error);
    } else {
        LoadedPicture loaded = load_picture_scaled(path_, shown, std::move(memory_), &watch_);
        result_.shown = std::move(loaded.image);
        result_.error = std::move(loaded.error);
    }
    if (!result_.error.isEmpty()) result_.full = result_.shown = QImage();
    finished_.store(true, std::memory_order_release);
}

bool show_decoded_picture(const ViewRoom& room, DecodedPicture& decoded, double percent) {
    QImage before = room.full_picture;
    if (!decoded.full.isNull()) {
        // Shown at the size the picture decoded to, should the file have
        // changed since its header was read.
        keep_full_picture(room, decoded.file, std::exchange(decoded.full, QImage()));
        if (show_kept_picture(room, percent, decoded.file)) {
            keep_spare_memory(room, std::move(before));
            return true;
        }
        room.full_picture = QImage();
        room.full_picture_file = FileIdentity();
        return false;
    }
    if (decoded.shown.isNull()) return false;
    room.full_picture = QImage(); // the previous picture's, kept no more
    room.full_picture_file = FileIdentity();
    room.P_in->set_picture(std::exchange(decoded.shown, QImage()));
    keep_spare_memory(room, std::move(before));
    return true;
}
