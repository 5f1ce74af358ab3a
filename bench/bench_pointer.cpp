// SPDX-License-Identifier: MIT
// Pointer moves over a 24-megapixel picture shown in a large window, with a
// 1,000-element chain: a move must cost the handler plus a repaint of the
// strips that changed (the two hairs, the live line's old and new boxes),
// never the whole picture and never work that grows with the chain. The
// median per move should stay under 1 ms. Appending a chain point must cost
// the same at any chain length.

#include "app/main_window.h"
#include "form/measure_room.h"
#include "measure/chain.h"
#include "measure/modes.h"
#include "measure/pointer_input.h"
#include "platform/file_dialogs.h"
#include "scripted_dialogs.h"
#include "workbook/xls_application.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QRadioButton>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace {

// Counts the pixels the picture area paints.
class PaintMeter : public QObject {
  public:
    qint64 pixels = 0;
    qint64 paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                pixels += qint64(r.width()) * r.height();
            ++paints;
        }
        return false;
    }
};

QImage photo(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = qRgb((x * 7 + y) & 0xFF, (y * 5 + x / 3) & 0xFF, ((x ^ y) * 13) & 0xFF);
    }
    return image;
}

// The window, shown at a 1600 x 900 client area with a 6000 x 4000 picture open.
struct Window {
    QTemporaryDir dir;
    ScriptedFileDialogs dialogs;
    std::unique_ptr<F_main> f;
    PaintMeter meter;

    Window() {
        const QString file = dir.filePath(QStringLiteral("photo.jpg"));
        photo(6000, 4000).save(file, "JPG", 90);
        f = make_main_window(dialogs, XlsApplication::factory());
        f->setWindowState(Qt::WindowNoState);
        f->show();
        f->resize(QSize(1600, 900) + (f->size() - f->client->size()));
        settle();
        dialogs.answer(file);
        f->fo->trigger();
        settle();
        if (f->P_in->size() != QSize(6000, 4000)) {
            std::fprintf(stderr, "could not open the picture: %s\n", qPrintable(f->status_text()));
            std::exit(1);
        }
        f->P_in->installEventFilter(&meter);
    }

    void settle() {
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents();
        }
    }

    // A real pointer move on the picture area, then the repaint it caused.
    void move(QPointF at) {
        QMouseEvent event(QEvent::MouseMove, at, f->P_in->mapToGlobal(at), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f->P_in, &event);
        QCoreApplication::sendPostedEvents();
    }

    // A chain of `elements` elements tracing a contour as a user would: a
    // spiral of six turns from radius 50 to 400 around (700, 450), ending at
    // (1100, 450). More elements trace the same spiral in shorter steps.
    void lay_chain(int elements) {
        f->Option_tracer[1]->setChecked(true);
        Option_tracer_Click(f->measure_room(), MeasuringMode::chain);
        for (int k = 0; k < elements; ++k) {
            const double t = elements > 1 ? double(k) / (elements - 1) : 1.0;
            const double r = 50 + 350 * t, a = 6 * 2 * M_PI * t;
            P_in_MouseDown(f->measure_room(), 1, float(700 + r * std::cos(a)),
                           float(450 + r * std::sin(a)));
        }
        settle();
    }
};

// Made on first use and destroyed before the QApplication.
std::unique_ptr<Window> the_window;
Window& window() {
    if (!the_window) the_window = std::make_unique<Window>();
    return *the_window;
}

// Pointer positions on a circle around the chain's last point.
std::vector<QPointF> circle(double radius, int count) {
    std::vector<QPointF> points;
    for (int i = 0; i < count; ++i) {
        const double a = 2 * M_PI * i / count;
        points.emplace_back(1100 + radius * std::cos(a), 450 + radius * std::sin(a));
    }
    return points;
}

void report_moves(benchmark::State& state, std::vector<double>& micros, const PaintMeter& meter,
                  qint64 pixels_before, qint64 paints_before) {
    std::nth_element(micros.begin(), micros.begin() + micros.size() / 2, micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    const double moves = double(state.iterations());
    state.counters["painted_px_per_move"] = double(meter.pixels - pixels_before) / moves;
    state.counters["paints_per_move"] = double(meter.paints - paints_before) / moves;
}

void run_moves(benchmark::State& state, Window& w) {
    const std::vector<QPointF> path = circle(60, 97);
    std::vector<double> micros;
    const qint64 pixels = w.meter.pixels, paints = w.meter.paints;
    std::size_t i = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        w.move(path[i++ % path.size()]);
        micros.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    report_moves(state, micros, w.meter, pixels, paints);
    const QRect seen = w.f->P_in->visibleRegion().boundingRect();
    state.SetLabel(QStringLiteral("picture area seen %1x%2")
                       .arg(seen.width())
                       .arg(seen.height())
                       .toStdString());
}

// Pointer moves over an open chain of state.range(0) elements.
void PointerMoveOverChain(benchmark::State& state) {
    Window& w = window();
    w.lay_chain(int(state.range(0)));
    if (w.f->seg_count != state.range(0)) state.SkipWithError("the chain was not laid");
    run_moves(state, w);
}
BENCHMARK(PointerMoveOverChain)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

void PointerMoveStretchingASingleLine(benchmark::State& state) {
    Window& w = window();
    w.f->Option_tracer[0]->setChecked(true);
    Option_tracer_Click(w.f->measure_room(), MeasuringMode::single);
    P_in_MouseDown(w.f->measure_room(), 1, 1100, 450);
    w.settle();
    run_moves(state, w);
}
BENCHMARK(PointerMoveStretchingASingleLine)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The same moves with the magnifier on: at every move the inset looks at the
// picture anew and moves with the pointer, uncovering the picture it left.
void PointerMoveWithTheMagnifier(benchmark::State& state) {
    Window& w = window();
    QAction* magnifier = w.f->findChild<QAction*>(QStringLiteral("view_magnifier"));
    magnifier->setChecked(true);
    w.f->Option_tracer[0]->setChecked(true);
    Option_tracer_Click(w.f->measure_room(), MeasuringMode::single);
    P_in_MouseDown(w.f->measure_room(), 1, 1100, 450);
    w.settle();
    run_moves(state, w);
    magnifier->setChecked(false);
}
BENCHMARK(PointerMoveWithTheMagnifier)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Left presses in an open chain of state.range(0) elements, a batch of 100 per
// iteration so the figure is per press, not per cache refill. The undos that
// bring the length back are not timed (each recomputes the totals).
template <bool with_repaint> void append_at_length(benchmark::State& state) {
    constexpr int batch = 100;
    Window& w = window();
    w.lay_chain(int(state.range(0)));
    for (auto _ : state) {
        for (int i = 0; i < batch; ++i) {
            P_in_MouseDown(w.f->measure_room(), 1, float(1100 + i % 40), float(450 + i % 30));
            w.f->P_in->flush_line_changes();
            if (with_repaint) QCoreApplication::sendPostedEvents();
        }
        state.PauseTiming();
        for (int i = 0; i < batch; ++i)
            P_in_MouseDown(w.f->measure_room(), 2, 0, 0);
        QCoreApplication::sendPostedEvents();
        state.ResumeTiming();
    }
    state.counters["per_press_us"] =
        benchmark::Counter(double(state.iterations()) * batch,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The press handler alone: the chain's own work.
void AppendChainPoint(benchmark::State& state) {
    append_at_length<false>(state);
}
BENCHMARK(AppendChainPoint)->Arg(10)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The press with the repaint it causes.
void AppendChainPointAndRepaint(benchmark::State& state) {
    append_at_length<true>(state);
}
BENCHMARK(AppendChainPointAndRepaint)->Arg(10)->Arg(10000)->Unit(benchmark::kMicrosecond);

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
    the_window.reset();
    return 0;
}
