#pragma once
// Undo and Redo by snapshots. A graph is small (a save writes under 10 KB),
// so each step keeps the whole graph as it was rather than an undo action of
// its own, and no command needs to know about the history.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

struct GraphSnapshot {
    // What a save would write.
    std::vector<std::uint8_t> stored;
    // What the user sees that no file keeps.
    int showErrorBars = 0;
    std::uint8_t placingCaption = 0;
    // The file the graph belongs to: New Graph starts one that has none, and
    // its Undo gives the old graph back with its file.
    std::string fileName;
    // Brought back with the graph, so Undo shows the curve it changed, but
    // never compared: choosing a curve is no change.
    int currentCurve = 0;

    bool sameGraph(const GraphSnapshot& other) const
    {
        return stored == other.stored && showErrorBars == other.showErrorBars
            && placingCaption == other.placingCaption && fileName == other.fileName;
    }
};

class EditHistory {
public:
    static constexpr std::size_t kSteps = 1000;

    // A graph opened (or the program's first): nothing to undo or redo, and
    // this is the graph on disk.
    void reset(const GraphSnapshot& current);
    // The graph was written to disk as it is now. Saved under another name,
    // the steps of the same graph follow it there, so undoing one never
    // points Save back at the file it was saved from.
    void markSaved(const GraphSnapshot& current, const std::string& previousFileName);
    // One change called `name`, from `before` to the graph as it is now.
    // Nothing is kept when the graph did not change; otherwise what could be
    // redone is gone.
    void record(GraphSnapshot before, const GraphSnapshot& now, const std::string& name);

    bool canUndo() const { return !undoSteps.empty(); }
    bool canRedo() const { return !redoSteps.empty(); }
    // The name of the step Undo or Redo would take ("" when there is none).
    std::string undoName() const { return canUndo() ? undoSteps.back().name : std::string(); }
    std::string redoName() const { return canRedo() ? redoSteps.back().name : std::string(); }
    // The graph to bring back; `now` is kept for the way back. Only when
    // canUndo() / canRedo().
    GraphSnapshot undo(GraphSnapshot now);
    GraphSnapshot redo(GraphSnapshot now);

    // Whether this graph differs from the one last opened or saved, or
    // belongs to another file.
    bool isChanged(const GraphSnapshot& current) const;

private:
    struct Step {
        GraphSnapshot graph;
        std::string name;
    };
    std::deque<Step> undoSteps, redoSteps;
    GraphSnapshot saved;
};
