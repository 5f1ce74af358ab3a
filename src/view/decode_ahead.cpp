// SPDX-License-Identifier: MIT
#include "view/decode_ahead.h"

#include "form/F_main.h"
#include "picture/picture_io.h"
#include "view/folder_steps.h"
#include "view/kept_picture.h"
#include "view/picture_decoding.h"

#include <QObject>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace {

constexpr int start_after_ms = 300;

void start_decoding_ahead(F_main& f);

// Owned by the window, so the workers are stopped and joined as it closes.
class Ahead : public QObject {
  public:
    explicit Ahead(F_main& f) : QObject(&f) {
        setObjectName(QStringLiteral("decode_ahead"));
        later.setSingleShot(true);
        connect(&later, &QTimer::timeout, this, [&f] { start_decoding_ahead(f); });
    }
    std::unique_ptr<PictureDecoding> decoding;
    // Starts the decoding once the window has shown the new picture a moment:
    // the zoom steps and scrolls a user makes right after an open then have
    // the processors to themselves.
    QTimer later;

    // A decoding no longer wanted is asked to stop and let go of once its
    // worker has ended: a JPEG stops at its next band, but Qt's decoders (a
    // BMP, a PNG) cannot be stopped, and waiting for them would hold the
    // window up just when the user has asked for another picture.
    void drop() { let_go_of(std::move(decoding)); }
    void let_go_of(std::unique_ptr<PictureDecoding> unwanted) {
        std::erase_if(dropped_, [](const auto& d) { return d->finished(); });
        if (!unwanted) return;
        unwanted->stop();
        dropped_.push_back(std::move(unwanted));
    }

  private:
    std::vector<std::unique_ptr<PictureDecoding>> dropped_;
};

Ahead& ahead(F_main& f) {
    // Found by name: the class has no meta-object of its own to be found by.
    auto* a = f.findChild<QObject*>(QStringLiteral("decode_ahead"), Qt::FindDirectChildrenOnly);
    return a != nullptr ? *static_cast<Ahead*>(a) : *new Ahead(f);
}

// Starts decoding the picture after the shown one in its folder, when there
// is one and it is small enough.
void start_decoding_ahead(F_main& f) {
    Ahead& a = ahead(f);
    if (f.pic_path.isEmpty()) return;
    const QString next = neighbour_picture(f.pic_path, +1);
    if (next.isEmpty()) return;
    const PictureSize size = read_picture_size(next);
    if (!size.size.isValid() || !fits_full_picture_budget(size.size)) return;
    // At full size: the kept picture, which shows at any zoom.
    a.decoding = std::make_unique<PictureDecoding>(next, size.size, 100.0, true);
}

} // namespace

void decode_next_ahead(F_main& f) {
    Ahead& a = ahead(f);
    a.drop();
    a.later.start(start_after_ms);
}

std::unique_ptr<PictureDecoding> take_decoded_ahead(F_main& f, const QString& path) {
    Ahead& a = ahead(f);
    a.later.stop();
    if (a.decoding && a.decoding->path() == path) return std::move(a.decoding);
    a.drop();
    return nullptr;
}

void let_go_of(F_main& f, std::unique_ptr<PictureDecoding> decoding) {
    ahead(f).let_go_of(std::move(decoding));
}

QString decoded_ahead(F_main& f) {
    const Ahead& a = ahead(f);
    return a.decoding && a.decoding->finished() ? a.decoding->path() : QString();
}
