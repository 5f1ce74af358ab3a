// SPDX-License-Identifier: MIT
#include "view/pointer_place.h"

#include "form/F_main.h"

PointerPlace::PointerPlace(F_main& f) : QObject(&f), f_(f) {
    paced_.setSingleShot(true);
    connect(&paced_, &QTimer::timeout, this, [this] { tell(latest_); });
    again_.setSingleShot(true);
    again_.setInterval(0);
    connect(&again_, &QTimer::timeout, this, [this] { look_again(); });
    connect(f.P_in, &PictureBox::mouseMove, this,
            [this](float x, float y) { moved(QPointF(x, y)); });
    connect(f.P_in, &PictureBox::pointerLeft, this, [this] {
        in_viewport_.reset();
        paced_.stop();
        emit away();
    });
    connect(f.P_in, &PictureBox::pictureChanged, this, [this] {
        if (in_viewport_) again_.start();
    });
}

std::optional<QPointF> PointerPlace::where() const {
    if (!in_viewport_ || !f_.P_in->has_picture()) return std::nullopt;
    const QPointF at = *in_viewport_ - QPointF(f_.P_in->pos());
    if (!QRectF(f_.P_in->rect()).contains(at)) return std::nullopt;
    return at;
}

void PointerPlace::moved(QPointF at) {
    in_viewport_ = at + QPointF(f_.P_in->pos());
    // Before a picture is open the picture area is a single pixel of nothing.
    if (!f_.P_in->has_picture()) {
        paced_.stop();
        emit away();
        return;
    }
    latest_ = at;
    if (paced_.isActive()) return;
    const qint64 waited = since_.isValid() ? since_.elapsed() : frame_ms;
    if (waited >= frame_ms)
        tell(at);
    else
        paced_.start(int(frame_ms - waited));
}

void PointerPlace::tell(QPointF at) {
    since_.restart();
    emit over(at);
}

void PointerPlace::look_again() {
    paced_.stop();
    if (const std::optional<QPointF> at = where())
        tell(*at);
    else
        emit away();
}
