// The Edit menu: Undo and Redo through the history of the graph, and Cut,
// Copy and Paste of the graph. An entry box keeps its own Cut and Copy while
// text is selected in it, and takes a single pasted value; otherwise the
// commands act on the graph, wherever the focus is.

#include "document/GraphDocument.h"
#include "drawing/RenderFile.h"
#include "files/PointRows.h"
#include "framework/Accessible.h"
#include "framework/Clipboard.h"
#include "framework/MessageBox.h"
#include "framework/UserLocale.h"
#include "resources/CommandIds.h"
#include "ui/Refusal.h"
#include "ui/TWndw.h"
#include "ui/commands/CommandTable.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include <wx/accel.h>
#include <wx/panel.h>
#include <wx/textctrl.h>

namespace {
// The entry box that has the focus, if any.
wxTextCtrl* focusedBox(const TWndw& w)
{
    auto* box = dynamic_cast<wxTextCtrl*>(wxWindow::FindFocus());
    return box && box->GetParent() == w.client() ? box : nullptr;
}

wxTextCtrl* boxWithSelection(const TWndw& w)
{
    wxTextCtrl* box = focusedBox(w);
    long from = 0, to = 0;
    if (box)
        box->GetSelection(&from, &to);
    return box && from != to ? box : nullptr;
}

// The figure at twice the screen's scale, the same picture as SVG, and the
// current curve's points. The pictures are drawn when a program asks for
// them, from the graph as it was copied.
bool copyGraph(TWndw& w)
{
    RenderLayout layout;
    layout.figure = true;
    // Twice the screen's pixels, with the resolution recorded: a report
    // places it at the graph's size and prints it sharp.
    layout.scale = std::clamp(
        2 * static_cast<int>(std::lround(w.client()->GetContentScaleFactor())), 1, kMaxRenderScale);
    auto copied = std::make_shared<const GraphDocument>(doc);
    auto picture = [copied, layout](PictureFormat format) {
        return [copied, layout, format] {
            std::string bytes, error;
            renderPicture(*copied, layout, format, bytes, error);
            return bytes;
        };
    };
    if (!setClipboard({ { "image/png", {}, picture(PictureFormat::png) },
            { "image/svg+xml", {}, picture(PictureFormat::svg) },
            { "text/plain", curveRows(doc, doc.currentCurve, userDecimalPoint()) } })) {
        w.messageBox("The graph could not be copied: the desktop's clipboard refused it.", "Copy Error",
            MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}
} // namespace

void TWndw::cmUndo() { editSession.undo(); }

void TWndw::cmRedo() { editSession.redo(); }

bool TWndw::canUndo() const { return editSession.canUndo(); }

bool TWndw::canRedo() const { return editSession.canRedo(); }

void TWndw::cmCopy()
{
    if (wxTextCtrl* box = boxWithSelection(*this))
        box->Copy();
    else
        copyGraph(*this);
}

void TWndw::cmCut()
{
    if (wxTextCtrl* box = boxWithSelection(*this)) {
        box->Cut();
        return;
    }
    const int c = doc.currentCurve;
    if (doc.pointCount[c] <= 0 || !copyGraph(*this))
        return;
    doc.pointCount[c] = 0;
}

void TWndw::cmPaste()
{
    const std::optional<std::string> text = clipboardText();
    wxTextCtrl* box = focusedBox(*this);
    if (text && isSingleValue(*text) && box) {
        // As the box's own Paste would, without a line break around it.
        const std::string value = text->substr(text->find_first_not_of(" \t\r\n"));
        box->WriteText(wxString::FromUTF8(value.substr(0, value.find_last_not_of(" \t\r\n") + 1)));
        return;
    }
    pasteClipboardRows(this);
}

void TWndw::pasteClipboardRows(wxWindow* messageOwner)
{
    // A table copied from a web page or a spreadsheet that offers no text.
    std::optional<std::string> text = clipboardText();
    if (!text) {
        const std::vector<std::string> types = clipboardTypes();
        if (std::find(types.begin(), types.end(), "text/html") != types.end())
            if (std::string rows = htmlTableRows(clipboardData("text/html")); !rows.empty())
                text = std::move(rows);
    }
    if (!text) {
        showRefusal(messageOwner, { kNoRowsToPaste, "Data Error" });
        return;
    }
    PasteOutcome outcome = pasteRows(doc, *text);
    if (!outcome.ok) {
        if (outcome.row > 0)
            outcome.why.text += "\nNothing was pasted.";
        showRefusal(messageOwner, outcome.why);
    } else
        announce("Pasted " + std::to_string(outcome.added) + (outcome.added == 1 ? " point" : " points"));
}

bool TWndw::canCut() const
{
    return boxWithSelection(*this) != nullptr || doc.pointCount[doc.currentCurve] > 0;
}

void TWndw::onCharHook(wxKeyEvent& event)
{
    // The shortcuts of the command table, taken before the box that has the
    // focus sees them: it would take Ctrl+C and Ctrl+X for itself even with
    // nothing selected, and the graph could never be copied from the
    // keyboard. With text selected, Cut and Copy are the box's own.
    static const std::vector<std::pair<const Command*, wxAcceleratorEntry>> keys = [] {
        std::vector<std::pair<const Command*, wxAcceleratorEntry>> all;
        for (const Command& command : commandTable())
            for (const char* text : { command.shortcut, command.otherShortcut })
                if (wxAcceleratorEntry accel; text && accel.FromString(text))
                    all.emplace_back(&command, accel);
        return all;
    }();
    for (const auto& [command, accel] : keys) {
        if (accel.GetKeyCode() != event.GetKeyCode() || accel.GetFlags() != event.GetModifiers())
            continue;
        const bool boxesOwn
            = (command->id == CM_EDITCUT || command->id == CM_EDITCOPY) && boxWithSelection(*this);
        if (!boxesOwn && (!command->enabler || (this->*command->enabler)())) {
            runCommand(command->id);
            return;
        }
        break;
    }
    event.Skip();
}
