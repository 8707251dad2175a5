// Arbitrary rows for gd2 new. The first byte picks the New Graph settings;
// a graph that is accepted must pack into a record Open accepts, and a
// refused one must leave the output as it was.
#include "files/GraphImport.h"
#include "files/GraphRecord.h"
#include "files/RecordCheck.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    NewGraphSettings s;
    if (size > 0) {
        const std::uint8_t pick = data[0];
        s.yRangeGiven = pick & 1;
        s.yMin = (pick & 2) ? -3e38f : -1;
        s.yMax = (pick & 4) ? 3e38f : 1e-30f;
        if (pick & 8) {
            s.labels = { "A", "B" };
            s.divisions = pick >> 4;
        }
        s.errorBarsGiven = pick & 16;
        s.percentError = 100;
        ++data;
        --size;
    }
    const std::string_view rows(reinterpret_cast<const char*>(data), size);
    GraphDocument d;
    d.pointCount[2] = -7;
    std::string error;
    if (!makeGraph(s, rows, "rows", d, error)) {
        if (d.pointCount[2] != -7 || error.empty()) {
            std::fprintf(stderr, "a refusal changed the graph or gave no reason\n");
            std::abort();
        }
        return 0;
    }
    GraphRecord rec;
    packRecord(d, rec);
    if (const std::string reason = checkRecord(rec); !reason.empty()) {
        std::fprintf(stderr, "an accepted graph would not open: %s\n", reason.c_str());
        std::abort();
    }
    return 0;
}
