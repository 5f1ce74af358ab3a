// SPDX-License-Identifier: MIT
// "Save picture" of a 24-megapixel photo: at 510% the bitmap is 30600 x 20400
// pixels, 1.87 GB. The streamed export (bands of rows straight into the file;
// Png and Jpeg the same bands through libpng and libjpeg-turbo) runs side by
// side with the naive way (scale the whole picture with
// QImage::scaled, draw the scale bar, QImage::save as BMP).
//
// Each export runs in a child process of its own, which decodes the photo
// from a JPEG file and then exports it, so the peak resident memory of one
// export can be read (VmHWM, and the kernel's ru_maxrss of the child). Goals:
// at 510% the streamed export peaks at no more than the decoded picture +
// 64 MiB and takes at most half the naive time; at 100% it is no slower.
//
// The files go to $KELVO_BENCH_DIR, or the temporary folder. The streamed
// export syncs its file to the disk before it replaces the target, the naive
// one leaves it in the page cache, so on a disk the streamed time includes
// waiting for the disk. NaiveSynced is the naive way plus that sync, the like
// for like comparison of what reaches the disk.

#include "output/picture_bands.h"
#include "picture/picture_io.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr double mib = 1024.0 * 1024.0;
const char* const child_flag = "--export-child";

// A photo-like test picture: smooth light and colour over the frame, fine
// grain on top, so the JPEG is of a photo's size and decodes like one.
QImage test_photo() {
    QImage image(6000, 4000, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grain = int(random.bounded(24u));
            line[x] = qRgb((x / 30 + grain) & 0xFF, (y / 20 + grain) & 0xFF,
                           ((x + y) / 50 + grain) & 0xFF);
        }
    }
    return image;
}

QString bench_dir() {
    const QByteArray chosen = qgetenv("KELVO_BENCH_DIR");
    return chosen.isEmpty() ? QDir::tempPath() : QString::fromLocal8Bit(chosen);
}

// The photo as a JPEG file, written once per run of the benchmark.
const QString& photo_file() {
    static QTemporaryDir dir(bench_dir() + QStringLiteral("/kelvo-bench-XXXXXX"));
    static const QString file = [] {
        const QString path = dir.filePath(QStringLiteral("photo.jpg"));
        if (!test_photo().save(path, "JPG", 92))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return path;
    }();
    return file;
}

// ---- The child: one export, measured from within -------------------------

qint64 status_kib(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toLongLong();
    return -1;
}

// User plus system time of this process so far, in seconds.
double cpu_seconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](timeval t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Forgets the peak so far (Linux 4.0 on), so the export's own peak can be read.
bool reset_peak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// The scale bar where draw_scale_bar puts it in a 1000 x 700 view scrolled
// to the bottom-right corner.
ExportMarks scale_bar(QSize shown) {
    ExportMarks marks;
    const float right = float(shown.width() - 10);
    const float top = float(shown.height() - 20);
    marks.lines = {QLineF(right - 200, top + 5, right - 200, top),
                   QLineF(right, top + 5, right, top),
                   QLineF(right - 200, top + 4, right, top + 4)};
    marks.caption = QStringLiteral("100");
    marks.caption_at = QPoint(int(right) - 110, int(top) + 4);
    marks.font = QFont(QStringLiteral("Times New Roman"));
    marks.font.setPixelSize(11);
    marks.colour = QColor(136, 136, 136);
    return marks;
}

QString export_streamed(const QImage& picture, int percent, const QString& target) {
    const QSize shown = picture.size() * (percent / 100.0);
    const ShownPicture view{picture, percent > 100, shown, QColor(224, 224, 224)};
    return write_exported_picture(view, scale_bar(shown), target);
}

QString export_naive(const QImage& picture, int percent, const QString& target) {
    const QSize shown = picture.size() * (percent / 100.0);
    QImage canvas = picture.scaled(shown, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    {
        QPainter painter(&canvas);
        draw_export_marks(painter, scale_bar(shown));
    }
    return canvas.save(target, "BMP") ? QString() : QStringLiteral("QImage::save failed");
}

bool sync_file(const QString& target) {
    QFile file(target);
    return file.open(QIODevice::ReadWrite) && ::fsync(file.handle()) == 0;
}

// argv: flag, "streamed", "naive" or "naive-synced", percent, photo, target, report file.
int run_child(int argc, char** argv) {
    if (argc != 7) return 2;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv); // fonts for the division text
    const bool streamed = std::strcmp(argv[2], "streamed") == 0;
    const bool synced = std::strcmp(argv[2], "naive-synced") == 0;
    const int percent = std::atoi(argv[3]);

    const qint64 base_kib = status_kib("VmRSS");
    LoadedPicture photo = load_picture_reusing(QString::fromLocal8Bit(argv[4]));
    if (!photo.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(photo.error));
        return 1;
    }
    const qint64 decode_peak_kib = status_kib("VmHWM");
    const bool peak_reset = reset_peak();

    const double cpu_start = cpu_seconds();
    const auto start = std::chrono::steady_clock::now();
    const QString target = QString::fromLocal8Bit(argv[5]);
    QString error = streamed ? export_streamed(photo.image, percent, target)
                             : export_naive(photo.image, percent, target);
    if (error.isEmpty() && synced && !sync_file(target)) error = QStringLiteral("fsync failed");
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }

    FILE* report = std::fopen(argv[6], "w");
    if (!report) return 1;
    std::fprintf(report, "%.6f %.6f %lld %lld %lld %lld %d\n", seconds, cpu_seconds() - cpu_start,
                 qlonglong(photo.image.sizeInBytes()), qlonglong(base_kib),
                 qlonglong(decode_peak_kib), qlonglong(status_kib("VmHWM")), peak_reset ? 1 : 0);
    std::fclose(report);
    return 0;
}

// ---- The parent: one child per iteration ---------------------------------

struct ChildRun {
    double seconds = 0;
    double cpu_seconds = 0; // of the export alone: less at the mercy of other work on the machine
    double decoded_mib = 0;
    double base_mib = 0;
    double decode_peak_mib = 0;
    double export_peak_mib = 0; // since the decoding, when the peak could be reset
    bool peak_reset = false;
    double max_rss_mib = 0; // the kernel's figure for the whole child
    QString error;
};

ChildRun run_export_child(const char* mode, int percent, const QString& target,
                          const QString& report) {
    ChildRun run;
    char exe[4096] = {};
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return {.error = QStringLiteral("cannot find the benchmark's own binary")};
    const QByteArray percent_arg = QByteArray::number(percent);
    const QByteArray photo = photo_file().toLocal8Bit();
    const QByteArray target_arg = target.toLocal8Bit();
    const QByteArray report_arg = report.toLocal8Bit();
    char* args[] = {exe,
                    const_cast<char*>(child_flag),
                    const_cast<char*>(mode),
                    const_cast<char*>(percent_arg.constData()),
                    const_cast<char*>(photo.constData()),
                    const_cast<char*>(target_arg.constData()),
                    const_cast<char*>(report_arg.constData()),
                    nullptr};
    pid_t pid = 0;
    if (::posix_spawn(&pid, exe, nullptr, nullptr, args, environ) != 0)
        return {.error = QStringLiteral("cannot start the export")};
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {.error = QStringLiteral("the %1 export at %2% failed").arg(mode).arg(percent)};
    run.max_rss_mib = double(usage.ru_maxrss) / 1024.0;

    QFile in(report);
    if (!in.open(QIODevice::ReadOnly))
        return {.error = QStringLiteral("no report from the export")};
    const QList<QByteArray> fields = in.readAll().trimmed().split(' ');
    if (fields.size() != 7) return {.error = QStringLiteral("a garbled report from the export")};
    run.seconds = fields[0].toDouble();
    run.cpu_seconds = fields[1].toDouble();
    run.decoded_mib = fields[2].toDouble() / mib;
    run.base_mib = fields[3].toDouble() / 1024.0;
    run.decode_peak_mib = fields[4].toDouble() / 1024.0;
    run.export_peak_mib = fields[5].toDouble() / 1024.0;
    run.peak_reset = fields[6] == "1";
    return run;
}

// `extension` chooses the kind of file the streamed export writes.
void Export(benchmark::State& state, const char* mode, const char* extension = ".bmp") {
    const int percent = int(state.range(0));
    QTemporaryDir dir(bench_dir() + QStringLiteral("/kelvo-bench-XXXXXX"));
    const QString target = dir.filePath(QStringLiteral("export") + QLatin1String(extension));
    const QString report = dir.filePath(QStringLiteral("report.txt"));
    photo_file();
    ChildRun worst;
    double cpu_total = 0;
    for (auto _ : state) {
        // Each export starts with the disk quiet and no file to replace.
        QFile::remove(target);
        ::sync();
        const ChildRun run = run_export_child(mode, percent, target, report);
        if (!run.error.isEmpty()) {
            state.SkipWithError(qPrintable(run.error));
            return;
        }
        state.SetIterationTime(run.seconds);
        cpu_total += run.cpu_seconds;
        if (run.max_rss_mib >= worst.max_rss_mib) worst = run;
    }
    QFile::remove(target);
    state.counters["export_cpu_s"] = cpu_total / double(state.iterations());
    state.counters["decoded_MiB"] = worst.decoded_mib;
    state.counters["limit_MiB"] = worst.decoded_mib + 64;
    state.counters["peak_MiB"] = worst.max_rss_mib;
    state.counters["base_MiB"] = worst.base_mib;
    state.counters["decode_peak_MiB"] = worst.decode_peak_mib;
    if (worst.peak_reset) state.counters["export_peak_MiB"] = worst.export_peak_mib;
}

void Streamed(benchmark::State& state) {
    Export(state, "streamed");
}
void Png(benchmark::State& state) {
    Export(state, "streamed", ".png");
}
void Jpeg(benchmark::State& state) {
    Export(state, "streamed", ".jpg");
}
void Naive(benchmark::State& state) {
    Export(state, "naive");
}
void NaiveSynced(benchmark::State& state) {
    Export(state, "naive-synced");
}

// A 1.87 GB file per iteration at 510%: a few iterations tell enough.
void at_510_and_100(benchmark::internal::Benchmark* b) {
    b->Arg(510)->Arg(100)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
}
BENCHMARK(Streamed)->Apply(at_510_and_100);
BENCHMARK(Png)->Apply(at_510_and_100);
BENCHMARK(Jpeg)->Apply(at_510_and_100);
BENCHMARK(Naive)->Apply(at_510_and_100);
BENCHMARK(NaiveSynced)->Apply(at_510_and_100);

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], child_flag) == 0) return run_child(argc, argv);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv); // the JPEG writer is a plugin
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
