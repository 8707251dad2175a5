#include "document/GraphDocument.h"
#include "document/TextHelpers.h"
#include "files/GraphRecord.h"
#include "framework/MessageBox.h"
#include "ui/dialogs/DialogText.h"
#include "ui/dialogs/TDlg11.h"
#include "ui/dialogs/TDlg9.h"

#include <cstring>
#include <string>

namespace {
enum : int {
    IDC_TITLE = 101,
    // The caption edits are stacked 101, 103, 102 from the top: the ids do
    // not follow the curve order.
    IDC_CAPTION1 = 101,
    IDC_CAPTION2 = 103,
    IDC_CAPTION3 = 102,
};

constexpr int captionEdits[kCurveCount] = { IDC_CAPTION1, IDC_CAPTION2, IDC_CAPTION3 };
// What the graph file keeps of a title.
constexpr std::size_t kCaptionChars = kCaptionSize - 1;

std::string fromSlot(const char* slot, std::size_t size) { return std::string(slot, strnlen(slot, size)); }
} // namespace

void TDlg11::setupWindow() { setText(IDC_TITLE, fromSlot(doc.title, kTitleSize)); }

void TDlg11::cmOk()
{
    storeText(doc.title, leadingChars(text(IDC_TITLE), RecordLayout::titleChars));
    closeWindow(IDOK);
}

void TDlg9::setupWindow()
{
    for (int c = 0; c < kCurveCount; ++c)
        setText(captionEdits[c], fromSlot(doc.captions[c], kCaptionSize));
}

void TDlg9::cmOk()
{
    for (int c = 0; c < kCurveCount; ++c)
        storeText(doc.captions[c], leadingChars(text(captionEdits[c]), kCaptionChars));
    doc.placingCaption = 1;
    closeWindow(IDOK);
}
