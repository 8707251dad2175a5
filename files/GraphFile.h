#pragma once
// Moving a graph record between memory and a file without ever losing data:
// a read either delivers a whole, checked record or nothing; a write either
// replaces the file completely or leaves it exactly as it was.

#include "files/GraphRecord.h"

#include <string>
#include <vector>

// Reads the graph in the file at `path` as recordFromBytes takes it: a
// damaged or old record repaired, one plain sentence per repair in
// `repairs` (none for a file that needed nothing). On success `out` holds
// the record and `error` is emptied. On failure - the file cannot be opened
// or read, is not a regular file, or holds no graph - `out` is untouched and
// `error` names the file and the reason.
bool readGraphFile(const std::string& path, GraphRecord& out, std::string& error,
    std::vector<std::string>* repairs = nullptr);
// The same from an open descriptor that may be a pipe (standard input);
// `name` is what the messages call it.
bool readGraphStream(int fd, const std::string& name, GraphRecord& out, std::string& error,
    std::vector<std::string>* repairs = nullptr);

// Writes the record at the start of the file at `path` through the one safe
// writer (SafeWriter.h), keeping any bytes the file had beyond the record,
// so it never gets shorter. A record that fails the strict check is refused
// before anything is written: what is saved always opens again. On failure
// `error` names the file and the reason.
bool writeGraphFile(const std::string& path, const GraphRecord& rec, std::string& error);
