// SPDX-License-Identifier: MIT
#pragma once
// A label that can be clicked like a button, with its fore colour kept as a
// program colour value (the red mark of a result is exactly 255).
//
// A double-click is one click followed by one double-click: its second press
// is not a click of its own, as on the picture area.

#include "platform/colour.h"

#include <QLabel>

class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ClickLabel(QWidget* parent = nullptr);

    Colour fore_colour() const { return fore_; }
    void set_fore_colour(Colour c);

    // A label that shows a value never shows it cut: when its text is wider
    // than the label, the text is painted in a smaller size of the label's
    // font, the largest that fits. The font itself stays as designed.
    void set_shrink_to_fit(bool on);
    // The font the text is painted in.
    QFont shown_font() const;

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    Colour fore_ = colours::window_text;
    bool pressed_ = false;
    bool shrink_to_fit_ = false;
};
