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

// What tells one state of a file from another without reading it: where it
// lies, its size and when it was last written. Another program's save
// changes at least one of them.
struct FileStamp {
    unsigned long long device = 0, inode = 0;
    long long size = 0, modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
// False when the file cannot be reached (it was deleted, say).
bool fileStampOf(const std::string& path, FileStamp& stamp);
