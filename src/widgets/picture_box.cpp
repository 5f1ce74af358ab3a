// SPDX-License-Identifier: MIT
#include "widgets/picture_box.h"

#include "picture/area_shrink.h"
#include "picture/nearest_enlarge.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace {
const QEvent::Type FlushLinesEvent = static_cast<QEvent::Type>(QEvent::User + 17);

int button_code(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return static_cast<int>(b);
    }
}
} // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

PictureBox::~PictureBox() {
    for (LineObject* line : lines_)
        delete line;
}

void PictureBox::set_picture(QImage picture) {
    picture_ = std::move(picture);
    magnified_ = false;
    drop_shrunk();
    resize(picture_.size());
    update();
    emit pictureChanged();
}

void PictureBox::set_picture_magnified(QImage picture, QSize shown) {
    picture_ = std::move(picture);
    if (picture_.format() != QImage::Format_RGB32 &&
        picture_.format() != QImage::Format_ARGB32_Premultiplied)
        picture_.convertTo(QImage::Format_RGB32);
    magnified_ = shown != picture_.size();
    drop_shrunk();
    resize(shown);
    update();
    emit pictureChanged();
}

void PictureBox::set_picture_shrunk(QImage picture, QSize shown) {
    if (shown == picture.size() || picture.size().isEmpty() || shown.width() > picture.width() ||
        shown.height() > picture.height()) {
        set_picture_magnified(std::move(picture), shown);
        return;
    }
    picture_ = std::move(picture);
    // Each of four 8-bit channels is averaged alone; a picture of another
    // depth is converted (the program's pictures are 32-bit already).
    if (picture_.depth() != 32) picture_.convertTo(QImage::Format_RGB32);
    magnified_ = false;
    // The buffer of the part shown is kept for the next shrink: a zoom step
    // maps no fresh memory for it.
    shown_at_ = QRect();
    shrink_ = std::make_shared<const AreaShrink>(picture_.size(), shown);
    resize(shown);
    update();
    emit pictureChanged();
}

void PictureBox::drop_shrunk() {
    shrink_.reset();
    shown_ = QImage();
    shown_at_ = QRect();
}

void PictureBox::clear_picture() {
    picture_ = QImage();
    magnified_ = false;
    drop_shrunk();
    update();
    emit pictureChanged();
}

void PictureBox::set_background(Colour c) {
    background_ = c;
    update();
}

LineObject* PictureBox::create_line(DrawMode mode, Colour colour) {
    auto* line = new LineObject(this, mode, colour);
    line->slot_ = lines_.insert(lines_.end(), line);
    return line;
}

LineObject* PictureBox::create_line_like(const LineObject& model) {
    return create_line(model.mode(), model.colour());
}

void PictureBox::destroy_line(LineObject* line) {
    if (!line) return;
    if (line->visible_) {
        update(line->pending_ ? line->painted_ : line->footprint());
        if (line->pending_) update(line->footprint());
    }
    if (line->pending_) std::erase(pending_, line);
    lines_.erase(line->slot_);
    delete line;
}

void PictureBox::line_changed(LineObject* line) {
    line->pending_ = true;
    pending_.push_back(line);
    if (!flush_posted_) {
        flush_posted_ = true;
        QCoreApplication::postEvent(this, new QEvent(FlushLinesEvent));
    }
}

void PictureBox::flush_line_changes() {
    for (LineObject* line : pending_) {
        if (!line->painted_.isEmpty()) update(line->painted_);
        line->painted_ = line->visible_ ? line->footprint() : QRect();
        if (!line->painted_.isEmpty()) update(line->painted_);
        line->pending_ = false;
    }
    pending_.clear();
}

bool PictureBox::event(QEvent* event) {
    if (event->type() == FlushLinesEvent) {
        flush_posted_ = false;
        flush_line_changes();
        return true;
    }
    return QWidget::event(event);
}

namespace {
// `area` (box pixels, no larger than the buffer) in pieces that do not wrap
// around a buffer of `size` in which box pixel (x, y) is kept at
// (x mod width, y mod height): each piece's box rectangle and its place in
// the buffer.
struct Piece {
    QRect area;
    QPoint at;
};
std::vector<Piece> wrapped(const QRect& area, QSize size) {
    std::vector<Piece> pieces;
    const int x0 = area.left() % size.width(), y0 = area.top() % size.height();
    const int w1 = std::min(area.width(), size.width() - x0);
    const int h1 = std::min(area.height(), size.height() - y0);
    for (const int dy : {0, 1})
        for (const int dx : {0, 1}) {
            const int w = dx == 0 ? w1 : area.width() - w1, h = dy == 0 ? h1 : area.height() - h1;
            if (w > 0 && h > 0)
                pieces.push_back(
                    {QRect(area.left() + (dx == 0 ? 0 : w1), area.top() + (dy == 0 ? 0 : h1), w, h),
                     QPoint(dx == 0 ? x0 : 0, dy == 0 ? y0 : 0)});
        }
    return pieces;
}
} // namespace

// Keeps the shrunk pixels of `visible` in a buffer of its size that wraps
// around both ways: what stays in view when the box moves stays where it is
// in the buffer, and only what comes into view is shrunk, into the places
// that went out of it.
void PictureBox::keep_shrunk(const QRect& visible) {
    if (visible == shown_at_ || visible.isEmpty()) return;
    QRegion known;
    if (shown_.size() == visible.size()) {
        known = QRegion(visible & shown_at_);
    } else {
        shown_ = QImage(visible.size(), QImage::Format_RGB32);
        if (shown_.isNull()) {
            shown_at_ = QRect();
            return;
        }
    }
    for (const QRect& r : QRegion(visible) - known)
        for (const Piece& p : wrapped(r, shown_.size()))
            shrink_->shrink(picture_, p.area, shown_.scanLine(p.at.y()) + p.at.x() * 4,
                            shown_.bytesPerLine());
    shown_at_ = visible;
}

QImage PictureBox::shown_part(QRect area) const {
    QImage part(area.size(), QImage::Format_RGB32);
    if (part.isNull()) return part;
    part.fill(to_qcolor(background_));
    const QRect pic_area =
        area & QRect(QPoint(0, 0), shrunk() || magnified_ ? size() : picture_.size());
    if (pic_area.isEmpty() || picture_.isNull()) return part;
    uchar* at = part.scanLine(pic_area.top() - area.top()) + (pic_area.left() - area.left()) * 4;
    if (shrunk()) {
        shrink_->shrink(picture_, pic_area, at, part.bytesPerLine());
    } else if (magnified_) {
        enlarge_region_into(picture_, size(), pic_area, at, part.bytesPerLine());
    } else {
        QPainter painter(&part);
        painter.drawImage(pic_area.topLeft() - area.topLeft(), picture_, pic_area);
    }
    return part;
}

void PictureBox::paintEvent(QPaintEvent* event) {
    flush_line_changes();
    QPainter painter(this);
    // Shrunk, the part of the picture that can be seen is kept as shown:
    // painting it again costs a copy, and a scroll shrinks only what it
    // brings into view.
    if (shrunk()) keep_shrunk(visibleRegion().boundingRect() & rect());
    // Rectangle by rectangle: the bounding box of a moving cross-hair's strips
    // is the whole visible picture, and every chain line crossing it would be
    // drawn again at every pointer move. Whatever the picture does not cover
    // shows the background.
    for (const QRect& area : event->region()) {
        painter.setClipRect(area);
        const QRect pic_area =
            area & QRect(QPoint(0, 0), magnified_ || shrunk() ? size() : picture_.size());
        if (!pic_area.isEmpty()) {
            if (magnified_)
                painter.drawImage(pic_area.topLeft(), enlarged_region(picture_, size(), pic_area));
            else if (shrunk() && shown_at_.contains(pic_area))
                for (const Piece& p : wrapped(pic_area, shown_.size()))
                    painter.drawImage(p.area.topLeft(), shown_, QRect(p.at, p.area.size()));
            else if (shrunk()) // painted where it cannot be seen (grabbed)
                painter.drawImage(pic_area.topLeft(), shown_part(pic_area));
            else
                painter.drawImage(pic_area.topLeft(), picture_, pic_area);
        }
        const QRegion rest = QRegion(area) - QRegion(pic_area);
        for (const QRect& r : rest)
            painter.fillRect(r, to_qcolor(background_));
        paint_lines(painter, area);
    }
}

void PictureBox::paint_lines(QPainter& painter, const QRect& area) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const LineObject* line : lines_) {
        // painted_ is the footprint as of the flush at the start of this paint.
        if (!line->visible_ || !line->painted_.intersects(area)) continue;
        if (line->mode_ == DrawMode::NotXor) {
            // Raster operations act only on opaque, aliased 1-pixel pens.
            painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
            QColor c = to_qcolor(line->colour_);
            c.setAlpha(255);
            painter.setPen(QPen(c, 0));
        } else {
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            painter.setPen(QPen(to_qcolor(line->colour_), 0));
        }
        draw_line_pixels(painter, QLineF(line->x1_, line->y1_, line->x2_, line->y2_), area);
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    press_inside_ = true;
    pointer_ = event->globalPosition();
    const QPointF p = event->position();
    emit mouseDown(button_code(event->button()), static_cast<float>(p.x()),
                   static_cast<float>(p.y()));
    flush_line_changes();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    if (press_inside_ && rect().contains(event->position().toPoint())) emit clicked();
    press_inside_ = false;
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    pointer_ = event->globalPosition();
    const QPointF p = event->position();
    emit mouseMove(static_cast<float>(p.x()), static_cast<float>(p.y()));
    flush_line_changes();
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    // Only the left button double-clicks. Two quick right presses are two undo
    // steps, so the second press of a right (or middle) double-click is a
    // press of its own.
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    // The second press of a left double-click is no press of its own: the
    // first already went through mousePressEvent.
    press_inside_ = true;
    pointer_ = event->globalPosition();
    emit dblClick();
    flush_line_changes();
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized();
}

// The platform tells a window that moves under a still pointer where the
// pointer now is; Qt sends nothing until the pointer itself moves. Without
// this a scroll would leave the handlers with the place the pointer had
// before it, and the next press would be taken elsewhere than the results say.
void PictureBox::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (!pointer_ || !isVisible()) return;
    const QPointF p = mapFromGlobal(*pointer_);
    if (!rect().contains(p.toPoint())) return;
    // Something shown over the box (a child of the viewport) takes the pointer.
    QWidget* top = window();
    QWidget* under = top->childAt(top->mapFromGlobal(pointer_->toPoint()));
    if (under != this && !isAncestorOf(under)) return;
    emit mouseMove(static_cast<float>(p.x()), static_cast<float>(p.y()));
    flush_line_changes();
}

void PictureBox::leaveEvent(QEvent* event) {
    pointer_.reset();
    QWidget::leaveEvent(event);
    emit pointerLeft();
}
