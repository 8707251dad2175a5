// File menu: Open, Save and Save As. A file is only ever read whole and
// checked before anything reaches the document, and only ever replaced whole,
// so a failure leaves both the graph on screen and the file on disk as they
// were.

#include "document/GraphDocument.h"
#include "document/TextHelpers.h"
#include "files/FilePaths.h"
#include "files/GraphFile.h"
#include "files/GraphRecord.h"
#include "files/RecordCheck.h"
#include "framework/FileDialogs.h"
#include "framework/MessageBox.h"
#include "framework/RecentFiles.h"
#include "resources/CommandIds.h"
#include "ui/TWndw.h"

#include <memory>
#include <string>
#include <vector>
#include <wx/panel.h>

namespace {
constexpr const char* openFilter = "Graph Files(*.gd2)|*.gd2|All Files(*.*)|*.*|Text Files(*.txt)|*.txt|";
constexpr const char* saveFilter = "Graph Files(*.gd2)|*.gd2|Text Files(*.txt)|*.txt|All Files (*.*)|*.*|";

TOpenSaveDialog::TData dialogData(unsigned long flags, const char* filter)
{
    TOpenSaveDialog::TData data;
    data.flags = flags;
    data.filter = filter;
    data.filterIndex = 1;
    data.defaultExtension = "*";
    return data;
}

// Packs the document and writes it, and then the graph is the one in `path`.
// The name becomes current only once the graph is really in it: on failure
// this says why and leaves the file, `dirty` and the file name alone, so
// Save still points at the file that holds the graph.
bool saveTo(TWndw& w, const std::string& path)
{
    packRecord();
    std::string error;
    if (!writeGraphFile(path, graphRecord, error)) {
        w.messageBox(error, "Save Error", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const std::string previous = doc.fileName;
    doc.fileName = path;
    w.stampFile(path);
    w.session().saved(previous);
    addRecentGraphFile(path);
    return true;
}
} // namespace

void TWndw::cmOpen()
{
    if (!mayDiscardChanges())
        return;
    auto data = dialogData(OFN_FILEMUSTEXIST, openFilter);
    if (TFileOpenDialog(this, data).Execute())
        openFile(data.fileName);
}

bool TWndw::openFile(const std::string& path)
{
    GraphRecord read;
    std::string error;
    std::vector<std::string> repairs;
    if (!readGraphFile(path, read, error, &repairs)) {
        messageBox(error, "Open Error", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    graphRecord = read;
    doc.fileName = path;
    stampFile(path);
    addRecentGraphFile(path);
    unpackRecordDocument();
    // The options read are 0 or 1, and a graph with error bars opens
    // showing them; bars the user had on stay on.
    const int errorBars = doc.showErrorBars;
    settleReadOptions(doc);
    doc.showErrorBars = errorBars || doc.percentError > 0;
    session().opened();
    // Said once, over the graph it speaks of; the repaired graph is not a
    // change of the user's, so it does not count as unsaved.
    if (!repairs.empty()) {
        client()->Update();
        messageBox("The graph in \"" + path + "\" was repaired as it was opened:\n\n"
                + repairSummary(repairs, "\n") + "\n\nSaving writes the repaired graph.",
            "Graph Repaired", MB_OK | MB_ICONINFORMATION);
    }
    return true;
}

void TWndw::cmSave()
{
    // A graph that has no file yet is given one, as Save As would.
    if (doc.fileName.empty()) {
        cmSaveAs();
        return;
    }
    // Another program (or another window) saved the file since: its version
    // is replaced only when the user says so.
    if (fileChangedOnDisk()
        && messageBox(doc.fileName
                   + " has been changed by another program since it was opened. Replace it with this "
                     "graph?",
               "File Changed", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)
            != IDYES)
        return;
    saveTo(*this, doc.fileName);
}

void TWndw::stampFile(const std::string& path)
{
    FileStamp now;
    stampedPath = path;
    stamp = fileStampOf(path, now) ? std::make_unique<FileStamp>(now) : nullptr;
}

bool TWndw::fileChangedOnDisk() const
{
    FileStamp now;
    return stamp && stampedPath == doc.fileName && fileStampOf(doc.fileName, now) && now != *stamp;
}

void TWndw::cmSaveAs()
{
    auto data = dialogData(OFN_OVERWRITEPROMPT, saveFilter);
    // "sales" is saved as "sales.gd2", which Open's graph filter lists.
    data.defaultExtension = "gd2";
    if (TFileSaveDialog(this, data).Execute())
        saveTo(*this, data.fileName);
}
