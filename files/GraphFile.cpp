#include "files/GraphFile.h"

#include "files/FilePaths.h"
#include "files/RecordCheck.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

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

    // Read into a buffer of its own: nothing of a file that is refused, and
    // nothing of the previous graph, may end up in the caller's record.
    std::vector<std::uint8_t> bytes(kMostRecordFileBytes);
    const ssize_t got = readFully(fd.get(), bytes.data(), bytes.size());
    if (got < 0) {
        error = prefix + systemReason(errno);
        return false;
    }
    // A file longer than anything a record explains is only counted.
    const std::size_t size = static_cast<std::size_t>(got) < bytes.size()
        ? static_cast<std::size_t>(got)
        : std::max<std::size_t>(static_cast<std::size_t>(got), static_cast<std::size_t>(st.st_size));
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

namespace {
// Where a save may not replace the file by a new one, it writes the record
// over the old one's first bytes. It holds those bytes first, writes only
// where bytes already are (so a full disk cannot cut the file short), and
// puts them back if the write fails.
bool writeInPlace(const std::string& target, const struct stat& old, const GraphRecord& rec,
    const std::string& whyNotReplaced, std::string& reason)
{
    if (old.st_size < static_cast<off_t>(kGraphRecordSize)) {
        reason = whyNotReplaced + ", and the file is too short to be written where it stands";
        return false;
    }
    Fd fd(::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        reason = whyNotReplaced + ", and the file cannot be written where it stands: " + systemReason(errno);
        return false;
    }
    GraphRecord held;
    const ssize_t got = readFully(fd.get(), held.bytes.data(), held.bytes.size());
    if (got != static_cast<ssize_t>(held.bytes.size())) {
        reason = whyNotReplaced + ", and the file's old contents cannot be read to keep them safe: "
            + systemReason(got < 0 ? errno : EIO);
        return false;
    }
    auto writeAt0 = [&](const GraphRecord& r) {
        return ::lseek(fd.get(), 0, SEEK_SET) == 0 && writeFully(fd.get(), r.bytes.data(), r.bytes.size())
            && ::fsync(fd.get()) == 0;
    };
    if (writeAt0(rec) && fd.close() == 0)
        return true;
    const int code = errno;
    reason = systemReason(code);
    if (fd.get() < 0)
        fd.reset(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    if (fd.get() >= 0 && writeAt0(held) && fd.close() == 0)
        reason += "; the file was put back as it was";
    else
        reason += "; the file could not be put back as it was: " + systemReason(errno);
    return false;
}

// Copies the extended attributes, access lists among them, of the file at
// `from` to the new file. Attributes the user may not set are left behind,
// except an access list: without it the new file would let other people in
// or out, so the copy fails and the save writes in place instead.
bool copyAttributes(const std::string& from, int to)
{
    ssize_t size = ::listxattr(from.c_str(), nullptr, 0);
    if (size <= 0)
        return true; // none, or a file system without them
    std::string names(static_cast<std::size_t>(size), '\0');
    size = ::listxattr(from.c_str(), names.data(), names.size());
    if (size < 0)
        return false;
    names.resize(static_cast<std::size_t>(size));
    for (std::size_t at = 0; at < names.size();) {
        const std::string name(names.c_str() + at);
        at += name.size() + 1;
        if (name.empty())
            continue;
        const bool acl = name.rfind("system.posix_acl_", 0) == 0;
        const ssize_t n = ::getxattr(from.c_str(), name.c_str(), nullptr, 0);
        std::string value(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
        const ssize_t read = n < 0 ? -1 : ::getxattr(from.c_str(), name.c_str(), value.data(), value.size());
        if (read < 0 || ::fsetxattr(to, name.c_str(), value.data(), static_cast<std::size_t>(read), 0) != 0) {
            if (acl)
                return false;
        }
    }
    return true;
}

// What became of an attempt to replace the file by a new one.
enum class Replaced { done, failed, impossible };

// Writes a new file beside the target and renames it over it: the old file
// stays whole until the new one is complete. `impossible` when it cannot be
// done in a way that keeps the old file's owner, group and access list, or
// the folder takes no new file (or no more data); `failed` when the save
// went wrong in a way that writing in place would not mend.
Replaced replaceFile(const std::string& target, const std::string& folder, const std::string& name,
    const struct stat* old, const GraphRecord& rec, std::string& reason)
{
    // The old file's bytes beyond the record are kept, so open it before
    // anything is created: if it cannot be read, nothing has been touched.
    Fd oldFd;
    if (old && old->st_size > static_cast<off_t>(kGraphRecordSize)) {
        oldFd.reset(::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
        if (oldFd.get() < 0) {
            reason = "its contents beyond the graph cannot be read to keep them: " + systemReason(errno);
            return Replaced::failed;
        }
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
    if (temp.get() < 0) {
        reason = "no file can be created in the folder " + quoted(folder) + ": " + systemReason(errno);
        return Replaced::impossible;
    }

    auto giveUp = [&](int code, const std::string& what) {
        temp.reset();
        ::unlink(tempPath.c_str());
        reason = what + systemReason(code);
        // A full disk may still take the record where the old one stands.
        return code == ENOSPC || code == EDQUOT ? Replaced::impossible : Replaced::failed;
    };

    if (old) {
        // A replacement must not hand another user's file to us, or move it
        // to another group.
        if (::fchown(temp.get(), old->st_uid, old->st_gid) != 0) {
            temp.reset();
            ::unlink(tempPath.c_str());
            reason = "its owner and group cannot be kept on a new file";
            return Replaced::impossible;
        }
        // The permission bits are set after the owner, since a change of
        // owner clears the set-id bits.
        if (::fchmod(temp.get(), old->st_mode & 07777) != 0)
            return giveUp(errno, "its permissions cannot be kept: ");
        if (!copyAttributes(target, temp.get())) {
            temp.reset();
            ::unlink(tempPath.c_str());
            reason = "its access list cannot be kept on a new file";
            return Replaced::impossible;
        }
    }

    if (!writeFully(temp.get(), rec.bytes.data(), rec.bytes.size()))
        return giveUp(errno, "");

    if (oldFd.get() >= 0) {
        std::uint8_t chunk[65536];
        off_t offset = static_cast<off_t>(kGraphRecordSize);
        for (;;) {
            const ssize_t n = ::pread(oldFd.get(), chunk, sizeof chunk, offset);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return giveUp(errno, "its contents beyond the graph cannot be read to keep them: ");
            }
            if (n == 0)
                break;
            if (!writeFully(temp.get(), chunk, static_cast<std::size_t>(n)))
                return giveUp(errno, "");
            offset += n;
        }
    }

    if (::fsync(temp.get()) != 0)
        return giveUp(errno, "");
    if (temp.close() != 0) {
        const int code = errno;
        ::unlink(tempPath.c_str());
        reason = systemReason(code);
        return code == ENOSPC || code == EDQUOT ? Replaced::impossible : Replaced::failed;
    }
    if (::rename(tempPath.c_str(), target.c_str()) != 0) {
        const int code = errno;
        ::unlink(tempPath.c_str());
        reason = systemReason(code);
        // A sticky folder lets only a file's owner replace it.
        return code == EPERM || code == EACCES ? Replaced::impossible : Replaced::failed;
    }

    // Make the rename itself durable. The new file is in place whatever this
    // reports, so a failure here is not a failed save.
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
    return Replaced::done;
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

    struct stat old { };
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

    std::string reason;
    Replaced replaced = Replaced::impossible;
    if (exists && old.st_nlink > 1)
        // A replacement would split a file with several names into two.
        reason = "the file has other names that must keep it";
    else
        replaced = replaceFile(target, folder, name, exists ? &old : nullptr, rec, reason);

    if (replaced == Replaced::done) {
        error.clear();
        return true;
    }
    if (replaced == Replaced::failed || !exists)
        return fail(reason);
    if (!writeInPlace(target, old, rec, reason, reason))
        return fail(reason);
    error.clear();
    return true;
}
