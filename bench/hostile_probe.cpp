// SPDX-License-Identifier: MIT
// Opens one file through the real main window, as the menu does, and prints
// what it cost: used by bench/hostile_files.py, which runs it once per file
// in a process of its own so that the peak resident memory is that file's.
//
//   hostile_probe picture|scale FILE
//
// Prints one line: seconds taken, peak resident memory above the idle
// window in MiB, the picture area's size, and the status line.

#include "app/main_window.h"
#include "scripted_dialogs.h"
#include "workbook/xls_application.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <memory>

namespace {

qint64 status_kib(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field)) + 1).trimmed().split(' ')[0].toLongLong();
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: hostile_probe picture|scale FILE\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The picture opened goes to the recent list of a settings folder of the
    // run, never the user's own.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    QApplication app(argc, argv);
    ScriptedFileDialogs dialogs;
    auto f = make_main_window(dialogs, XlsApplication::factory());
    f->setWindowState(Qt::WindowNoState);
    f->show();
    f->resize(1600, 1000);
    QApplication::processEvents();

    const qint64 idle = status_kib("VmRSS:");
    // The high-water mark starts again from what is resident now.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    const bool reset = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
    clear.close();

    dialogs.answer(QString::fromLocal8Bit(argv[2]));
    const bool scale = qstrcmp(argv[1], "scale") == 0;
    const auto start = std::chrono::steady_clock::now();
    (scale ? f->fp : f->fo)->trigger();
    const double took =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const qint64 peak = status_kib("VmHWM:");
    std::printf("%.3f %.1f %dx%d %s%s\n", took, double(peak - idle) / 1024.0,
                f->P_in->has_picture() ? f->P_in->width() : 0,
                f->P_in->has_picture() ? f->P_in->height() : 0, qPrintable(f->status_text()),
                reset ? "" : " (peak not reset)");
    std::fflush(stdout);
    return 0;
}
