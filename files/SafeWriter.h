#pragma once
// The one way Plotwell writes a file: graph files, pictures, thumbnails.
// The new contents go to a temporary file in the target's folder, are
// flushed to disk and renamed over the target, so a failure at any point
// leaves the old file as it was. A replaced file keeps its owner, group,
// permission bits, access list and extended attributes (a new one gets 0666
// less the umask); a symbolic link is followed and stays a link. A file that
// cannot be replaced so (it has other names, its owner or access list could
// not be kept, the folder takes no new file, the disk is full) is written
// where it stands, with its old bytes held and put back on any failure.

#include <cstdint>
#include <string>

struct SafeWrite {
    // Bytes an existing file has beyond the new contents are kept behind
    // them, so it never gets shorter (what a graph file may carry after its
    // record), and writing where it stands never reaches past its old end.
    bool keepTail = false;
    // Write into the file where it stands rather than replacing it: the
    // program that asked for it (a file manager's thumbnail service) may
    // already hold it open.
    bool inPlace = false;
};

// Empty on success, otherwise the reason in plain words (the caller names
// the file); no temporary file is left behind either way.
std::string writeFileSafely(
    const std::string& path, const std::uint8_t* data, std::size_t size, SafeWrite how = {});
