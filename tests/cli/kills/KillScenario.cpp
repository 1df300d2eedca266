#include "KillScenario.h"

#include "engine/testing/DiskFixtures.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace morvane::kills {
namespace {

std::string nameOf(int number, bool upper) {
    char name[16];
    std::snprintf(name, sizeof name, "%c%04d", upper ? 'A' : 'a', number);
    return name;
}

int between(std::mt19937_64& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

} // namespace

KillScenario KillScenario::make(std::mt19937_64& random, const std::string& work) {
    const int size = between(random, 0, 9);
    const int files = size < 3   ? between(random, 3, 40)
                      : size < 8 ? between(random, 60, 600)
                                 : between(random, 1000, 2500);
    const int folders = between(random, 0, 3) == 0 ? between(random, 1, 3) : 0;
    std::vector<int> inFolder(static_cast<std::size_t>(files), -1); // -1: the work folder itself
    for (auto& folder : inFolder) {
        if (folders > 0 && between(random, 0, 5) == 0) {
            folder = between(random, 0, folders - 1);
        }
    }
    const int total = files + folders;
    // Old numbers from a wider range than the new ones, so that some names
    // are free (chains end there) and some are taken (cycles).
    const int range = total + between(random, 0, total / 2 + 1);
    std::vector<int> numbers(static_cast<std::size_t>(range));
    std::iota(numbers.begin(), numbers.end(), 1);
    std::shuffle(numbers.begin(), numbers.end(), random);
    numbers.resize(static_cast<std::size_t>(total));
    const int start = between(random, 1, range - total + 1);

    // Folders have no size and come first in the order; files take the new
    // numbers after theirs. A file keeps its number now and then, and
    // changes only its case, or nothing.
    std::vector<int> wanted(static_cast<std::size_t>(files), -1); // by file: its place in the order
    std::vector<bool> taken(static_cast<std::size_t>(total), false);
    for (int file = 0; file < files; ++file) {
        const int keep = numbers[static_cast<std::size_t>(folders + file)] - start;
        if (keep >= folders && keep < total && !taken[static_cast<std::size_t>(keep)] &&
            between(random, 0, 7) == 0) {
            wanted[static_cast<std::size_t>(file)] = keep;
            taken[static_cast<std::size_t>(keep)] = true;
        }
    }
    std::vector<int> free;
    for (int rank = folders; rank < total; ++rank) {
        if (!taken[static_cast<std::size_t>(rank)]) {
            free.push_back(rank);
        }
    }
    std::shuffle(free.begin(), free.end(), random);
    for (int file = 0, next = 0; file < files; ++file) {
        if (wanted[static_cast<std::size_t>(file)] < 0) {
            wanted[static_cast<std::size_t>(file)] = free[static_cast<std::size_t>(next++)];
        }
    }

    morvane::testing::makeFolder(work);
    std::vector<std::string> folderPaths;
    for (int folder = 0; folder < folders; ++folder) {
        folderPaths.push_back(work + "/" +
                              nameOf(numbers[static_cast<std::size_t>(folder)], between(random, 0, 1) == 1));
        morvane::testing::makeFolder(folderPaths.back());
    }
    for (int file = 0; file < files; ++file) {
        const int number = numbers[static_cast<std::size_t>(folders + file)];
        const int folder = inFolder[static_cast<std::size_t>(file)];
        const std::string path = (folder < 0 ? work : folderPaths[static_cast<std::size_t>(folder)]) + "/" +
                                 nameOf(number, between(random, 0, 1) == 1);
        // The size orders the files; the contents tell each file from every other.
        std::string contents = "file " + std::to_string(number) + " ";
        contents.resize(32 + static_cast<std::size_t>(wanted[static_cast<std::size_t>(file)]), '.');
        morvane::testing::writeFile(path, contents);
    }

    KillScenario scenario;
    scenario.items = static_cast<std::size_t>(total);
    scenario.options = {"--sort",
                        "size",
                        "--rule",
                        R"({"kind":"counter","position":"replace","start":)" + std::to_string(start) +
                            R"(,"step":1,"width":4})",
                        "--regex",
                        R"(^(\d*[13579])$=A$1)",
                        "--regex",
                        R"(^(\d*[02468])$=a$1)"};
    if (folders > 0) {
        scenario.options.insert(scenario.options.begin(), {"--recursive", "--folders"});
    }
    return scenario;
}

std::map<std::string, std::string> renamedSnapshot(const std::map<std::string, std::string>& before,
                                                   const std::string& planJson, const std::string& work) {
    std::map<std::string, std::string> newNames; // relative path before -> new name
    const nlohmann::json plan = nlohmann::json::parse(planJson);
    for (const auto& entry : plan.at("entries")) {
        const std::string directory = entry.at("directory");
        const std::string relative =
            (directory == work ? std::string() : directory.substr(work.size() + 1) + "/") +
            entry.at("name").get<std::string>();
        newNames[relative] = entry.at("newName");
    }
    std::map<std::string, std::string> after;
    for (const auto& [path, contents] : before) {
        std::string moved;
        std::string sofar;
        std::size_t from = 0;
        while (from <= path.size()) {
            const std::size_t slash = std::min(path.find('/', from), path.size());
            const std::string component = path.substr(from, slash - from);
            sofar += (sofar.empty() ? "" : "/") + component;
            const auto renamed = newNames.find(sofar);
            moved += (moved.empty() ? "" : "/") + (renamed != newNames.end() ? renamed->second : component);
            from = slash + 1;
        }
        after[moved] = contents;
    }
    return after;
}

} // namespace morvane::kills
