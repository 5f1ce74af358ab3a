// SPDX-License-Identifier: MIT
#pragma once
// A square inset that shows a picture's own pixels around a point at 8x, with
// a thin cross at the point, as a loupe does. It renders its view when told
// where to look and keeps no reference to the picture, so a large picture's
// memory is never held twice and can be reused by the next decode.

#include <QImage>
#include <QWidget>

class Magnifier : public QWidget {
    Q_OBJECT
  public:
    static constexpr int side = 160; // screen pixels
    static constexpr int power = 8;  // screen pixels per picture pixel
    // The point looked at is the left (top) edge of this inset column (row):
    // the cross marks it to an eighth of a picture pixel.
    static constexpr int cross = side / 2;

    // `outside` fills what lies beyond the picture's edges.
    Magnifier(QWidget* parent, QRgb outside);

    // Looks at `at` (picture pixels, fractional) of a picture held in
    // `source` at `scale` source pixels per picture pixel: 1 for the picture
    // itself, less for a shrunk copy of it. `note`, when not empty, is written
    // across the foot of the inset.
    void look_at(const QImage& source, double scale, QPointF at, const QString& note = {});

    // What the inset shows, without its cross, frame and note.
    const QImage& view() const { return view_; }
    const QString& note() const { return note_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage view_;
    QString note_;
    QRgb outside_;
};
