#pragma once
// Points as text, as spreadsheets and `gd2 csv` copy them: one row a point,
// X (as typed under the graph) and Y, or curve, X and Y. Copy writes them;
// Paste reads them through the rules of Next Point, whole or not at all.

#include "document/GraphDocument.h"

#include <string>
#include <string_view>

// One line holding one value and no separator: what any entry box takes.
bool isSingleValue(std::string_view text);

struct PasteOutcome {
    bool ok = false;
    int added = 0;
    // When refused: the first row at fault (its line in the text, from 1;
    // 0 when no row holds a point), what is wrong with it in the window's
    // own words, and the caption and weight that message has there.
    int row = 0;
    std::string message;
    std::string caption;
    bool warning = false;
};

// Adds the rows' points to `d`: two fields go to the current curve, three
// name the curve (1 to 3). Fields are separated by a tab, a semicolon, a
// comma (with or without a blank after it) or blanks; with a tab or a
// semicolon a decimal comma is read as a full stop. A first row that is not
// numbers is a header and skipped, as are blank lines. On refusal `d` is as
// it was.
PasteOutcome pasteRows(GraphDocument& d, std::string_view text);

// One "X<TAB>Y" row for each point of curve c, X as typed (pixelX - 50), Y
// as stored, both with a full stop in any locale.
std::string curveRows(const GraphDocument& d, int c);
