#pragma once
// The limits a record must keep before any of it may reach the document: the
// document's arrays, the painter's integer arithmetic and the value-to-pixel
// rules all rely on them. Anything a graph saved by this program can hold
// passes; option flags of any value pass too, since the window brings them
// back to 0 or 1 after a read.

#include "files/GraphRecord.h"

#include <string>

// Largest distance from the origin, in pixels, of a point, a caption box or
// the plot height that a record may hold. The window is 750 pixels wide;
// the bound leaves room for anything the axis commands can make and keeps
// every pixel sum the painter forms far inside int.
constexpr double kPixelBound = 1e6;

// Empty when the record is safe to use; otherwise the first problem found,
// as a sentence fragment for a message ("curve 2 claims 300 points; a curve
// holds at most 250").
std::string checkRecord(const GraphRecord& rec);
