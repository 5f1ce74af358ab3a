#pragma once
// A label that can be clicked like a button, with its fore colour kept as a
// program colour value (the red mark of a result is exactly 255).

#include "platform/colour.h"

#include <QLabel>

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(QWidget* parent = nullptr);

    Colour fore_colour() const { return fore_; }
    void set_fore_colour(Colour c);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Colour fore_ = colours::window_text;
    bool pressed_ = false;
};
