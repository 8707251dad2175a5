#include "files/GraphFile.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
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
        { shortFile, "it holds 100 bytes, but a graph file holds 9653" },
        { brokenFile, "curve 1 claims 300 points; a curve holds at most 250" },
        { dir / "missing.gd2", std::strerror(ENOENT) },
        { dir, std::strerror(EISDIR) },
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

TEST_F(GraphFileTest, SaveRefusesAReadOnlyFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root: permission bits do not stop a write";
    const GraphRecord rec = sampleRecord();
    std::string error;
    const Bytes old = pattern(kGraphRecordSize + 10, 4);
    const fs::path readOnly = dir / "readonly.gd2";
    writeBytes(readOnly, old);
    fs::permissions(readOnly, fs::perms(0444));
    EXPECT_FALSE(writeGraphFile(readOnly, rec, error));
    EXPECT_NE(error.find("readonly.gd2"), std::string::npos) << error;
    EXPECT_EQ(readBytes(readOnly), old);
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
    // An immutable folder takes no temporary file.
    if (setImmutable(dir, true)) {
        immutable.push_back(dir);
        EXPECT_FALSE(writeGraphFile(file, sampleRecord(), error));
        EXPECT_NE(error.find("no file can be created in the folder"), std::string::npos) << error;
        setImmutable(dir, false);
    }
    EXPECT_EQ(readBytes(file), old);
    EXPECT_EQ(entries(), std::vector<std::string> { "graph.gd2" });
    if (::geteuid() == 0 && immutable.empty())
        GTEST_SKIP() << "running as root on a file system without immutable files: nothing refuses a write";
}

} // namespace
