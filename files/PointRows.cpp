#include "files/PointRows.h"

#include "document/CurveStatistics.h"
#include "document/GraphRules.h"
#include "document/PlotArea.h"
#include "document/TextHelpers.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <memory>
#include <vector>

namespace {

std::string_view unquoted(std::string_view f)
{
    f = trimmed(f);
    if (f.size() >= 2 && f.front() == '"' && f.back() == '"')
        f = trimmed(f.substr(1, f.size() - 2));
    return f;
}

struct Fields {
    std::vector<std::string> items;
    bool decimalComma = false;
};

Fields splitRow(std::string_view row)
{
    Fields f;
    char separator = 0;
    if (row.find('\t') != std::string_view::npos)
        separator = '\t';
    else if (row.find(';') != std::string_view::npos)
        separator = ';';
    else if (row.find(',') != std::string_view::npos)
        separator = ',';
    f.decimalComma = separator == '\t' || separator == ';';
    if (separator) {
        for (;;) {
            const std::size_t at = row.find(separator);
            f.items.emplace_back(unquoted(row.substr(0, at)));
            if (at == std::string_view::npos)
                break;
            row.remove_prefix(at + 1);
        }
    } else {
        while (!(row = trimmed(row)).empty()) {
            std::size_t end = 0;
            while (end < row.size() && !isBlank(row[end]))
                ++end;
            f.items.emplace_back(unquoted(row.substr(0, end)));
            row.remove_prefix(end);
        }
    }
    if (f.decimalComma)
        for (std::string& item : f.items)
            if (const std::size_t comma = item.find(','); comma != std::string::npos
                && item.find(',', comma + 1) == std::string::npos && item.find('.') == std::string::npos)
                item[comma] = '.';
    return f;
}

bool hasLetter(std::string_view s)
{
    for (char ch : s)
        if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'))
            return true;
    return false;
}

struct Point {
    int curve, x;
    float y;
};

// The point a row holds, or false when it is not two or three numbers.
bool rowPoint(const Fields& f, int currentCurve, Point& p)
{
    const std::size_t n = f.items.size();
    if (n != 2 && n != 3)
        return false;
    const std::string& x = f.items[n - 2];
    const std::string& y = f.items[n - 1];
    if (!isRealNumberText(x) || !isRealNumberText(y))
        return false;
    p.curve = currentCurve;
    if (n == 3) {
        const std::string& c = f.items[0];
        if (!isWholeNumberText(c) || textToInt(c) < 1 || textToInt(c) > kCurveCount)
            return false;
        p.curve = textToInt(c) - 1;
    }
    // Read as the entry boxes read them.
    p.x = textToInt(x);
    p.y = static_cast<float>(textToReal(y));
    return true;
}

std::string shortened(std::string_view row)
{
    constexpr std::size_t most = 40;
    return row.size() <= most ? std::string(row) : std::string(row.substr(0, most)) + "...";
}
} // namespace

bool isSingleValue(std::string_view text)
{
    const std::string_view t = trimmed(text);
    if (t.empty())
        return false;
    for (char ch : t)
        if (isBlank(ch) || ch == ';' || ch == ',')
            return false;
    return true;
}

PasteOutcome pasteRows(GraphDocument& d, std::string_view text)
{
    PasteOutcome out;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    // Tried on a copy of the curves, so a refused row leaves the graph as it was.
    auto trial = std::make_unique<GraphDocument>(d);
    int line = 0;
    bool first = true;
    while (!text.empty()) {
        std::size_t end = text.find_first_of("\r\n");
        const std::string_view row = trimmed(text.substr(0, end));
        if (end == std::string_view::npos)
            end = text.size();
        else if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        text.remove_prefix(std::min(end + 1, text.size()));
        ++line;
        if (row.empty())
            continue;
        const Fields fields = splitRow(row);
        Point p;
        const bool isPoint = rowPoint(fields, trial->currentCurve, p);
        if (!isPoint && first && hasLetter(row)) {
            first = false;
            continue; // the column names
        }
        first = false;
        out.row = line;
        if (!isPoint) {
            out.message = "Row " + std::to_string(line)
                + " is not an X and a Y value (or a curve, X and Y): \"" + shortened(row) + "\"";
            out.caption = "Data Error";
            return out;
        }
        std::string problem = typedPointProblem(*trial, p.curve, p.x, p.y);
        out.caption = "Point error";
        if (problem == curveFullText(p.curve)) {
            out.caption = "Curve Overflow";
            out.warning = true;
        } else if (problem.empty() && !pointKeepsStatistics(*trial, p.curve, p.x + PlotArea::left, p.y)) {
            problem = sumsOverflowText(p.curve);
            out.warning = true;
        }
        if (!problem.empty()) {
            out.message = "Row " + std::to_string(line) + ": " + problem;
            return out;
        }
        addTypedPoint(*trial, p.curve, p.x, p.y);
        ++out.added;
    }
    out.row = 0;
    out.caption.clear();
    if (out.added == 0) {
        out.message = "There are no rows of X and Y values to paste.";
        out.caption = "Data Error";
        return out;
    }
    for (int c = 0; c < kCurveCount; ++c) {
        d.pointCount[c] = trial->pointCount[c];
        std::copy(std::begin(trial->pixelX[c]), std::end(trial->pixelX[c]), std::begin(d.pixelX[c]));
        std::copy(std::begin(trial->pixelY[c]), std::end(trial->pixelY[c]), std::begin(d.pixelY[c]));
        std::copy(std::begin(trial->valueY[c]), std::end(trial->valueY[c]), std::begin(d.valueY[c]));
    }
    out.ok = true;
    return out;
}

std::string curveRows(const GraphDocument& d, int c)
{
    std::string rows;
    const int n = std::clamp(d.pointCount[c], 0, kMaxPoints);
    for (int j = 0; j < n; ++j) {
        char y[32];
        const auto [end, ec] = std::to_chars(y, y + sizeof y, d.valueY[c][j]);
        rows += std::to_string(static_cast<long long>(d.pixelX[c][j]) - PlotArea::left) + "\t"
            + (ec == std::errc {} ? std::string(y, end) : std::string("0")) + "\n";
    }
    return rows;
}
