// SPDX-License-Identifier: MIT
#pragma once
// A straight line drawn over a picture box: two end points in the box's
// pixels, a colour, visibility and a drawing mode. Lines never touch the
// picture beneath; the box paints them over it.
//
// A change repaints only what the line covered and what it covers now: the
// first change after a repaint remembers the old footprint, and the box
// invalidates old and new footprints once, before it paints. So setting X1
// and then X2 of a horizontal hair repaints two thin strips, never the band
// swept in between.

#include "platform/colour.h"

#include <QLineF>
#include <QRect>
#include <list>

class PictureBox;
class QPainter;

// Draws `line` as the platform draws a line object: its end points rounded
// to whole pixels, covering the first and stopping one pixel short of the
// last (a tick from y + 5 to y is 5 pixels tall; two lines that meet at a
// point cover it once, so a not-xor chain's joints are inverted once). A
// line of no length covers nothing. Only the part within `area` is drawn
// (an invalid area: all of it), with the painter's pen, which must be a
// cosmetic (width 0) pen with Qt's default square cap. The picture area and
// the exported picture both draw with this, so they cover the same pixels.
void draw_line_pixels(QPainter& painter, const QLineF& line, const QRect& area = QRect());

enum class DrawMode {
    Copy,   // the pen's own colour
    NotXor, // the inverse of what lies beneath (black pen), visible on any picture
};

class LineObject {
  public:
    float X1() const { return x1_; }
    float Y1() const { return y1_; }
    float X2() const { return x2_; }
    float Y2() const { return y2_; }
    void set_X1(float v) {
        change([&] { x1_ = v; });
    }
    void set_Y1(float v) {
        change([&] { y1_ = v; });
    }
    void set_X2(float v) {
        change([&] { x2_ = v; });
    }
    void set_Y2(float v) {
        change([&] { y2_ = v; });
    }
    void set_points(float x1, float y1, float x2, float y2) {
        change([&] { x1_ = x1, y1_ = y1, x2_ = x2, y2_ = y2; });
    }

    bool visible() const { return visible_; }
    void set_visible(bool v) {
        change([&] { visible_ = v; });
    }
    void show() { set_visible(true); }
    void hide() { set_visible(false); }

    Colour colour() const { return colour_; }
    void set_colour(Colour c) {
        change([&] { colour_ = c; });
    }
    DrawMode mode() const { return mode_; }

    // The pixels the line touches, padded by one pixel on each side.
    QRect footprint() const;

  private:
    friend class PictureBox;
    LineObject(PictureBox* box, DrawMode mode, Colour colour)
        : box_(box), mode_(mode), colour_(colour) {}

    template <class F> void change(F&& apply) {
        note_change();
        apply();
    }
    void note_change();

    PictureBox* box_;
    DrawMode mode_;
    Colour colour_;
    float x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    bool visible_ = false;
    bool pending_ = false; // changed since the box last invalidated it
    QRect painted_;        // footprint as last invalidated (empty when hidden)
    std::list<LineObject*>::iterator slot_;
};
