#include "files/GraphFile.h"

#include "files/RecordCheck.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

std::string systemReason(int err) { return std::strerror(err); }

// Closes a descriptor when it goes out of scope, so every early return below
// releases what it opened.
class Fd {
public:
    explicit Fd(int fd = -1)
        : fd_(fd)
    {
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { reset(); }
    int get() const { return fd_; }
    void reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    // Closes now and reports the result: for a file just written, close is
    // where some file systems first report that the data did not fit.
    int close()
    {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

private:
    int fd_;
};

// Reads until `size` bytes or the end of the file. Returns the count read, or
// -1 with errno set.
ssize_t readFully(int fd, std::uint8_t* data, std::size_t size)
{
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, data + got, size - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(got);
}

bool writeFully(int fd, const std::uint8_t* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links to the file they finally name, which need not exist
// yet (a dangling link gets its file created). Saving through a link must
// replace that file, not the link.
bool followLinks(const std::string& path, std::string& target, int& err)
{
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true; // anything wrong with the path itself shows up later
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0) {
            err = errno;
            return false;
        }
        if (static_cast<std::size_t>(n) >= link.size()) {
            err = ENAMETOOLONG; // the link changed while it was read
            return false;
        }
        link.resize(static_cast<std::size_t>(n));
        target = link.front() == '/' ? link : folderOf(target) + "/" + link;
    }
    err = ELOOP;
    return false;
}

std::string temporaryName(const std::string& folder, const std::string& name)
{
    static std::mt19937_64 random { std::random_device {}() };
    static const char digits[] = "0123456789abcdef";
    std::string suffix;
    for (std::uint64_t r = random(), i = 0; i < 12; ++i, r >>= 4)
        suffix += digits[r & 15];
    // Cut so that even a name at the file system's length limit leaves room
    // for the dot, the suffix and the extension.
    return folder + "/." + name.substr(0, 100) + "." + suffix + ".tmp";
}

} // namespace

bool readGraphFile(const std::string& path, GraphRecord& out, std::string& error)
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

    // Read into a record of its own: nothing of a file that is refused, and
    // nothing of the previous graph, may end up in the caller's record.
    GraphRecord rec;
    const ssize_t got = readFully(fd.get(), rec.bytes.data(), rec.bytes.size());
    if (got < 0) {
        error = prefix + systemReason(errno);
        return false;
    }
    if (static_cast<std::size_t>(got) < kGraphRecordSize) {
        error = prefix + "it holds " + std::to_string(got) + " bytes, but a graph file holds "
            + std::to_string(kGraphRecordSize);
        return false;
    }
    const std::string reason = checkRecord(rec);
    if (!reason.empty()) {
        error = prefix + "it is not a usable graph file: " + reason + ".";
        return false;
    }
    out = rec;
    error.clear();
    return true;
}

namespace {
// Writes the record over the start of an existing file, keeping its owner,
// its other names and every byte past the record.
template <typename Fail> bool writeInPlace(const std::string& target, const GraphRecord& rec, Fail& fail)
{
    Fd fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0)
        return fail(systemReason(errno));
    if (!writeFully(fd.get(), rec.bytes.data(), rec.bytes.size()) || ::fsync(fd.get()) != 0)
        return fail(systemReason(errno));
    if (fd.close() != 0)
        return fail(systemReason(errno));
    return true;
}
} // namespace

bool writeGraphFile(const std::string& path, const GraphRecord& rec, std::string& error)
{
    const std::string prefix = "Cannot save " + quoted(path) + ": ";
    auto fail = [&](const std::string& reason) {
        error = prefix + reason;
        return false;
    };

    std::string target;
    int err = 0;
    if (!followLinks(path, target, err))
        return fail(systemReason(err));

    const std::string name = nameOf(target);
    if (name.empty())
        return fail(systemReason(EISDIR));
    const std::string folder = folderOf(target);

    struct stat old {};
    bool exists = true;
    if (::stat(target.c_str(), &old) != 0) {
        if (errno != ENOENT)
            return fail(systemReason(errno));
        exists = false;
    }
    if (exists && S_ISDIR(old.st_mode))
        return fail(systemReason(EISDIR));
    // Renaming over a device or a pipe would replace the node itself.
    if (exists && !S_ISREG(old.st_mode))
        return fail("it is not a regular file");

    // A file the user may not write stays as it is, even where the folder
    // would let a new file be renamed over it.
    if (exists && ::access(target.c_str(), W_OK) != 0)
        return fail(systemReason(errno));

    // The old file's bytes beyond the record are kept, so open it before
    // anything is created: if it cannot be read, nothing has been touched.
    Fd oldFd;
    if (exists && old.st_size > static_cast<off_t>(kGraphRecordSize)) {
        oldFd.reset(::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
        if (oldFd.get() < 0)
            return fail("its contents beyond the graph cannot be read to keep them: " + systemReason(errno));
    }

    // 0666 is filtered by the umask, as for any ordinary new file.
    std::string tempPath;
    Fd temp;
    for (int attempt = 0; attempt < 100 && temp.get() < 0; ++attempt) {
        tempPath = temporaryName(folder, name);
        temp.reset(::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
        if (temp.get() < 0 && errno != EEXIST)
            break;
    }
    if (temp.get() < 0)
        return fail("no file can be created in the folder " + quoted(folder) + ": " + systemReason(errno));

    auto failAndRemove = [&](int code, const std::string& what) {
        temp.reset();
        ::unlink(tempPath.c_str());
        return fail(what + systemReason(code));
    };

    if (exists) {
        // A replacement would give another user's file our ownership, or
        // split a file with several names into two: such a file is written
        // where it stands instead, as any editor of a shared file would.
        if (old.st_nlink > 1 || ::fchown(temp.get(), old.st_uid, old.st_gid) != 0) {
            temp.reset();
            ::unlink(tempPath.c_str());
            if (!writeInPlace(target, rec, fail))
                return false;
            error.clear();
            return true;
        }
        // The permission bits are set after the owner, since a change of
        // owner clears the set-id bits.
        if (::fchmod(temp.get(), old.st_mode & 07777) != 0)
            return failAndRemove(errno, "its permissions cannot be kept: ");
    }

    if (!writeFully(temp.get(), rec.bytes.data(), rec.bytes.size()))
        return failAndRemove(errno, "");

    if (oldFd.get() >= 0) {
        std::uint8_t chunk[65536];
        off_t offset = static_cast<off_t>(kGraphRecordSize);
        for (;;) {
            const ssize_t n = ::pread(oldFd.get(), chunk, sizeof chunk, offset);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return failAndRemove(errno, "its contents beyond the graph cannot be read to keep them: ");
            }
            if (n == 0)
                break;
            if (!writeFully(temp.get(), chunk, static_cast<std::size_t>(n)))
                return failAndRemove(errno, "");
            offset += n;
        }
    }

    if (::fsync(temp.get()) != 0)
        return failAndRemove(errno, "");
    if (temp.close() != 0) {
        const int code = errno;
        ::unlink(tempPath.c_str());
        return fail(systemReason(code));
    }
    if (::rename(tempPath.c_str(), target.c_str()) != 0) {
        const int code = errno;
        ::unlink(tempPath.c_str());
        return fail(systemReason(code));
    }

    // Make the rename itself durable. The new file is in place whatever this
    // reports, so a failure here is not a failed save.
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());

    error.clear();
    return true;
}
