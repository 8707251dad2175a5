#include "files/SafeWriter.h"

#include "files/FileIO.h"
#include "files/FilePaths.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace {
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

// "<why the file was not replaced>, and <what then went wrong>".
std::string andThen(const std::string& whyNotReplaced, const std::string& what)
{
    return whyNotReplaced.empty() ? what : whyNotReplaced + ", and " + what;
}

// Writes the new contents over the old ones where the file stands. The old
// bytes are held first and put back if the write fails. Keeping its tail,
// the file is written only where bytes already are, so a full disk cannot
// cut it short; otherwise it takes the new length.
bool writeInPlace(const std::string& target, const struct stat& old, const std::uint8_t* data,
    std::size_t size, bool keepTail, const std::string& whyNotReplaced, std::string& reason)
{
    if (keepTail && old.st_size < static_cast<off_t>(size)) {
        reason = andThen(whyNotReplaced, "the file is too short to be written where it stands");
        return false;
    }
    Fd fd(::open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        reason
            = andThen(whyNotReplaced, "the file cannot be written where it stands: " + systemReason(errno));
        return false;
    }
    std::vector<std::uint8_t> held(keepTail ? size : static_cast<std::size_t>(old.st_size));
    const ssize_t got = readFully(fd.get(), held.data(), held.size());
    if (got != static_cast<ssize_t>(held.size())) {
        reason = andThen(whyNotReplaced,
            "the file's old contents cannot be read to keep them safe: "
                + systemReason(got < 0 ? errno : EIO));
        return false;
    }
    auto writeAt0 = [&](const std::uint8_t* bytes, std::size_t count) {
        return ::lseek(fd.get(), 0, SEEK_SET) == 0 && writeFully(fd.get(), bytes, count)
            && (keepTail || ::ftruncate(fd.get(), static_cast<off_t>(count)) == 0) && ::fsync(fd.get()) == 0;
    };
    if (writeAt0(data, size) && fd.close() == 0)
        return true;
    const int code = errno;
    reason = systemReason(code);
    if (fd.get() < 0)
        fd.reset(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    if (fd.get() >= 0 && writeAt0(held.data(), held.size()) && fd.close() == 0)
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
    const struct stat* old, const std::uint8_t* data, std::size_t size, bool keepTail, std::string& reason)
{
    // The old file's bytes beyond the new ones are kept, so open it before
    // anything is created: if it cannot be read, nothing has been touched.
    Fd oldFd;
    if (keepTail && old && old->st_size > static_cast<off_t>(size)) {
        oldFd.reset(::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
        if (oldFd.get() < 0) {
            reason = "its contents beyond the new ones cannot be read to keep them: " + systemReason(errno);
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

    if (!writeFully(temp.get(), data, size))
        return giveUp(errno, "");

    if (oldFd.get() >= 0) {
        std::uint8_t chunk[65536];
        off_t offset = static_cast<off_t>(size);
        for (;;) {
            const ssize_t n = ::pread(oldFd.get(), chunk, sizeof chunk, offset);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return giveUp(errno, "its contents beyond the new ones cannot be read to keep them: ");
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

std::string writeFileSafely(
    const std::string& path, const std::uint8_t* data, std::size_t size, SafeWrite how)
{
    auto fail = [](const std::string& reason) { return reason; };

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
    if (exists && how.inPlace)
        ; // asked for: nothing to explain
    else if (exists && old.st_nlink > 1)
        // A replacement would split a file with several names into two.
        reason = "the file has other names that must keep it";
    else
        replaced
            = replaceFile(target, folder, name, exists ? &old : nullptr, data, size, how.keepTail, reason);

    if (replaced == Replaced::done)
        return {};
    if (replaced == Replaced::failed || !exists)
        return reason;
    if (!writeInPlace(target, old, data, size, how.keepTail, reason, reason))
        return reason;
    return {};
}
