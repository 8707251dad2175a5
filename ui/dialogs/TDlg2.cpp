#include "ui/dialogs/TDlg2.h"

#include "document/GraphDocument.h"
#include "document/GraphRules.h"
#include "document/TextHelpers.h"
#include "framework/MessageBox.h"
#include "ui/dialogs/DialogText.h"

#include <string>

namespace {
enum : int {
    IDC_PROMPT = 101,
    IDC_NUMBER = 102,
    IDC_LABELTEXT = 103,
};

constexpr std::size_t kLabelChars = 11;
} // namespace

TDlg2::TDlg2(wxWindow* parent, int target, int templateNumber)
    : TDialog(parent, templateNumber)
    , labelTarget(target)
{
    SetTitle("Labels for X-Axiz");
    doc.xLabelCount = 0;
}

void TDlg2::setupWindow()
{
    setText(IDC_NUMBER, "1");
    setText(IDC_PROMPT, "Enter the first X-Axis Label");
}

void TDlg2::cmOk()
{
    const std::string label(leadingChars(text(IDC_LABELTEXT), kLabelChars));
    if (!isLabelText(label)) {
        messageBox(kLabelCharacterProblem, "Illegal Character", MB_OK);
        return;
    }
    // Only reachable if the prompt is run without labels asked for.
    if (doc.xLabelCount >= kMaxLabels) {
        closeWindow(IDOK);
        return;
    }

    storeText(doc.xLabels[doc.xLabelCount], label);
    ++doc.xLabelCount;
    setText(IDC_PROMPT, "Enter the next X-Axis Label");
    setText(IDC_NUMBER, std::to_string(doc.xLabelCount + 1));
    if (doc.xLabelCount == labelTarget)
        closeWindow(IDOK);
    // Runs after the last label too: closing only ends the modal run.
    setText(IDC_LABELTEXT, "");
    doc.labelsEntered = 1;
}
