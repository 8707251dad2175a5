#pragma once
// The recovery copy: the graph a window shows while it differs from what was
// saved, kept in the desktop's state folder so that a program killed, a
// session ended or a machine stopped loses no work. One file per running
// program, named by its process; it goes when the graph is saved, is back
// at what was saved, or the user closes without saving. The user's own
// graph files are never written by it.

#include "document/EditHistory.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Which program wrote a copy: a process of this boot, by its id and the
// time it started (an id alone is used again by later processes).
struct ProcessStamp {
    long pid = 0;
    unsigned long long started = 0;
    std::string boot;
    bool operator==(const ProcessStamp&) const = default;
};
ProcessStamp thisProcess();
// Whether the process that wrote a copy still runs (its window is open).
bool stillRunning(const ProcessStamp& writer);

// $XDG_STATE_HOME/plotwell, or ~/.local/state/plotwell; empty when neither
// can be worked out.
std::string recoveryFolder();
// The copy of the given process in that folder.
std::string recoveryPath(const std::string& folder, const ProcessStamp& writer);

// The copy's bytes, and back. Reading checks the header and puts the record
// through the graph reader's rules; a copy that fails them is refused with
// the reason, never read in part.
std::string recoveryBytes(const GraphSnapshot& graph, const ProcessStamp& writer);
bool readRecoveryBytes(
    std::string_view bytes, GraphSnapshot& graph, ProcessStamp& writer, std::string& error);

struct LeftCopy {
    std::string path;
    GraphSnapshot graph;
    std::int64_t modified = 0; // nanoseconds, for the newest first
};
struct LeftCopies {
    std::vector<LeftCopy> readable; // newest first
    // Copies that fail the reader's rules: path and reason.
    std::vector<std::pair<std::string, std::string>> unreadable;
};
// The copies in `folder` left by programs no longer running; copies of
// windows still open elsewhere are not listed.
LeftCopies leftCopies(const std::string& folder);
// Moves an unreadable copy out of the way, beside itself; where it went.
std::string setAside(const std::string& path);

// The points a copy holds, and the question that offers it back.
int pointsIn(const GraphSnapshot& graph);
std::string restoreQuestion(const GraphSnapshot& graph);
