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
} // namespace

TDlg8::TDlg8(wxWindow* parent, int& extraLabels, int templateNumber)
    : TDialog(parent, templateNumber)
    , extraLabels(extraLabels)
{
}

void TDlg8::cmOk()
{
    // Read as a real number, so 2.9 adds two labels and 1e1 adds ten.
    const double typed = std::trunc(textToReal(leadingChars(text(IDC_EXTRA), kNumberChars)));
    const int extra = static_cast<int>(std::clamp(typed, -kTypedBound, kTypedBound));
    const int count = doc.xLabelCount + extra;

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
    // divisionsPerLabel pixels, which must not come to nothing; a graph
    // saved with such an axis could not be opened again. An axis without
    // divisions is drawn with one per label.
    const int divisions = std::max(doc.divisionsPerLabel, 1);
    const int room = std::min(kMaxLabels, PlotArea::labelBand / divisions);
    if (count > room) {
        messageBox("With " + std::to_string(divisions)
                + " divisions per label the X-Axis has room for no more than " + std::to_string(room)
                + " labels",
            "Too Many Labels", MB_OK);
        return;
    }

    extraLabels = extra;
    closeWindow(IDOK);
}
