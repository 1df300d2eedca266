#pragma once

#include "cli/CliRun.h"
#include "engine/testing/DiskFixtures.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace morvane::cli::testing {

struct Run {
    int status;
    std::string out;
    std::string err;
};

// Runs the command line in-process, from `workingDirectory`, as if its
// output went to a terminal or not.
inline Run run(std::vector<std::string> arguments, const std::string& workingDirectory = "/",
               bool terminal = false) {
    std::ostringstream out, err;
    CliEnvironment environment;
    environment.workingDirectory = workingDirectory;
    environment.outputIsTerminal = terminal;
    const int status = runCli(arguments, out, err, environment);
    return {status, out.str(), err.str()};
}

// A folder of empty files, with history and preset folders beside it.
struct Workspace {
    morvane::testing::TempFolder root;
    std::string photos = root / "photos";
    std::string history = root / "history";
    std::string presets = root / "presets";

    explicit Workspace(const std::vector<std::string>& files) {
        morvane::testing::makeFolder(photos);
        for (const auto& file : files) {
            morvane::testing::writeFile(photos + "/" + file, file);
        }
    }

    // The command line with the workspace's history and preset folders.
    Run cli(std::vector<std::string> arguments) const {
        const bool plans = !arguments.empty() && (arguments[0] == "preview" || arguments[0] == "rename");
        if (plans || arguments[0] == "presets") {
            arguments.insert(arguments.begin() + 1, {"--presets-dir", presets});
        }
        const bool choosesItsOwn = std::find_if(arguments.begin(), arguments.end(), [](const std::string& a) {
                                       return a == "--no-history" || a == "--history-dir";
                                   }) != arguments.end();
        if (!choosesItsOwn && (arguments[0] == "rename" || arguments[0] == "undo" ||
                               arguments[0] == "history" || arguments[0] == "recover")) {
            arguments.insert(arguments.begin() + 1, {"--history-dir", history});
        }
        return run(arguments, root.path());
    }

    std::vector<std::string> names() const { return morvane::testing::namesIn(photos); }
};

} // namespace morvane::cli::testing
