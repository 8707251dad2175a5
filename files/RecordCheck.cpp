#include "files/RecordCheck.h"

#include "document/GraphRules.h"
#include "document/PlotArea.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <memory>

namespace L = RecordLayout;

namespace {

// Shortest form that reads back as the same float, independent of locale.
std::string number(float v)
{
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc {} ? std::string(buf, end) : std::string("?");
}

std::string number(std::int32_t v) { return std::to_string(v); }

std::int32_t countOf(const GraphRecord& rec, int c)
{
    return getInt32(rec, L::pointCount + static_cast<std::size_t>(c) * 4);
}

// A count already found to lie in 0..250, for walking the arrays.
int pointsOf(const GraphRecord& rec, int c)
{
    return std::clamp<std::int32_t>(countOf(rec, c), 0, kMaxPoints);
}

bool terminated(const GraphRecord& rec, std::size_t offset, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
        if (rec.bytes[offset + i] == 0)
            return true;
    return false;
}

bool withinPixels(double v) { return std::isfinite(v) && std::fabs(v) <= PlotArea::coordinateBound; }

std::string curveName(int c) { return "curve " + std::to_string(c + 1); }

std::string pointName(int c, int j) { return "point " + std::to_string(j + 1) + " of " + curveName(c); }

const std::string pixelRange = "; positions must lie within "
    + std::to_string(static_cast<long>(PlotArea::coordinateBound)) + " pixels of the origin";

float yMinOf(const GraphRecord& r) { return getFloat32(r, L::yMin); }
float yMaxOf(const GraphRecord& r) { return getFloat32(r, L::yMax); }
float yScaleOf(const GraphRecord& r) { return getFloat32(r, L::yScale); }

bool rangeUsable(const GraphRecord& r)
{
    return yRangeUsable(getInt32(r, L::yRangeSet), yMinOf(r), yMaxOf(r), yScaleOf(r));
}

// The Y axis of a record as the value-to-pixel rules see it.
std::unique_ptr<GraphDocument> yAxisOf(const GraphRecord& r)
{
    auto d = std::make_unique<GraphDocument>();
    d->yRangeSet = getInt32(r, L::yRangeSet);
    d->yMin = yMinOf(r);
    d->yMax = yMaxOf(r);
    d->yScale = yScaleOf(r);
    return d;
}

// ---- One row per rule: what breaks it, and how a user's file is mended. ----

struct Rule {
    std::string (*find)(const GraphRecord&);
    // Null where the problem means the bytes hold no graph.
    void (*repair)(GraphRecord&, std::vector<std::string>&);
};

std::string findCounts(const GraphRecord& rec)
{
    for (int c = 0; c < kCurveCount; ++c) {
        const std::int32_t n = countOf(rec, c);
        if (n < 0)
            return curveName(c) + " claims " + number(n) + " points; a point count cannot be negative";
        if (n > kMaxPoints)
            return curveName(c) + " claims " + number(n) + " points; a curve holds at most "
                + std::to_string(kMaxPoints);
    }
    return {};
}

std::string findTooManyLabels(const GraphRecord& rec)
{
    const std::int32_t labels = getInt32(rec, L::xLabelCount);
    if (labels > kMaxLabels)
        return "the graph claims " + number(labels) + " X-axis labels; a graph holds 0 to "
            + std::to_string(kMaxLabels);
    return {};
}

// An X-axis extension by more labels than there were leaves a negative
// count, and a negative spacing with it.
std::string findNegativeLabels(const GraphRecord& rec)
{
    const std::int32_t labels = getInt32(rec, L::xLabelCount);
    if (labels < 0)
        return "the graph claims " + number(labels) + " X-axis labels; a graph holds 0 to "
            + std::to_string(kMaxLabels);
    const std::int32_t spacing = getInt32(rec, L::labelSpacing);
    if (spacing < 0)
        return "the X-axis labels are " + number(spacing) + " pixels apart; the spacing cannot be negative";
    return {};
}

void repairNegativeLabels(GraphRecord& rec, std::vector<std::string>& repairs)
{
    putInt32(rec, L::xLabelCount, 0);
    putInt32(rec, L::labelSpacing, 0);
    repairs.push_back(
        "The X axis held a negative number of labels or a negative spacing between them "
        "(as an extension by more labels than there were leaves it); it is shown without labels.");
}

struct TextSlot {
    std::size_t offset, size;
    std::string name;
};

std::vector<TextSlot> textSlots()
{
    std::vector<TextSlot> slots;
    for (int i = 0; i < kMaxLabels; ++i)
        slots.push_back({ L::labelSlot(i), L::labelSlotSize, "X-axis label " + std::to_string(i + 1) });
    for (int c = 0; c < kCurveCount; ++c)
        slots.push_back({ L::captionSlot(c), L::captionSlotSize, "the caption of " + curveName(c) });
    slots.push_back({ L::title, L::titleSlotSize, "the title" });
    return slots;
}

std::string findTexts(const GraphRecord& rec)
{
    for (const TextSlot& t : textSlots())
        if (!terminated(rec, t.offset, t.size))
            return t.name + " runs past the end of its " + std::to_string(t.size) + "-byte slot";
    return {};
}

void repairTexts(GraphRecord& rec, std::vector<std::string>& repairs)
{
    for (const TextSlot& t : textSlots()) {
        if (terminated(rec, t.offset, t.size))
            continue;
        rec.bytes[t.offset + t.size - 1] = 0;
        std::string name = t.name;
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        repairs.push_back(name + " was longer than a graph file holds and was cut to "
            + std::to_string(t.size - 1) + " characters.");
    }
}

std::string findBounds(const GraphRecord& rec)
{
    if (!std::isfinite(yMinOf(rec)))
        return "the Y minimum is " + number(yMinOf(rec)) + ", not a finite number";
    if (!std::isfinite(yMaxOf(rec)))
        return "the Y maximum is " + number(yMaxOf(rec)) + ", not a finite number";
    return {};
}

void repairBounds(GraphRecord& rec, std::vector<std::string>& repairs)
{
    for (std::size_t at : { L::yMin, L::yMax })
        if (!std::isfinite(getFloat32(rec, at)))
            putFloat32(rec, at, 0);
    repairs.push_back("The lowest or highest value of the Y range was not a number and was set to 0.");
}

// A range of zero, as the Y-Scale dialog once stored for two empty boxes,
// has a scale of 360 / 0. Nothing draws with the scale but the error bars,
// which such a range has none of, so 0 draws the same picture.
std::string findScale(const GraphRecord& rec)
{
    if (!std::isfinite(yScaleOf(rec)))
        return "the Y scale is " + number(yScaleOf(rec)) + ", not a finite number";
    return {};
}

void repairScale(GraphRecord& rec, std::vector<std::string>& repairs)
{
    putFloat32(rec, L::yScale, 0);
    repairs.push_back("The Y range (" + number(yMinOf(rec)) + " to " + number(yMaxOf(rec))
        + ") has no usable scale, so the graph is shown as it was stored; set a Y range before adding "
          "points.");
}

std::string findPercent(const GraphRecord& rec)
{
    const float percent = getFloat32(rec, L::percentError);
    if (!std::isfinite(percent))
        return "the error-bar percentage is " + number(percent) + ", not a finite number";
    return {};
}

void repairPercent(GraphRecord& rec, std::vector<std::string>& repairs)
{
    putFloat32(rec, L::percentError, 0);
    repairs.push_back("The error-bar percentage was not a number; the graph is shown without error bars.");
}

std::string findTicks(const GraphRecord& rec)
{
    for (int k = 0; k < kYTickCount; ++k) {
        const float v = getFloat32(rec, L::yTicks + static_cast<std::size_t>(k) * 4);
        if (!std::isfinite(v))
            return "Y-axis value " + std::to_string(k + 1) + " is " + number(v) + ", not a finite number";
    }
    return {};
}

void repairTicks(GraphRecord& rec, std::vector<std::string>& repairs)
{
    if (getInt32(rec, L::yRangeSet) && rangeUsable(rec)) {
        auto d = yAxisOf(rec);
        computeYTicks(*d);
        for (int k = 0; k < kYTickCount; ++k)
            putFloat32(rec, L::yTicks + static_cast<std::size_t>(k) * 4, d->yTicks[k]);
        repairs.push_back(
            "Some values along the Y axis were not numbers; they were worked out again from the Y range.");
        return;
    }
    for (int k = 0; k < kYTickCount; ++k)
        if (!std::isfinite(getFloat32(rec, L::yTicks + static_cast<std::size_t>(k) * 4)))
            putFloat32(rec, L::yTicks + static_cast<std::size_t>(k) * 4, 0);
    repairs.push_back("Some values along the Y axis were not numbers and are shown as 0.");
}

std::string findPoints(const GraphRecord& rec)
{
    for (int c = 0; c < kCurveCount; ++c)
        for (int j = 0; j < pointsOf(rec, c); ++j) {
            const float x = getFloat32(rec, L::curveEntry(L::pixelX, c, j));
            const float y = getFloat32(rec, L::curveEntry(L::pixelY, c, j));
            const float v = getFloat32(rec, L::curveEntry(L::valueY, c, j));
            if (!withinPixels(x))
                return pointName(c, j) + " has the X position " + number(x) + pixelRange;
            if (!withinPixels(y))
                return pointName(c, j) + " has the Y position " + number(y) + pixelRange;
            if (!std::isfinite(v))
                return pointName(c, j) + " has the value " + number(v) + ", not a finite number";
        }
    return {};
}

std::string pointsText(int n) { return n == 1 ? "1 point" : std::to_string(n) + " points"; }

// A point keeps its value wherever it can: a lost row is found again from
// the value (an extension of the Y axis to a smaller top once left rows of
// minus infinity behind), a lost value from the row. A point with neither,
// or with no column, cannot be shown anywhere and is left out.
void repairPoints(GraphRecord& rec, std::vector<std::string>& repairs)
{
    const auto axis = yAxisOf(rec);
    const bool usable = rangeUsable(rec);
    for (int c = 0; c < kCurveCount; ++c) {
        const int n = pointsOf(rec, c);
        int kept = 0, placed = 0, valued = 0, dropped = 0;
        for (int j = 0; j < n; ++j) {
            const float x = getFloat32(rec, L::curveEntry(L::pixelX, c, j));
            float y = getFloat32(rec, L::curveEntry(L::pixelY, c, j));
            float v = getFloat32(rec, L::curveEntry(L::valueY, c, j));
            bool ok = withinPixels(x);
            if (ok && !withinPixels(y)) {
                const float row = usable && std::isfinite(v) ? valueToPixelY(*axis, v) : NAN;
                ok = withinPixels(row);
                y = row;
                placed += ok;
            }
            if (ok && !std::isfinite(v)) {
                v = usable ? pixelYToValue(*axis, y) : NAN;
                ok = std::isfinite(v);
                valued += ok;
            }
            if (!ok) {
                ++dropped;
                continue;
            }
            putFloat32(rec, L::curveEntry(L::pixelX, c, kept), x);
            putFloat32(rec, L::curveEntry(L::pixelY, c, kept), y);
            putFloat32(rec, L::curveEntry(L::valueY, c, kept), v);
            ++kept;
        }
        putInt32(rec, L::pointCount + static_cast<std::size_t>(c) * 4, kept);
        const std::string curve = "Curve " + std::to_string(c + 1);
        if (placed)
            repairs.push_back(curve + ": " + pointsText(placed)
                + " had lost their place on the Y axis and were put back at their values.");
        if (valued)
            repairs.push_back(curve + ": " + pointsText(valued)
                + " had lost their values, which were read again from their places on the Y axis.");
        if (dropped)
            repairs.push_back(curve + ": " + pointsText(dropped)
                + " had neither a place on the graph nor a value to find one from, and were left out.");
    }
}

std::string findCaptionBox(const GraphRecord& rec)
{
    const std::int32_t x = getInt32(rec, L::captionBoxX);
    const std::int32_t y = getInt32(rec, L::captionBoxY);
    if (!withinPixels(x) || !withinPixels(y))
        return "the caption box lies at (" + number(x) + ", " + number(y) + ")" + pixelRange;
    return {};
}

void repairCaptionBox(GraphRecord& rec, std::vector<std::string>& repairs)
{
    putInt32(rec, L::captionBoxX, 0);
    putInt32(rec, L::captionBoxY, 0);
    putByte(rec, L::captionsPlaced, 0);
    repairs.push_back("The caption box lay far outside the window and was taken off the graph; a right click "
                      "places it again.");
}

// Refusals first, then what the others rely on: the point rules use the
// repaired Y range, the ticks are worked out from it.
const Rule rules[] = {
    { findCounts, nullptr },
    { findTooManyLabels, nullptr },
    { findNegativeLabels, repairNegativeLabels },
    { findTexts, repairTexts },
    { findBounds, repairBounds },
    { findScale, repairScale },
    { findPercent, repairPercent },
    { findTicks, repairTicks },
    { findPoints, repairPoints },
    { findCaptionBox, repairCaptionBox },
};

} // namespace

std::string checkRecord(const GraphRecord& rec)
{
    for (const Rule& rule : rules)
        if (std::string problem = rule.find(rec); !problem.empty())
            return problem;
    return {};
}

std::string repairRecord(GraphRecord& rec, std::vector<std::string>& repairs)
{
    for (const Rule& rule : rules) {
        std::string problem = rule.find(rec);
        if (problem.empty())
            continue;
        if (!rule.repair)
            return problem;
        rule.repair(rec, repairs);
    }
    // Every repair leaves a record we would write ourselves.
    return checkRecord(rec);
}

namespace {

// The size, and what it suggests, for a refusal.
std::string sizeNote(const std::uint8_t* data, std::size_t size)
{
    std::string note = " (the file holds " + std::to_string(size) + " bytes; a graph file holds "
        + std::to_string(kGraphRecordSize);
    if (size < kGraphRecordSize)
        note += ": it may have lost its end";
    else if (size > kGraphRecordSize) {
        const std::uint8_t* end = data + std::min(size, kMostRecordFileBytes);
        const std::uint8_t crlf[] = { '\r', '\n' };
        const bool lineEnds = std::search(data, end, crlf, crlf + 2) != end;
        note += lineEnds ? ": it may have been copied as text" : ": it may be another kind of file";
    }
    return note + ")";
}

// A copy made in text mode put a carriage return before every line feed:
// exactly as many bytes more as there are line feeds, each after a CR.
bool textModeCopy(const std::uint8_t* data, std::size_t size)
{
    if (size <= kGraphRecordSize || size >= kMostRecordFileBytes)
        return false;
    std::size_t feeds = 0;
    for (std::size_t i = 0; i < size; ++i)
        if (data[i] == '\n') {
            if (i == 0 || data[i - 1] != '\r')
                return false;
            ++feeds;
        }
    return feeds == size - kGraphRecordSize;
}

} // namespace

std::string recordFromBytes(
    const std::uint8_t* data, std::size_t size, GraphRecord& rec, std::vector<std::string>& repairs)
{
    if (size == 0)
        return "it is empty";
    GraphRecord read; // all zero: what a graph made from scratch holds
    std::vector<std::string> notes;
    if (textModeCopy(data, size)) {
        std::size_t at = 0;
        for (std::size_t i = 0; i < size; ++i)
            if (!(data[i] == '\r' && i + 1 < size && data[i + 1] == '\n'))
                read.bytes[at++] = data[i];
        notes.push_back("This file had been copied as text; its line ends were put back.");
    } else {
        std::copy_n(data, std::min(size, kGraphRecordSize), read.bytes.begin());
    }
    const bool shorter = size < kGraphRecordSize;
    if (shorter) {
        if (size < L::yTicks)
            return "it is not a graph file: it is too short to hold even the point counts"
                + sizeNote(data, size);
        if (std::string problem = findCounts(read); !problem.empty())
            return "it is not a graph file: " + problem + sizeNote(data, size);
        for (int c = 0; c < kCurveCount; ++c) {
            const int n = pointsOf(read, c);
            if (n > 0 && L::curveEntry(L::valueY, c, n - 1) + 4 > size)
                return "it lost its end: " + curveName(c) + " has " + std::to_string(n)
                    + " points, but the file ends before them" + sizeNote(data, size);
        }
        // Only the never-written tail missing costs nothing worth a word.
        if (size < L::unusedTail)
            notes.push_back("This file is shorter than a graph file (" + std::to_string(size) + " of "
                + std::to_string(kGraphRecordSize)
                + " bytes); what was missing at its end was read as in a new graph.");
    }
    if (std::string problem = repairRecord(read, notes); !problem.empty())
        return "it is not a graph file: " + problem + (size != kGraphRecordSize ? sizeNote(data, size) : "");
    rec = read;
    repairs.insert(repairs.end(), notes.begin(), notes.end());
    return {};
}

std::string repairSummary(const std::vector<std::string>& repairs, const char* separator)
{
    std::string text;
    for (const std::string& r : repairs)
        text += (text.empty() ? "" : separator) + r;
    return text;
}
