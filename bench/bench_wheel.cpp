// SPDX-License-Identifier: MIT
// Ten quick Ctrl+wheel notches over a 50-megapixel photo (8660 x 5774 JPEG)
// in a 1600 x 900 viewport, from 100% to 200%: the time from the first notch
// until the window shows the final zoom and answers again, against the same
// ten steps taken one by one (ten clicks on "in").
//
//   bench_wheel --benchmark_counters_tabular=true

#include "app/main_window.h"
#include "form/view_room.h"
#include "scripted_dialogs.h"
#include "view/wheel_zoom.h"
#include "view/zoom.h"
#include "workbook/xls_application.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QThread>
#include <QWheelEvent>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

struct Photo {
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("50mp.jpg"));
    Photo() {
        QImage image(8660, 5774, QImage::Format_RGB32);
        quint32 noise = 1;
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                noise = noise * 1664525u + 1013904223u;
                const int n = int(noise >> 28);
                row[x] = qRgb((x / 37) % 200 + n, (y / 23) % 200 + n, ((x + y) / 51) % 200 + n);
            }
        }
        if (!image.save(file, "JPG", 90))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    }
};

struct Viewer {
    Photo photo;
    ScriptedFileDialogs dialogs;
    std::unique_ptr<F_main> f = make_main_window(dialogs, XlsApplication::factory());
    Viewer() {
        const QSize client(1600 + 138, 900 + 20);
        f->show();
        f->resize(client + f->size() - f->client->size());
        for (int i = 0; i < 50 && f->client->size() != client; ++i)
            QApplication::processEvents();
        dialogs.answer(photo.file);
        f->fo->trigger();
    }
    void back_to_100() {
        L_even_Click(f->view_room());
        QApplication::processEvents();
    }
};

std::unique_ptr<Viewer> the_viewer; // let go before the application
Viewer& viewer() {
    if (!the_viewer) the_viewer = std::make_unique<Viewer>();
    return *the_viewer;
}

void TenWheelNotches(benchmark::State& state) {
    Viewer& v = viewer();
    auto* zoom = v.f->findChild<WheelZoom*>();
    for (auto _ : state) {
        state.PauseTiming();
        v.back_to_100();
        state.ResumeTiming();
        const Clock::time_point start = Clock::now();
        double slowest_notch = 0;
        for (int i = 0; i < 10; ++i) {
            const Clock::time_point notch = Clock::now();
            const QPointF at(800, 450);
            QWheelEvent wheel(at, v.f->P_in->mapToGlobal(at), QPoint(), QPoint(0, 120),
                              Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(v.f->P_in, &wheel);
            QApplication::processEvents();
            slowest_notch = std::max(slowest_notch,
                                     std::chrono::duration<double>(Clock::now() - notch).count());
            QThread::msleep(15); // a quick hand: a notch every 15 ms
        }
        while (zoom->pending()) {
            QApplication::processEvents();
            QThread::msleep(1);
        }
        QApplication::processEvents();
        const double took = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(took);
        state.counters["slowest_notch_ms"] = slowest_notch * 1000;
        if (v.f->L_zval->text() != QLatin1String("200%")) state.SkipWithError("not at 200%");
    }
}
BENCHMARK(TenWheelNotches)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void TenStepsOneByOne(benchmark::State& state) {
    Viewer& v = viewer();
    for (auto _ : state) {
        state.PauseTiming();
        v.back_to_100();
        state.ResumeTiming();
        for (int i = 0; i < 10; ++i)
            L_in_Click(v.f->view_room());
        QApplication::processEvents();
    }
}
BENCHMARK(TenStepsOneByOne)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The pictures opened go to the recent list of a settings folder of the
    // run, never the user's own.
    QTemporaryDir settings;
    ::setenv("XDG_CONFIG_HOME", qPrintable(settings.path()), 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    the_viewer.reset();
    return 0;
}
