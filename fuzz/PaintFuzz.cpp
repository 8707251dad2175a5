// Arbitrary bytes as a graph file, read as Open reads one: the repairs, then
// the unpack, then the window's clean-up of the flags. Every record the
// reader takes is painted on the recording context and into an image;
// the paint must stay inside its memory, do nothing undefined, finish, and
// release every pen and font it made.
#include "drawing/Painter.h"
#include "files/GraphRecord.h"
#include "files/RecordCheck.h"
#include "framework/dc/CairoDC.h"
#include "tests/support/RecordingDC.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    GraphRecord rec;
    std::vector<std::string> repairs;
    if (!recordFromBytes(data, std::min(size, kMostRecordFileBytes), rec, repairs).empty())
        return 0;
    auto d = std::make_unique<GraphDocument>();
    d->yScale = 1;
    unpackRecordDocument(rec, *d);
    settleReadOptions(*d);
    const PaintFor target
        = size > kGraphRecordSize && (data[kGraphRecordSize] & 1) ? PaintFor::paper : PaintFor::screen;

    TRecordingDC recording;
    paintGraph(recording, *d, target);
    if (recording.liveObjectCount() != 0 || recording.saveDepth() != 0) {
        std::fprintf(stderr, "objects or saved states left behind\n");
        std::abort();
    }
    if (recording.calls.size() > 20000) {
        std::fprintf(stderr, "%zu calls for one paint\n", recording.calls.size());
        std::abort();
    }

    static cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 750, 545);
    cairo_t* cr = cairo_create(surface);
    {
        TCairoDC dc(cr);
        paintGraph(dc, *d, target);
    }
    cairo_destroy(cr);
    return 0;
}
