#pragma once
// Graphs shared by the tests and the benchmarks: documents, and the records
// a save would write from them.

#include "document/GraphDocument.h"
#include "document/PlotArea.h"
#include "files/GraphRecord.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

// A Y range of yMin..yMax set up as the Y-Scale dialog would: scale rounded
// once to a float, ten evenly spaced axis values.
inline void setYRange(GraphDocument& d, float yMin, float yMax, float percentError = 0)
{
    d.yRangeSet = 1;
    d.yMin = yMin;
    d.yMax = yMax;
    d.yScale = static_cast<float>(360.0L / (static_cast<long double>(yMax) - yMin));
    const float step = (yMax - yMin) / 9;
    for (int k = 0; k < kYTickCount; ++k)
        d.yTicks[k] = yMin + step * k;
    d.percentError = percentError;
}

// n labels over the 600-unit band, each interval split into `divisions`.
inline void setXLabels(GraphDocument& d, int n, int divisions)
{
    d.xLabelCount = n;
    d.labelSpacing = n > 0 ? 600 / n : 0;
    d.divisionsPerLabel = divisions;
    for (int k = 0; k < n && k < kMaxLabels; ++k)
        std::snprintf(d.xLabels[k], kLabelTextSize, "Week %d", k + 1);
}

inline void addPoint(GraphDocument& d, int c, int typedX, float value)
{
    const int j = d.pointCount[c]++;
    d.pixelX[c][j] = PlotArea::left + typedX;
    d.valueY[c][j] = value;
    d.pixelY[c][j] = valueToPixelY(d, value);
}

// Everything at its largest: three full curves, every display option, twenty
// labels, all captions placed and a title.
inline std::unique_ptr<GraphDocument> maximalGraph()
{
    auto d = std::make_unique<GraphDocument>();
    setYRange(*d, 0, 100, 10);
    setXLabels(*d, 20, 3);
    std::strcpy(d->title, "Three full curves with every option switched on");
    std::strcpy(d->captions[0], "Red: first series");
    std::strcpy(d->captions[1], "Green: second series");
    std::strcpy(d->captions[2], "Blue: third series");
    d->captionsPlaced = 1;
    d->captionBoxX = 480;
    d->captionBoxY = 35;
    d->connectPoints = d->largePoints = d->labelPoints = d->showErrorBars = 1;
    d->thickLines = 1;
    for (int c = 0; c < kCurveCount; ++c)
        for (int j = 0; j < kMaxPoints; ++j)
            addPoint(*d, c, j * 650 / kMaxPoints, static_cast<float>(50 + 40 * std::sin(j * 0.05 + c * 2.1)));
    return d;
}

// The record a save writes from `d`.
inline GraphRecord recordOf(const GraphDocument& d)
{
    GraphRecord rec;
    packRecord(d, rec);
    return rec;
}
