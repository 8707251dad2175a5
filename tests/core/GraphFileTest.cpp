#include "files/GraphFile.h"
#include "tests/core/AsUser.h"
#include "tests/core/SmallDisk.h"
#include "tests/support/SkipOrFail.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <iterator>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes readBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const fs::path& p, const Bytes& b)
{
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::ssize(b));
}

Bytes pattern(std::size_t n, int seed)
{
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(i * 31 + seed);
    return b;
}

// A valid graph over a buffer full of leftovers, as a long-running program's
// buffer would be: every byte of the file matters, not only the packed ones.
GraphRecord sampleRecord()
{
    GraphRecord r;
    const Bytes junk = pattern(kGraphRecordSize, 7);
    std::copy(junk.begin(), junk.end(), r.bytes.begin());
    GraphDocument d;
    d.pointCount[1] = 2;
    d.pixelX[1][1] = 400;
    d.pixelY[1][1] = 120.5f;
    d.yScale = 1;
    std::snprintf(d.title, kTitleSize, "Saved graph");
    packRecord(d, r);
    return r;
}

Bytes asBytes(const GraphRecord& r) { return Bytes(r.bytes.begin(), r.bytes.end()); }

// Immutable files and folders refuse changes even to the superuser, where
// permission bits do not; not every file system or container allows them.
bool setImmutable(const fs::path& p, bool on)
{
    const int fd = ::open(p.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return ok;
}

class GraphFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/plotwell-files-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        dir = name;
    }
    void TearDown() override
    {
        for (const auto& p : immutable)
            setImmutable(p, false);
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir))
            names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path dir;
    std::vector<fs::path> immutable;
};

TEST_F(GraphFileTest, SavedGraphReadsBackByteIdentical)
{
    const GraphRecord rec = sampleRecord();
    const fs::path file = dir / "graph.gd2";
    std::string error = "stale";
    ASSERT_TRUE(writeGraphFile(file, rec, error)) << error;
    EXPECT_EQ(error, "");
    EXPECT_EQ(readBytes(file), asBytes(rec));
    EXPECT_EQ(entries(), std::vector<std::string> { "graph.gd2" });

    GraphRecord back;
    back.bytes.fill(0x55);
    ASSERT_TRUE(readGraphFile(file, back, error)) << error;
    EXPECT_EQ(back.bytes, rec.bytes);

    // A longer file gives its first 9653 bytes.
    Bytes longer = asBytes(rec);
    longer.resize(kGraphRecordSize + 500, 0xFF);
    writeBytes(file, longer);
    ASSERT_TRUE(readGraphFile(file, back, error)) << error;
    EXPECT_EQ(back.bytes, rec.bytes);
}

TEST_F(GraphFileTest, RefusedReadsNameTheFileAndLeaveTheRecordAlone)
{
    const fs::path shortFile = dir / "short.gd2";
    Bytes head = asBytes(sampleRecord());
    head.resize(100);
    writeBytes(shortFile, head);
    GraphRecord broken = sampleRecord();
    putInt32(broken, RecordLayout::pointCount, 300);
    const fs::path brokenFile = dir / "broken.gd2";
    writeBytes(brokenFile, asBytes(broken));
    const fs::path pipe = dir / "pipe.gd2";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);

    const std::pair<fs::path, std::string> cases[] = {
        { shortFile,
            "it lost its end: curve 2 has 2 points, but the file ends before them (the file holds 100 "
            "bytes" },
        { brokenFile, "curve 1 claims 300 points; a curve holds at most 250" },
        { dir / "missing.gd2", std::strerror(ENOENT) }, { dir, std::strerror(EISDIR) },
        { pipe, "not a regular file" }, // must not hang waiting for a writer
    };
    for (const auto& [path, reason] : cases) {
        GraphRecord out;
        out.bytes.fill(0x77);
        std::string error;
        EXPECT_FALSE(readGraphFile(path, out, error));
        EXPECT_NE(error.find("\"" + path.string() + "\""), std::string::npos) << error;
        EXPECT_NE(error.find(reason), std::string::npos) << error;
        EXPECT_TRUE(std::all_of(out.bytes.begin(), out.bytes.end(), [](auto b) { return b == 0x77; }));
    }
}

TEST_F(GraphFileTest, SaveKeepsTheFilesLengthPermissionsAndLinks)
{
    const GraphRecord rec = sampleRecord();
    std::string error;

    const fs::path longFile = dir / "long.gd2";
    const Bytes old = pattern(kGraphRecordSize + 4000, 3);
    writeBytes(longFile, old);
    ASSERT_TRUE(writeGraphFile(longFile, rec, error)) << error;
    Bytes expected = old; // the record over the first 9653 bytes, the rest kept
    std::copy(rec.bytes.begin(), rec.bytes.end(), expected.begin());
    EXPECT_EQ(readBytes(longFile), expected);

    const fs::path shortFile = dir / "short.gd2";
    writeBytes(shortFile, pattern(10, 1));
    ASSERT_TRUE(writeGraphFile(shortFile, rec, error)) << error;
    EXPECT_EQ(readBytes(shortFile), asBytes(rec));

    fs::permissions(longFile, fs::perms(0640));
    ASSERT_TRUE(writeGraphFile(longFile, rec, error)) << error;
    EXPECT_EQ(fs::status(longFile).permissions(), fs::perms(0640));

    // A new file, here with the longest name a folder takes.
    const fs::path newFile = dir / (std::string(251, 'n') + ".gd2");
    const mode_t oldMask = ::umask(022);
    const bool made = writeGraphFile(newFile, rec, error);
    ::umask(oldMask);
    ASSERT_TRUE(made) << error;
    EXPECT_EQ(fs::status(newFile).permissions(), fs::perms(0644));

    // Saving through a link replaces the file it points to, not the link.
    fs::create_directory(dir / "real");
    writeBytes(dir / "real" / "target.gd2", pattern(50, 9));
    fs::create_symlink("real/target.gd2", dir / "link.gd2");
    ASSERT_TRUE(writeGraphFile(dir / "link.gd2", rec, error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir / "link.gd2"));
    EXPECT_EQ(readBytes(dir / "real" / "target.gd2"), asBytes(rec));
    EXPECT_EQ(fs::directory_iterator(dir / "real")->path().filename(), "target.gd2");
}

TEST_F(GraphFileTest, SaveKeepsAFilesOtherNames)
{
    const GraphRecord rec = sampleRecord();
    std::string error;

    // A file with a second name is written where it stands: both names
    // show the new graph, and the bytes past the record stay.
    const fs::path first = dir / "first.gd2";
    const Bytes old = pattern(kGraphRecordSize + 10, 4);
    writeBytes(first, old);
    fs::create_hard_link(first, dir / "second.gd2");
    ASSERT_TRUE(writeGraphFile(first, rec, error)) << error;
    Bytes expected = old;
    std::copy(rec.bytes.begin(), rec.bytes.end(), expected.begin());
    EXPECT_EQ(readBytes(dir / "second.gd2"), expected);
    EXPECT_EQ(fs::hard_link_count(first), 2u);
}

TEST_F(GraphFileTest, PermissionsDecideHowASaveGoesAndNeverCostTheOldFile)
{
    fs::permissions(dir, fs::perms(0777));
    const GraphRecord rec = sampleRecord();
    struct Case {
        const char* name;
        fs::perms file, folder;
        bool saved;
        const char* says;
    };
    const Case cases[] = {
        { "readonly.gd2", fs::perms(0444), fs::perms(0777), false, std::strerror(EACCES) },
        // The folder takes no new file: written where it stands.
        { "inplace.gd2", fs::perms(0666), fs::perms(0555), true, "" },
        // Another owner's file in a sticky folder: a new file could not keep
        // its owner, so it too is written where it stands.
        { "sticky.gd2", fs::perms(0666), fs::perms(01777), true, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = dir / c.name;
        const Bytes old = pattern(kGraphRecordSize + 10, 4);
        writeBytes(file, old);
        fs::permissions(file, c.file);
        fs::permissions(dir, c.folder);
        std::string error;
        const bool saved
            = asOrdinaryUser([&](std::string& message) { return writeGraphFile(file, rec, message); }, error);
        fs::permissions(dir, fs::perms(0777));
        EXPECT_EQ(saved, c.saved) << error;
        Bytes expected = old;
        if (c.saved)
            std::copy(rec.bytes.begin(), rec.bytes.end(), expected.begin());
        EXPECT_EQ(readBytes(file), expected);
        if (!c.saved) {
            EXPECT_NE(error.find(c.name), std::string::npos) << error;
            EXPECT_NE(error.find(c.says), std::string::npos) << error;
        }
    }
}

TEST_F(GraphFileTest, FailedSaveLeavesTheOldFileAndNoTemporary)
{
    const fs::path file = dir / "graph.gd2";
    const Bytes old = pattern(kGraphRecordSize + 20, 5);
    writeBytes(file, old);
    fs::create_directory(dir / "folder.gd2");
    const GraphRecord rec = sampleRecord();
    std::string error;

    EXPECT_FALSE(writeGraphFile(dir / "gone" / "graph.gd2", rec, error));
    EXPECT_NE(error.find(std::strerror(ENOENT)), std::string::npos) << error;
    EXPECT_NE(error.find("gone/graph.gd2\""), std::string::npos) << error;

    EXPECT_FALSE(writeGraphFile(dir / "folder.gd2", rec, error));
    EXPECT_NE(error.find(std::strerror(EISDIR)), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(dir / "folder.gd2"));

    EXPECT_FALSE(writeGraphFile("/proc/plotwell-test.gd2", rec, error));
    EXPECT_NE(error.find("/proc"), std::string::npos) << error;

    // A file-size limit fails the write part way, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = writeGraphFile(file, rec, error);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(written);
    EXPECT_NE(error.find(std::strerror(EFBIG)), std::string::npos) << error;

    EXPECT_EQ(readBytes(file), old);
    EXPECT_EQ(entries(), (std::vector<std::string> { "folder.gd2", "graph.gd2" }));
}

TEST_F(GraphFileTest, SaveRefusedByTheFileSystemLeavesTheOldFile)
{
    const fs::path file = dir / "graph.gd2";
    const Bytes old = pattern(kGraphRecordSize, 2);
    writeBytes(file, old);
    std::string error;

    if (::geteuid() != 0) {
        fs::permissions(dir, fs::perms(0555));
        EXPECT_FALSE(writeGraphFile(file, sampleRecord(), error));
        EXPECT_NE(error.find(std::strerror(EACCES)), std::string::npos) << error;
        fs::permissions(dir, fs::perms(0755));
    }

    // The rename over an immutable file fails after the new bytes are written.
    if (setImmutable(file, true)) {
        immutable.push_back(file);
        EXPECT_FALSE(writeGraphFile(file, sampleRecord(), error));
        EXPECT_NE(error.find(std::strerror(EPERM)), std::string::npos) << error;
        setImmutable(file, false);
    }
    EXPECT_EQ(readBytes(file), old);
    // An immutable folder takes no temporary file: the file, which may be
    // written, is written where it stands.
    if (setImmutable(dir, true)) {
        immutable.push_back(dir);
        EXPECT_TRUE(writeGraphFile(file, sampleRecord(), error)) << error;
        EXPECT_EQ(readBytes(file), asBytes(sampleRecord()));
        setImmutable(dir, false);
    }
    EXPECT_EQ(entries(), std::vector<std::string> { "graph.gd2" });
    if (::geteuid() == 0 && immutable.empty())
        GTEST_SKIP() << "running as root on a file system without immutable files: nothing refuses a write";
}

// A small disk filled to the last block, where only a save that writes over
// bytes already on disk can succeed.
TEST_F(GraphFileTest, SaveOnAFullDiskWritesInPlaceOnlyWhereNoNewBlockIsNeededAndOtherwiseKeepsTheFile)
{
    const SmallDisk small(dir / "disk");
    if (!small.mounted)
        SKIP_OR_FAIL_IN_CI("a small disk needs root and a mountable tmpfs");
    const fs::path& disk = small.path;

    struct Case {
        const char* name;
        std::size_t size;
        bool linked, saved;
        const char* says;
    };
    const Case cases[] = {
        { "whole.gd2", kGraphRecordSize, false, true, "" },
        { "linked.gd2", kGraphRecordSize + 100, true, true, "" },
        { "short.gd2", 4992, false, false, "too short to be written where it stands" },
        { "short-linked.gd2", 4992, true, false, "too short to be written where it stands" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = disk / c.name;
        const Bytes old = pattern(c.size, 3);
        writeBytes(file, old);
        if (c.linked)
            fs::create_hard_link(file, disk / (std::string("other-") + c.name));
        small.fill();
        std::string error;
        EXPECT_EQ(writeGraphFile(file, sampleRecord(), error), c.saved) << error;
        Bytes expected = old;
        const GraphRecord rec = sampleRecord();
        if (c.saved)
            std::copy(rec.bytes.begin(), rec.bytes.end(), expected.begin());
        EXPECT_EQ(readBytes(file), expected);
        if (!c.saved) {
            EXPECT_NE(error.find(c.says), std::string::npos) << error;
            // A file with other names is never replaced, so never tried.
            if (!c.linked) {
                EXPECT_NE(error.find(std::strerror(ENOSPC)), std::string::npos) << error;
            }
        }
        small.empty();
    }
}

// A user attribute and an access list that lets one more user read the file
// survive a save that replaces the file.
TEST_F(GraphFileTest, SaveKeepsExtendedAttributesAndTheAccessList)
{
    const fs::path file = dir / "shared.gd2";
    writeBytes(file, pattern(kGraphRecordSize, 6));
    fs::permissions(file, fs::perms(0640));
    const std::uint8_t acl[] = {
        2, 0, 0, 0, // version
        1, 0, 6, 0, 0xff, 0xff, 0xff, 0xff, // owner rw
        2, 0, 4, 0, 0xfe, 0xff, 0, 0, // user 65534 r
        4, 0, 4, 0, 0xff, 0xff, 0xff, 0xff, // group r
        0x10, 0, 4, 0, 0xff, 0xff, 0xff, 0xff, // mask r
        0x20, 0, 0, 0, 0xff, 0xff, 0xff, 0xff, // others none
    };
    const bool hasAcl = ::setxattr(file.c_str(), "system.posix_acl_access", acl, sizeof acl, 0) == 0;
    const bool hasUser = ::setxattr(file.c_str(), "user.plotwell.note", "kept", 4, 0) == 0;
    if (!hasAcl && !hasUser)
        GTEST_SKIP() << "this file system keeps no extended attributes";

    std::string error;
    ASSERT_TRUE(writeGraphFile(file, sampleRecord(), error)) << error;
    EXPECT_EQ(readBytes(file), asBytes(sampleRecord()));
    char value[64];
    if (hasUser) {
        const ssize_t n = ::getxattr(file.c_str(), "user.plotwell.note", value, sizeof value);
        EXPECT_EQ(std::string(value, static_cast<std::size_t>(std::max<ssize_t>(n, 0))), "kept");
    }
    if (hasAcl) {
        const ssize_t n = ::getxattr(file.c_str(), "system.posix_acl_access", value, sizeof value);
        EXPECT_EQ(Bytes(value, value + std::max<ssize_t>(n, 0)), Bytes(std::begin(acl), std::end(acl)));
    }
    EXPECT_EQ(entries(), std::vector<std::string> { "shared.gd2" });
}
} // namespace
