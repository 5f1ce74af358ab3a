// SPDX-License-Identifier: MIT
// The view of a 24-megapixel photo (6000 x 4000) and of a 50-megapixel one: opening it, zoom steps
// above and below 100%, the peak memory of zooming it all the way to 510%, and at 510% the repaint
// of a 1600 x 900 viewport, a scroll step and a pointer move with the cross-hair.
//
// Decoding is timed side by side with libjpeg-turbo's djpeg on the same file
// in the same iteration, and reported as a ratio ("vs_djpeg", to djpeg
// decoding the whole picture; "vs_djpeg_also", below 100%, to djpeg at the DCT
// scale M/8 just at or above the zoom):
//   open at 100%:                              at most 1.5 x djpeg (full decode)
//   a step on an unchanged file (the full-size picture kept):
//     "in" to 110% and 510%, "1/1",
//     "out" to 90%, 80%, 50%, 10%:             at most 0.05 x djpeg (a repaint;
//                                              below 100% only the exposed part
//                                              is shrunk)
//   a step on a changed file (read again):     at most 1.0 x djpeg "in",
//                                              1.15 x djpeg "out"
//   the same for a 50-megapixel photo (8660 x 5773)
//   open at 100%, to the first screenful
//   painted (1600 x 900):                      at most 0.25 x djpeg (full decode)
//   the same open, to the open completed:      at most 1.1 x djpeg
//   Next picture, decoded ahead:               at most 0.05 x djpeg
// Memory ("peak_above_idle_MiB", measured in a child process of its own):
//   zooming from 100% to 510% step by step:    at most W x H x 4 + 32 MiB
//   and from 100% to 10% (JPEG and BMP):       at most W x H x 4 + a third of it
//                                              (its smaller levels) + 32 MiB
//                                              above the window without a picture
//   a photo opened and the next decoded ahead: at most 2 x W x H x 4 + 32 MiB
// At 510% in a 1600 x 900 viewport:
//   a full repaint of the viewport:            at most 3 ms
//   a pointer move with the cross-hair:        at most 1 ms
// At 90%, the same viewport: an arrow step of the horizontal bar: at most 3 ms
//
//   bench_view --benchmark_counters_tabular=true

#include "app/main_window.h"
#include "form/view_mapping.h"
#include "form/view_room.h"
#include "platform/file_dialogs.h"
#include "platform/recent_pictures.h"
#include "scripted_dialogs.h"
#include "view/decode_ahead.h"
#include "view/folder_steps.h"
#include "view/zoom.h"
#include "workbook/xls_application.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QProcess>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

extern char** environ;

namespace {

constexpr int photo_width = 6000;
constexpr int photo_height = 4000;
constexpr double mib = 1024.0 * 1024.0;

using Clock = std::chrono::steady_clock;
double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A photo-like picture, the same in every run: light falling off across the
// frame, a woven texture, hard-edged discs and bars, and sensor noise. The
// second shot moves the discs and the noise, as the next photo of a series.
QImage test_photo(int shot, int width = photo_width, int height = photo_height) {
    QImage image(width, height, QImage::Format_RGB32);
    int wave[1024];
    for (int i = 0; i < 1024; ++i)
        wave[i] = int(std::lround(18 * std::sin(i * 2 * M_PI / 1024)));
    quint32 noise = 2463534242u + quint32(shot);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const int cy = ((y + 90 * shot) % 750) - 375;
        for (int x = 0; x < width; ++x) {
            int r = 70 + 110 * x / width + 40 * y / height;
            int g = 150 - 60 * y / height + 30 * x / width;
            int b = 210 - 150 * y / height;
            const int texture = wave[(x * 7 + y * 3) & 1023] + wave[(x * 2 + y * 11 / 2) & 1023];
            r += texture;
            g += texture;
            b += texture / 2;
            const int cx = ((x + 130 * shot) % 750) - 375;
            if (cx * cx + cy * cy < 220 * 220) r += 60, g -= 40, b -= 50; // discs
            if ((x / 60) % 17 == 3) r -= 70, g -= 70, b -= 70;            // bars
            noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
            const int n = int(noise % 25) - 12;
            row[x] = qRgb(qBound(0, r + n, 255), qBound(0, g + n, 255), qBound(0, b + n, 255));
        }
    }
    return image;
}

// Each photo in a folder of its own, so that opening it decodes no neighbour
// ahead; the series folder holds two photos for Next picture.
struct PhotoFiles {
    QTemporaryDir dir;
    QString jpeg = alone(QStringLiteral("jpeg"), QStringLiteral("photo.jpg"));
    QString next_jpeg = alone(QStringLiteral("next"), QStringLiteral("next.jpg"));
    QString bmp = alone(QStringLiteral("bmp"), QStringLiteral("photo.bmp"));
    QString alone(const QString& folder, const QString& name) const {
        QDir(dir.path()).mkdir(folder);
        return dir.filePath(folder + '/' + name);
    }
    PhotoFiles() {
        const QImage photo = test_photo(0);
        if (!photo.save(jpeg, "JPG", 90) || !photo.save(bmp, "BMP") ||
            !test_photo(1).save(next_jpeg, "JPG", 90))
            std::fprintf(stderr, "cannot write the test photos into %s\n", qPrintable(dir.path()));
    }
};
const PhotoFiles& photo_files() {
    static const PhotoFiles files;
    return files;
}

// A 50-megapixel photo, 8660 x 5773, made when first asked for.
constexpr QSize big_size(8660, 5773);
const QString& big_jpeg() {
    static const QString path = [] {
        const QString file = photo_files().alone(QStringLiteral("big"), QStringLiteral("big.jpg"));
        if (!test_photo(0, big_size.width(), big_size.height()).save(file, "JPG", 90))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return file;
    }();
    return path;
}

// djpeg on `file`, its picture thrown away; the wall time it took, or a
// negative value when it could not run.
double time_djpeg(const QString& file, int eighths) {
    static const QByteArray djpeg =
        QStandardPaths::findExecutable(QStringLiteral("djpeg")).toLocal8Bit();
    if (djpeg.isEmpty()) return -1;
    const QByteArray scale = QByteArray::number(eighths) + "/8";
    const QByteArray path = file.toLocal8Bit();
    std::vector<char*> args{const_cast<char*>(djpeg.constData())};
    if (eighths != 8) {
        args.push_back(const_cast<char*>("-scale"));
        args.push_back(const_cast<char*>(scale.constData()));
    }
    args.push_back(const_cast<char*>("-outfile"));
    args.push_back(const_cast<char*>("/dev/null"));
    args.push_back(const_cast<char*>(path.constData()));
    args.push_back(nullptr);
    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    if (::posix_spawn(&child, args[0], nullptr, nullptr, args.data(), environ) != 0) return -1;
    int status = 0;
    ::waitpid(child, &status, 0);
    const double took = seconds_since(start);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? took : -1;
}

// Counts the pixels the picture area paints, to show that the work timed is
// the work meant.
class PaintMeter : public QObject {
  public:
    qint64 pixels = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                pixels += qint64(r.width()) * r.height();
        return false;
    }
};

// The main window with a 1600 x 900 viewport (the fixed parts take 138 x 20).
struct Viewer {
    ScriptedFileDialogs dialogs;
    std::unique_ptr<F_main> f = make_main_window(dialogs, XlsApplication::factory());
    Viewer() {
        const QSize client(1600 + 138, 900 + 20);
        f->setWindowState(Qt::WindowNoState);
        f->show();
        f->resize(client + f->size() - f->client->size());
        for (int i = 0; i < 50 && f->client->size() != client; ++i)
            QApplication::processEvents();
        QApplication::processEvents();
    }
    void open(const QString& file) {
        dialogs.answer(file);
        f->fo->trigger();
    }
    bool shows(QSize area) const { return f->P_in->size() == area && f->P_in->has_picture(); }
};
std::unique_ptr<Viewer> the_viewer;
Viewer& viewer() {
    if (!the_viewer) the_viewer = std::make_unique<Viewer>();
    return *the_viewer;
}

// Times `kelvo` against djpeg, alternating within each iteration so that both
// meet the same machine. `prepare` runs first in each iteration, untimed. With
// `also_eighths`, djpeg runs at that scale too, for a second ratio.
template <class Prepare, class Work>
void versus_djpeg(benchmark::State& state, const QString& file, int eighths, Prepare&& prepare,
                  Work&& kelvo, int also_eighths = 0) {
    double kelvo_total = 0, djpeg_total = 0, also_total = 0;
    for (auto _ : state) {
        prepare();
        const Clock::time_point start = Clock::now();
        if (!kelvo()) {
            state.SkipWithError(qPrintable(viewer().f->status_text()));
            return;
        }
        const double took = seconds_since(start);
        const double djpeg = time_djpeg(file, eighths);
        const double also = also_eighths != 0 ? time_djpeg(file, also_eighths) : 0;
        if (djpeg < 0 || also < 0) {
            state.SkipWithError("djpeg did not run (Debian package libjpeg-turbo-progs)");
            return;
        }
        state.SetIterationTime(took);
        kelvo_total += took;
        djpeg_total += djpeg;
        also_total += also;
    }
    state.counters["djpeg_ms"] = djpeg_total * 1000 / double(state.iterations());
    state.counters["vs_djpeg"] = kelvo_total / djpeg_total;
    if (also_eighths != 0) {
        state.counters["djpeg_also_ms"] = also_total * 1000 / double(state.iterations());
        state.counters["vs_djpeg_also"] = kelvo_total / also_total;
    }
}
template <class Work>
void versus_djpeg(benchmark::State& state, const QString& file, int eighths, Work&& kelvo) {
    versus_djpeg(
        state, file, eighths, [] {}, std::forward<Work>(kelvo));
}

// The picture file changes (its modification time, and so its change time):
// the next step reads it again.
void touch(const QString& file) {
    static time_t seconds = 1'000'000'000;
    const timespec times[2] = {{0, UTIME_OMIT}, {++seconds, 0}};
    ::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0);
}

// The zoom at `percent` shown from an unchanged file, untimed, as the step
// before left it.
void shown_at(int percent) {
    if (const QString why = show_zoom(viewer().f->view_room(), percent); !why.isEmpty())
        std::fprintf(stderr, "cannot show %d%%: %s\n", percent, qPrintable(why));
}

// The DCT scale djpeg decodes at for a zoom below 100%, as the program did
// before it kept the full-size picture.
int eighths_for(int percent) {
    return percent >= 100 ? 8 : (8 * percent + 99) / 100;
}

// A step to `z` on `jpeg`: "in" above 100%, "out" below, "1/1" for 100 (from
// 50%), from the zoom 10 points nearer 100% shown just before. With `changed`
// the file changes before the step, which then reads it again; otherwise the
// step works from the picture kept. Timed against djpeg decoding the whole
// picture and, below 100%, at the DCT scale just at or above the zoom.
void step_to(benchmark::State& state, const QString& jpeg, bool changed) {
    const int z = int(state.range(0));
    const int from = z == 100 ? 50 : z > 100 ? z - 10 : z + 10;
    viewer().open(jpeg);
    versus_djpeg(
        state, jpeg, 8,
        [&] {
            shown_at(from);
            if (changed) touch(jpeg);
        },
        [&] {
            F_main& f = *viewer().f;
            const ViewRoom view = f.view_room();
            z == 100 ? L_even_Click(view) : z > 100 ? L_in_Click(view) : L_out_Click(view);
            QApplication::processEvents(); // the picture painted
            return f.L_zval->text() == QString::number(z) + '%';
        },
        z < 100 ? eighths_for(z) : 0);
    if (z < 100) state.counters["also_eighths"] = eighths_for(z);
    state.counters["goal"] = changed ? (z < 100 ? 1.15 : 1.0) : 0.05;
}

// Sets the zoom caption without showing anything, so the step that follows
// starts from there.
void zoom_caption(int percent) {
    set_view_zoom(*viewer().f, percent);
}

// The next photo of a series, of the same size as the one shown: it is
// decoded into the memory of the one it replaces.
void OpenJpegAt100(benchmark::State& state) {
    const PhotoFiles& files = photo_files();
    viewer().open(files.jpeg);
    int shot = 0;
    versus_djpeg(state, files.next_jpeg, 8, [&] {
        viewer().open(++shot % 2 ? files.next_jpeg : files.jpeg);
        return viewer().shows({photo_width, photo_height});
    });
    state.counters["goal"] = 1.5;
}
BENCHMARK(OpenJpegAt100)->UseManualTime()->Iterations(6)->Unit(benchmark::kMillisecond);

// The first photo opened: its memory is new, and the system maps and zeroes it.
void OpenFirstJpegAt100(benchmark::State& state) {
    const QString& jpeg = photo_files().jpeg;
    versus_djpeg(state, jpeg, 8, [&] {
        viewer().f->P_in->clear_picture();
        viewer().open(jpeg);
        return viewer().shows({photo_width, photo_height});
    });
    state.counters["goal"] = 1.5;
}
BENCHMARK(OpenFirstJpegAt100)->UseManualTime()->Iterations(6)->Unit(benchmark::kMillisecond);

// Steps on an unchanged file, answered from the kept full-size picture, and
// on a changed one, read again.
void unchanged_steps(benchmark::internal::Benchmark* b) {
    for (int percent : {110, 510, 100, 90, 80, 50, 10})
        b->Arg(percent);
}
void JpegUnchangedStepTo(benchmark::State& state) {
    step_to(state, photo_files().jpeg, false);
}
void JpegChangedStepTo(benchmark::State& state) {
    step_to(state, photo_files().jpeg, true);
}
BENCHMARK(JpegUnchangedStepTo)
    ->Apply(unchanged_steps)
    ->UseManualTime()
    ->Iterations(6)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(JpegChangedStepTo)
    ->Arg(110)
    ->Arg(510)
    ->Arg(90)
    ->Arg(80)
    ->Arg(70)
    ->Arg(50)
    ->Arg(30)
    ->Arg(10)
    ->UseManualTime()
    ->Iterations(6)
    ->Unit(benchmark::kMillisecond);

// The 50-megapixel photo opened at 100% over itself, and stepped "in" and "out".
void BigJpegOpenAt100(benchmark::State& state) {
    viewer().open(big_jpeg());
    versus_djpeg(state, big_jpeg(), 8, [&] {
        viewer().open(big_jpeg());
        return viewer().shows(big_size);
    });
    state.counters["goal"] = 1.0;
}
BENCHMARK(BigJpegOpenAt100)->UseManualTime()->Iterations(4)->Unit(benchmark::kMillisecond);

void BigJpegUnchangedStepTo(benchmark::State& state) {
    step_to(state, big_jpeg(), false);
}
void BigJpegChangedStepTo(benchmark::State& state) {
    step_to(state, big_jpeg(), true);
}
BENCHMARK(BigJpegUnchangedStepTo)
    ->Apply(unchanged_steps)
    ->UseManualTime()
    ->Iterations(4)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BigJpegChangedStepTo)
    ->Arg(110)
    ->Arg(90)
    ->Arg(80)
    ->Arg(30)
    ->UseManualTime()
    ->Iterations(4)
    ->Unit(benchmark::kMillisecond);

// The same photo as a bitmap: nothing to compare with, the time alone.
void BmpOpenAt100(benchmark::State& state) {
    const QString& bmp = photo_files().bmp;
    for (auto _ : state) {
        viewer().open(bmp);
        if (!viewer().shows({photo_width, photo_height})) state.SkipWithError("not opened");
    }
}
BENCHMARK(BmpOpenAt100)->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();

// A step from 10 points nearer 100% to the percentage given.
void BmpStepTo(benchmark::State& state) {
    const int z = int(state.range(0));
    viewer().open(photo_files().bmp);
    for (auto _ : state) {
        zoom_caption(z > 100 ? z - 10 : z + 10);
        const Clock::time_point start = Clock::now();
        z > 100 ? L_in_Click(viewer().f->view_room()) : L_out_Click(viewer().f->view_room());
        state.SetIterationTime(seconds_since(start));
    }
}
BENCHMARK(BmpStepTo)->Arg(110)->Arg(30)->UseManualTime()->Iterations(4)->Unit(
    benchmark::kMillisecond);

// ---- Opening in steps: the first screenful, the whole, the next picture ----

// Lets the window and the workers go on for a moment.
void wait_a_little() {
    QApplication::processEvents();
    QThread::msleep(2);
}

// The photo of `megapixels` (24 or 50) alone in its folder, and a series of
// two such photos in another.
const QString& lone_photo(int megapixels) {
    return megapixels == 50 ? big_jpeg() : photo_files().jpeg;
}
QStringList series(int megapixels) {
    const QString folder = QStringLiteral("series%1").arg(megapixels);
    QStringList files;
    for (const char* name : {"shot1.jpg", "shot2.jpg"}) {
        files << photo_files().alone(folder, QLatin1String(name));
        if (!QFile::exists(files.back())) QFile::copy(lone_photo(megapixels), files.back());
    }
    return files;
}

// Notes when the first screenful has been painted: it is painted here, in
// the filter, and the clock read once it is.
class FirstPaint : public QObject {
  public:
    Clock::time_point at{};

  protected:
    bool eventFilter(QObject* o, QEvent* event) override {
        if (event->type() != QEvent::Paint || o->objectName() != QLatin1String("early_screenful") ||
            at != Clock::time_point())
            return false;
        o->event(event); // QWidget::event: paints it
        at = Clock::now();
        return true;
    }
};

// Opening at 100% in the 1600 x 900 viewport, timed to the first screenful
// painted and to the open completed, against djpeg decoding the whole photo.
void OpenFirstScreenfulThenWhole(benchmark::State& state) {
    const QString& photo = lone_photo(int(state.range(0)));
    viewer().open(photo);
    double first_total = 0, whole_total = 0, djpeg_total = 0;
    FirstPaint painted;
    qApp->installEventFilter(&painted);
    for (auto _ : state) {
        painted.at = Clock::time_point();
        const Clock::time_point start = Clock::now();
        viewer().open(photo);
        const double whole = seconds_since(start);
        const double djpeg = time_djpeg(photo, 8);
        if (painted.at == Clock::time_point() || djpeg < 0 ||
            !viewer().f->status_text().startsWith(QLatin1String("Opened"))) {
            state.SkipWithError("no first screenful, no djpeg, or not opened");
            break;
        }
        state.SetIterationTime(whole);
        first_total += std::chrono::duration<double>(painted.at - start).count();
        whole_total += whole;
        djpeg_total += djpeg;
    }
    qApp->removeEventFilter(&painted);
    state.counters["djpeg_ms"] = djpeg_total * 1000 / double(state.iterations());
    state.counters["first_ms"] = first_total * 1000 / double(state.iterations());
    state.counters["first_vs_djpeg"] = first_total / djpeg_total;
    state.counters["whole_vs_djpeg"] = whole_total / djpeg_total;
    state.counters["goal_first"] = 0.25;
    state.counters["goal_whole"] = 1.1;
}
BENCHMARK(OpenFirstScreenfulThenWhole)
    ->Arg(24)
    ->Arg(50)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// Next picture once the next photo has been decoded ahead: from the key to
// the photo painted, against djpeg decoding it whole.
void NextPictureDecodedAhead(benchmark::State& state) {
    const QStringList shots = series(int(state.range(0)));
    F_main& f = *viewer().f;
    versus_djpeg(
        state, shots[1], 8,
        [&] {
            viewer().open(shots[0]);
            while (decoded_ahead(f.view_room()) != shots[1])
                wait_a_little();
        },
        [&] {
            next_picture(f.view_room());
            QApplication::processEvents(); // the picture painted
            return f.pic_path == shots[1];
        });
    state.counters["goal"] = 0.05;
}
BENCHMARK(NextPictureDecodedAhead)
    ->Arg(24)
    ->Arg(50)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// ---- Peak memory, in a child process of its own ----

qint64 status_kib(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field)) + 1).trimmed().split(' ')[0].toLongLong();
    return -1;
}

// argv: flag, "in" or "out", photo. Prints the resident memory of the idle
// window, after opening, and the peak of the zoom steps, in KiB.
int peak_probe(int argc, char** argv) {
    if (argc < 4) return 2;
    Viewer& v = viewer();
    QApplication::processEvents();
    const qint64 idle = status_kib("VmRSS:");
    v.open(QString::fromLocal8Bit(argv[3]));
    const qint64 opened = status_kib("VmRSS:");
    // The high-water mark starts again from what is resident now.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    const bool reset = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
    clear.close();
    const bool in = qstrcmp(argv[2], "in") == 0;
    for (int step = 0; step < (in ? 41 : 9); ++step)
        in ? L_in_Click(v.f->view_room()) : L_out_Click(v.f->view_room());
    const QString reached = v.f->L_zval->text();
    std::printf("%lld %lld %lld %d %s\n", qlonglong(idle), qlonglong(opened),
                qlonglong(status_kib("VmHWM:")), reset ? 1 : 0, qPrintable(reached));
    the_viewer.reset();
    return reached == (in ? QStringLiteral("510%") : QStringLiteral("10%")) ? 0 : 1;
}

// argv: flag, first photo of a series. Prints the resident memory of the
// idle window and the peak of opening the photo, decoding the next one ahead
// and then zooming out to 10% (a far zoom may keep a smaller copy), in KiB.
int ahead_probe(int argc, char** argv) {
    if (argc < 3) return 2;
    Viewer& v = viewer();
    QApplication::processEvents();
    const qint64 idle = status_kib("VmRSS:");
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    const bool reset = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
    clear.close();
    v.open(QString::fromLocal8Bit(argv[2]));
    const QString next = neighbour_picture(v.f->pic_path, +1);
    for (int i = 0; i < 30000 && decoded_ahead(v.f->view_room()) != next; ++i)
        wait_a_little();
    const bool ahead = !next.isEmpty() && decoded_ahead(v.f->view_room()) == next;
    for (int step = 0; step < 9; ++step)
        L_out_Click(v.f->view_room());
    std::printf("%lld %lld %lld %d\n", qlonglong(idle), qlonglong(status_kib("VmRSS:")),
                qlonglong(status_kib("VmHWM:")), reset ? 1 : 0);
    the_viewer.reset();
    return ahead ? 0 : 1;
}

// While the next photo is decoded ahead, and zooming out to 10% meanwhile: at
// most 2 x W x H x 4 + 32 MiB above the window without a picture.
void PeakMemoryDecodedAhead(benchmark::State& state) {
    const int megapixels = int(state.range(0));
    const QSize size = megapixels == 50 ? big_size : QSize(photo_width, photo_height);
    const QString first = series(megapixels)[0];
    for (auto _ : state) {
        QProcess probe;
        probe.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--ahead-probe"), first});
        const QList<QByteArray> kib = probe.waitForFinished(600000) && probe.exitCode() == 0
                                          ? probe.readAllStandardOutput().trimmed().split(' ')
                                          : QList<QByteArray>();
        if (kib.size() < 4) {
            state.SkipWithError("the probe failed");
            return;
        }
        const double idle = kib[0].toDouble() * 1024, peak = kib[2].toDouble() * 1024;
        const double budget = 2.0 * size.width() * size.height() * 4 + 32 * mib;
        state.counters["idle_MiB"] = idle / mib;
        state.counters["both_MiB"] = kib[1].toDouble() * 1024 / mib;
        state.counters["peak_above_idle_MiB"] = (peak - idle) / mib;
        state.counters["budget_MiB"] = budget / mib;
        state.counters["of_budget"] = (peak - idle) / budget;
        state.counters["peak_was_reset"] = kib[3].toDouble();
    }
}
BENCHMARK(PeakMemoryDecodedAhead)->Arg(24)->Arg(50)->Iterations(1)->Unit(benchmark::kSecond);

enum class Photo { jpeg, bmp, big_jpeg };

void PeakMemoryZooming(benchmark::State& state, const char* direction, Photo photo = Photo::jpeg) {
    const QString file = photo == Photo::bmp        ? photo_files().bmp
                         : photo == Photo::big_jpeg ? big_jpeg()
                                                    : photo_files().jpeg;
    const QSize size = photo == Photo::big_jpeg ? big_size : QSize(photo_width, photo_height);
    for (auto _ : state) {
        QProcess probe;
        probe.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--peak-probe"), QLatin1String(direction), file});
        if (!probe.waitForFinished(600000) || probe.exitCode() != 0) {
            state.SkipWithError(qPrintable(QStringLiteral("the probe failed: ") +
                                           QString::fromLocal8Bit(probe.readAllStandardError())));
            return;
        }
        const QList<QByteArray> kib = probe.readAllStandardOutput().trimmed().split(' ');
        if (kib.size() < 4) {
            state.SkipWithError("the probe said nothing");
            return;
        }
        const double idle = kib[0].toDouble() * 1024, opened = kib[1].toDouble() * 1024,
                     peak = kib[2].toDouble() * 1024;
        // The full-size picture, going out its smaller levels (a third of
        // it at most), and 32 MiB.
        const bool in = qstrcmp(direction, "in") == 0;
        const double full = double(size.width()) * size.height() * 4;
        const double budget = full + (in ? 0 : full / 3) + 32 * mib;
        state.counters["idle_MiB"] = idle / mib;
        state.counters["opened_MiB"] = opened / mib;
        state.counters["peak_MiB"] = peak / mib;
        state.counters["peak_above_idle_MiB"] = (peak - idle) / mib;
        state.counters["budget_MiB"] = budget / mib;
        state.counters["of_budget"] = (peak - idle) / budget;
        state.counters["peak_was_reset"] = kib[3].toDouble();
    }
}
BENCHMARK_CAPTURE(PeakMemoryZooming, in_to_510, "in")->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(PeakMemoryZooming, out_to_10, "out")->Iterations(1)->Unit(benchmark::kSecond);
// The bitmap is read in bands of rows and shrunk as read at every step out.
BENCHMARK_CAPTURE(PeakMemoryZooming, bmp_out_to_10, "out", Photo::bmp)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(PeakMemoryZooming, big_in_to_510, "in", Photo::big_jpeg)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(PeakMemoryZooming, big_out_to_10, "out", Photo::big_jpeg)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

// ---- At 510% in the 1600 x 900 viewport ----

// The photo at 510%, scrolled to the middle.
F_main& at_510() {
    Viewer& v = viewer();
    if (!v.shows({30600, 20400})) {
        v.open(photo_files().jpeg);
        zoom_caption(500);
        L_in_Click(v.f->view_room());
        v.f->HS_main->setValue(v.f->HS_main->maximum() / 2);
        v.f->VS_main->setValue(v.f->VS_main->maximum() / 2);
        QApplication::processEvents();
    }
    return *v.f;
}

// Runs `step` once per iteration and reports the picture pixels it painted.
template <class Step> void metered(benchmark::State& state, F_main& f, Step&& step) {
    PaintMeter meter;
    f.P_in->installEventFilter(&meter);
    for (auto _ : state)
        step();
    f.P_in->removeEventFilter(&meter);
    state.counters["painted_px"] = double(meter.pixels) / double(state.iterations());
}

void RepaintViewportAt510(benchmark::State& state) {
    F_main& f = at_510();
    if (f.P_out->size() != QSize(1600, 900)) state.SkipWithError("the viewport is not 1600 x 900");
    // The picture area covers the whole viewport, so it is what repaints.
    metered(state, f, [&] {
        f.P_in->update();
        QApplication::processEvents(); // the update request: paint and flush
    });
    state.counters["goal_ms"] = 3;
}
BENCHMARK(RepaintViewportAt510)->Unit(benchmark::kMillisecond)->UseRealTime();

// An arrow step of the horizontal bar, the picture moved and the exposed
// strip painted.
void ScrollStepAt510(benchmark::State& state) {
    F_main& f = at_510();
    int direction = 1;
    metered(state, f, [&] {
        f.HS_main->triggerAction(direction > 0 ? QAbstractSlider::SliderSingleStepAdd
                                               : QAbstractSlider::SliderSingleStepSub);
        direction = -direction;
        QApplication::processEvents();
    });
}
BENCHMARK(ScrollStepAt510)->Unit(benchmark::kMillisecond)->UseRealTime();

// At 90%, scrolled to the middle: an arrow step of the horizontal bar shrinks
// the strip it brings into view, and copies what stays in view.
void ScrollStepAt90(benchmark::State& state) {
    Viewer& v = viewer();
    if (!v.shows({5400, 3600})) {
        v.open(photo_files().jpeg);
        shown_at(90);
        v.f->HS_main->setValue(v.f->HS_main->maximum() / 2);
        v.f->VS_main->setValue(v.f->VS_main->maximum() / 2);
        QApplication::processEvents();
    }
    F_main& f = *v.f;
    int direction = 1;
    metered(state, f, [&] {
        f.HS_main->triggerAction(direction > 0 ? QAbstractSlider::SliderSingleStepAdd
                                               : QAbstractSlider::SliderSingleStepSub);
        direction = -direction;
        QApplication::processEvents();
    });
    state.counters["goal_ms"] = 3;
}
BENCHMARK(ScrollStepAt90)->Unit(benchmark::kMillisecond)->UseRealTime();

// The pointer moves over the picture: the handler places the cross-hair and
// the strips it left and now covers are painted.
void PointerMoveAt510(benchmark::State& state) {
    F_main& f = at_510();
    const QPoint origin(-f.P_in->x(), -f.P_in->y()); // the visible part's top-left corner
    int step = 0;
    metered(state, f, [&] {
        const QPointF at(origin.x() + 200 + (step * 37) % 1200,
                         origin.y() + 100 + (step * 23) % 700);
        ++step;
        QMouseEvent move(QEvent::MouseMove, at, f.P_in->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(f.P_in, &move);
        QApplication::processEvents();
    });
    state.counters["goal_ms"] = 1;
    state.counters["hair_shown"] = f.L_trace_x->visible() ? 1 : 0;
}
BENCHMARK(PointerMoveAt510)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The pictures opened go to the recent list of a settings folder of the
    // run, never the user's own.
    QTemporaryDir settings;
    ::setenv("XDG_CONFIG_HOME", qPrintable(settings.path()), 1);
    QApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--peak-probe") == 0) return peak_probe(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--ahead-probe") == 0) return ahead_probe(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    the_viewer.reset();
    finish_recent_pictures(); // written behind, into the run's settings folder
    return 0;
}
