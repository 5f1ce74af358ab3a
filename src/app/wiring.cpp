// SPDX-License-Identifier: MIT
#include "app/wiring.h"

#include "app/layout.h"
#include "app/tutorial.h"
#include "app/version_panel.h"
#include "form/F_main.h"
#include "platform/event_hooks.h"

#include <QAction>

void wire_app(F_main& f) {
    on_resize(f.client, [&f] { lay_out_window(f); });
    QObject::connect(f.fx, &QAction::triggered, &f, [&f] { f.close(); });
    QObject::connect(f.iu, &QAction::triggered, &f, [&f] { iu_Click(f); });
    QObject::connect(f.iv, &QAction::triggered, &f, [&f] { iv_Click(f); });
    QObject::connect(f.P_vers, &PictureBox::clicked, &f, [&f] { P_vers_Click(f); });
    QObject::connect(f.Img, &PictureBox::clicked, &f, [&f] { P_vers_Click(f); });
    // The version picture belongs to the window's design.
    f.Img->set_picture(version_picture());
}
