#pragma once
// Points as text, as spreadsheets and `gd2 csv` copy them: one row a point,
// X (as typed under the graph) and Y, or curve, X and Y. Copy writes them;
// Paste and `gd2 new` read them through the rules of Next Point, one row
// reader serving both.

#include "document/GraphDocument.h"
#include "document/GraphRules.h"
#include "document/PointTable.h"

#include <string>
#include <string_view>
#include <vector>

// The fields of one row. A tab separates them if the row has one, else a
// semicolon; then a comma inside a field is a decimal comma. Otherwise a
// comma with a blank beside it separates, and the other commas are decimal
// commas; failing that, blanks separate (the commas being decimal commas)
// if there are any, and every comma if there are not. A field may be in
// double quotes, and what is quoted is never split.
std::vector<std::string> rowFields(std::string_view row);

// Clipboard text that is one line holding one number ("41,101", " 17.5 "):
// a value for an entry box, never a row of points.
bool isSingleNumber(std::string_view text);
// One line with one field: what an entry box takes as its own Paste would.
bool isSingleValue(std::string_view text);

// Why a row was refused: in the window's own words, with the caption and
// weight that message has there. An unreadable row is quoted.
struct RowProblem {
    std::string text;
    std::string caption;
    bool warning = false;
    bool unreadable = false;
};

// Reads rows a line at a time into a graph, as the user would type them:
// each number by the rules of its entry box (X as Next Point reads the X
// box, so 1.00E+02 is 100; a decimal comma where the row allows one), each
// point through Next Point's checks. Two fields go to `twoFieldCurve`,
// three name the curve (1 to 3). Blank lines, a byte order mark and a first
// row of words with no number among them (the column names) are skipped.
class RowReader {
public:
    explicit RowReader(int twoFieldCurve)
        : curve(twoFieldCurve)
    {
    }
    // One line, with or without its line end. Adds its point to `d`, or
    // leaves `d` as it was and says why not.
    bool addLine(GraphDocument& d, std::string_view line, RowProblem& problem);
    // The line last given, counted from 1.
    int lineNumber() const { return line; }
    int pointsAdded() const { return added; }

private:
    int curve;
    int line = 0;
    int added = 0;
    bool seenRow = false;
};

struct PasteOutcome {
    bool ok = false;
    int added = 0;
    // When refused: the first row at fault (its line in the text, from 1;
    // 0 when no row holds a point), and what is wrong with it in the
    // window's own words, caption and weight.
    int row = 0;
    EntryProblem why;
};

inline constexpr const char* kNoRowsToPaste = "There are no rows of X and Y values to paste.";
inline constexpr const char* kOneValueNoRow
    = "The clipboard holds one value, not rows of X and Y values. To put it into the X or Y box, click "
      "into that box and paste again.";

// Adds the rows' points to `d`, two fields to the current curve, all of them
// or none: on refusal `d` is as it was. One number alone is refused.
PasteOutcome pasteRows(GraphDocument& d, std::string_view text);

// One "X<TAB>Y" row for each point of curve c, X as typed (pixelX - 50), Y
// as stored (the shortest text that gives it back), with `decimal` as the
// decimal point: the user's own, so a spreadsheet in any locale takes them
// as numbers.
std::string curveRows(const GraphDocument& d, int c, char decimal = '.');
// "Curve<TAB>X<TAB>Y" rows of these points, as above, and the same rows as
// an HTML table, the form spreadsheets paste as cells.
std::string pointRowsText(const GraphDocument& d, const std::vector<PointRef>& points, char decimal);
std::string pointRowsHtml(const GraphDocument& d, const std::vector<PointRef>& points, char decimal);
// The rows of an HTML table's cells as tab-separated text, as a spreadsheet
// or a web page copies a table; empty when the text holds no table row.
std::string htmlTableRows(std::string_view html);
