// Files dropped on the window from a file manager open as File, Open opens
// a chosen file. The entry boxes are drop sites of their own and keep
// taking dropped text; only the panel around them takes files.

#include "framework/MessageBox.h"
#include "ui/TWndw.h"

#include <wx/dnd.h>
#include <wx/panel.h>

namespace {
class TFileDrop : public wxFileDropTarget {
public:
    explicit TFileDrop(TWndw& target)
        : window(target)
    {
    }

    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& names) override
    {
        std::vector<std::string> paths;
        for (const wxString& name : names)
            paths.push_back(name.utf8_string());
        // The drag source waits for this call to return: questions and
        // messages come once the drop is over.
        window.CallAfter([w = &window, paths] { w->openDroppedFiles(paths); });
        return !paths.empty();
    }

private:
    TWndw& window;
};
} // namespace

void TWndw::acceptFileDrops() { panel->SetDropTarget(new TFileDrop(*this)); }

void TWndw::openDroppedFiles(const std::vector<std::string>& paths)
{
    if (paths.empty() || !mayDiscardChanges())
        return;
    if (paths.size() > 1)
        messageBox("Only one graph is shown at a time: the first of the " + std::to_string(paths.size())
                + " files dropped is opened.",
            "Open", MB_OK | MB_ICONINFORMATION);
    openFile(paths.front());
}
