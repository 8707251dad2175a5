#pragma once
// The one working state of the program: every handler reads and writes these
// fields directly. Sizes and types mirror the stored record, so nothing here
// may grow or change type without the file format changing too.

#include <cstdint>
#include <string>

constexpr int kCurveCount = 3;
constexpr int kMaxPoints = 250;
constexpr int kMaxLabels = 20;
constexpr int kLabelTextSize = 13; // 12 characters and the terminator
constexpr int kTitleSize = 81; // 80 characters and the terminator
constexpr int kCaptionSize = 37; // 36 characters and the terminator
constexpr int kYTickCount = 10;

struct GraphDocument {
    // Curves, in plot pixels; only slots below pointCount hold points.
    int pointCount[kCurveCount] = {};
    int pixelX[kCurveCount][kMaxPoints] = {};
    float pixelY[kCurveCount][kMaxPoints] = {};
    float valueY[kCurveCount][kMaxPoints] = {};
    int currentCurve = 0;

    // Y axis.
    int yRangeSet = 0;
    float yMin = 0;
    float yMax = 0;
    float yScale = 0;
    float yTicks[kYTickCount] = {};
    float percentError = 0;

    // X axis.
    char xLabels[kMaxLabels][kLabelTextSize] = {};
    int xLabelCount = 0;
    int labelSpacing = 0;
    int divisionsPerLabel = 0;
    int labelsEntered = 0;

    // Texts and the caption box.
    char title[kTitleSize] = {};
    char captions[kCurveCount][kCaptionSize] = {};
    int captionBoxX = 0;
    int captionBoxY = 0;
    std::uint8_t captionsPlaced = 0;
    std::uint8_t placingCaption = 0;

    // Display options; each is tested only for zero or non-zero.
    int connectPoints = 0;
    int largePoints = 0;
    int labelPoints = 0;
    int showErrorBars = 0;
    std::uint8_t thickLines = 0;

    // The file the graph belongs to, held whole, however long the path the
    // file dialogs return, so it can never spill into anything else. Whether
    // the graph is unsaved is the editing session's to say.
    std::string fileName;

    // The record's word at offset 9344: unused, but carried from a file read
    // back into the next file written.
    std::int32_t recordReserved = 0;
};

// The process-wide document, zero-filled at start and never replaced.
extern GraphDocument doc;

// Empties the document for a new graph, which has no file yet; the pixel
// slots and the Y range are left to the counts and the dialogs (see the .cpp).
void clearGraph();
// Sorts the current curve by pixelX, keeping equal columns in entry order.
void sortCurve();
void sortCurve(GraphDocument& d, int c);
