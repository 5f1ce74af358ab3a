// SPDX-License-Identifier: MIT
#include "widgets/picture_box.h"

#include "picture/magnify.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cstring>
#include <utility>

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
    if (picture_.format() != QImage::Format_RGB32) picture_.convertTo(QImage::Format_RGB32);
    magnified_ = false;
    drop_shrunk();
    shrink_ = std::make_shared<const AreaShrink>(picture_.size(), shown);
    resize(shown);
    update();
    emit pictureChanged();
}

void PictureBox::drop_shrunk() {
    shrink_.reset();
    shown_ = QImage();
    spare_ = QImage();
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

// Keeps the shrunk pixels of `visible`: what the kept part already shows is
// moved over, and only the rest is shrunk.
void PictureBox::keep_shrunk(const QRect& visible) {
    if (visible == shown_at_ || visible.isEmpty()) return;
    // The two buffers are used in turn, so a scroll step maps no fresh memory.
    QImage kept = std::exchange(spare_, QImage());
    if (kept.size() != visible.size()) kept = QImage(visible.size(), QImage::Format_RGB32);
    if (kept.isNull()) return;
    const QRect common = visible & shown_at_;
    if (!common.isEmpty()) {
        const qsizetype row_bytes = qsizetype(common.width()) * 4;
        for (int y = common.top(); y <= common.bottom(); ++y)
            std::memcpy(kept.scanLine(y - visible.top()) + (common.left() - visible.left()) * 4,
                        shown_.constScanLine(y - shown_at_.top()) +
                            (common.left() - shown_at_.left()) * 4,
                        size_t(row_bytes));
    }
    for (const QRect& r : QRegion(visible) - QRegion(common))
        shrink_->shrink(picture_, r,
                        kept.scanLine(r.top() - visible.top()) + (r.left() - visible.left()) * 4,
                        kept.bytesPerLine());
    spare_ = std::exchange(shown_, std::move(kept));
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
        magnify_region_into(picture_, size(), pic_area, at, part.bytesPerLine());
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
                painter.drawImage(pic_area.topLeft(), magnify_region(picture_, size(), pic_area));
            else if (shrunk() && shown_at_.contains(pic_area))
                painter.drawImage(pic_area.topLeft(), shown_,
                                  pic_area.translated(-shown_at_.topLeft()));
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
