#include "ui/dialogs/TDlg10.h"

#include "document/GraphDocument.h"
#include "document/TextHelpers.h"
#include "files/GraphRecord.h"
#include "framework/MessageBox.h"
#include "ui/dialogs/DialogText.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {
enum : int {
    IDC_TITLE = 141,
};

// The template numbers its rows in no simple pattern: left column labels 1
// to 10, right column 11 to 20, each a "Label No." text and an edit.
constexpr int rowText[kMaxLabels]
    = { 101, 104, 106, 108, 110, 112, 114, 116, 118, 120, 103, 105, 107, 109, 111, 113, 115, 117, 119, 121 };
constexpr int rowEdit[kMaxLabels]
    = { 102, 123, 125, 127, 129, 131, 133, 135, 137, 139, 122, 124, 126, 128, 130, 132, 134, 136, 138, 140 };

// As a 12-byte buffer holds them; the title as the graph file keeps it.
constexpr std::size_t kLabelChars = 11;

int rowsInUse() { return std::clamp(doc.xLabelCount, 0, kMaxLabels); }
} // namespace

TDlg10::TDlg10(wxWindow* parent, int templateNumber)
    : TDialog(parent, templateNumber)
{
}

void TDlg10::setupWindow()
{
    for (int i = 0; i < kMaxLabels; ++i) {
        show(rowText[i], false);
        show(rowEdit[i], false);
    }
    for (int i = 0; i < rowsInUse(); ++i) {
        if (doc.xLabels[i][0] != 0)
            setText(rowEdit[i], doc.xLabels[i]);
        show(rowText[i], true);
        show(rowEdit[i], true);
    }
    setText(IDC_TITLE, doc.title);
}

void TDlg10::cmOk()
{
    // No character check here: these labels may be anything, unlike the
    // ones first typed for a new graph.
    for (int i = 0; i < rowsInUse(); ++i) {
        const std::string typed(leadingChars(text(rowEdit[i]), kLabelChars));
        // A file may hold a twelfth character the edit cannot show; a row
        // left as it was keeps it.
        const std::string_view stored(doc.xLabels[i], strnlen(doc.xLabels[i], kLabelTextSize));
        if (typed != leadingChars(stored, kLabelChars))
            storeText(doc.xLabels[i], typed);
    }
    storeText(doc.title, leadingChars(text(IDC_TITLE), RecordLayout::titleChars));
    closeWindow(IDOK);
}
