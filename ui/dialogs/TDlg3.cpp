#include "ui/dialogs/TDlg3.h"

#include "document/GraphDocument.h"
#include "document/PlotArea.h"
#include "document/TextHelpers.h"
#include "framework/MessageBox.h"

#include <algorithm>
#include <climits>
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

// Pixels per Y unit are 360 / range: a range of zero has none, and one
// beyond the float range, or too narrow, has no usable scale.
constexpr const char* kTooLarge = "The Y-Values are too large or too close together";

std::string rangeProblem(float min, float max)
{
    const float range = max - min;
    if (range == 0)
        return "The Maximum Y-Value must differ from the Minimum Y-Value";
    const float scale = static_cast<float>(static_cast<long double>(PlotArea::ySpan) / range);
    if (!std::isfinite(range) || !std::isfinite(scale))
        return kTooLarge;
    return {};
}

// Truncated toward zero and made positive, saturating at the int limit as
// typed whole numbers do.
long long wholeMagnitude(float v)
{
    const double t = std::trunc(std::fabs(static_cast<double>(v)));
    if (std::isnan(t))
        return 0;
    return static_cast<long long>(std::min(t, static_cast<double>(INT_MAX)));
}
} // namespace

const char* const noMaximumToExtend = "The Y-Axis can only be extended from a Maximum Y-Value of at least 1";

int yExtensionRatio(float oldMax, float newMax)
{
    const long long old = wholeMagnitude(oldMax);
    return old == 0 ? 0 : static_cast<int>(wholeMagnitude(newMax) / old);
}

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

std::string TDlg3::extensionProblem(float newMax) const
{
    if (wholeMagnitude(doc.yMax) == 0)
        return noMaximumToExtend;
    if (yExtensionRatio(doc.yMax, newMax) == 0)
        return "The new Maximum Y-Value must be at least " + std::to_string(wholeMagnitude(doc.yMax));
    return rangeProblem(doc.yMin, newMax);
}

void TDlg3::cmOk()
{
    const float max = static_cast<float>(textToReal(leadingChars(text(IDC_MAXIMUM), kNumberChars)));
    const float min = doc.extendingY
        ? doc.yMin
        : static_cast<float>(textToReal(leadingChars(text(IDC_MINIMUM), kNumberChars)));
    // Bounds whose range no float can hold are refused before they are
    // stored: they would spread into every point typed afterwards and into a
    // saved file that could not be opened again.
    if (!std::isfinite(min) || !std::isfinite(max) || rangeProblem(min, max) == kTooLarge) {
        messageBox(kTooLarge, "Data Error", MB_OK);
        return;
    }
    if (doc.extendingY) {
        // Checked before anything is stored: the points are moved only once
        // the dialog has closed, so a refused maximum must leave the axis as
        // it was under them. The minimum and the error percentage, whose
        // boxes are hidden, are kept rather than read as empty.
        const std::string problem = extensionProblem(max);
        if (!problem.empty()) {
            messageBox(problem, "Data Error", MB_OK);
            return;
        }
    } else {
        doc.yMin = min;
    }
    doc.yMax = max;
    // Never cleared: once set it lasts until the program ends.
    if (doc.yMax < 0 || doc.yMin < 0)
        doc.yNegative = 1;

    if (const std::string problem = rangeProblem(doc.yMin, doc.yMax); !problem.empty()) {
        messageBox(problem, "Data Error", MB_OK);
        return;
    }
    const float range = doc.yMax - doc.yMin;
    doc.yStep = static_cast<float>(static_cast<long double>(range) * kOneNinth);
    doc.yScale = static_cast<float>(static_cast<long double>(PlotArea::ySpan) / range);
    // Accumulated, each sum rounded to a float, rather than yMin + k * yStep.
    doc.yTicks[0] = doc.yMin;
    for (int k = 1; k < kYTickCount; ++k)
        doc.yTicks[k] = doc.yTicks[k - 1] + doc.yStep;
    doc.yRangeSet = 1;

    if (doc.showErrorBars && !doc.extendingY) {
        const std::string percent(leadingChars(text(IDC_PERCENT), kPercentChars));
        const float value = static_cast<float>(textToReal(percent));
        // Stored before the check like the bounds, unless it is too large
        // for a float to hold.
        if (std::isfinite(value))
            doc.percentError = value;
        const bool accepted = (value > 0 && value <= 100) || percent.empty();
        if (!accepted) {
            messageBox("Error must be expressed as percentage", "Data Error", MB_OK);
            return;
        }
    }

    doc.dirty = 1;
    closeWindow(IDOK);
}
