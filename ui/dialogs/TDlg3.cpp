#include "ui/dialogs/TDlg3.h"

#include "document/AxisEdits.h"
#include "document/GraphDocument.h"
#include "document/GraphRules.h"
#include "document/PlotArea.h"
#include "document/TextHelpers.h"
#include "framework/MessageBox.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

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

// An empty bound is 0; anything else must be a number as a whole.
bool boundTyped(std::string_view t)
{
    double unused = 0;
    return t.empty() || realNumberOf(t, unused);
}

// A bound as the box holds it; an empty box is 0.
float boundValue(std::string_view t)
{
    float value = 0;
    return realNumberOf(t, value) ? value : 0;
}

} // namespace

TDlg3::TDlg3(wxWindow* parent, YScaleMode mode, int templateNumber)
    : TDialog(parent, templateNumber)
    , extending(mode == YScaleMode::extend)
{
}

void TDlg3::setupWindow()
{
    if (extending) {
        for (int id : { IDC_PERCENT, IDC_PERCENTTEXT, IDC_MINIMUM, IDC_MINIMUMTEXT })
            show(id, false);
        // The one box left is where the user types; a hidden box holding the
        // focus would swallow the typing and the Enter and Escape keys.
        if (wxWindow* box = control(IDC_MAXIMUM)) {
            box->SetFocus();
            CallAfter([this] {
                if (wxWindow* later = control(IDC_MAXIMUM))
                    later->SetFocus();
            });
        }
    }
    if (!doc.showErrorBars) {
        show(IDC_PERCENT, false);
        show(IDC_PERCENTTEXT, false);
    }
}

void TDlg3::cmOk()
{
    const std::string typedMax(leadingChars(text(IDC_MAXIMUM), kNumberChars));
    // Texts that are not numbers are refused before anything is stored.
    if (!extending) {
        const std::string typedMin(leadingChars(text(IDC_MINIMUM), kNumberChars));
        const char* notANumber = !boundTyped(typedMin) ? "The Minimum Y-Value is not a number"
            : !boundTyped(typedMax)                    ? "The Maximum Y-Value is not a number"
                                                       : nullptr;
        if (notANumber) {
            messageBox(notANumber, "Data Error", MB_OK);
            return;
        }
        // The whole box must be a number, though only its first characters
        // are read.
        const std::string typedPercent(leadingChars(text(IDC_PERCENT), kNumberChars));
        if (doc.showErrorBars && !typedPercent.empty() && !boundTyped(typedPercent)) {
            messageBox(kPercentProblem, "Data Error", MB_OK);
            return;
        }
    }
    const float max = boundValue(typedMax);
    // The reduced dialog extends the range the points stand on; its hidden
    // minimum box is not read.
    const float min
        = extending ? currentYRange(doc).min : boundValue(leadingChars(text(IDC_MINIMUM), kNumberChars));
    // Bounds whose range no float can hold are refused before they are
    // stored: they would spread into every point typed afterwards and into a
    // saved file that could not be opened again.
    if (!std::isfinite(min) || !std::isfinite(max) || yRangeProblem(min, max) == kYTooLarge) {
        messageBox(kYTooLarge, "Data Error", MB_OK);
        return;
    }
    if (extending) {
        // Checked before anything is stored: the points are moved only once
        // the dialog has closed, so a refused maximum must leave the axis as
        // it was under them. The minimum and the error percentage, whose
        // boxes are hidden, are kept rather than read as empty.
        const std::string problem = YAxisExtension { currentYRange(doc), max }.problem(doc, typedMax);
        if (!problem.empty()) {
            messageBox(problem, "Data Error", MB_OK);
            return;
        }
    }
    doc.yMin = min;
    doc.yMax = max;

    if (const std::string problem = yRangeProblem(doc.yMin, doc.yMax); !problem.empty()) {
        messageBox(problem, "Data Error", MB_OK);
        return;
    }
    computeYAxis(doc);
    doc.yRangeSet = 1;

    if (doc.showErrorBars && !extending) {
        const std::string percent(leadingChars(text(IDC_PERCENT), kPercentChars));
        const float value = static_cast<float>(textToReal(decimalPointText(percent)));
        // Only an accepted percentage reaches the document: a rejected one
        // would draw bars beyond the plot and save a file that cannot be
        // opened again.
        if (!percentAccepted(value, percent.empty())) {
            messageBox(kPercentProblem, "Data Error", MB_OK);
            return;
        }
        doc.percentError = value;
    }

    closeWindow(IDOK);
}
