// SPDX-License-Identifier: MIT
#include "app/wiring.h"

#include "app/cancel_current.h"
#include "app/drop.h"
#include "app/layout.h"
#include "app/logout.h"
#include "app/results_control.h"
#include "app/tutorial.h"
#include "app/unload.h"
#include "app/version_panel.h"
#include "form/F_main.h"
#include "platform/event_hooks.h"

#include <QAction>
#include <QShortcut>

void wire_app(F_main& f, SystemEnding ending) {
    on_resize(f.client, [&f] { lay_out_window(f); });
    QObject::connect(f.fx, &QAction::triggered, &f, [&f] { f.close(); });
    f.fx->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    QObject::connect(f.iu, &QAction::triggered, &f, [&f] { iu_Click(f); });
    f.iu->setShortcut(QKeySequence(Qt::Key_F1));
    QObject::connect(f.iv, &QAction::triggered, &f, [&f] { iv_Click(f); });
    QObject::connect(f.P_vers, &PictureBox::clicked, &f, [&f] { P_vers_Click(f); });
    QObject::connect(f.Img, &PictureBox::clicked, &f, [&f] { P_vers_Click(f); });
    // The version picture belongs to the window's design.
    f.Img->set_picture(version_picture());

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), &f);
    QObject::connect(escape, &QShortcut::activated, &f, [&f] { cancel_current(f); });
    accept_drops(f);
    add_results_window(f);
    f.on_unload = [&f](int& cancel) { F_main_Unload(f, cancel); };
    if (ending == SystemEnding::answered) close_on_logout(f);
}
