#include "ui/dialogs/TDlg1.h"

#include "document/GraphDocument.h"
#include "document/GraphRules.h"
#include "document/TextHelpers.h"
#include "files/GraphRecord.h"
#include "framework/MessageBox.h"
#include "ui/dialogs/DialogText.h"

#include <string>

namespace {
enum : int {
    IDC_LABELCOUNT = 101,
    IDC_TITLE = 104,
    IDC_CONNECT = 105,
    IDC_DIVISIONS = 107,
    IDC_LARGE = 108,
    IDC_LABEL = 109,
    IDC_ERRORBARS = 110,
};

// The number boxes are read as a 12-byte buffer would hold them.
constexpr std::size_t kNumberChars = 11;
// All of the title the graph file keeps.
} // namespace

TDlg1::TDlg1(wxWindow* parent, int& target, int templateNumber)
    : TDialog(parent, templateNumber)
    , labelTarget(target)
{
}

void TDlg1::cmOk()
{
    // An empty box is 0; a text that is not a number is refused before
    // anything is stored.
    const std::string typedCount(leadingChars(text(IDC_LABELCOUNT), kNumberChars));
    const std::string typedDivisions(leadingChars(text(IDC_DIVISIONS), kNumberChars));
    int count = 0, divisions = 0;
    if (!typedCount.empty() && !wholeNumberOf(typedCount, count)) {
        messageBox(labelCountProblem(-1), "Number Error", MB_OK);
        return;
    }
    if (!typedDivisions.empty() && !wholeNumberOf(typedDivisions, divisions)) {
        messageBox("Divisions per Label must be a number", "Number Error", MB_OK);
        return;
    }
    // Everything read is stored before it is checked: a refused OK leaves
    // the document holding what was typed.
    doc.divisionsPerLabel = divisions;
    storeText(doc.title, leadingChars(text(IDC_TITLE), RecordLayout::titleChars));
    labelTarget = count;

    if (const std::string problem = labelCountProblem(labelTarget); !problem.empty()) {
        messageBox(problem, "Number Error", MB_OK);
        return;
    }
    // The X axis is drawn in steps of labelSpacing / divisionsPerLabel
    // pixels, which must be at least one.
    if (const std::string problem = divisionsProblem(labelTarget, doc.divisionsPerLabel); !problem.empty()) {
        messageBox(problem, "Number Error", MB_OK);
        return;
    }

    doc.connectPoints = checked(IDC_CONNECT) ? 1 : 0;
    doc.largePoints = checked(IDC_LARGE) ? 1 : 0;
    doc.labelPoints = checked(IDC_LABEL) ? 1 : 0;
    doc.showErrorBars = checked(IDC_ERRORBARS) ? 1 : 0;
    closeWindow(IDOK);
}
