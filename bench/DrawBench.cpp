// The overlay's drawing: 36 hint labels (half of one press, half of two) on the icons of a
// crowded switcher, painted by DrawingView into the overlay's surface with Cairo and Pango.
//
//   BM_Draw_Floor    the view with no labels: the surface is only cleared (and one pixel
//                    painted); argument: pixels per point
//   BM_Draw_Direct   every box rasterised and every text laid out and rendered on each draw
//   BM_Draw_Cached   boxes and texts copied from the pictures kept across draws
//   BM_Draw_NewSize  Cached, on icons of a size not drawn before: every picture is made anew
//   BM_FirstDraw_*   the first draw of the process, fontconfig's start-up included
//
// The first draw can only be measured once per process: main() times it before any benchmark
// runs, on a switcher of 12 applications (full-size icons, what the agent's start prepares
// for), and reports it as a manual-time benchmark (real time; every repetition shows the same
// figure; the CPU time in the counter cpu_us), with the second draw as its floor. Run the
// program once as it is (BM_FirstDraw_Cold) and once with VANTOR_BENCH_PREPARE=1 in the
// environment: the agent's start prepares text drawing first (BM_FirstDraw_PrepareAtStart: the
// fonts of hint labels on full-size icons, as Agent does), then BM_FirstDraw_AfterPrepare.
// Both runs end with the first and second draw of the crowded switcher, whose smaller sizes
// were not prepared. `make bench` runs both.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "overlay/DrawingView.h"
#include "overlay/LabelGeometry.h"
#include "platform/posix/CairoCanvas.h"
#include "platform/sim/SwitcherLayout.h"

namespace {

using vantor::DrawingView;
using vantor::ProcItem;
using vantor::ProcList;
using vantor::platform::CairoCanvas;
using vantor::platform::Rect;

constexpr std::size_t kLabels = 36;

// The items of a switcher of `count` applications on a 1920 × 1080 screen, in the list's own
// coordinates (the overlay's): A, AA, B, BB, …
struct Overlay {
    explicit Overlay(std::size_t count = kLabels, double iconGrowth = 0) {
        auto layout = vantor::sim::SwitcherLayout::compute(count, {1920, 1080});
        layout.icon += iconGrowth;
        size = layout.list.size;
        for (std::size_t i = 0; i < count; ++i) {
            const Rect icon = layout.iconFrame(i);
            const Rect frame{
                {icon.origin.x - layout.list.origin.x, icon.origin.y - layout.list.origin.y},
                icon.size};
            const char letter = static_cast<char>('A' + i / 2);
            const std::string key = i % 2 ? std::string(2, letter) : std::string(1, letter);
            items[key] = ProcItem::itemWithTitle(key, frame, static_cast<std::int32_t>(i),
                                                 vantor::platform::AXElement());
        }
        view.awakeFromNib();
    }

    void draw(CairoCanvas& canvas, bool withLabels) {
        view.setItems(withLabels ? &items : nullptr);
        view.drawRect(canvas, {{0, 0}, size});
    }

    vantor::platform::Size size;
    ProcList::ItemMap items;
    DrawingView view;
};

void drawOverlay(benchmark::State& state, CairoCanvas::Drawing drawing, bool withLabels) {
    const double scale = static_cast<double>(state.range(0));
    Overlay overlay;
    CairoCanvas canvas(overlay.size.width, overlay.size.height, scale, drawing);
    overlay.draw(canvas, withLabels);
    for (auto _ : state) {
        if (!withLabels) {
            // Cairo skips clearing a surface it knows to be clear; one pixel of ink makes the
            // floor clear the whole surface, as every draw after a draw with labels does.
            canvas.setFill({1, 1, 1, 1});
            canvas.fillRectUsingOperation({{0, 0}, {1, 1}},
                                          vantor::platform::CompositingOperation::Copy);
        }
        overlay.draw(canvas, withLabels);
        cairo_surface_flush(canvas.surface());
    }
    state.counters["labels"] = withLabels ? kLabels : 0;
}

void BM_Draw_Floor(benchmark::State& state) {
    drawOverlay(state, CairoCanvas::Drawing::Cached, false);
}
void BM_Draw_Direct(benchmark::State& state) {
    drawOverlay(state, CairoCanvas::Drawing::Direct, true);
}
void BM_Draw_Cached(benchmark::State& state) {
    drawOverlay(state, CairoCanvas::Drawing::Cached, true);
}

// Each draw on icons a little larger than any before: no picture and no glyph of those sizes
// is kept yet.
void BM_Draw_NewSize(benchmark::State& state) {
    const double scale = static_cast<double>(state.range(0));
    static double growth = 0;
    for (auto _ : state) {
        state.PauseTiming();
        growth += 1.0 / 64;
        Overlay overlay(kLabels, growth);
        CairoCanvas canvas(overlay.size.width, overlay.size.height, scale,
                           CairoCanvas::Drawing::Cached);
        state.ResumeTiming();
        overlay.draw(canvas, true);
        cairo_surface_flush(canvas.surface());
    }
}

BENCHMARK(BM_Draw_Floor)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Draw_Direct)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Draw_Cached)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Draw_NewSize)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// Wall time and the process's CPU time (fontconfig sorts fonts on a thread of Pango's) of one
// call.
struct Once {
    double seconds;
    double cpuSeconds;
};

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

template <typename Work>
Once timeOnce(Work work) {
    const double cpu = processCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {seconds, processCpuSeconds() - cpu};
}

// Full-size icons: 12 applications fit a 1920-point screen.
constexpr std::size_t kUncrowded = 12;

void drawOnce(std::size_t count) {
    Overlay overlay(count);
    CairoCanvas canvas(overlay.size.width, overlay.size.height, 1);
    overlay.draw(canvas, true);
    cairo_surface_flush(canvas.surface());
}

// Reported as the benchmark's (manual) real time; its CPU time is nothing, so the measured
// CPU time of the call is the counter cpu_us.
void reportOnce(const std::string& name, Once once) {
    benchmark::RegisterBenchmark(name.c_str(),
                                 [once](benchmark::State& state) {
                                     for (auto _ : state)
                                         state.SetIterationTime(once.seconds);
                                     state.counters["cpu_us"] = once.cpuSeconds * 1e6;
                                 })
        ->UseManualTime()
        ->Iterations(1)
        ->Unit(benchmark::kMicrosecond);
}

// The first draws are timed while the benchmarks register, before anything else of the
// process draws text.
void registerFirstDraws() {
    const char* prepare = std::getenv("VANTOR_BENCH_PREPARE");
    if (prepare && std::strcmp(prepare, "1") == 0) {
        reportOnce(
            "BM_FirstDraw_PrepareAtStart", timeOnce([] {
                const vantor::LabelGeometry g = vantor::labelGeometry({{0, 0}, {128, 128}}, 2);
                const double sizes[] = {g.letterFontSize, g.countFontSize};
                CairoCanvas::prepareTextDrawing(sizes);
            }));
        reportOnce("BM_FirstDraw_AfterPrepare", timeOnce([] { drawOnce(kUncrowded); }));
    } else {
        reportOnce("BM_FirstDraw_Cold", timeOnce([] { drawOnce(kUncrowded); }));
    }
    // The same draw again: what the first one would cost with nothing left to start.
    reportOnce("BM_FirstDraw_Floor", timeOnce([] { drawOnce(kUncrowded); }));
    reportOnce("BM_FirstDraw_CrowdedFirst", timeOnce([] { drawOnce(kLabels); }));
    reportOnce("BM_FirstDraw_CrowdedSecond", timeOnce([] { drawOnce(kLabels); }));
}

const bool firstDrawsRegistered = (registerFirstDraws(), true);

}  // namespace

BENCHMARK_MAIN();
