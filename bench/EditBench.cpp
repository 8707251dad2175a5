// The Edit menu's own work on the largest graph (3 x 250 points, every
// option on): Undo and Redo through the snapshot history, and Copy's three
// clipboard forms. The toolkit's share (the repaint, handing the bytes to
// the clipboard) is the window's paint and the desktop's, measured elsewhere.

#include "document/EditSession.h"
#include "document/PointTable.h"
#include "drawing/RenderFile.h"
#include "files/GraphSnapshot.h"
#include "files/PointRows.h"
#include "files/RecoveryCopy.h"
#include "files/RecoveryWriter.h"
#include "tests/support/GraphSamples.h"

#include <benchmark/benchmark.h>

namespace {

// The Points window's work on the largest graph: every row as it shows
// them (made when it opens and after each change, to find the rows that
// changed), and a retyped Y as one step of the session, ready to repaint.
void pointTableRowsMaximal(benchmark::State& state)
{
    auto d = maximalGraph();
    for (auto _ : state)
        for (int row = 0; row < pointRowCount(*d); ++row)
            benchmark::DoNotOptimize(shownRow(*d, pointOfRow(*d, row), ','));
}
BENCHMARK(pointTableRowsMaximal)->Unit(benchmark::kMicrosecond);

void pointTableEditMaximal(benchmark::State& state)
{
    auto d = maximalGraph();
    EditSession session(*d, takeSnapshot, restoreSnapshot);
    const char* values[] = { "17,5", "71,5" };
    int k = 0;
    for (auto _ : state) {
        PointRef p { 1, 125 };
        session.edit("Edit Point", [&] { benchmark::DoNotOptimize(setPointY(*d, p, values[k ^= 1])); });
    }
}
BENCHMARK(pointTableEditMaximal)->Unit(benchmark::kMicrosecond);

// The recovery copy after a change: on the window's thread, whether the
// graph is unsaved, its snapshot and bytes, handed to the writer; and the
// writer's own work on its thread (a new file flushed to disk and renamed).
void recoveryHandOverMaximal(benchmark::State& state)
{
    auto d = maximalGraph();
    EditSession session(*d, takeSnapshot, restoreSnapshot);
    session.edit("Connect Points", [&] { d->connectPoints = !d->connectPoints; });
    const std::string path = "/tmp/plotwell-bench-" + std::to_string(thisProcess().pid) + ".recovery";
    RecoveryWriter writer(path, nullptr);
    for (auto _ : state)
        if (session.isDirty())
            writer.write(recoveryBytes(takeSnapshot(*d), thisProcess()));
    writer.remove();
}
BENCHMARK(recoveryHandOverMaximal)->Unit(benchmark::kMicrosecond);

void recoveryWriteMaximal(benchmark::State& state)
{
    auto d = maximalGraph();
    const std::string path = "/tmp/plotwell-bench-" + std::to_string(thisProcess().pid) + ".recovery";
    RecoveryWriter writer(path, nullptr);
    const std::string bytes = recoveryBytes(takeSnapshot(*d), thisProcess());
    for (auto _ : state) {
        writer.write(bytes);
        writer.flush();
    }
    writer.remove();
}
BENCHMARK(recoveryWriteMaximal)->Unit(benchmark::kMicrosecond);

// One Undo and one Redo of a step that deleted a point, as the window runs
// them through its editing session: snapshot the graph, swap it with the
// history's, put it back, and ask whether it is unsaved.
void undoThenRedoMaximal(benchmark::State& state)
{
    auto d = maximalGraph();
    EditSession session(*d, takeSnapshot, restoreSnapshot);
    session.edit("Delete Point", [&] { d->pointCount[1] -= 1; });
    for (auto _ : state) {
        session.undo();
        benchmark::DoNotOptimize(session.isDirty());
        session.redo();
        benchmark::DoNotOptimize(session.isDirty());
    }
}
BENCHMARK(undoThenRedoMaximal)->Unit(benchmark::kMicrosecond);

// A change as the session records it: two snapshots and a step.
void recordStepMaximal(benchmark::State& state)
{
    auto d = maximalGraph();
    EditSession session(*d, takeSnapshot, restoreSnapshot);
    for (auto _ : state)
        session.edit("Connect Points", [&] { d->connectPoints = !d->connectPoints; });
}
BENCHMARK(recordStepMaximal)->Unit(benchmark::kMicrosecond);

// Paste of 250 spreadsheet rows into an empty curve, each split and each
// number read as its entry box reads it, with decimal commas.
void pasteRowsFull(benchmark::State& state)
{
    std::string rows = "X\tY\n";
    for (int x = 0; x < kMaxPoints; ++x)
        rows += std::to_string(x * 2) + "\t" + std::to_string(x % 300) + ",25\n";
    for (auto _ : state) {
        GraphDocument d;
        d.yScale = 1;
        benchmark::DoNotOptimize(pasteRows(d, rows).added);
    }
}
BENCHMARK(pasteRowsFull)->Unit(benchmark::kMicrosecond);

// Copy: the figure as PNG and SVG at the screen's scale (first argument),
// and the rows; the second argument times all three (0) or one form alone
// (1 PNG, 2 SVG, 3 rows). The command itself makes only the rows and a copy
// of the graph; each picture is drawn when a program first asks for it.
void copyMaximal(benchmark::State& state)
{
    auto d = maximalGraph();
    RenderLayout layout;
    layout.figure = true;
    layout.scale = static_cast<int>(state.range(0));
    const auto part = state.range(1);
    std::string png, svg, error;
    for (auto _ : state) {
        if (part == 0 || part == 1)
            renderPicture(*d, layout, PictureFormat::png, png, error);
        if (part == 0 || part == 2)
            renderPicture(*d, layout, PictureFormat::svg, svg, error);
        if (part == 0 || part == 3)
            benchmark::DoNotOptimize(curveRows(*d, d->currentCurve));
    }
    state.counters["png_bytes"] = static_cast<double>(png.size());
    state.counters["svg_bytes"] = static_cast<double>(svg.size());
}
BENCHMARK(copyMaximal)
    ->Args({ 1, 0 })
    ->Args({ 2, 0 })
    ->Args({ 1, 1 })
    ->Args({ 1, 2 })
    ->Args({ 1, 3 })
    ->Unit(benchmark::kMillisecond);

} // namespace
