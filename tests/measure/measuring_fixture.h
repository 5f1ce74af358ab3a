// SPDX-License-Identifier: MIT
#pragma once
// A shown main window with a 400 x 300 picture open, and real pointer input
// on the picture area: presses, moves and the full double-click sequence.

#include "kelvo_fixture.h"

#include <QStringList>
#include <QTest>

class Measuring : public KelvoTest {
  protected:
    void SetUp() override {
        KelvoTest::SetUp();
        show_window(QSize(800, 600));
        open(save_picture_file(test_picture(400, 300), QStringLiteral("picture.bmp")));
        ASSERT_EQ(f->P_in->size(), QSize(400, 300));
    }

    void press(Qt::MouseButton button, QPoint at) { pointer::click(f->P_in, button, at); }
    void left(QPoint at) { press(Qt::LeftButton, at); }
    void right(QPoint at = QPoint(5, 5)) { press(Qt::RightButton, at); }
    void move(QPoint at) { pointer::move(f->P_in, at); }
    // What the platform delivers for a double-click: press, release, double-click, release.
    void double_click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        pointer::double_click(f->P_in, button, at);
    }

    QStringList results() const { return {f->Lb_x->text(), f->Lb_y->text(), f->Lb_d->text()}; }
    static QStringList reads(const char* x, const char* y, const char* d) {
        return {QString::fromLatin1(x), QString::fromLatin1(y), QString::fromLatin1(d)};
    }

    bool grey() const {
        return f->L_trace_x->colour() == 7829367u && f->L_trace_y->colour() == 10066329u;
    }
    bool red() const {
        return f->L_trace_x->colour() == 1118719u && f->L_trace_y->colour() == 2237166u;
    }
    bool green() const {
        return f->L_trace_x->colour() == 1179409u && f->L_trace_y->colour() == 2289186u;
    }

    LineObject* element(int i) const { return f->L_m.at(static_cast<std::size_t>(i)); }
};
