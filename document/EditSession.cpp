#include "document/EditSession.h"

#include <algorithm>
#include <utility>

EditSession::EditSession(GraphDocument& document, TakeSnapshot takeOne, RestoreSnapshot restoreOne)
    : d(document)
    , take(takeOne)
    , restore(restoreOne)
{
    history.reset(take(d));
}

void EditSession::edit(const std::string& name, const std::function<void()>& change)
{
    if (depth > 0) {
        change();
        return;
    }
    const GraphSnapshot before = take(d);
    ++depth;
    cancelled = restarted = false;
    try {
        change();
    } catch (...) {
        --depth;
        throw;
    }
    --depth;
    if (cancelled)
        restore(before, d);
    else if (!restarted)
        history.record(before, take(d), name);
    cancelled = restarted = false;
    changed();
}

void EditSession::cancel()
{
    if (depth > 0)
        cancelled = true;
}

void EditSession::undo()
{
    if (!history.canUndo())
        return;
    restore(history.undo(take(d)), d);
    changed();
}

void EditSession::redo()
{
    if (!history.canRedo())
        return;
    restore(history.redo(take(d)), d);
    changed();
}

void EditSession::opened()
{
    history.reset(take(d));
    restarted = depth > 0;
    if (depth == 0)
        changed();
}

void EditSession::saved(const std::string& previousFileName)
{
    history.markSaved(take(d), previousFileName);
    restarted = depth > 0;
    if (depth == 0)
        changed();
}

bool EditSession::isDirty() const { return history.isChanged(take(d)); }

int EditSession::onChanged(std::function<void()> listener)
{
    listeners.emplace_back(++lastListener, std::move(listener));
    return lastListener;
}

void EditSession::forget(int listener)
{
    std::erase_if(listeners, [listener](const auto& entry) { return entry.first == listener; });
}

void EditSession::changed()
{
    // A listener may make another view go away, which forgets its own.
    const auto all = listeners;
    for (const auto& [id, listener] : all)
        if (std::any_of(
                listeners.begin(), listeners.end(), [id](const auto& entry) { return entry.first == id; }))
            listener();
}
