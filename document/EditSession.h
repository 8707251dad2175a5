#pragma once
// The one way the graph changes. Every input that can change it (a menu
// command, a button, Enter in a box, a click, a paste, a dialog's OK) runs
// through edit(), which makes it one step of Undo; whether the graph is
// unsaved follows from the history, never from a flag a handler sets. Views
// of the document (the window, and whatever else shows the graph) listen to
// one signal and are told of a change no other way.

#include "document/EditHistory.h"
#include "document/GraphDocument.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class EditSession {
public:
    // How a graph is kept for Undo and put back (what a save would store,
    // plus what the user sees that no file keeps).
    using TakeSnapshot = GraphSnapshot (*)(const GraphDocument&);
    using RestoreSnapshot = void (*)(const GraphSnapshot&, GraphDocument&);
    EditSession(GraphDocument& d, TakeSnapshot take, RestoreSnapshot restore);

    GraphDocument& document() const { return d; }

    // Runs `change` as one step of Undo called `name`. A change run inside
    // another is part of that one; one that alters nothing Undo keeps is no
    // step. The listeners are told once the outermost change has ended.
    void edit(const std::string& name, const std::function<void()>& change);
    // Inside a change: the user abandoned it (Cancel in New Graph). When the
    // change ends, the graph is put back as it was when it began, and no
    // step is kept.
    void cancel();

    bool canUndo() const { return history.canUndo(); }
    bool canRedo() const { return history.canRedo(); }
    std::string undoName() const { return history.undoName(); }
    std::string redoName() const { return history.redoName(); }
    void undo();
    void redo();

    // A graph read from disk, or the program's first: nothing to undo or
    // redo, nothing unsaved.
    void opened();
    // The graph as it is now is on disk, in the document's fileName; it was
    // in `previousFileName` (empty for a graph that had no file).
    void saved(const std::string& previousFileName);
    // The graph differs from the one last opened or saved, or belongs to
    // another file.
    bool isDirty() const;

    // Called after every change, Undo, Redo, open and save, until the
    // number it returns is forgotten (a view that closes).
    int onChanged(std::function<void()> listener);
    void forget(int listener);

private:
    void changed();

    GraphDocument& d;
    TakeSnapshot take;
    RestoreSnapshot restore;
    EditHistory history;
    std::vector<std::pair<int, std::function<void()>>> listeners;
    int lastListener = 0;
    int depth = 0;
    bool cancelled = false;
    // A file was opened or saved inside the change: the history starts from
    // there, and the change is no step.
    bool restarted = false;
};
