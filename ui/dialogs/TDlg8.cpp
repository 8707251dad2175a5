#include "ui/dialogs/TDlg8.h"

#include "document/GraphDocument.h"
#include "document/PlotArea.h"
#include "document/TextHelpers.h"
#include "framework/MessageBox.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {
enum : int {
    IDC_EXTRA = 102,
};

// The box is read as an 8-byte buffer would hold it.
constexpr std::size_t kNumberChars = 7;
// Far outside anything acceptable either way, and well inside int.
constexpr double kTypedBound = 1e6;
// Columns a stored record may hold, and so what a moved point is kept to.
constexpr double kColumnBound = 1e6;
} // namespace

TDlg8::TDlg8(wxWindow* parent, int& extra, int templateNumber)
    : TDialog(parent, templateNumber)
    , extraLabels(extra)
{
}

int extendedColumn(int x, int oldTick, int newTick)
{
    if (oldTick <= 0 || oldTick == newTick)
        return x;
    const double moved = std::round(static_cast<double>(x - PlotArea::left) * newTick / oldTick);
    return PlotArea::left + static_cast<int>(std::clamp(moved, -kColumnBound, kColumnBound));
}

XExtension xExtension(int extra)
{
    XExtension e;
    const int count = doc.xLabelCount + extra;
    if (doc.xLabelCount > 0)
        e.oldTick = majorTickSpacing(doc.labelSpacing, doc.divisionsPerLabel);
    if (count > 0)
        e.newTick = majorTickSpacing(PlotArea::labelBand / count, std::max(doc.divisionsPerLabel, 1));
    return e;
}

void TDlg8::cmOk()
{
    // Read as a real number, so 2.9 adds two labels and 1e1 adds ten; an
    // empty box adds none.
    const std::string typed(leadingChars(text(IDC_EXTRA), kNumberChars));
    int whole = 0;
    if (!typed.empty() && !wholeNumberOf(typed, whole)) {
        messageBox("The number of Extra Labels must be a number", "Data Error", MB_OK);
        return;
    }
    const int extra = std::clamp(whole, static_cast<int>(-kTypedBound), static_cast<int>(kTypedBound));
    const int count = doc.xLabelCount + extra;

    // No labels added or taken away: nothing changes, whatever the axis.
    if (extra == 0) {
        extraLabels = 0;
        closeWindow(IDOK);
        return;
    }
    if (count > kMaxLabels) {
        messageBox("The maximum number of X-axis labels is 20", "Too Many Labels", MB_OK);
        return;
    }
    // The new label spacing is the band divided by the new count.
    if (count < 1) {
        const std::string why = doc.xLabelCount > 0
            ? "The X-Axis must keep at least one label: no more than " + std::to_string(doc.xLabelCount - 1)
                + " can be removed"
            : std::string("The X-Axis has no labels yet: enter how many labels to add");
        messageBox(why, "Too Few Labels", MB_OK);
        return;
    }
    // Each label interval is drawn in steps of labelSpacing /
    // divisionsPerLabel pixels, which must not come to nothing. An axis
    // without divisions is drawn with one per label.
    const int divisions = std::max(doc.divisionsPerLabel, 1);
    const int room = std::min(kMaxLabels, PlotArea::labelBand / divisions);
    if (count > room) {
        messageBox("With " + std::to_string(divisions)
                + " divisions per label the X-Axis has room for no more than " + std::to_string(room)
                + " labels",
            "Too Many Labels", MB_OK);
        return;
    }
    // Fewer labels stretch the points to the right; none may pass the last
    // column a point can be typed at.
    const XExtension e = xExtension(extra);
    for (int c = 0; c < kCurveCount; ++c)
        for (int j = 0; j < std::clamp(doc.pointCount[c], 0, kMaxPoints); ++j)
            if (extendedColumn(doc.pixelX[c][j], e.oldTick, e.newTick)
                > PlotArea::left + PlotArea::maxTypedX) {
                messageBox(
                    "Removing so many labels would move a point beyond the right-hand end of the X-Axis",
                    "Too Few Labels", MB_OK);
                return;
            }

    extraLabels = extra;
    closeWindow(IDOK);
}
