// The recovery copy of the window's graph: kept after every change while
// the graph is unsaved, written before the program is ended from outside,
// and offered back at the next start when a program ended without saving.

#include "document/GraphDocument.h"
#include "files/GraphFile.h"
#include "files/GraphRecord.h"
#include "files/GraphSnapshot.h"
#include "files/RecoveryCopy.h"
#include "files/RecoveryWriter.h"
#include "framework/MessageBox.h"
#include "ui/TWndw.h"

#include <unistd.h>

void TWndw::startRecoveryCopy(const std::string& folder)
{
    recoveryFolderPath = folder;
    if (folder.empty())
        return;
    recovery = std::make_unique<RecoveryWriter>(
        recoveryPath(folder, thisProcess()), [this](const std::string& why) {
            CallAfter([this, why] {
                messageBox("The recovery copy of this graph could not be written (" + why
                        + "). The graph is as it was; save it to keep it safe.",
                    "Recovery Copy", MB_OK | MB_ICONEXCLAMATION);
            });
        });
    editSession.onChanged([this] { keepRecoveryCopy(); });
}

void TWndw::keepRecoveryCopy()
{
    if (!recovery)
        return;
    // Only what is unsaved is kept: a saved graph, or one undone back to what
    // was saved, has nothing to lose.
    if (editSession.isDirty())
        recovery->write(recoveryBytes(takeSnapshot(doc), thisProcess()));
    else
        recovery->remove();
}

void TWndw::writeRecoveryNow()
{
    keepRecoveryCopy();
    if (recovery)
        recovery->flush();
}

void TWndw::dropRecoveryCopy()
{
    if (!recovery)
        return;
    recovery->remove();
    recovery->flush();
}

void TWndw::offerRecoveredGraph()
{
    const LeftCopies left = leftCopies(recoveryFolderPath);
    for (const auto& [path, why] : left.unreadable)
        messageBox("A recovery copy could not be read (" + why
                + "), so it was not opened. It was set aside as \"" + setAside(path) + "\".",
            "Recovery Copy", MB_OK | MB_ICONEXCLAMATION);
    if (left.readable.empty())
        return;
    // The newest only; the others wait for the next start.
    const LeftCopy& newest = left.readable.front();
    if (messageBox(restoreQuestion(newest.graph), "Recover Graph", MB_YESNO | MB_ICONQUESTION) != IDYES) {
        ::unlink(newest.path.c_str());
        return;
    }
    // The file it belongs to as it is on disk now, and the copy as a change
    // of it: unsaved, with Undo going back to the file.
    GraphRecord onDisk;
    std::string error;
    if (!newest.graph.fileName.empty() && readGraphFile(newest.graph.fileName, onDisk, error)) {
        graphRecord = onDisk;
        unpackRecordDocument();
        settleReadOptions(doc);
        doc.fileName = newest.graph.fileName;
        stampFile(doc.fileName);
    }
    editSession.opened();
    editSession.edit("Restore Graph", [&] { restoreSnapshot(newest.graph, doc); });
    // This window's own copy now holds it.
    if (recovery)
        recovery->flush();
    ::unlink(newest.path.c_str());
}
