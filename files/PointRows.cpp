#include "files/PointRows.h"

#include "document/CurveStatistics.h"
#include "document/GraphRules.h"
#include "document/PlotArea.h"
#include "document/TextHelpers.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <memory>

namespace {

std::string_view unquoted(std::string_view f)
{
    f = trimmed(f);
    if (f.size() >= 2 && f.front() == '"' && f.back() == '"')
        f = trimmed(f.substr(1, f.size() - 2));
    return f;
}

// Calls `at(i)` for every character outside double quotes.
template <typename Fn> void forUnquoted(std::string_view row, Fn at)
{
    bool quoted = false;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (row[i] == '"')
            quoted = !quoted;
        else if (!quoted)
            at(i);
    }
}

template <typename Pred> bool anyUnquoted(std::string_view row, Pred isIt)
{
    bool found = false;
    forUnquoted(row, [&](std::size_t i) { found = found || isIt(i); });
    return found;
}

template <typename Pred> std::vector<std::string> splitWhere(std::string_view row, Pred separates)
{
    std::vector<std::string> items;
    std::size_t from = 0;
    forUnquoted(row, [&](std::size_t i) {
        if (separates(i)) {
            items.emplace_back(unquoted(row.substr(from, i - from)));
            from = i + 1;
        }
    });
    items.emplace_back(unquoted(row.substr(from)));
    return items;
}

bool hasLetter(std::string_view s)
{
    for (char ch : s)
        if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'))
            return true;
    return false;
}

// The column names: words, and no number among them.
bool isHeader(const std::vector<std::string>& fields)
{
    bool words = false;
    for (const std::string& f : fields) {
        double unused = 0;
        if (realNumberOf(f, unused))
            return false;
        words = words || hasLetter(f);
    }
    return words;
}

struct Point {
    int curve, x;
    float y;
};

// The point a row holds, or false when it is not two or three numbers.
bool rowPoint(const std::vector<std::string>& f, int twoFieldCurve, Point& p)
{
    const std::size_t n = f.size();
    if (n != 2 && n != 3)
        return false;
    // Read as the entry boxes read them.
    if (!wholeNumberOf(f[n - 2], p.x) || !realNumberOf(f[n - 1], p.y))
        return false;
    p.curve = twoFieldCurve;
    if (n == 3) {
        if (!isWholeNumberText(f[0]) || textToInt(f[0]) < 1 || textToInt(f[0]) > kCurveCount)
            return false;
        p.curve = textToInt(f[0]) - 1;
    }
    return true;
}

std::string shortened(std::string_view row)
{
    constexpr std::size_t most = 40;
    return row.size() <= most ? std::string(row) : std::string(row.substr(0, most)) + "...";
}

// The text's one line, when it has only one (a line end after it allowed).
bool oneLine(std::string_view text, std::string_view& line)
{
    line = trimmed(text);
    return !line.empty() && line.find_first_of("\r\n") == std::string_view::npos;
}
} // namespace

std::vector<std::string> rowFields(std::string_view row)
{
    row = trimmed(row);
    const auto is = [row](char ch) { return [row, ch](std::size_t i) { return row[i] == ch; }; };
    for (char strong : { '\t', ';' })
        if (anyUnquoted(row, is(strong)))
            return splitWhere(row, is(strong));
    const auto commaByBlank = [row](std::size_t i) {
        return row[i] == ','
            && ((i > 0 && isBlank(row[i - 1])) || (i + 1 < row.size() && isBlank(row[i + 1])));
    };
    if (anyUnquoted(row, commaByBlank))
        return splitWhere(row, commaByBlank);
    if (anyUnquoted(row, [row](std::size_t i) { return isBlank(row[i]); })) {
        std::vector<std::string> items = splitWhere(row, [row](std::size_t i) { return isBlank(row[i]); });
        std::erase_if(items, [](const std::string& s) { return s.empty(); });
        return items;
    }
    return splitWhere(row, is(','));
}

bool isSingleNumber(std::string_view text)
{
    std::string_view line;
    double unused = 0;
    return oneLine(text, line) && realNumberOf(line, unused);
}

bool isSingleValue(std::string_view text)
{
    std::string_view line;
    return oneLine(text, line) && (isSingleNumber(line) || rowFields(line).size() == 1);
}

bool RowReader::addLine(GraphDocument& d, std::string_view text, RowProblem& problem)
{
    ++line;
    if (line == 1 && text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    const std::string_view row = trimmed(text);
    if (row.empty())
        return true;
    const bool firstRow = !seenRow;
    seenRow = true;
    Point p;
    const std::vector<std::string> fields = rowFields(row);
    if (!rowPoint(fields, curve, p)) {
        if (firstRow && isHeader(fields))
            return true;
        problem = { "not an X and a Y value (or a curve, X and Y): \"" + shortened(row) + "\"", "Data Error",
            false, true };
        return false;
    }
    const EntryProblem why = typedPointProblem(d, p.curve, p.x, p.y);
    problem = { why.text, why.caption, why.warning, false };
    if (why)
        return false;
    addTypedPoint(d, p.curve, p.x, p.y);
    ++added;
    return true;
}

PasteOutcome pasteRows(GraphDocument& d, std::string_view text)
{
    PasteOutcome out;
    if (isSingleNumber(text)) {
        out.why = { kOneValueNoRow, "Data Error" };
        return out;
    }
    // Tried on a copy of the curves, so a refused row leaves the graph as it was.
    auto trial = std::make_unique<GraphDocument>(d);
    RowReader reader(trial->currentCurve);
    while (!text.empty()) {
        std::size_t end = text.find_first_of("\r\n");
        const std::string_view row = text.substr(0, end);
        if (end == std::string_view::npos)
            end = text.size();
        else if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        text.remove_prefix(std::min(end + 1, text.size()));
        RowProblem problem;
        if (!reader.addLine(*trial, row, problem)) {
            out.row = reader.lineNumber();
            out.why
                = { "Row " + std::to_string(out.row) + (problem.unreadable ? " is " : ": ") + problem.text,
                      problem.caption, problem.warning };
            return out;
        }
    }
    out.added = reader.pointsAdded();
    if (out.added == 0) {
        out.why = { kNoRowsToPaste, "Data Error" };
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

namespace {
std::string storedValue(float value, char decimal)
{
    char y[32];
    const auto [end, ec] = std::to_chars(y, y + sizeof y, value);
    std::string text = ec == std::errc {} ? std::string(y, end) : std::string("0");
    std::replace(text.begin(), text.end(), '.', decimal);
    return text;
}

std::vector<std::string> pointCells(const GraphDocument& d, PointRef p, char decimal)
{
    return { std::to_string(p.curve + 1), std::to_string(typedXOf(d, p)),
        storedValue(d.valueY[p.curve][p.slot], decimal) };
}

// Text between tags, with the entities a table cell holds decoded.
std::string cellText(std::string_view html)
{
    std::string out;
    for (std::size_t i = 0; i < html.size();) {
        if (html[i] == '<') {
            const std::size_t close = html.find('>', i);
            i = close == std::string_view::npos ? html.size() : close + 1;
            continue;
        }
        if (html[i] == '&') {
            static constexpr std::pair<std::string_view, std::string_view> entities[]
                = { { "&amp;", "&" }, { "&lt;", "<" }, { "&gt;", ">" }, { "&quot;", "\"" }, { "&nbsp;", " " },
                      { "&#160;", " " }, { "&#39;", "'" } };
            bool known = false;
            for (auto [name, text] : entities)
                if (html.substr(i, name.size()) == name) {
                    out += text;
                    i += name.size();
                    known = true;
                    break;
                }
            if (known)
                continue;
        }
        out += isBlank(html[i]) ? ' ' : html[i];
        ++i;
    }
    return std::string(trimmed(out));
}

std::size_t findTag(std::string_view html, std::string_view name, std::size_t from)
{
    for (std::size_t i = html.find('<', from); i != std::string_view::npos; i = html.find('<', i + 1)) {
        std::size_t j = i + 1;
        for (char ch : name) {
            if (j >= html.size() || (html[j] | 0x20) != ch)
                break;
            ++j;
        }
        if (j - i - 1 == name.size() && j < html.size() && (html[j] == '>' || isBlank(html[j])))
            return i;
    }
    return std::string_view::npos;
}
} // namespace

std::string curveRows(const GraphDocument& d, int c, char decimal)
{
    std::string rows;
    const int n = std::clamp(d.pointCount[c], 0, kMaxPoints);
    for (int j = 0; j < n; ++j)
        rows += std::to_string(typedXOf(d, { c, j })) + "\t" + storedValue(d.valueY[c][j], decimal) + "\n";
    return rows;
}

std::string pointRowsText(const GraphDocument& d, const std::vector<PointRef>& points, char decimal)
{
    std::string rows;
    for (PointRef p : points) {
        const std::vector<std::string> cells = pointCells(d, p, decimal);
        rows += cells[0] + "\t" + cells[1] + "\t" + cells[2] + "\n";
    }
    return rows;
}

std::string pointRowsHtml(const GraphDocument& d, const std::vector<PointRef>& points, char decimal)
{
    std::string html = "<html><head><meta charset=\"utf-8\"></head><body><table>\n";
    for (PointRef p : points) {
        html += "<tr>";
        for (const std::string& cell : pointCells(d, p, decimal))
            html += "<td>" + cell + "</td>";
        html += "</tr>\n";
    }
    return html + "</table></body></html>\n";
}

std::string htmlTableRows(std::string_view html)
{
    std::string rows;
    for (std::size_t tr = findTag(html, "tr", 0); tr != std::string_view::npos;) {
        const std::size_t next = findTag(html, "tr", tr + 1);
        const std::string_view row
            = html.substr(tr, next == std::string_view::npos ? html.size() - tr : next - tr);
        std::string line;
        bool first = true;
        // Cells in their order, whether data or heading cells.
        std::size_t at = 0;
        while (true) {
            const std::size_t td = findTag(row, "td", at), th = findTag(row, "th", at);
            const std::size_t cell = std::min(td, th);
            if (cell == std::string_view::npos)
                break;
            const std::size_t open = row.find('>', cell);
            if (open == std::string_view::npos)
                break;
            const std::size_t end = std::min({ findTag(row, "/td", open), findTag(row, "/th", open),
                findTag(row, "td", open), findTag(row, "th", open), row.size() });
            line += (first ? "" : "\t") + cellText(row.substr(open + 1, end - open - 1));
            first = false;
            at = end;
        }
        if (!first)
            rows += line + "\n";
        tr = next;
    }
    return rows;
}
