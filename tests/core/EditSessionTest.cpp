// The editing session without a window: what is a step, what Undo and Redo
// bring back and name, when the graph counts as unsaved, and that every
// change is told once.

#include "document/EditSession.h"
#include "files/GraphSnapshot.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {
TEST(EditSession, StepsUndoRedoAndUnsavedFollowTheHistory)
{
    auto d = std::make_unique<GraphDocument>();
    d->fileName = "a.gd2";
    EditSession session(*d, takeSnapshot, restoreSnapshot);
    int told = 0;
    session.onChanged([&] { ++told; });
    const auto addPoint = [&] { session.edit("Add Point", [&] { d->pointCount[0]++; }); };
    const struct {
        const char* what;
        std::function<void()> act;
        int points;
        bool dirty;
        const char *undo, *redo;
        const char* fileName = "a.gd2";
    } steps[] = {
        { "a point", addPoint, 1, true, "Add Point", "" },
        { "a curve chosen: no step", [&] { session.edit("Curve 2", [&] { d->currentCurve = 1; }); }, 1, true,
            "Add Point", "" },
        { "undone: as opened", [&] { session.undo(); }, 0, false, "", "Add Point" },
        { "redone", [&] { session.redo(); }, 1, true, "Add Point", "" },
        { "saved", [&] { session.saved("a.gd2"); }, 1, false, "Add Point", "" },
        { "a cancelled change keeps nothing",
            [&] {
                session.edit("New Graph", [&] {
                    d->pointCount[0] = 0;
                    d->fileName.clear();
                    session.cancel();
                });
            },
            1, false, "Add Point", "" },
        { "a change inside a change is one step",
            [&] {
                session.edit("Paste", [&] {
                    addPoint();
                    addPoint();
                });
            },
            3, true, "Paste", "" },
        { "saved under another name", [&] { d->fileName = "b.gd2", session.saved("a.gd2"); }, 3, false,
            "Paste", "", "b.gd2" },
        { "undone: its file follows", [&] { session.undo(); }, 1, true, "Add Point", "Paste", "b.gd2" },
        { "a new graph", [&] { session.edit("New Graph", [&] { d->fileName.clear(); }); }, 1, true,
            "New Graph", "", "" },
        { "undone: the old file is back", [&] { session.undo(); }, 1, true, "Add Point", "New Graph",
            "b.gd2" },
        { "opened: nothing to undo", [&] { session.opened(); }, 1, false, "", "", "b.gd2" },
    };
    int expectedTold = 0;
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(told, ++expectedTold);
        EXPECT_EQ(d->pointCount[0], s.points);
        EXPECT_EQ(session.isDirty(), s.dirty);
        EXPECT_EQ(session.undoName(), s.undo);
        EXPECT_EQ(session.redoName(), s.redo);
        EXPECT_EQ(d->fileName, s.fileName);
    }
}
} // namespace
