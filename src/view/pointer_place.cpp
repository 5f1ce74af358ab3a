// SPDX-License-Identifier: MIT
#include "view/pointer_place.h"

#include "form/view_room.h"
#include "widgets/picture_box.h"

PointerPlace::PointerPlace(const ViewRoom& room) : QObject(room.window), P_in_(room.P_in) {
    paced_.setSingleShot(true);
    connect(&paced_, &QTimer::timeout, this, [this] { tell(latest_); });
    again_.setSingleShot(true);
    again_.setInterval(0);
    connect(&again_, &QTimer::timeout, this, [this] { look_again(); });
    connect(P_in_, &PictureBox::mouseMove, this,
            [this](float x, float y) { moved(QPointF(x, y)); });
    connect(P_in_, &PictureBox::pointerLeft, this, [this] {
        in_viewport_.reset();
        paced_.stop();
        emit away();
    });
    connect(P_in_, &PictureBox::pictureChanged, this, [this] {
        if (in_viewport_) again_.start();
    });
}

std::optional<QPointF> PointerPlace::where() const {
    if (!in_viewport_ || !P_in_->has_picture()) return std::nullopt;
    const QPointF at = *in_viewport_ - QPointF(P_in_->pos());
    if (!QRectF(P_in_->rect()).contains(at)) return std::nullopt;
    return at;
}

void PointerPlace::moved(QPointF at) {
    in_viewport_ = at + QPointF(P_in_->pos());
    // Before a picture is open the picture area is a single pixel of nothing.
    if (!P_in_->has_picture()) {
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
