#pragma once

#include <cstddef>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace morvane::kills {

// One round's work folder: files named "a" or "A" and a number, perhaps with
// folders holding files of their own. They are sorted by size, which gives
// each the number it is to have, and named by a counter, the case of the
// letter following the number's parity: a batch of cycles, chains, case-only
// renames (a file that keeps its number but changes case) and folders renamed
// with their contents.
struct KillScenario {
    std::vector<std::string> options; // rules and scanning, for preview and rename
    std::size_t items = 0;

    static KillScenario make(std::mt19937_64& random, const std::string& work);
};

// What the work folder holds once a batch is done, from the plan that
// `preview --json` printed for it and the folder before: every renamed item
// (and everything below a renamed folder) under its new path.
std::map<std::string, std::string> renamedSnapshot(const std::map<std::string, std::string>& before,
                                                   const std::string& planJson, const std::string& work);

} // namespace morvane::kills
