#include "drawing/Painter.h"

#include "document/CurveStatistics.h"
#include "document/PlotArea.h"
#include "document/TextHelpers.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr TColor red = TRgb(255, 0, 0);
constexpr TColor green = TRgb(0, 255, 0);
constexpr TColor blue = TRgb(0, 0, 255);
constexpr TColor black = TRgb(0, 0, 0);
constexpr TColor white = TRgb(255, 255, 255);
constexpr TColor lightGrey = TRgb(200, 200, 200);

constexpr unsigned centreTop = 6;

// No position of a real graph comes near the bound; a document that asks
// for one gets that element left out instead of coordinates that overflow or
// send a backend into endless work.
constexpr long long coordLimit = static_cast<long long>(PlotArea::coordinateBound);

// Point positions are 32-bit floats plus small whole numbers, which a double
// holds exactly within the limit: truncating it gives what extended precision
// would, at a fraction of the cost.
bool toCoord(double v, int& out)
{
    if (!std::isfinite(v))
        return false;
    const double t = std::trunc(v);
    if (t > coordLimit || t < -coordLimit)
        return false;
    out = static_cast<int>(t);
    return true;
}

bool toCoord(long long v, int& out)
{
    if (v > coordLimit || v < -coordLimit)
        return false;
    out = static_cast<int>(v);
    return true;
}

// A text slot read up to its terminator, or to its end if it has none.
template <std::size_t N> std::string_view slotText(const char (&slot)[N])
{
    return std::string_view(slot, strnlen(slot, N));
}

TLogFont logFont(int height, int width, int weight, const char* face)
{
    TLogFont f; // zeroed: the defaults
    f.height = height;
    f.width = width;
    f.weight = weight;
    std::strncpy(f.faceName, face, sizeof f.faceName - 1);
    return f;
}

int pointsOf(const GraphDocument& d, int c) { return std::clamp(d.pointCount[c], 0, kMaxPoints); }

// The figures of the values last painted for each curve, worked out again
// only when the values change (compared bit for bit).
CurveStats statisticsOf(const GraphDocument& d, int c)
{
    // A count beyond the slots is read as a full curve, as the points are drawn.
    const int n = std::min(d.pointCount[c], kMaxPoints);
    struct Kept {
        int n = -1;
        float values[kMaxPoints];
        CurveStats stats;
    };
    thread_local Kept kept[kCurveCount];
    Kept& k = kept[c];
    const std::size_t bytes = sizeof(float) * static_cast<std::size_t>(std::max(n, 0));
    if (k.n != n || std::memcmp(k.values, d.valueY[c], bytes) != 0) {
        k.stats = curveStatistics(d.valueY[c], n);
        std::memcpy(k.values, d.valueY[c], bytes);
        k.n = n;
    }
    return k.stats;
}

// A point's value label, formatted again only when its value or its number
// of decimals changes.
const std::string& valueLabel(int c, int j, float value, int decimals)
{
    struct Kept {
        std::uint32_t bits = 0;
        int decimals = -1;
        std::string text;
    };
    thread_local Kept kept[kCurveCount][kMaxPoints];
    Kept& k = kept[c][j];
    const auto bits = std::bit_cast<std::uint32_t>(value);
    if (k.decimals != decimals || k.bits != bits) {
        k.text = formatText("%.*f", decimals, value);
        k.bits = bits;
        k.decimals = decimals;
    }
    return k.text;
}

// A value as printed, with "-0.00" read as the "0.00" it shows.
std::string shownValue(double v, int decimals)
{
    std::string s = formatText("%.*f", decimals, v);
    if (s.size() > 1 && s[0] == '-' && s.find_first_not_of("0.", 1) == std::string::npos)
        s.erase(0, 1);
    return s;
}

// Decimals beyond the usual ones ("%.1f" on the axis) that the ten Y-axis
// values need to read differently: 0 wherever the usual format tells them
// apart, at most 5 (6 decimals in all). Value labels and the statistics
// line take the same extra decimals, so a small range reads alike in all
// three.
int extraDecimals(const GraphDocument& d)
{
    if (!d.yRangeSet)
        return 0;
    constexpr int most = 5;
    for (int extra = 0; extra < most; ++extra) {
        std::string shown[kYTickCount];
        bool differ = true;
        for (int k = 0; k < kYTickCount && differ; ++k) {
            shown[k] = shownValue(d.yTicks[k], 1 + extra);
            differ = std::find(shown, shown + k, shown[k]) == shown + k;
        }
        if (differ)
            return extra;
    }
    return most;
}

struct Pens {
    THandle thick[kCurveCount]; // red, green, blue
    THandle thin[kCurveCount];
    THandle blackThick, blackThin;
};

void drawTicksAndLabels(TDC& dc, const GraphDocument& d, const Pens& pens)
{
    const int spacing = d.labelSpacing;
    int divisions = d.divisionsPerLabel;
    int step = divisions > 0 ? spacing / divisions : 0;
    // Our choice for an axis whose divisions leave no whole step (no
    // divisions entered, or more divisions than units per label): draw it as
    // if every label had one division, as majorTickSpacing() counts it.
    // Without a label spacing there is nothing to divide, and no ticks are
    // drawn.
    if (step <= 0) {
        step = spacing;
        divisions = 1;
    }
    if (step <= 0)
        return;

    int sub = 0;
    int n = 0;
    for (long long i = 0; i <= PlotArea::labelBand; i += step) {
        const int x = PlotArea::left + static_cast<int>(i);
        dc.SelectObject(pens.blackThin);
        dc.MoveToEx(x, 374);
        dc.LineTo(x, 379);
        ++sub;
        if (sub == divisions || i == 0) {
            dc.SelectObject(pens.blackThick);
            dc.MoveToEx(x, 371);
            dc.LineTo(x, 377);
            int labelX;
            if (n < kMaxLabels && toCoord(static_cast<long long>(x) + spacing / 2, labelX))
                dc.TextOut(labelX, 360, slotText(d.xLabels[n]));
            ++n;
            sub = 0;
        }
    }
}

void drawPoints(TDC& dc, const GraphDocument& d, const Pens& pens, int extra, int rightEdge)
{
    // The bar length depends on the Y axis only, not on the point.
    const long double span = std::trunc((static_cast<long double>(d.yMax) - d.yMin) * d.yScale);
    const long double halfExact = std::trunc(span * d.percentError * static_cast<long double>(0.005));
    // Whole numbers past the limit only ever lead to bars that are skipped.
    const double half = std::isfinite(halfExact) && std::fabs(halfExact) <= coordLimit
        ? static_cast<double>(halfExact)
        : NAN;

    for (int c = 0; c < kCurveCount; ++c) {
        const THandle curvePen = d.thickLines ? pens.thick[c] : pens.thin[c];
        const int n = pointsOf(d, c);
        for (int j = 0; j < n; ++j) {
            const long long x = d.pixelX[c][j];
            const double y = d.pixelY[c][j];
            int px, top, bottom, left, right, row;
            if (!toCoord(x, px) || !toCoord(y, row))
                continue; // a point nowhere near the plot: nothing of it is drawn

            dc.SelectObject(curvePen);

            const int r = d.largePoints ? 4 : 2;
            if (toCoord(x - r, left) && toCoord(x + r, right) && toCoord(y - r, top)
                && toCoord(y + r, bottom))
                dc.Ellipse(left, top, right, bottom);

            int prevX, prevRow;
            if (d.connectPoints && j > 0 && toCoord(static_cast<long long>(d.pixelX[c][j - 1]), prevX)
                && toCoord(static_cast<double>(d.pixelY[c][j - 1]), prevRow)) {
                dc.MoveToEx(prevX, prevRow);
                dc.LineTo(px, row);
            }

            int labelX, labelY;
            if (d.labelPoints && toCoord(x + 20, labelX) && toCoord(y - 20, labelY)) {
                const std::string label = valueLabel(c, j, d.valueY[c][j], 1 + extra);
                // Centred over its place, unless that would take it past
                // the picture's right edge: then it ends at the edge.
                if (rightEdge > 0) {
                    const int labelHalf = (dc.GetTextExtentPoint(label).cx + 1) / 2;
                    labelX = std::min(labelX, rightEdge - 2 - labelHalf);
                }
                dc.TextOut(labelX, labelY, label);
            }

            if (d.showErrorBars) {
                dc.SelectObject(pens.thin[0]);
                int from, to;
                if (toCoord(y + half, from) && toCoord(y - half, to)) {
                    dc.MoveToEx(px, from);
                    dc.LineTo(px, to);
                }
            }
        }
    }
}

} // namespace

std::string statisticsLine(const GraphDocument& d, int c)
{
    static constexpr const char* statisticsFormats[kCurveCount] = {
        " Curve 1:    Mean = %.*f,    Wtd-Mean = %.*f",
        " Curve 2:    Mean = %.*f,    Wtd-Mean = %.*f",
        " Curve 3:    Mean = %.*f,    Wtd-Mean = %.*f",
    };
    const int extra = extraDecimals(d);
    const CurveStats stats = statisticsOf(d, c);
    return formatText(statisticsFormats[c], 2 + extra, stats.mean, 2 + extra, stats.weightedMean);
}

void paintGraph(TDC& dc, const GraphDocument& d, PaintFor target)
{
    const bool paper = target != PaintFor::screen;
    // 1. State and pens.
    dc.SaveDC();
    Pens pens;
    const TColor curveColours[kCurveCount] = { red, green, blue };
    for (int c = 0; c < kCurveCount; ++c) {
        pens.thick[c] = dc.CreatePen(3, curveColours[c]);
        pens.thin[c] = dc.CreatePen(1, curveColours[c]);
    }
    pens.blackThick = dc.CreatePen(3, black);
    pens.blackThin = dc.CreatePen(1, black);

    // 2. Plot box, with the context's own pen and brush.
    dc.Rectangle(PlotArea::left, PlotArea::top, PlotArea::right, PlotArea::bottom);

    // 3. Axes.
    dc.SelectObject(pens.blackThick);
    dc.MoveToEx(PlotArea::left, PlotArea::bottom);
    dc.LineTo(PlotArea::right, PlotArea::bottom);
    dc.MoveToEx(PlotArea::left, PlotArea::top);
    dc.LineTo(PlotArea::left, PlotArea::bottom);

    // 4. Caption box: one row per caption that has something to show.
    if (d.captionsPlaced) {
        long long offset = 0;
        for (int k = 0; k < kCurveCount; ++k) {
            const std::string_view caption = slotText(d.captions[k]);
            if (!hasLabelCharacter(caption))
                continue;
            dc.SelectObject(pens.thick[k]);
            const long long x = d.captionBoxX;
            const long long y = d.captionBoxY + offset;
            int left, top, right, bottom, textX, textY;
            if (toCoord(x - 3, left) && toCoord(y - 3, top) && toCoord(x + 3, right)
                && toCoord(y + 3, bottom))
                dc.Ellipse(left, top, right, bottom);
            if (toCoord(x + 15, textX) && toCoord(y - 9, textY))
                dc.TextOut(textX, textY, caption);
            offset += 16;
        }
    }

    // 5.-7. Statistics lines on fixed rows, and the entry-box labels.
    dc.SetBkColor(paper ? white : lightGrey);
    const int extra = extraDecimals(d);
    for (int c = 0; c < kCurveCount; ++c)
        if (pointsOf(d, c) > 0)
            dc.TextOut(paper ? 200 : 370, 400 + 15 * c, statisticsLine(d, c));
    if (!paper) {
        dc.TextOut(10, 445, "X =");
        dc.TextOut(95, 445, "Y =");
    }

    // 8. Every remaining text is centred over its top edge.
    dc.SetBkColor(white);
    dc.SetTextAlign(centreTop);

    // 9. X ticks and labels.
    if (d.yRangeSet && d.xLabelCount > 0)
        drawTicksAndLabels(dc, d, pens);

    // 10. Points, lines, value labels, error bars.
    drawPoints(dc, d, pens, extra, target == PaintFor::figure ? PlotArea::clientWidth : 0);

    // 11. Y-axis values.
    const THandle valueFont = dc.CreateFontIndirect(logFont(10, 10, 1000, "Helv"));
    dc.SelectObject(valueFont);
    if (d.yRangeSet) {
        dc.SetTextColor(black);
        dc.SetBkColor(paper ? white : lightGrey);
        for (int k = 0; k < kYTickCount; ++k) {
            const std::string value = formatText("%.*f", 1 + extra, d.yTicks[k]);
            // Centred on x = 25 where it fits; a value too wide for that
            // (a minus sign and three digits already) would lose its sign
            // and leading digits past the window's left edge, so it starts
            // at the edge instead.
            const int half = (dc.GetTextExtentPoint(value).cx + 1) / 2;
            dc.TextOut(std::max(25, half), 370 - 40 * k, value);
        }
    }

    // 12. Title.
    const THandle titleFont = dc.CreateFontIndirect(logFont(30, 10, 1000, "Arial"));
    dc.SelectObject(titleFont);
    dc.DeleteObject(valueFont);
    dc.SetTextColor(black);
    dc.SetBkColor(paper ? white : lightGrey);
    // Centred at (320, -6) unless that would cut the tops of its glyphs at
    // the client area's top edge (or under the menu bar): then just low
    // enough for its topmost ink to be on row 0.
    const std::string_view title = slotText(d.title);
    dc.TextOut(320, std::max(-6, -dc.GetTextInkTop(title)), title);

    // 13. Default scales for axes that have not been set up.
    const THandle scaleFont = dc.CreateFontIndirect(logFont(8, 8, 1000, "Times New Roman"));
    dc.SelectObject(scaleFont);
    dc.DeleteObject(titleFont);
    dc.SetTextColor(black);
    dc.SetBkColor(lightGrey);
    if (!d.yRangeSet)
        for (int k = 0; k <= 36; ++k)
            dc.TextOut(30, 15 + 10 * k, formatText("%d", 360 - 10 * k));
    if (!paper)
        for (int v = 50; v <= 600; v += 50)
            dc.TextOut(PlotArea::left + v, 385, formatText("%d", v));

    // 14. Hand the context back, then release what was made here.
    dc.RestoreDC(-1);
    dc.DeleteObject(scaleFont);
    for (int c = 0; c < kCurveCount; ++c) {
        dc.DeleteObject(pens.thick[c]);
        dc.DeleteObject(pens.thin[c]);
    }
    dc.DeleteObject(pens.blackThick);
    dc.DeleteObject(pens.blackThin);
}

std::string paintedFields(const GraphDocument& d)
{
    std::string bytes;
    bytes.reserve(10000);
    const auto add
        = [&bytes](const auto& field) { bytes.append(reinterpret_cast<const char*>(&field), sizeof field); };
    add(d.pointCount);
    add(d.pixelX);
    add(d.pixelY);
    add(d.valueY);
    add(d.yRangeSet);
    add(d.yMin);
    add(d.yMax);
    add(d.yScale);
    add(d.yTicks);
    add(d.percentError);
    add(d.xLabels);
    add(d.xLabelCount);
    add(d.labelSpacing);
    add(d.divisionsPerLabel);
    add(d.title);
    add(d.captions);
    add(d.captionBoxX);
    add(d.captionBoxY);
    add(d.captionsPlaced);
    add(d.connectPoints);
    add(d.largePoints);
    add(d.labelPoints);
    add(d.showErrorBars);
    add(d.thickLines);
    return bytes;
}
