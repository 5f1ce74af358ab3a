// SPDX-License-Identifier: MIT
#pragma once
// A picture box: holds a picture and takes its size, paints it, paints its
// line objects over it, and reports pointer input in its own pixels.
//
// The box can also show its picture magnified: it keeps the picture at full
// size, takes the magnified size as its own, and paints only the exposed
// rectangle, nearest-neighbour. A 24-megapixel photo at 510% therefore costs
// one decoded picture, not the 2.5 GB the magnified image would take.
// Likewise shrunk: it keeps a larger picture, takes the smaller size, and
// shrinks by area average only what is exposed, keeping what it shows, so a
// repaint of an unchanged part shrinks nothing and a scroll shrinks only the
// strip it brings in.
//
// When the box moves under a pointer that stands still over it (its viewport
// scrolled), the pointer is over another place of the box: the box reports a
// move to that place, as if the pointer had moved there.

#include "platform/colour.h"
#include "widgets/line_object.h"

#include <QImage>
#include <QWidget>
#include <list>
#include <memory>
#include <optional>
#include <vector>

class AreaShrink;

class PictureBox : public QWidget {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent = nullptr);
    ~PictureBox() override;

    // The box shows `picture` at its own size and takes that size.
    void set_picture(QImage picture);
    // The box shows `picture` stretched to `shown` (nearest-neighbour) and
    // takes that size; only exposed rectangles are ever magnified.
    void set_picture_magnified(QImage picture, QSize shown);
    // The box shows `picture` shrunk to `shown` (area average, no larger
    // either way) and takes that size; only exposed rectangles are ever shrunk.
    void set_picture_shrunk(QImage picture, QSize shown);
    // Releases the picture; the box keeps its size and shows its background.
    void clear_picture();
    bool has_picture() const { return !picture_.isNull(); }
    // The picture as held: the shown picture, or the larger one it is
    // magnified or shrunk from.
    const QImage& picture() const { return picture_; }
    bool magnified() const { return magnified_; }
    bool shrunk() const { return shrink_ != nullptr; }
    // The part `area` of what the box shows of its picture (its background
    // where the picture does not reach), without the lines.
    QImage shown_part(QRect area) const;

    Colour background() const { return background_; }
    void set_background(Colour c);

    // Lines are owned by the box. A new line is hidden, zero length at (0, 0).
    LineObject* create_line(DrawMode mode, Colour colour);
    LineObject* create_line_like(const LineObject& model);
    void destroy_line(LineObject* line);
    std::size_t line_count() const { return lines_.size(); }

    // Invalidates the footprints of lines changed since the last call. Runs by
    // itself before the next paint; pointer handlers may call it directly.
    void flush_line_changes();

  signals:
    // button: 1 left, 2 right, 4 middle, other Qt buttons by their own value.
    void mouseDown(int button, float x, float y);
    void mouseMove(float x, float y);
    void dblClick(); // the second press of a left double-click (other buttons: a mouseDown)
    void clicked();
    void resized();
    void pointerLeft();    // the pointer is no longer over the box
    void pictureChanged(); // a picture was set or released

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    friend class LineObject;
    void line_changed(LineObject* line);
    void paint_lines(class QPainter& painter, const QRect& area);
    void keep_shrunk(const QRect& visible);
    void drop_shrunk();

    QImage picture_;
    bool magnified_ = false;
    std::shared_ptr<const AreaShrink> shrink_;
    // While shrunk: what was last shown of the visible part, and where; box
    // pixel (x, y) at (x mod width, y mod height) of shown_.
    QImage shown_;
    QRect shown_at_;
    Colour background_ = colours::window_background;
    std::list<LineObject*> lines_;
    std::vector<LineObject*> pending_;
    bool flush_posted_ = false;
    bool press_inside_ = false;
    // Where the pointer was last seen over the box, in global coordinates;
    // nothing once it has left.
    std::optional<QPointF> pointer_;
};
