// SPDX-License-Identifier: MIT
#include "measure/wiring.h"

#include "form/F_main.h"
#include "form/measure_room.h"
#include "form/straight_lines.h"
#include "measure/hide_lines.h"
#include "measure/measuring_door.h"
#include "measure/modes.h"
#include "measure/pointer_input.h"
#include "measure/result_copy.h"
#include "measure/result_panel.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QShortcut>

void wire_measure(F_main& f) {
    const MeasureRoom room = f.measure_room();
    f.measuring_door = make_measuring_door(room);
    PictureBox* p = f.P_in;
    // With Shift held, presses and moves take the snapped end of the line
    // being drawn, for measuring and calibration alike.
    watch_straight_lines(f);
    QObject::connect(p, &PictureBox::mouseDown, &f, [&f, room](int button, float x, float y) {
        const QPointF at = drawn_line_end(f, {x, y});
        P_in_MouseDown(room, button, float(at.x()), float(at.y()));
    });
    QObject::connect(p, &PictureBox::mouseMove, &f, [&f, room](float x, float y) {
        const QPointF at = drawn_line_end(f, {x, y});
        P_in_MouseMove(room, float(at.x()), float(at.y()));
    });
    QObject::connect(p, &PictureBox::dblClick, &f, [room] { P_in_DblClick(room); });
    QObject::connect(p, &PictureBox::resized, &f, [room] { span_guide_lines(room); });
    QObject::connect(f.Check_hideline, &QCheckBox::clicked, &f,
                     [room] { Check_hideline_Click(room); });

    // toggled(true) rather than clicked: start-up selects "single line" in
    // code, and that selection must run the mode handler as a click would.
    for (int i = 0; i < 3; ++i)
        QObject::connect(f.Option_tracer[static_cast<std::size_t>(i)], &QRadioButton::toggled, &f,
                         [room, i](bool selected) {
                             if (selected) Option_tracer_Click(room, static_cast<MeasuringMode>(i));
                         });

    const struct {
        ClickLabel* value;
        ClickLabel* caption;
    } results[] = {{f.Lb_x, f.Lx}, {f.Lb_y, f.Ly}, {f.Lb_d, f.Ld}};
    for (const auto& r : results)
        for (ClickLabel* clicked : {r.value, r.caption})
            QObject::connect(clicked, &ClickLabel::clicked, &f,
                             [v = r.value, c = r.caption] { toggle_result_mark(v, c); });

    // Text boxes take Ctrl+C for themselves first: it copies the result only
    // while none has the focus.
    auto* copy = new QShortcut(QKeySequence::Copy, &f);
    QObject::connect(copy, &QShortcut::activated, &f, [&f] { copy_result(f.measure_room()); });
}
