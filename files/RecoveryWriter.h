#pragma once
// Writes the recovery copy away from the window's thread: the graph is
// handed over in a few microseconds, and the disk (a flush that can take
// long on a slow or full disk) never holds up a click or a repaint. Only the
// newest state is written; a write asked for while one runs replaces any
// that waited.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

class RecoveryWriter {
public:
    // `failed` is told, on the writer's thread, why a write failed: once,
    // until a write succeeds again.
    RecoveryWriter(std::string path, std::function<void(const std::string&)> failed);
    // Finishes what was asked for, then stops.
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    void write(std::string bytes);
    void remove();
    // Returns once everything asked for so far is on disk (or failed).
    void flush();
    const std::string& path() const { return file; }

private:
    void run();

    const std::string file;
    std::function<void(const std::string&)> failed;
    std::mutex lock;
    std::condition_variable wake, idle;
    std::optional<std::string> waiting; // bytes to write, or empty to remove
    bool hasWork = false;
    bool busy = false;
    bool stopping = false;
    bool failing = false;
    std::thread worker;
};
