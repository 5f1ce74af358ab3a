// SPDX-License-Identifier: MIT
#include "view/decode_ahead.h"

#include "form/view_room.h"
#include "picture/picture_io.h"
#include "view/folder_steps.h"
#include "view/kept_picture.h"
#include "view/picture_decoding.h"

#include <QObject>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr int start_after_ms = 300;

// Owned by the window, so the workers are stopped and joined as it closes.
class Ahead : public QObject {
  public:
    // The room is the window's, which outlives its children; the shown
    // picture's path is read when the decoding starts.
    explicit Ahead(const ViewRoom& room) : QObject(room.window), room_(room) {
        setObjectName(QStringLiteral("decode_ahead"));
        later.setSingleShot(true);
        connect(&later, &QTimer::timeout, this, [this] { start_decoding_ahead(room_.pic_path); });
    }
    std::unique_ptr<PictureDecoding> decoding;
    // Starts the decoding once the window has shown the new picture a moment:
    // the zoom steps and scrolls a user makes right after an open then have
    // the processors to themselves.
    QTimer later;
    // Starts decoding the picture after `shown` in its folder, when there is
    // one and it is small enough.
    void start_decoding_ahead(const QString& shown);

    // A decoding no longer wanted is asked to stop and let go of once its
    // worker has ended: a JPEG stops at its next band, but Qt's decoders (a
    // BMP, a PNG) cannot be stopped, and waiting for them would hold the
    // window up just when the user has asked for another picture. One that
    // has finished leaves its picture's memory as the spare, at once: the
    // open that drops it decodes into it, not beside it.
    void drop() { let_go_of(std::move(decoding)); }
    void let_go_of(std::unique_ptr<PictureDecoding> unwanted) {
        std::erase_if(dropped_, [](const auto& d) { return d->finished(); });
        if (!unwanted) return;
        if (unwanted->finished()) {
            keep_spare_memory(room_, unwanted->take().full);
            return;
        }
        unwanted->stop();
        dropped_.push_back(std::move(unwanted));
    }

  private:
    const ViewRoom room_;
    std::vector<std::unique_ptr<PictureDecoding>> dropped_;
};

Ahead& ahead(const ViewRoom& room) {
    // Found by name: the class has no meta-object of its own to be found by.
    auto* a = room.window->findChild<QObject*>(QStringLiteral("decode_ahead"),
                                               Qt::FindDirectChildrenOnly);
    return a != nullptr ? *static_cast<Ahead*>(a) : *new Ahead(room);
}

void Ahead::start_decoding_ahead(const QString& shown) {
    if (shown.isEmpty()) return;
    const QString next = neighbour_picture(shown, +1);
    if (next.isEmpty()) return;
    const PictureSize size = read_picture_size(next);
    if (!size.size.isValid() || !fits_full_picture_budget(size.size)) return;
    // At full size: the kept picture, which shows at any zoom. The two
    // pictures and a large smaller copy would not fit together.
    make_room_for_picture_ahead(room_);
    decoding = std::make_unique<PictureDecoding>(next, size.size, 100.0,
                                                 std::exchange(room_.spare_memory, QImage()), true);
}

} // namespace

void decode_next_ahead(const ViewRoom& room) {
    Ahead& a = ahead(room);
    a.drop();
    a.later.start(start_after_ms);
}

std::unique_ptr<PictureDecoding> take_decoded_ahead(const ViewRoom& room, const QString& path) {
    Ahead& a = ahead(room);
    a.later.stop();
    if (a.decoding && a.decoding->path() == path) return std::move(a.decoding);
    a.drop();
    return nullptr;
}

void let_go_of(const ViewRoom& room, std::unique_ptr<PictureDecoding> decoding) {
    ahead(room).let_go_of(std::move(decoding));
}

qint64 picture_ahead_bytes(const ViewRoom& room) {
    const Ahead& a = ahead(room);
    if (!a.decoding) return 0;
    const QSize size = a.decoding->full_size();
    return qint64(size.width()) * size.height() * 4;
}

QString decoded_ahead(const ViewRoom& room) {
    const Ahead& a = ahead(room);
    return a.decoding && a.decoding->finished() ? a.decoding->path() : QString();
}
