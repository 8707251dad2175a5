#include "document/EditHistory.h"

#include <utility>

void EditHistory::reset(const GraphSnapshot& current)
{
    undoSteps.clear();
    redoSteps.clear();
    saved = current;
}

void EditHistory::markSaved(const GraphSnapshot& current, const std::string& previousFileName)
{
    saved = current;
    if (current.fileName == previousFileName)
        return;
    // Outwards from now, up to a step that began or left another graph (a
    // New Graph).
    const auto rename = [&](auto from, auto to) {
        for (auto step = from; step != to && step->graph.fileName == previousFileName; ++step)
            step->graph.fileName = current.fileName;
    };
    rename(undoSteps.rbegin(), undoSteps.rend());
    rename(redoSteps.rbegin(), redoSteps.rend());
}

void EditHistory::record(GraphSnapshot before, const GraphSnapshot& now, const std::string& name)
{
    if (before.sameGraph(now))
        return;
    redoSteps.clear();
    undoSteps.push_back({ std::move(before), name });
    if (undoSteps.size() > kSteps)
        undoSteps.pop_front();
}

GraphSnapshot EditHistory::undo(GraphSnapshot now)
{
    Step back = std::move(undoSteps.back());
    undoSteps.pop_back();
    redoSteps.push_back({ std::move(now), back.name });
    return std::move(back.graph);
}

GraphSnapshot EditHistory::redo(GraphSnapshot now)
{
    Step again = std::move(redoSteps.back());
    redoSteps.pop_back();
    undoSteps.push_back({ std::move(now), again.name });
    return std::move(again.graph);
}

bool EditHistory::isChanged(const GraphSnapshot& current) const
{
    return current.stored != saved.stored || current.fileName != saved.fileName;
}
