#include "files/GraphFile.h"

#include "files/FileIO.h"
#include "files/RecordCheck.h"
#include "files/SafeWriter.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
// The record the descriptor delivers, read as a file is: a prefix of at most
// what a record can need, and the rest only counted (from `knownSize` when
// the size is known, else by reading on).
bool readRecordFrom(int fd, std::size_t knownSize, const std::string& prefix, GraphRecord& out,
    std::string& error, std::vector<std::string>* repairs)
{
    // Read into a buffer of its own: nothing of a file that is refused, and
    // nothing of the previous graph, may end up in the caller's record.
    std::vector<std::uint8_t> bytes(kMostRecordFileBytes);
    const ssize_t got = readFully(fd, bytes.data(), bytes.size());
    if (got < 0) {
        error = prefix + systemReason(errno);
        return false;
    }
    std::size_t size = static_cast<std::size_t>(got);
    if (size == bytes.size()) {
        std::uint8_t chunk[65536];
        if (knownSize > 0)
            size = std::max(size, knownSize);
        else
            for (ssize_t n; (n = readFully(fd, chunk, sizeof chunk)) > 0;)
                size += static_cast<std::size_t>(n);
    }
    GraphRecord rec;
    std::vector<std::string> notes;
    const std::string reason = recordFromBytes(bytes.data(), size, rec, notes);
    if (!reason.empty()) {
        error = prefix + reason + ".";
        return false;
    }
    if (repairs)
        *repairs = std::move(notes);
    out = rec;
    error.clear();
    return true;
}
} // namespace

bool readGraphFile(
    const std::string& path, GraphRecord& out, std::string& error, std::vector<std::string>* repairs)
{
    const std::string prefix = "Cannot open " + quoted(path) + ": ";
    // Non-blocking so that a named pipe cannot hang the program at open; it is
    // refused below as not a regular file anyway.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0) {
        error = prefix + systemReason(errno);
        return false;
    }
    struct stat st;
    if (::fstat(fd.get(), &st) != 0) {
        error = prefix + systemReason(errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        error = prefix + systemReason(EISDIR);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = prefix + "it is not a regular file";
        return false;
    }
    return readRecordFrom(fd.get(), static_cast<std::size_t>(st.st_size), prefix, out, error, repairs);
}

bool readGraphStream(
    int fd, const std::string& name, GraphRecord& out, std::string& error, std::vector<std::string>* repairs)
{
    return readRecordFrom(fd, 0, name + ": ", out, error, repairs);
}

bool writeGraphFile(const std::string& path, const GraphRecord& rec, std::string& error)
{
    // What we write passes our strictest check, so it always opens again.
    std::string reason = checkRecord(rec);
    if (!reason.empty())
        reason = "the graph would not open again: " + reason;
    else
        reason = writeFileSafely(path, rec.bytes.data(), rec.bytes.size(), { .keepTail = true });
    error = reason.empty() ? std::string() : "Cannot save " + quoted(path) + ": " + reason;
    return reason.empty();
}
