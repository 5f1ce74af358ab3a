#include "shell/wiring.h"

#include "shell/F_main.h"
#include "shell/layout.h"
#include "platform/event_hooks.h"

#include <QAction>

void wire_shell(F_main& f) {
    on_resize(f.client, [&f] { lay_out_window(f); });
    QObject::connect(f.fx, &QAction::triggered, &f, [&f] { f.close(); });
}
