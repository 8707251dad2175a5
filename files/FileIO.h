#pragma once
// The few system-call helpers the graph reader and the safe writer share.

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <sys/types.h>
#include <unistd.h>

inline std::string quoted(const std::string& path) { return "\"" + path + "\""; }

inline std::string systemReason(int err) { return std::strerror(err); }

// Closes a descriptor when it goes out of scope, so every early return
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
inline ssize_t readFully(int fd, std::uint8_t* data, std::size_t size)
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

inline bool writeFully(int fd, const std::uint8_t* data, std::size_t size)
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
