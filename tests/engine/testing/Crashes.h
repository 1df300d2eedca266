#pragma once

#include "engine/filesystem/LocalFileSystem.h"

#include <csignal>
#include <cstddef>
#include <functional>
#include <poll.h>
#include <string>
#include <string_view>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

namespace morvane::testing {

// Runs `work` in a child process (a fork of this one) and waits for it.
// Returns the signal that ended the child, or 0 when `work` returned (-1 when
// it threw).
inline int signalEndingChild(const std::function<void()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            work();
        } catch (...) {
            ::_exit(3);
        }
        ::_exit(0); // nothing of the parent's test machinery runs in the child
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) {
        return WTERMSIG(status);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : -1;
}

// Runs `work` in a child process and kills it (SIGKILL) the moment an entry
// whose name `killsAt` accepts comes into `folder` (which must exist), as a
// crash at that instant would. Returns what signalEndingChild returns.
inline int signalEndingChildWhenCreated(const std::string& folder,
                                        const std::function<bool(std::string_view name)>& killsAt,
                                        const std::function<void()>& work) {
    const int watch = ::inotify_init1(IN_CLOEXEC);
    if (watch < 0 || ::inotify_add_watch(watch, folder.c_str(), IN_CREATE | IN_MOVED_TO) < 0) {
        return -2;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            work();
        } catch (...) {
            ::_exit(3);
        }
        ::_exit(0);
    }
    alignas(inotify_event) char events[4096];
    int status = 0;
    bool seen = false;
    while (!seen && ::waitpid(child, &status, WNOHANG) == 0) {
        pollfd ready{watch, POLLIN, 0};
        if (::poll(&ready, 1, 10) <= 0) {
            continue;
        }
        const ssize_t length = ::read(watch, events, sizeof events);
        for (ssize_t at = 0; at < length && !seen;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + at);
            seen = event->len > 0 && killsAt(event->name);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
        if (seen) {
            ::kill(child, SIGKILL);
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
        }
    }
    ::close(watch);
    if (WIFSIGNALED(status)) {
        return WTERMSIG(status);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : -1;
}

// The real disk, in a process that kills itself with SIGKILL at its move
// number `at` (from 0): just before the move when `afterIt` is false, just
// after it otherwise. Moves go one by one through move(), by path.
class KillingFileSystem : public LocalFileSystem {
public:
    KillingFileSystem(std::size_t at, bool afterIt) : at_(at), afterIt_(afterIt) {}

    void move(const std::string& from, const std::string& to) override {
        const std::size_t attempt = attempts_++;
        if (attempt == at_ && !afterIt_) {
            ::raise(SIGKILL);
        }
        LocalFileSystem::move(from, to);
        if (attempt == at_ && afterIt_) {
            ::raise(SIGKILL);
        }
    }
    std::unique_ptr<Folder> folder(const std::string& directory) override {
        return FileSystem::folder(directory);
    }

private:
    std::size_t at_;
    bool afterIt_;
    std::size_t attempts_ = 0;
};

} // namespace morvane::testing
