#include "files/RecoveryWriter.h"

#include "files/SafeWriter.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The folder and the ones above it, private to the user as the desktop's
// state folder is.
std::string makeFolders(const std::string& file)
{
    for (std::size_t slash = file.find('/', 1); slash != std::string::npos;
         slash = file.find('/', slash + 1)) {
        const std::string folder = file.substr(0, slash);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            return std::string("the folder ") + folder + " cannot be made: " + std::strerror(errno);
    }
    return {};
}
} // namespace

RecoveryWriter::RecoveryWriter(std::string path, std::function<void(const std::string&)> onFailure)
    : file(std::move(path))
    , failed(std::move(onFailure))
    , worker([this] { run(); })
{
}

RecoveryWriter::~RecoveryWriter()
{
    {
        std::lock_guard<std::mutex> hold(lock);
        stopping = true;
    }
    wake.notify_one();
    worker.join();
}

void RecoveryWriter::write(std::string bytes)
{
    {
        std::lock_guard<std::mutex> hold(lock);
        waiting = std::move(bytes);
        hasWork = true;
    }
    wake.notify_one();
}

void RecoveryWriter::remove()
{
    {
        std::lock_guard<std::mutex> hold(lock);
        waiting.reset();
        hasWork = true;
    }
    wake.notify_one();
}

void RecoveryWriter::flush()
{
    std::unique_lock<std::mutex> hold(lock);
    idle.wait(hold, [this] { return !hasWork && !busy; });
}

void RecoveryWriter::run()
{
    std::unique_lock<std::mutex> hold(lock);
    for (;;) {
        wake.wait(hold, [this] { return hasWork || stopping; });
        if (!hasWork && stopping)
            return;
        const std::optional<std::string> job = std::move(waiting);
        waiting.reset();
        hasWork = false;
        busy = true;
        hold.unlock();
        std::string error;
        if (job) {
            error = makeFolders(file);
            if (error.empty())
                error
                    = writeFileSafely(file, reinterpret_cast<const std::uint8_t*>(job->data()), job->size());
        } else if (::unlink(file.c_str()) != 0 && errno != ENOENT) {
            error = std::strerror(errno);
        }
        const bool tell = !error.empty() && !failing;
        if (tell && failed)
            failed(error);
        hold.lock();
        failing = !error.empty();
        busy = false;
        idle.notify_all();
    }
}
