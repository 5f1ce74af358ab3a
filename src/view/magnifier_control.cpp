// SPDX-License-Identifier: MIT
#include "view/magnifier_control.h"

#include "form/F_main.h"
#include "form/view_room.h"
#include "platform/user_settings.h"
#include "view/pointer_place.h"
#include "widgets/magnifier.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <cmath>

namespace {

const QString setting = QStringLiteral("view/magnifier");
// Clear of the pointer's arrow, which reaches down and to the right of its tip.
constexpr int pointer_gap = 24;

// One axis of inset_place: `before` is the side preferred.
int place_along(double pointer, int viewport, int side, int gap, bool before) {
    const int ahead = int(std::ceil(pointer)) + gap;
    const int behind = int(std::floor(pointer)) - gap - side;
    const bool ahead_fits = ahead + side <= viewport;
    const bool behind_fits = behind >= 0;
    if (before ? behind_fits : !ahead_fits && behind_fits) return behind;
    if (ahead_fits) return ahead;
    return std::clamp(behind, 0, std::max(0, viewport - side));
}

void look(const ViewRoom& room, Magnifier& inset, QPointF at) {
    const ViewMapping view = room.zoom;
    const MagnifierSource source = magnifier_source(room, view);
    inset.look_at(*source.image, source.scale, view.to_picture(at), source.note);
    const QPointF in_viewport = at + QPointF(room.P_in->pos());
    inset.move(inset_place(in_viewport, room.P_out->size(), Magnifier::side, pointer_gap));
    if (inset.isHidden()) {
        inset.raise();
        inset.show();
    }
}

} // namespace

QPoint inset_place(QPointF pointer, QSize viewport, int side, int gap) {
    return QPoint(place_along(pointer.x(), viewport.width(), side, gap, false),
                  place_along(pointer.y(), viewport.height(), side, gap, true));
}

MagnifierSource magnifier_source(const ViewRoom& room, const ViewMapping& view) {
    const double percent = view.percent;
    if (percent >= 100) return {&room.P_in->picture(), 1.0, QString()};
    if (!room.full_picture.isNull()) return {&room.full_picture, 1.0, QString()};
    return {&room.P_in->picture(), percent / 100.0,
            QStringLiteral("pixels as shown at %1%").arg(percent)};
}

void add_magnifier(F_main& f, PointerPlace& place) {
    auto* menu = new QMenu(QStringLiteral("View (&V)"), f.menuBar());
    menu->setObjectName(QStringLiteral("view_menu"));
    f.menuBar()->insertMenu(f.ii->menuAction(), menu);
    QAction* item = menu->addAction(QStringLiteral("Magnifier (&M)"));
    item->setObjectName(QStringLiteral("view_magnifier"));
    item->setCheckable(true);
    item->setShortcut(QKeySequence(Qt::Key_M));
    item->setChecked(user_settings().value(setting, false).toBool());

    auto* inset = new Magnifier(f.P_out, to_qcolor(f.P_in->background()).rgb());
    const ViewRoom room = f.view_room();
    QObject::connect(&place, &PointerPlace::over, inset, [room, inset, item](QPointF at) {
        if (item->isChecked()) look(room, *inset, at);
    });
    QObject::connect(&place, &PointerPlace::away, inset, &QWidget::hide);
    QObject::connect(item, &QAction::toggled, inset, [room, &place, inset](bool on) {
        QSettings s = user_settings();
        s.setValue(setting, on);
        s.sync(); // a settings file that cannot be written costs only this choice
        const std::optional<QPointF> at = place.where();
        if (on && at)
            look(room, *inset, *at);
        else
            inset->hide();
    });
}
