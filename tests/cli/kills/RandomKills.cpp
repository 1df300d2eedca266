// Renames, undoes and recovers real folders with the built morvane-cli and
// kills the processes (SIGKILL) at random moments: as a record's draft or the
// record itself appears, as the batch's history record is put in place,
// after a random number of moves, or after a random time; now and then a
// `recover` runs beside a starting `rename`, and a record left behind is
// damaged (progress marks wrong but valid, a changed byte in a block, a mark
// out of range). After every round the work folder must hold exactly what it
// held before, each file under its old name, or under its new name with the
// batch recorded (and `undo` must then bring the old names back); no record
// may be left, and a second `recover` must find nothing to do.
//
//   morvane_random_kills [--seconds N] [--seed S] [--binary PATH]
//
// or MORVANE_KILL_SECONDS, MORVANE_KILL_SEED and MORVANE_KILL_BINARY (another
// build's morvane-cli; by default this build's). The seed is printed; a round
// that fails says which it was. Exits 1 when any round failed.
#include "KillScenario.h"
#include "KilledRun.h"
#include "engine/testing/DiskFixtures.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <random>

namespace morvane::kills {
namespace {

namespace fs = std::filesystem;
using Snapshot = std::map<std::string, std::string>;
using Clock = std::chrono::steady_clock;

struct Totals {
    std::size_t rounds = 0, renames = 0, undos = 0, recovers = 0;
    std::size_t killedRenames = 0, killedUndos = 0, killedRecovers = 0, killedMidBatch = 0;
    std::size_t damaged = 0, damagedRefused = 0, besideRecovers = 0, faults = 0;
};

// A record left behind, and how it was damaged: bytes to put back after a
// damage that recovery must refuse.
struct Damage {
    std::string file;
    std::string whole;
    std::string damaged;
    bool mustBeRefused = false;
};

std::uint64_t littleEndian(const std::string& bytes, std::size_t at, int width) {
    std::uint64_t value = 0;
    for (int i = 0; i < width && at + static_cast<std::size_t>(i) < bytes.size(); ++i) {
        value |=
            static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]))
            << (8 * i);
    }
    return value;
}

std::uint64_t pageRounded(std::uint64_t size) {
    return (size + 4095) / 4096 * 4096;
}

class Round {
public:
    Round(const std::string& binary, const std::string& root, std::uint64_t seed, std::size_t number,
          Totals& totals, double& microsPerItem)
        : random_(seed * 0x9E3779B97F4A7C15ULL + number), number_(number), seed_(seed), totals_(totals),
          microsPerItem_(microsPerItem), work_(root + "/work"), history_(root + "/history"),
          presets_(root + "/presets"), scratch_(root + "/scratch"), runner_(binary, scratch_) {
        for (const auto& folder : {work_, history_}) {
            fs::remove_all(folder);
        }
        for (const auto& folder : {history_, scratch_, presets_}) {
            fs::create_directories(folder);
        }
    }

    void run() {
        const KillScenario scenario = KillScenario::make(random_, work_);
        items_ = scenario.items;
        original_ = testing::snapshot(work_);
        std::vector<std::string> preview{"preview", "--json", "--presets-dir", presets_};
        preview.insert(preview.end(), scenario.options.begin(), scenario.options.end());
        preview.push_back(work_);
        const RunResult planned = runner_.run(preview, {}, {}, {});
        if (planned.status != 0) {
            return fault("the preview exited " + std::to_string(planned.status) + ": " + planned.err);
        }
        renamed_ = renamedSnapshot(original_, planned.out, work_);
        if (renamed_ == original_) {
            // A small scenario can draw every file already under its planned
            // name: nothing to kill, so the round is drawn again.
            return;
        }

        std::vector<std::string> rename{"rename", "--history-dir", history_, "--presets-dir", presets_};
        rename.insert(rename.end(), scenario.options.begin(), scenario.options.end());
        rename.push_back(work_);
        // Now and then a recover starts as the rename begins to write its record.
        std::vector<std::string> beside;
        if (chance(1, 6)) {
            beside = {"recover", "--history-dir", history_};
            ++totals_.besideRecovers;
        }
        const auto sizesBefore = sizes();
        const auto started = Clock::now();
        const RunResult renaming = runner_.run(rename, killPoint(), {history_}, workFolders(), beside);
        ++totals_.renames;
        if (renaming.besideErr.find("cannot be used") != std::string::npos) {
            return fault("a recover beside the rename called its record damaged: " + renaming.besideErr);
        }
        if (renaming.killed) {
            ++totals_.killedRenames;
            noteKill(sizesBefore);
        } else if (renaming.status != 0) {
            return fault("the rename exited " + std::to_string(renaming.status) + ": " + renaming.err);
        } else {
            const double micros = std::chrono::duration<double, std::micro>(Clock::now() - started).count();
            microsPerItem_ = 0.8 * microsPerItem_ + 0.2 * micros / static_cast<double>(items_);
        }
        if (!recoverEverything() || !isOriginalOrRenamed()) {
            return;
        }
        for (int attempt = 0; revertible() > 0; ++attempt) {
            if (attempt == 4) {
                return fault("undo does not take the batch back");
            }
            const auto before = sizes();
            const RunResult undoing =
                runner_.run({"undo", "--history-dir", history_}, attempt == 0 ? killPoint() : KillPoint{},
                            {history_}, workFolders());
            ++totals_.undos;
            if (undoing.killed) {
                ++totals_.killedUndos;
                noteKill(before);
            } else if (undoing.status != 0) {
                return fault("the undo exited " + std::to_string(undoing.status) + ": " + undoing.err);
            }
            if (!recoverEverything() || !isOriginalOrRenamed()) {
                return;
            }
        }
    }

private:
    bool chance(int in, int of) { return std::uniform_int_distribution<int>(1, of)(random_) <= in; }
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    void fault(const std::string& what) {
        ++totals_.faults;
        std::cerr << "random-kills: FAULT in round " << number_ << " (seed " << seed_ << "): " << what
                  << "\n";
    }

    std::vector<std::string> workFolders() const {
        std::vector<std::string> folders{work_};
        for (const auto& entry : fs::recursive_directory_iterator(work_)) {
            if (entry.is_directory()) {
                folders.push_back(entry.path().string());
            }
        }
        return folders;
    }

    KillPoint killPoint() {
        KillPoint point;
        switch (between(0, 9)) {
        case 0:
        case 1:
            break; // never
        case 2:
            point = {KillPoint::Kind::onEntry, {}, ".draft", 0};
            break;
        case 3:
            point = {KillPoint::Kind::onEntry, {}, ".journal", 0};
            break;
        case 4:
            point = {KillPoint::Kind::onEntry, {}, ".json", 0};
            break;
        case 5:
        case 6:
        case 7:
            point = {
                KillPoint::Kind::afterMoves, {}, {}, between(1, static_cast<int>(items_ + items_ / 4 + 1))};
            break;
        default: {
            const double expected = 3000.0 + microsPerItem_ * static_cast<double>(items_);
            point.kind = KillPoint::Kind::afterDelay;
            point.delay = std::chrono::microseconds(
                static_cast<long long>(std::uniform_real_distribution<double>(0, 1.3 * expected)(random_)));
        }
        }
        return point;
    }

    std::vector<std::string> records() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(history_)) {
            if (entry.path().extension() == ".journal") {
                found.push_back(entry.path().string());
            }
        }
        return found;
    }

    // Where each file is, by its size, which tells the files of a round apart.
    std::map<std::string, std::uintmax_t> sizes() const {
        std::map<std::string, std::uintmax_t> found;
        for (const auto& entry : fs::recursive_directory_iterator(work_)) {
            found[entry.path().string()] = entry.is_directory() ? 0 : entry.file_size();
        }
        return found;
    }

    // A kill that left a record with moves made stopped a batch in the middle.
    void noteKill(const std::map<std::string, std::uintmax_t>& before) {
        if (!records().empty() && sizes() != before) {
            ++totals_.killedMidBatch;
        }
    }

    // Damages the record left behind, now and then.
    std::optional<Damage> damage() {
        const auto left = records();
        if (left.empty() || !chance(2, 5)) {
            return std::nullopt;
        }
        Damage damage{left.front(), testing::readFile(left.front()), {}, false};
        std::string& bytes = damage.damaged;
        bytes = damage.whole;
        const std::uint64_t progress = pageRounded(24 + littleEndian(bytes, 16, 4));
        const std::uint64_t count = littleEndian(bytes, 57, 8);
        const std::uint64_t stream = progress + pageRounded(std::max<std::uint64_t>(count, 1));
        if (count == 0 || bytes.size() <= stream) {
            return std::nullopt;
        }
        ++totals_.damaged;
        const auto anyOf = [&](std::uint64_t from, std::uint64_t to) {
            return static_cast<std::size_t>(
                std::uniform_int_distribution<std::uint64_t>(from, to - 1)(random_));
        };
        switch (between(0, 2)) {
        case 0: // marks that say another place, which may be wrong: recovery looks for itself
            for (int i = between(1, 5); i > 0; --i) {
                bytes[anyOf(progress, progress + count)] = chance(1, 2) ? 0x00 : 0x02;
            }
            break;
        case 1: // one byte of a block changed
            damage.mustBeRefused = true;
            bytes[anyOf(stream, bytes.size())] ^= static_cast<char>(1 << between(0, 7));
            break;
        default: // a mark out of range
            damage.mustBeRefused = true;
            bytes[anyOf(progress, progress + count)] = 0x03;
            break;
        }
        totals_.damagedRefused += damage.mustBeRefused ? 1 : 0;
        testing::writeFile(damage.file, bytes);
        return damage;
    }

    // Recovers until nothing is left, with kills of its own; false after a fault.
    bool recoverEverything() {
        std::optional<Damage> damaged = damage();
        for (int attempt = 0;; ++attempt) {
            if (attempt == 8) {
                fault("recovery does not finish");
                return false;
            }
            KillPoint point;
            if (attempt < 2 && chance(1, 4)) {
                point = {KillPoint::Kind::afterMoves, {}, {}, between(1, static_cast<int>(items_ + 1))};
            }
            const Snapshot before = damaged && damaged->mustBeRefused ? testing::snapshot(work_) : Snapshot{};
            const RunResult recovering =
                runner_.run({"recover", "--history-dir", history_}, point, {}, workFolders());
            ++totals_.recovers;
            if (recovering.killed) {
                ++totals_.killedRecovers;
                continue;
            }
            if (damaged && damaged->mustBeRefused) {
                if (recovering.status != 1 || recovering.err.find("cannot be used") == std::string::npos ||
                    testing::snapshot(work_) != before ||
                    testing::readFile(damaged->file) != damaged->damaged) {
                    fault("a damaged record was not refused as it stood: " + recovering.out + recovering.err);
                    return false;
                }
                testing::writeFile(damaged->file, damaged->whole);
                damaged.reset();
                continue;
            }
            if (recovering.status != 0) {
                fault("recover exited " + std::to_string(recovering.status) + ": " + recovering.out +
                      recovering.err);
                return false;
            }
            break;
        }
        const RunResult again = runner_.run({"recover", "--history-dir", history_}, {}, {}, {});
        ++totals_.recovers;
        if (again.status != 0 || again.out != "Nothing to recover.\n") {
            fault("a second recover found more to do: " + again.out + again.err);
            return false;
        }
        for (const auto& entry : fs::directory_iterator(history_)) {
            if (entry.path().extension() != ".json") {
                fault("left in the history folder: " + entry.path().filename().string());
                return false;
            }
        }
        return true;
    }

    // Operations of the recorded batch that undo would still take back; a
    // history that cannot be listed is a fault, and counts as none.
    std::size_t revertible() {
        const RunResult listed = runner_.run({"history", "--json", "--history-dir", history_}, {}, {}, {});
        const nlohmann::json batches = nlohmann::json::parse(listed.out, nullptr, false);
        if (listed.status != 0 || batches.is_discarded()) {
            fault("history exited " + std::to_string(listed.status) + ": " + listed.out + listed.err);
            return 0;
        }
        std::size_t count = 0;
        for (const auto& batch : batches) {
            for (const auto& operation : batch.value("operations", nlohmann::json::array())) {
                count += operation.at("state") == "done" && !operation.at("isReverted").get<bool>() ? 1 : 0;
            }
        }
        return count;
    }

    bool isOriginalOrRenamed() {
        const Snapshot now = testing::snapshot(work_);
        const std::size_t recorded = revertible();
        if (recorded == 0 && now == original_) {
            return true;
        }
        if (recorded > 0 && now == renamed_) {
            return true;
        }
        std::size_t differing = 0;
        for (const auto& [path, contents] : now) {
            const auto expected = (recorded == 0 ? original_ : renamed_).find(path);
            differing +=
                expected == (recorded == 0 ? original_ : renamed_).end() || expected->second != contents;
        }
        fault(std::to_string(differing) + " entries are not where they belong (" + std::to_string(recorded) +
              " renames recorded)");
        return false;
    }

    std::mt19937_64 random_;
    std::size_t number_;
    std::uint64_t seed_;
    Totals& totals_;
    double& microsPerItem_;
    std::string work_, history_, presets_, scratch_;
    KilledRun runner_;
    std::size_t items_ = 0;
    Snapshot original_, renamed_;
};

std::optional<std::string> setting(int argc, char** argv, const std::string& option, const char* variable) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (argv[i] == option) {
            return argv[i + 1];
        }
    }
    if (const char* value = std::getenv(variable)) {
        return value;
    }
    return std::nullopt;
}

} // namespace
} // namespace morvane::kills

int main(int argc, char** argv) {
    using namespace morvane::kills;
    const auto seconds = std::stod(setting(argc, argv, "--seconds", "MORVANE_KILL_SECONDS").value_or("30"));
    const std::uint64_t seed = std::stoull(
        setting(argc, argv, "--seed", "MORVANE_KILL_SEED").value_or(std::to_string(std::random_device{}())));
    const std::string binary =
        setting(argc, argv, "--binary", "MORVANE_KILL_BINARY").value_or(MORVANE_CLI_BINARY);
    std::cout << "random-kills: seed " << seed << " (replay with MORVANE_KILL_SEED=" << seed << "), "
              << seconds << " s" << std::endl;
    Totals totals;
    double microsPerItem = 20;
    const auto started = Clock::now();
    {
        const morvane::testing::TempFolder root;
        while (std::chrono::duration<double>(Clock::now() - started).count() < seconds) {
            Round(binary, root.path(), seed, totals.rounds, totals, microsPerItem).run();
            ++totals.rounds;
        }
    }
    std::cout << "random-kills: " << totals.rounds << " rounds: " << totals.renames << " renames ("
              << totals.killedRenames << " killed), " << totals.undos << " undos (" << totals.killedUndos
              << " killed), " << totals.recovers << " recovers (" << totals.killedRecovers << " killed, "
              << totals.besideRecovers << " beside a starting rename); " << totals.killedMidBatch
              << " kills mid-batch; " << totals.damaged << " damaged records (" << totals.damagedRefused
              << " to be refused); " << totals.faults << " faults" << std::endl;
    return totals.faults == 0 ? 0 : 1;
}
