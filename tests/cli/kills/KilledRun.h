#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace morvane::kills {

// When to kill a process: never, after a while, the moment an entry whose
// name ends with `fragment` comes into a watched folder (a draft, a record, a
// history file), or after its `moves`-th rename inside the watched work folders.
struct KillPoint {
    enum class Kind { never, afterDelay, onEntry, afterMoves };
    Kind kind = Kind::never;
    std::chrono::microseconds delay{0};
    std::string fragment;
    int moves = 0;
};

struct RunResult {
    bool killed = false; // ended by our SIGKILL
    int status = -1;     // its exit status otherwise
    std::string out;
    std::string err;
    std::string besideErr; // of the process started beside it, if any
};

// A morvane-cli process, started with `arguments` and its output kept in
// files under `scratch`. The folders to watch for entries and for moves are
// given before it starts.
class KilledRun {
public:
    KilledRun(std::string binary, std::string scratch)
        : binary_(std::move(binary)), scratch_(std::move(scratch)) {}

    // Starts the process, waits for it (killing it as `point` says, or after
    // `limit` in any case) and returns what became of it. With `beside`, a
    // second process is started with those arguments the moment the first
    // entry comes into a watched folder, and waited for too.
    RunResult run(const std::vector<std::string>& arguments, const KillPoint& point,
                  const std::vector<std::string>& entryFolders, const std::vector<std::string>& moveFolders,
                  const std::vector<std::string>& beside = {},
                  std::chrono::seconds limit = std::chrono::seconds(120));

private:
    int start(const std::vector<std::string>& arguments, const std::string& name);

    std::string binary_;
    std::string scratch_;
};

} // namespace morvane::kills
