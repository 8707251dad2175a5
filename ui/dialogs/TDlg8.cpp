#include "ui/dialogs/TDlg8.h"

#include "document/AxisEdits.h"

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

} // namespace

TDlg8::TDlg8(wxWindow* parent, int& extra, int templateNumber)
    : TDialog(parent, templateNumber)
    , extraLabels(extra)
{
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
    const int extra = std::clamp(
        whole, static_cast<int>(-PlotArea::coordinateBound), static_cast<int>(PlotArea::coordinateBound));
    if (const AxisProblem p = XAxisExtension { extra }.problem(doc); !p.text.empty()) {
        messageBox(p.text, p.caption, MB_OK);
        return;
    }
    extraLabels = extra;
    closeWindow(IDOK);
}
