// gd2: looks at, checks and renders graph files with no display.
//
//   gd2 info FILE             the graph's fields, labels and curve statistics
//   gd2 check FILE...         exit 0 when every file is a graph Plotwell opens
//   gd2 render FILE OUT [--print]
//                             draws the graph as the window (or, with --print,
//                             as the printed page) into OUT.png, .svg or .pdf

#include "document/GraphDocument.h"
#include "drawing/CurveStatistics.h"
#include "drawing/RenderFile.h"
#include "files/GraphFile.h"
#include "files/GraphRecord.h"
#include "tools/ShownText.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {
int usage()
{
    std::fputs("usage: gd2 info FILE\n"
               "       gd2 check FILE...\n"
               "       gd2 render FILE OUT.png|OUT.svg|OUT.pdf [--print]\n",
        stderr);
    return 2;
}

bool load(const char* path, GraphDocument& d)
{
    GraphRecord rec;
    std::string error;
    if (!readGraphFile(path, rec, error)) {
        std::fprintf(stderr, "gd2: %s\n", escapedUtf8(error).c_str());
        return false;
    }
    d = GraphDocument {};
    d.yScale = 1.0f;
    unpackRecordDocument(rec, d);
    settleReadOptions(d);
    return true;
}

int info(const char* path)
{
    GraphDocument d;
    if (!load(path, d))
        return 1;
    std::printf("file: %s\n", escapedUtf8(path).c_str());
    std::printf("title: \"%s\"\n", shownText(d.title).c_str());
    if (d.yRangeSet)
        std::printf("Y range: %g to %g (%g pixels per unit)\n", d.yMin, d.yMax, d.yScale);
    else
        std::printf("Y range: none (values are pixel heights)\n");
    std::printf("error bars: %g%%\n", d.percentError);
    std::printf("X labels: %d, spacing %d, %d divisions each\n", d.xLabelCount, d.labelSpacing,
        d.divisionsPerLabel);
    for (int i = 0; i < d.xLabelCount; ++i)
        std::printf("  %2d \"%s\"\n", i + 1, shownText(d.xLabels[i]).c_str());
    std::printf("options: connect %d, large %d, labels %d, thick %d\n", d.connectPoints, d.largePoints,
        d.labelPoints, d.thickLines);
    for (int c = 0; c < kCurveCount; ++c) {
        std::printf("curve %d: %d points", c + 1, d.pointCount[c]);
        if (d.captions[c][0])
            std::printf(", caption \"%s\"", shownText(d.captions[c]).c_str());
        if (d.pointCount[c] > 0) {
            const CurveStats s = curveStatistics(d, c);
            std::printf(", mean %.2f, weighted mean %.2f", s.mean, s.weightedMean);
        }
        std::printf("\n");
    }
    return 0;
}

int check(int count, char** paths)
{
    int bad = 0;
    for (int i = 0; i < count; ++i) {
        GraphDocument d;
        if (load(paths[i], d))
            std::printf("%s: ok\n", escapedUtf8(paths[i]).c_str());
        else
            ++bad;
    }
    return bad ? 1 : 0;
}

int render(const char* path, const char* out, bool printing)
{
    GraphDocument d;
    if (!load(path, d))
        return 1;
    d.printing = printing ? 1 : 0;
    std::string error;
    if (!renderGraph(d, out, error)) {
        std::fprintf(stderr, "gd2: %s\n", escapedUtf8(error).c_str());
        return 1;
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    const std::string verb = argv[1];
    if (verb == "info" && argc == 3)
        return info(argv[2]);
    if (verb == "check")
        return check(argc - 2, argv + 2);
    if (verb == "render" && (argc == 4 || (argc == 5 && std::strcmp(argv[4], "--print") == 0)))
        return render(argv[2], argv[3], argc == 5);
    return usage();
}
