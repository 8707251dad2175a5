#pragma once
// Permission bits bind only ordinary users, and the suite runs as root in CI:
// what an ordinary user would meet is tried in a child that has become
// nobody.

#include <functional>
#include <grp.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

// Runs `save` as an ordinary user: as itself when it is one, otherwise in a
// child process that has become nobody, as permission bits bind only those.
// Returns whether the save succeeded, and its message.
inline bool asOrdinaryUser(const std::function<bool(std::string&)>& save, std::string& error)
{
    if (::geteuid() != 0)
        return save(error);
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return false;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        std::string message;
        bool ok = ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
        ok = ok && save(message);
        if (::write(pipeFds[1], message.data(), message.size()) < 0)
            ok = false;
        ::_exit(ok ? 0 : 1);
    }
    ::close(pipeFds[1]);
    char buffer[1024];
    error.clear();
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        error.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
