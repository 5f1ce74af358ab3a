#include "shell/pointer_place.h"

#include "shell/F_main.h"

PointerPlace::PointerPlace(F_main& f) : QObject(&f), f_(f) {
    again_.setSingleShot(true);
    again_.setInterval(0);
    connect(&again_, &QTimer::timeout, this, [this] { look_again(); });
    connect(f.P_in, &PictureBox::mouseMove, this,
            [this](float x, float y) { moved(QPointF(x, y)); });
    connect(f.P_in, &PictureBox::pointerLeft, this, [this] {
        in_viewport_.reset();
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
        emit away();
        return;
    }
    emit over(at);
}

void PointerPlace::look_again() {
    if (const std::optional<QPointF> at = where())
        emit over(*at);
    else
        emit away();
}
