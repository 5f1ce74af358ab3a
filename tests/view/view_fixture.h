// SPDX-License-Identifier: MIT
#pragma once
// A main window for the view's tests, with real input on the zoom labels and
// the picture area.

#include "kelvo_fixture.h"
#include "view/wheel_zoom.h"

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QWheelEvent>
#include <optional>

class ViewTest : public KelvoTest {
  protected:
    void click(QWidget* element) { pointer::click(element); }
    void click_times(QWidget* element, int times) {
        for (int i = 0; i < times; ++i)
            click(element);
    }

    // A press of the left button at a fractional place of the picture area,
    // as a pointer between two screen pixels gives it.
    void press(float x, float y, Qt::MouseButton button = Qt::LeftButton) {
        pointer::click(f->P_in, button, QPointF(x, y));
    }

    // Turns the wheel over the middle of the visible part of `over` by `angle` (120 a notch, y away
    // from the user). It goes to the window, as a real wheel's turn does, and
    // Qt finds the widget under the pointer and hands the turn on to its
    // parents while a widget leaves it unused.
    // `where` places the pointer elsewhere in `over`.
    static void turn_wheel(QWidget* over, QPoint angle, Qt::KeyboardModifiers modifiers = {},
                           std::optional<QPointF> where = {}) {
        QWidget* top = over->window();
        const QPointF at = over->mapTo(
            top, where.value_or(QPointF(over->visibleRegion().boundingRect().center())));
        QWheelEvent wheel(at, top->mapToGlobal(at), QPoint(), angle, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&wheel);
        QApplication::sendEvent(top->windowHandle(), &wheel);
    }

    // Waits until a burst of Ctrl+wheel notches has been shown.
    void settle_wheel() {
        auto* zoom = f->findChild<WheelZoom*>();
        ASSERT_TRUE(zoom);
        EXPECT_TRUE(QTest::qWaitFor([zoom] { return !zoom->pending(); }, 2000));
    }

    // The pointer moves to a fractional place of the picture area.
    void move_to(float x, float y) { pointer::move(f->P_in, QPointF(x, y)); }
    // The pointer moves there and the left button is pressed, as a user does.
    void move_and_press(float x, float y) {
        move_to(x, y);
        press(x, y);
    }

    // A chain of three elements in "multi lines" mode.
    void measure_a_chain() {
        click(f->Option_tracer[1]);
        for (QPointF at : {QPointF(10, 10), QPointF(40, 10), QPointF(40, 50), QPointF(60, 50)})
            move_and_press(float(at.x()), float(at.y()));
    }
    bool chain_cleared() const {
        return f->seg_count == 0 && f->sum_d == 0.0f && f->L_m.size() == 1;
    }

    // Hides every overlay of the picture area, so its pixels are the picture's.
    void hide_overlays() {
        for (LineObject* line : {f->L_trace_x, f->L_trace_y, f->Line_scale, f->L_d, f->L_x0,
                                 f->L_y0, f->L_x1, f->L_y1, f->Line_ax0, f->Line_ax1, f->Line_eq})
            line->hide();
        f->L_div->hide();
    }

    // An open picture of w x h, shown in a window with an 800 x 600 client area.
    QString show_picture(int w, int h, const QString& name = QStringLiteral("p.bmp")) {
        show_window();
        const QString file = save_picture_file(test_picture(w, h), name);
        open(file);
        return file;
    }
};
