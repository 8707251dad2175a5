#pragma once
// The desktop's own list of recently used files (shared by every program's
// file chooser and the desktop's recent lists). Nothing of ours is stored.

#include <string>

// Adds a graph file that was just opened or saved, with the graph file type.
void addRecentGraphFile(const std::string& path);
