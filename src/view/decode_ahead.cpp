// SPDX-License-Identifier: MIT
#include "view/decode_ahead.h"

#include "form/F_main.h"
#include "picture/picture_io.h"
#include "view/folder_steps.h"
#include "view/kept_picture.h"
#include "view/picture_decoding.h"

#include <QObject>

namespace {

// Owned by the window, so the worker is stopped and joined as it closes.
class Ahead : public QObject {
  public:
    explicit Ahead(F_main& f) : QObject(&f) { setObjectName(QStringLiteral("decode_ahead")); }
    std::unique_ptr<PictureDecoding> decoding;
};

Ahead& ahead(F_main& f) {
    // Found by name: the class has no meta-object of its own to be found by.
    auto* a = f.findChild<QObject*>(QStringLiteral("decode_ahead"), Qt::FindDirectChildrenOnly);
    return a != nullptr ? *static_cast<Ahead*>(a) : *new Ahead(f);
}

} // namespace

void decode_next_ahead(F_main& f) {
    Ahead& a = ahead(f);
    a.decoding.reset();
    if (f.pic_path.isEmpty()) return;
    const QString next = neighbour_picture(f.pic_path, +1);
    if (next.isEmpty()) return;
    const PictureSize size = read_picture_size(next);
    if (!size.size.isValid() || !keeps_full_picture(size.size)) return;
    // At full size: the kept picture, which shows at any zoom.
    a.decoding = std::make_unique<PictureDecoding>(next, size.size, 100.0);
}

std::unique_ptr<PictureDecoding> take_decoded_ahead(F_main& f, const QString& path) {
    Ahead& a = ahead(f);
    if (a.decoding && a.decoding->path() == path) return std::move(a.decoding);
    a.decoding.reset();
    return nullptr;
}

QString decoded_ahead(F_main& f) {
    const Ahead& a = ahead(f);
    return a.decoding && a.decoding->finished() ? a.decoding->path() : QString();
}
