#include "shell/wiring.h"

#include "shell/F_main.h"
#include "view/picture_loading.h"

#include <QAction>

void wire_view(F_main& f) {
    QObject::connect(f.fo, &QAction::triggered, &f, [&f] { open_picture(f); });
}
