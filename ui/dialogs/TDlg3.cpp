#include "ui/dialogs/TDlg3.h"

#include "document/GraphDocument.h"
#include "document/PlotArea.h"
#include "document/TextHelpers.h"
#include "framework/MessageBox.h"

#include <cmath>
#include <string>

namespace {
enum : int {
    IDC_MINIMUM = 101,
    IDC_MAXIMUM = 102,
    IDC_MINIMUMTEXT = 103,
    IDC_PERCENT = 105,
    IDC_PERCENTTEXT = 106,
};

constexpr std::size_t kNumberChars = 11;
constexpr std::size_t kPercentChars = 7;
constexpr double kOneNinth = 0.1111111111111111;
} // namespace

TDlg3::TDlg3(wxWindow* parent, int templateNumber)
    : TDialog(parent, templateNumber)
{
}

void TDlg3::setupWindow()
{
    if (doc.extendingY) {
        for (int id : { IDC_PERCENT, IDC_PERCENTTEXT, IDC_MINIMUM, IDC_MINIMUMTEXT })
            show(id, false);
    }
    if (!doc.showErrorBars) {
        show(IDC_PERCENT, false);
        show(IDC_PERCENTTEXT, false);
    }
}

void TDlg3::cmOk()
{
    // A hidden minimum box is still read: it is empty, so yMin becomes 0.
    doc.yMin = static_cast<float>(textToReal(leadingChars(text(IDC_MINIMUM), kNumberChars)));
    doc.yMax = static_cast<float>(textToReal(leadingChars(text(IDC_MAXIMUM), kNumberChars)));
    // Never cleared: once set it lasts until the program ends.
    if (doc.yMax < 0 || doc.yMin < 0)
        doc.yNegative = 1;

    // Pixels per Y unit are 360 / range: a range of zero has none, and one
    // beyond the float range, or too narrow, has no usable scale.
    const float range = doc.yMax - doc.yMin;
    if (range == 0) {
        messageBox("The Maximum Y-Value must differ from the Minimum Y-Value", "Data Error", MB_OK);
        return;
    }
    const float scale = static_cast<float>(static_cast<long double>(PlotArea::ySpan) / range);
    if (!std::isfinite(range) || !std::isfinite(scale)) {
        messageBox("The Y-Values are too large or too close together", "Data Error", MB_OK);
        return;
    }
    doc.yStep = static_cast<float>(static_cast<long double>(range) * kOneNinth);
    doc.yScale = scale;
    // Accumulated, each sum rounded to a float, rather than yMin + k * yStep.
    doc.yTicks[0] = doc.yMin;
    for (int k = 1; k < kYTickCount; ++k)
        doc.yTicks[k] = doc.yTicks[k - 1] + doc.yStep;
    doc.yRangeSet = 1;

    if (doc.showErrorBars) {
        const std::string percent(leadingChars(text(IDC_PERCENT), kPercentChars));
        doc.percentError = static_cast<float>(textToReal(percent));
        const bool accepted = (doc.percentError > 0 && doc.percentError <= 100) || percent.empty();
        if (!accepted) {
            messageBox("Error must be expressed as percentage", "Data Error", MB_OK);
            return;
        }
    }

    doc.dirty = 1;
    closeWindow(IDOK);
}
