#include "files/RecoveryCopy.h"
#include "files/GraphSnapshot.h"
#include "files/RecoveryWriter.h"
#include "tests/core/SmallDisk.h"
#include "tests/support/GraphSamples.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

struct RecoveryFolder : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("plotwell-recovery-" + std::to_string(::getpid()));
    void SetUp() override { fs::create_directories(dir); }
    void TearDown() override { fs::remove_all(dir); }
    GraphSnapshot graph(int points, const std::string& file)
    {
        GraphDocument d;
        setYRange(d, 0, 100);
        for (int j = 0; j < points; ++j)
            addPoint(d, 0, 10 * j, 5.5f + j);
        d.fileName = file;
        d.currentCurve = 1;
        return takeSnapshot(d);
    }
    void put(const std::string& name, const std::string& bytes, int ageSeconds = 0)
    {
        std::ofstream(dir / name, std::ios::binary) << bytes;
        fs::last_write_time(dir / name, fs::file_time_type::clock::now() - std::chrono::seconds(ageSeconds));
    }
};

// A copy reads back as what was written, or is refused whole with the
// reason: a copy of another version, a cut or damaged header, a record that
// ends early or holds no graph.
TEST_F(RecoveryFolder, ACopyReadsBackWholeOrIsRefusedWithTheReason)
{
    const GraphSnapshot written = graph(12, "/home/u/sales.gd2");
    const ProcessStamp writer { 4242, 987654, "boot-a" };
    const std::string bytes = recoveryBytes(written, writer);
    GraphSnapshot read;
    ProcessStamp who;
    std::string error;
    ASSERT_TRUE(readRecoveryBytes(bytes, read, who, error)) << error;
    EXPECT_TRUE(read.sameGraph(written));
    EXPECT_EQ(read.currentCurve, 1);
    EXPECT_EQ(who, writer);

    std::string noGraph = bytes;
    std::fill(noGraph.end() - 9653, noGraph.end(), '\xff');
    const struct {
        std::string bytes;
        const char* reason;
    } refused[] = {
        { "", "not a recovery copy" },
        { "Plotwell recovery copy 2\n" + bytes.substr(25), "not a recovery copy" },
        { bytes.substr(0, 40), "not a recovery copy" },
        { bytes.substr(0, bytes.size() - 1), "ends early" },
        { bytes + "x", "ends early" },
        { noGraph, "" },
    };
    for (const auto& r : refused) {
        GraphSnapshot untouched = written;
        EXPECT_FALSE(readRecoveryBytes(r.bytes, untouched, who, error)) << r.bytes.size();
        EXPECT_NE(error.find(r.reason), std::string::npos) << error;
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(untouched.sameGraph(written));
    }
}

// At start only copies of programs that ended are offered, newest first;
// this program's own and a running one's are left alone, an unreadable one
// is listed to be set aside. The question names what a copy holds.
TEST_F(RecoveryFolder, CopiesOfEndedProgramsAreOfferedNewestFirst)
{
    const std::string boot = thisProcess().boot;
    const ProcessStamp ended { 999999, 1, boot }, endedToo { 999998, 2, boot },
        otherBoot { ::getppid(), 1, "x" };
    const ProcessStamp parent { ::getppid(), 0, boot };
    put(fs::path(recoveryPath(dir, ended)).filename(), recoveryBytes(graph(12, "/d/sales.gd2"), ended), 60);
    put(fs::path(recoveryPath(dir, endedToo)).filename(), recoveryBytes(graph(1, ""), endedToo), 5);
    put(fs::path(recoveryPath(dir, otherBoot)).filename(), recoveryBytes(graph(3, ""), otherBoot), 90);
    put(fs::path(recoveryPath(dir, thisProcess())).filename(), recoveryBytes(graph(2, ""), thisProcess()));
    put("broken.recovery", "Plotwell recovery copy 1\npid 999997\n");
    put("notes.txt", "not a copy");
    LeftCopies left = leftCopies(dir);
    ASSERT_EQ(left.readable.size(), 3u);
    EXPECT_EQ(pointsIn(left.readable[0].graph), 1);
    EXPECT_EQ(restoreQuestion(left.readable[0].graph),
        "Plotwell was closed without saving a graph with 1 point. Restore it?");
    EXPECT_EQ(restoreQuestion(left.readable[1].graph),
        "Plotwell was closed without saving a graph with 12 points (sales.gd2). Restore it?");
    EXPECT_EQ(pointsIn(left.readable[2].graph), 3); // the same id, but of an earlier boot
    ASSERT_EQ(left.unreadable.size(), 1u);
    EXPECT_EQ(setAside(left.unreadable[0].first), (dir / "broken.recovery.unreadable").string());
    EXPECT_TRUE(leftCopies(dir).unreadable.empty());
    EXPECT_TRUE(stillRunning(thisProcess()));
    EXPECT_FALSE(stillRunning(parent)); // a running process, but not the one that wrote it
    EXPECT_EQ(recoveryFolder().empty(), !std::getenv("XDG_STATE_HOME") && !std::getenv("HOME"));
}

// The writer keeps the newest state on disk, removes it when told, and a
// full disk costs the copy only, said once until a write succeeds again.
TEST_F(RecoveryFolder, TheWriterKeepsTheNewestStateAndSaysOnceWhenItCannot)
{
    std::atomic<int> failures = 0;
    const std::string path = (dir / "state/plotwell/1-1.recovery").string();
    {
        RecoveryWriter writer(path, [&](const std::string&) { ++failures; });
        for (int k = 0; k < 50; ++k)
            writer.write("state " + std::to_string(k));
        writer.flush();
        std::ifstream in(path);
        std::string kept;
        std::getline(in, kept);
        EXPECT_EQ(kept, "state 49");
        writer.remove();
        writer.flush();
        EXPECT_FALSE(fs::exists(path));
    }
    const SmallDisk small(dir / "disk");
    if (!small.mounted)
        GTEST_SKIP() << "a full disk needs a tmpfs, which needs root";
    RecoveryWriter writer((small.path / "copy.recovery").string(), [&](const std::string&) { ++failures; });
    small.fill();
    for (int k = 0; k < 3; ++k) {
        writer.write(std::string(64 * 1024, 'x'));
        writer.flush();
    }
    EXPECT_EQ(failures, 1);
    small.empty();
    writer.write("fits");
    writer.flush();
    EXPECT_TRUE(fs::exists(small.path / "copy.recovery"));
    EXPECT_EQ(failures, 1);
}
} // namespace
