#pragma once
// A graph made from data rather than in the window: the New Graph settings
// and rows of points as Paste takes them (x as typed, 0..670), put through
// the rules the dialogs and the entry boxes apply, in the order they apply
// them. Anything the window would refuse is refused with the window's own
// message.

#include "document/GraphDocument.h"
#include "files/PointRows.h"

#include <string>
#include <string_view>
#include <vector>

struct NewGraphSettings {
    std::string title; // UTF-8
    std::vector<std::string> labels; // UTF-8, at most 20
    int divisions = 0; // as an empty box reads
    bool yRangeGiven = false;
    float yMin = 0, yMax = 0;
    bool errorBarsGiven = false;
    float percentError = 0;
    bool connect = false, large = false, labelPoints = false, thick = false;
    std::vector<std::string> captions; // UTF-8, curves 1..3 in turn
    // Where the caption box's top left corner goes, in window pixels, as a
    // right click would put it.
    bool captionBoxGiven = false;
    int captionBoxX = 560, captionBoxY = 30;
    // The curve (0..2) that rows of only X and Y go to.
    int rowsCurve = 0;
};

// The same, a line of rows at a time, so that a long input is refused at
// its first bad row without being read whole.
class GraphBuilder {
public:
    // False, with the reason, when the settings are refused.
    bool start(const NewGraphSettings& settings, const std::string& dataName, std::string& error);
    // One line without its line feed. False, with "<dataName>:<line>: " and
    // the reason, when the row is refused; the graph is then of no use.
    bool addLine(std::string_view line, std::string& error);
    const GraphDocument& graph() const { return d; }

private:
    std::string where() const;
    GraphDocument d;
    std::string name;
    RowReader rows { 0 };
};

// Fills `out` with the graph, as a fresh program holds it after New Graph
// and the points typed in row order. On refusal `out` is untouched and
// `error` is the reason, prefixed with "<dataName>:<line>: " when a row is
// at fault.
bool makeGraph(const NewGraphSettings& settings, std::string_view csv, const std::string& dataName,
    GraphDocument& out, std::string& error);
