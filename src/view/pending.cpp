// Procedures of this folder still being built.
#include "view/scrolling.h"
#include "view/zoom.h"
#include "shell/F_main.h"
#include "platform/picture_io.h"

void update_scroll_bars(F_main&) {}
void reset_for_mode(F_main&) {}
bool render_at_zoom(F_main& f) {
    LoadedPicture loaded = load_picture(f.pic_path);
    if (!loaded.ok()) {
        f.report(loaded.error);
        return false;
    }
    f.P_in->set_picture(std::move(loaded.image));
    return true;
}
