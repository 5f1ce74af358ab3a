// SPDX-License-Identifier: MIT
#include "view_fixture.h"

#include "form/view_room.h"
#include "picture/downscale.h"
#include "view/zoom.h"

#include <QFile>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

using KeptPicture = ViewTest;

// Sets the modification time of `file` (and so its change time to now).
void set_modified(const QString& file, const timespec& when) {
    const timespec times[2] = {{0, UTIME_OMIT}, when};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0);
}
timespec modified(const QString& file) {
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0);
    return st.st_mtim;
}

// Every zoom from 10% to 510%, stepped to from a kept picture, shows the
// pixels a fresh decoding of the file shows at that zoom, and the kept
// picture is not decoded again while the file is unchanged.
TEST_F(KeptPicture, EveryZoomShowsWhatAFreshDecodingShows) {
    show_window();
    const QString file = save_picture_file(test_picture(333, 201), "p.jpg");
    open(file);
    timespec when = modified(file);
    for (int step = 0; step < 59; ++step) {
        const qint64 kept = f->full_picture.cacheKey();
        click(step < 9 ? f->L_out : f->L_in);
        const std::string zoom = f->L_zval->text().toStdString();
        ASSERT_EQ(f->full_picture.cacheKey(), kept) << zoom;
        const QImage shown = f->P_in->shown_part(f->P_in->rect());
        const QSize area = f->P_in->size();
        ++when.tv_sec; // the file changed: read again at the same zoom
        set_modified(file, when);
        ASSERT_TRUE(render_at_zoom(f->view_room()).isEmpty()) << zoom;
        ASSERT_NE(f->full_picture.cacheKey(), kept) << zoom;
        ASSERT_EQ(f->P_in->size(), area) << zoom;
        ASSERT_EQ(f->P_in->shown_part(f->P_in->rect()), shown) << zoom;
    }
    EXPECT_EQ(f->L_zval->text(), QStringLiteral("510%"));
}

// A file changed behind the window's back with its size and modification
// time as they were shows its new content at the next "in", "out" or "1/1".
TEST_F(KeptPicture, AFileChangedWithItsSizeAndTimeKeptShowsAnewAtTheNextStep) {
    show_window();
    const QImage before = test_picture(200, 100), after = before.mirrored(true, true);
    const struct {
        bool renamed; // replaced by another file renamed over it, else rewritten in place
        ClickLabel* F_main::*button;
        QSize area; // from 90%
    } cases[] = {{false, &F_main::L_in, {200, 100}},   {false, &F_main::L_out, {160, 80}},
                 {false, &F_main::L_even, {200, 100}}, {true, &F_main::L_in, {200, 100}},
                 {true, &F_main::L_out, {160, 80}},    {true, &F_main::L_even, {200, 100}}};
    for (const auto& c : cases) {
        const QString file = save_picture_file(before, "p.bmp");
        open(file);
        click(f->L_out);
        const timespec when = modified(file);
        // The change lands on a later tick of the file system's clock than the
        // decoding: within one tick a rewrite cannot be told from no change.
        QThread::msleep(20);
        const QString other = save_picture_file(after, c.renamed ? "q.bmp" : "p.bmp");
        set_modified(other, when);
        if (c.renamed) {
            ASSERT_EQ(::rename(QFile::encodeName(other), QFile::encodeName(file)), 0);
        }
        click(f.get()->*c.button);
        ASSERT_EQ(f->P_in->size(), c.area);
        EXPECT_EQ(f->P_in->shown_part(f->P_in->rect()), downscaled_copy(after, c.area))
            << (c.renamed ? "renamed, " : "in place, ") << f->L_zval->text().toStdString();
    }
}

} // namespace
