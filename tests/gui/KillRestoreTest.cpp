// The real program, driven from outside through random steps of a session,
// is killed outright (SIGKILL: none of its code runs) at a random step and
// started again: it must offer the graph back exactly as the last step left
// it. Ended by SIGTERM, as a logout ends it, it keeps the copy too.
//
//   scripts/with-display build/kill_restore_tests   (PLOTWELL_SEED=N to repeat a run)

// Before the display's headers, whose macros clash with its names.
#include <gtest/gtest.h>

#include "files/GraphFile.h"
#include "files/GraphRecord.h"
#include "files/RecoveryCopy.h"
#include "tests/support/GraphSamples.h"
#include "tests/support/XDriver.h"

#include <X11/keysym.h>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Restart : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("plotwell-kill-" + std::to_string(::getpid()));
    Display* dpy = nullptr;
    std::vector<pid_t> started;

    void SetUp() override
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
        dpy = XOpenDisplay(nullptr);
        if (!dpy)
            GTEST_SKIP() << "needs an X display (scripts/with-display)";
    }
    void TearDown() override
    {
        for (pid_t pid : started) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        if (dpy)
            XCloseDisplay(dpy);
        fs::remove_all(dir);
    }

    static bool waitUntil(const std::function<bool()>& condition)
    {
        for (int k = 0; k < 500 && !condition(); ++k)
            std::this_thread::sleep_for(20ms);
        return condition();
    }

    XProgram start(const std::string& file)
    {
        XProgram p { dpy, 0, 0, 0, ::fork() };
        if (p.pid == 0) {
            ::setenv("XDG_STATE_HOME", dir.c_str(), 1);
            ::execl(PLOTWELL_PROGRAM, PLOTWELL_PROGRAM, file.empty() ? nullptr : file.c_str(), nullptr);
            ::_exit(127);
        }
        started.push_back(p.pid);
        waitUntil([&] { return (p.window = findWindow(dpy, p.pid)) != 0; });
        Window child;
        XTranslateCoordinates(dpy, p.window, DefaultRootWindow(dpy), 0, 0, &p.originX, &p.originY, &child);
        p.originY += 25; // the menu bar
        return p;
    }

    // The process's recovery copy once it has stopped changing.
    std::string copyOf(pid_t pid)
    {
        fs::path at;
        waitUntil([&] {
            std::error_code ec;
            for (const auto& entry : fs::directory_iterator(dir / "plotwell", ec))
                if (entry.path().filename().string().rfind(std::to_string(pid) + "-", 0) == 0)
                    at = entry.path();
            return !at.empty();
        });
        std::string last;
        for (int still = 0; !at.empty() && still < 10;) {
            std::this_thread::sleep_for(50ms);
            std::ifstream in(at, std::ios::binary);
            const std::string now((std::istreambuf_iterator<char>(in)), {});
            still = now == last ? still + 1 : 0;
            last = now;
        }
        return last;
    }

    GraphSnapshot read(const std::string& bytes)
    {
        GraphSnapshot graph;
        ProcessStamp writer;
        std::string error;
        EXPECT_TRUE(readRecoveryBytes(bytes, graph, writer, error)) << error;
        return graph;
    }
};

TEST_F(Restart, AfterAKillAtARandomStepTheLastStateIsOfferedBackAndATermKeepsIt)
{
    const char* seedText = std::getenv("PLOTWELL_SEED");
    const unsigned seed = seedText ? std::strtoul(seedText, nullptr, 10) : std::random_device {}();
    SCOPED_TRACE("PLOTWELL_SEED=" + std::to_string(seed));
    std::mt19937 random(seed);

    GraphDocument d;
    setYRange(d, 0, 100);
    for (int j = 0; j < 5; ++j)
        addPoint(d, 0, 100 * j, 20.0f + j);
    GraphRecord rec;
    packRecord(d, rec);
    std::string error;
    const std::string file = (dir / "graph.gd2").string();
    ASSERT_TRUE(writeGraphFile(file, rec, error)) << error;

    XProgram first = start(file);
    ASSERT_NE(first.window, 0u);
    std::this_thread::sleep_for(500ms);
    // Random steps: points added and deleted, options switched, undone and
    // done again; a point last, so there is something unsaved.
    const int steps = 1 + static_cast<int>(random() % 20);
    const std::function<void(int, int, int)> actions[] = {
        [&](int x, int y, int) { clickAt(first, x, y, 1); },
        // On one of the graph's own points, if it is still there.
        [&](int, int, int j) { clickAt(first, 50 + 100 * j, static_cast<int>(306 - 3.6 * j), 3); },
        [&](int, int, int) { clickAt(first, 525, 472); }, // Connect Points
        [&](int, int, int) { moveTo(first, 600, 200), ctrlKey(first, XK_z); },
        [&](int, int, int) { moveTo(first, 600, 200), ctrlKey(first, XK_y); },
    };
    for (int k = 0; k < steps; ++k) {
        const int x = 60 + static_cast<int>(random() % 630), y = 30 + static_cast<int>(random() % 340);
        actions[random() % std::size(actions)](x, y, static_cast<int>(random() % 5));
        std::this_thread::sleep_for(60ms);
    }
    clickAt(first, 333, 222, 1);
    const std::string lastState = copyOf(first.pid);
    ASSERT_FALSE(lastState.empty()) << "no recovery copy after " << steps << " steps";
    const GraphSnapshot expected = read(lastState);
    ::kill(first.pid, SIGKILL);
    ::waitpid(first.pid, nullptr, 0);

    // Started again: the question, answered Yes by Enter, its default.
    XProgram again = start("");
    XProgram question = again;
    waitUntil([&] { return (question.window = findWindow(dpy, again.pid, 100, again.window)) != 0; });
    ASSERT_NE(question.window, 0u) << "no question at the restart";
    Window child;
    XTranslateCoordinates(
        dpy, question.window, DefaultRootWindow(dpy), 0, 0, &question.originX, &question.originY, &child);
    moveTo(question, 10, 10);
    std::this_thread::sleep_for(200ms);
    key(question, XK_Return);
    const std::string restored = copyOf(again.pid);
    ASSERT_FALSE(restored.empty()) << "the restored graph is not unsaved";
    EXPECT_TRUE(read(restored).sameGraph(expected));
    EXPECT_EQ(read(restored).fileName, file);
    EXPECT_TRUE(waitUntil([&] { return std::distance(fs::directory_iterator(dir / "plotwell"), {}) == 1; }))
        << "the killed program's copy is gone once taken over";

    ::kill(again.pid, SIGTERM);
    int status = 0;
    ::waitpid(again.pid, &status, 0);
    started.clear();
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_TRUE(read(copyOf(again.pid)).sameGraph(expected));
}
} // namespace
