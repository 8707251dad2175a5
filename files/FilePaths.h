#pragma once
// The names a file is written under: the folder that gets the temporary
// file, and the file a chain of symbolic links finally names.

#include <string>

// The folder part of a path ("." for a bare name, "/" for the root).
std::string folderOf(const std::string& path);

// The last part of a path; empty when the path ends in a slash.
std::string nameOf(const std::string& path);

// Follows symbolic links to the file they finally name, which need not exist
// yet (a dangling link gets its file created). Writing through a link must
// replace that file, not the link. False with `err` set when a link cannot
// be read or the chain does not end.
bool followLinks(const std::string& path, std::string& target, int& err);
