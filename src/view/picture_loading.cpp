#include "view/picture_loading.h"

#include "measure/modes.h"
#include "platform/picture_io.h"
#include "scale/scale_bar.h"
#include "shell/F_main.h"
#include "shell/dialogs.h"
#include "view/scrolling.h"
#include "view/zoom.h"

#include <QCheckBox>

void open_picture(F_main& f) {
    const QString path = ask_open_picture(f);
    if (path.isEmpty()) return;

    // The picture is read before anything changes: a file that turns out not
    // to be a readable picture leaves the previous picture and pic_path alone.
    if (value(f.Check_zlock) == 0) {
        LoadedPicture loaded = load_picture(path);
        if (!loaded.ok()) {
            f.report(loaded.error);
            return;
        }
        f.pic_path = path;
        f.P_in->set_picture(std::move(loaded.image));
        f.L_zval->setText(QStringLiteral("100%"));
    } else {
        const QString previous = f.pic_path;
        f.pic_path = path;
        if (!render_at_zoom(f)) {
            f.pic_path = previous;
            return;
        }
    }
    reset_for_mode(f);
    set_trace_grey(f);
    update_scroll_bars(f);
    draw_scale_bar(f);
}
