#include "drawing/Painter.h"
#include "drawing/PngWriter.h"
#include "drawing/RenderFile.h"
#include "framework/dc/CairoDC.h"
#include "tests/support/GraphSamples.h"
#include "tests/support/RecordingDC.h"

#include <benchmark/benchmark.h>

namespace {

// The window's paint: background erase plus the painter, into the window's
// size. With `cairoOnly` the direct pixel path is ruled out (a clip of two
// rectangles leaves every shape to cairo), which shows what that path saves.
void paintMaximal(benchmark::State& state, bool cairoOnly)
{
    const auto d = maximalGraph();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 750, 545);
    cairo_t* cr = cairo_create(surface);
    if (cairoOnly) {
        cairo_rectangle(cr, 0, 0, 750, 544);
        cairo_rectangle(cr, 0, 544, 749, 1);
        cairo_clip(cr);
    }
    for (auto _ : state) {
        cairo_set_source_rgb(cr, 192 / 255.0, 192 / 255.0, 192 / 255.0);
        cairo_paint(cr);
        TCairoDC dc(cr);
        paintGraph(dc, *d);
    }
    cairo_surface_flush(surface);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}
BENCHMARK_CAPTURE(paintMaximal, OnCairo, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paintMaximal, ThroughCairoOnly, true)->Unit(benchmark::kMillisecond);

void paintMaximalRecorded(benchmark::State& state)
{
    const auto d = maximalGraph();
    for (auto _ : state) {
        TRecordingDC dc;
        paintGraph(dc, *d);
        benchmark::DoNotOptimize(dc.calls.data());
    }
}
BENCHMARK(paintMaximalRecorded)->Unit(benchmark::kMillisecond);

void paintEmptyOnCairo(benchmark::State& state)
{
    const auto d = std::make_unique<GraphDocument>();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 750, 545);
    cairo_t* cr = cairo_create(surface);
    for (auto _ : state) {
        TCairoDC dc(cr);
        paintGraph(dc, *d);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}
BENCHMARK(paintEmptyOnCairo)->Unit(benchmark::kMillisecond);

} // namespace

namespace {
// PNG encoding of the window picture at a few deflate levels: time, and the
// bytes it makes as a counter.
void encodePng(benchmark::State& state)
{
    const auto d = maximalGraph();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 750, 545);
    cairo_t* cr = cairo_create(surface);
    paintWindowPicture(cr, *d);
    cairo_destroy(cr);
    const int level = static_cast<int>(state.range(0));
    std::size_t bytes = 0;
    const auto count = [](void* closure, const unsigned char*, unsigned length) {
        *static_cast<std::size_t*>(closure) += length;
        return CAIRO_STATUS_SUCCESS;
    };
    for (auto _ : state) {
        bytes = 0;
        writePng(surface, count, &bytes, level);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    cairo_surface_destroy(surface);
}
// The figure of the largest graph as each picture format, as Copy and
// Export Picture make it: the SVG is written element by element, the PDF
// and the PNG through cairo.
void renderFigure(benchmark::State& state)
{
    const auto d = maximalGraph();
    RenderLayout figure;
    figure.figure = true;
    const auto format = static_cast<PictureFormat>(state.range(0));
    std::string bytes, error;
    for (auto _ : state)
        benchmark::DoNotOptimize(renderPicture(*d, figure, format, bytes, error));
    state.SetLabel(format == PictureFormat::svg ? "svg" : format == PictureFormat::pdf ? "pdf" : "png");
}
BENCHMARK(renderFigure)
    ->Arg(static_cast<int>(PictureFormat::png))
    ->Arg(static_cast<int>(PictureFormat::svg))
    ->Arg(static_cast<int>(PictureFormat::pdf))
    ->Unit(benchmark::kMillisecond);

} // namespace
BENCHMARK(encodePng)->Arg(1)->Arg(2)->Arg(3)->Arg(4)->Arg(6)->Unit(benchmark::kMillisecond);
