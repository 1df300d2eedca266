#include "KilledRun.h"

#include "engine/testing/DiskFixtures.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <poll.h>
#include <stdexcept>
#include <string_view>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace morvane::kills {
namespace {

using Clock = std::chrono::steady_clock;

// Watches of folders, and what they have seen since.
class Watch {
public:
    Watch() : fd_(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK)) {
        if (fd_ < 0) {
            throw std::runtime_error("inotify is not available");
        }
    }
    ~Watch() { ::close(fd_); }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

    void add(const std::string& folder, std::uint32_t events, bool forEntries) {
        const int wd = ::inotify_add_watch(fd_, folder.c_str(), events);
        if (wd >= 0) {
            forEntries_[wd] = forEntries;
        }
    }
    int fd() const { return fd_; }
    // Reads what has come; counts moves into watched work folders and notes
    // whether any entry, and one whose name ends with `fragment`, came into
    // a watched entry folder.
    void read(const std::string& fragment, int& moves, bool& anySeen, bool& entrySeen) {
        alignas(inotify_event) char events[16384];
        for (;;) {
            const ssize_t length = ::read(fd_, events, sizeof events);
            if (length <= 0) {
                return;
            }
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                const auto watched = forEntries_.find(event->wd);
                if (watched != forEntries_.end() && event->len > 0) {
                    if (watched->second) {
                        anySeen = true;
                        entrySeen = entrySeen ||
                                    (!fragment.empty() && std::string_view(event->name).ends_with(fragment));
                    } else if ((event->mask & IN_MOVED_TO) != 0) {
                        ++moves;
                    }
                }
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

private:
    int fd_;
    std::map<int, bool> forEntries_;
};

} // namespace

int KilledRun::start(const std::vector<std::string>& arguments, const std::string& name) {
    const std::string out = scratch_ + "/" + name + ".out";
    const std::string err = scratch_ + "/" + name + ".err";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(binary_.c_str()));
    for (const auto& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int nothing = ::open("/dev/null", O_RDONLY);
        if (outFd < 0 || errFd < 0 || nothing < 0 || ::dup2(outFd, 1) < 0 || ::dup2(errFd, 2) < 0 ||
            ::dup2(nothing, 0) < 0) {
            ::_exit(126);
        }
        ::execv(binary_.c_str(), argv.data());
        ::_exit(127);
    }
    return child;
}

RunResult KilledRun::run(const std::vector<std::string>& arguments, const KillPoint& point,
                         const std::vector<std::string>& entryFolders,
                         const std::vector<std::string>& moveFolders, const std::vector<std::string>& beside,
                         std::chrono::seconds limit) {
    Watch watch;
    for (const auto& folder : entryFolders) {
        watch.add(folder, IN_CREATE | IN_MOVED_TO, true);
    }
    for (const auto& folder : moveFolders) {
        watch.add(folder, IN_MOVED_TO, false);
    }
    const std::string name = "run";
    const pid_t child = start(arguments, name);
    // Readable once the process has ended, so that waiting for it costs no poll interval.
    const int ended = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
    const auto started = Clock::now();
    const auto giveUp = started + limit;
    int moves = 0;
    bool anySeen = false;
    bool entrySeen = false;
    pid_t besidePid = -1;
    bool sentKill = false;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        const auto now = Clock::now();
        bool kill = now >= giveUp;
        switch (point.kind) {
        case KillPoint::Kind::never:
            break;
        case KillPoint::Kind::afterDelay:
            kill = kill || now - started >= point.delay;
            break;
        case KillPoint::Kind::onEntry:
            kill = kill || entrySeen;
            break;
        case KillPoint::Kind::afterMoves:
            kill = kill || moves >= point.moves;
            break;
        }
        if (kill) {
            ::kill(child, SIGKILL);
            sentKill = true;
            while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
            break;
        }
        int timeout = ended >= 0 ? 100 : 5;
        if (point.kind == KillPoint::Kind::afterDelay) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(point.delay - (now - started));
            timeout = static_cast<int>(std::clamp<long long>(left.count(), 0, timeout));
            if (left < std::chrono::milliseconds(1)) {
                // Short delays are waited out closely, not by the poll's millisecond.
                const auto until = started + point.delay;
                while (Clock::now() < until) {
                }
                continue;
            }
        }
        pollfd ready[2]{{watch.fd(), POLLIN, 0}, {ended, POLLIN, 0}};
        if (::poll(ready, ended >= 0 ? 2 : 1, timeout) > 0) {
            watch.read(point.fragment, moves, anySeen, entrySeen);
        }
        if (!beside.empty() && anySeen && besidePid < 0) {
            besidePid = start(beside, "beside");
        }
    }
    if (ended >= 0) {
        ::close(ended);
    }
    RunResult result;
    result.killed = sentKill && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (sentKill && Clock::now() >= giveUp) {
        result.killed = false; // hung: not a kill of ours to count
        result.status = -2;
    } else {
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    result.out = morvane::testing::readFile(scratch_ + "/" + name + ".out");
    result.err = morvane::testing::readFile(scratch_ + "/" + name + ".err");
    if (besidePid >= 0) {
        while (::waitpid(besidePid, &status, 0) < 0 && errno == EINTR) {
        }
        result.besideErr = morvane::testing::readFile(scratch_ + "/beside.err");
    }
    return result;
}

} // namespace morvane::kills
