#include "files/GraphSnapshot.h"

#include "files/GraphRecord.h"

#include <algorithm>

GraphSnapshot takeSnapshot(const GraphDocument& d)
{
    // A fresh record, so slots past the counts are empty and two snapshots
    // of the same graph compare equal whatever was stored there before.
    GraphRecord rec;
    packRecord(d, rec);
    GraphSnapshot s;
    s.stored.assign(rec.bytes.begin(), rec.bytes.end());
    s.showErrorBars = d.showErrorBars;
    s.placingCaption = d.placingCaption;
    s.currentCurve = d.currentCurve;
    s.fileName = d.fileName;
    return s;
}

void restoreSnapshot(const GraphSnapshot& s, GraphDocument& d)
{
    GraphRecord rec;
    std::copy_n(s.stored.begin(), std::min(s.stored.size(), rec.bytes.size()), rec.bytes.begin());
    unpackRecordDocument(rec, d);
    d.showErrorBars = s.showErrorBars;
    d.placingCaption = s.placingCaption;
    d.currentCurve = s.currentCurve;
    d.fileName = s.fileName;
}
