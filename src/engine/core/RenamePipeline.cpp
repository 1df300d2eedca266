#include "engine/core/RenamePipeline.h"

#include "engine/core/MissingMetadataError.h"
#include "engine/core/NameValidation.h"
#include "engine/metadata/MetadataCache.h"
#include "engine/support/DateFormatting.h"
#include "engine/support/Localization.h"
#include "engine/support/NameKey.h"
#include "engine/support/Unicode.h"

#include <algorithm>
#include <unordered_map>

namespace morvane {
namespace {

// For every entry, how many entries (itself included) share its key: its
// folder's number and its name's key. Open addressing over entry indices
// rather than a node per key, since this runs over every item after every
// keystroke; keys are compared by hash, and only equal hashes by the names.
template <typename NameOf>
std::vector<std::uint32_t> sharedKeyCounts(const std::vector<std::uint32_t>& folders,
                                           const std::vector<std::uint64_t>& hashes, NameOf nameOf) {
    const std::size_t count = hashes.size();
    std::size_t capacity = 16;
    while (capacity < 2 * count) {
        capacity *= 2;
    }
    const std::size_t mask = capacity - 1;
    std::vector<std::uint32_t> slots(capacity, 0); // first entry with the key, plus one
    std::vector<std::uint32_t> firstWithKey(count);
    std::vector<std::uint32_t> counts(count, 0); // by first entry
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t hash = hashes[i] ^ (folders[i] * 0x9e3779b97f4a7c15ULL);
        std::size_t slot = (hash ^ (hash >> 29)) & mask;
        while (slots[slot] != 0) {
            const std::uint32_t first = slots[slot] - 1;
            if (folders[first] == folders[i] && hashes[first] == hashes[i] &&
                NameKey::haveOneKey(nameOf(first), nameOf(i), false)) {
                break;
            }
            slot = (slot + 1) & mask;
        }
        if (slots[slot] == 0) {
            slots[slot] = static_cast<std::uint32_t>(i + 1);
        }
        firstWithKey[i] = slots[slot] - 1;
        ++counts[firstWithKey[i]];
    }
    std::vector<std::uint32_t> shared(count);
    for (std::size_t i = 0; i < count; ++i) {
        shared[i] = counts[firstWithKey[i]];
    }
    return shared;
}

// What an included item's new name means before collisions are counted:
// unchanged, invalid, a case-only rename or a rename.
RenameStatus statusApartFromCollisions(std::string_view oldName, std::string_view newName) {
    using Kind = RenameStatus::Kind;
    if (unicode::canonicallyEqual(newName, oldName)) {
        return RenameStatus::of(Kind::unchanged);
    }
    if (auto problem = NameValidation::validate(newName)) {
        return RenameStatus::invalid(std::move(*problem));
    }
    return RenameStatus::of(NameKey::haveOneKey(newName, oldName, false) ? Kind::caseOnlyRename
                                                                         : Kind::rename);
}

// The number of items a run renames: the `total` of every rule context.
std::int64_t includedCount(const std::vector<FileItem>& items) {
    return std::count_if(items.begin(), items.end(), [](const FileItem& item) { return item.isIncluded; });
}

bool sameName(const FileName& a, const FileName& b) {
    return unicode::canonicallyEqual(a.stem, b.stem) && unicode::canonicallyEqual(a.ext, b.ext);
}

struct StepFailure {
    std::string message;
    bool isMissingMetadata = false; // the item's file lacks what the rule reads
};

// Applies one rule; on failure puts back `before` (the name the rule received)
// and says why.
std::optional<StepFailure> applyStep(const RenameRule& rule, FileName& name, const FileName& before,
                                     const RuleContext& context) {
    try {
        rule.apply(name, context);
        return std::nullopt;
    } catch (const MissingMetadataError& error) {
        name = before;
        return StepFailure{error.message(), true};
    } catch (const RuleError& error) {
        name = before;
        return StepFailure{error.message()};
    } catch (const std::exception& error) {
        name = before;
        return StepFailure{error.what()};
    } catch (...) {
        name = before;
        return StepFailure{localized("The rule failed for an unknown reason")};
    }
}

// Numbers the folders of a run in the order they first come, remembering the
// last one: items mostly come folder by folder. The views must outlive it.
class FolderNumbers {
public:
    std::uint32_t of(std::string_view folder) {
        if (!numbers_.empty() && folder == last_) {
            return lastNumber_;
        }
        lastNumber_ = numbers_.try_emplace(folder, static_cast<std::uint32_t>(numbers_.size())).first->second;
        last_ = folder;
        return lastNumber_;
    }

private:
    std::unordered_map<std::string_view, std::uint32_t> numbers_;
    std::string_view last_;
    std::uint32_t lastNumber_ = 0;
};
// What the rules may read of `item`'s file, when they read any.
std::shared_ptr<const FileMetadata> metadataOf(const FileItem& item, const MetadataCache* cache) {
    return cache != nullptr ? cache->find(item) : nullptr;
}

} // namespace

RenamePipeline RenamePipeline::fromRules(const std::vector<std::shared_ptr<const RenameRule>>& rules) {
    RenamePipeline pipeline;
    for (const auto& rule : rules) {
        pipeline.steps.push_back(PipelineStep{rule, true});
    }
    return pipeline;
}

ItemDetails RenamePipeline::needsDetails() const {
    ItemDetails details;
    for (const PipelineStep& step : steps) {
        if (step.isEnabled) {
            details |= step.rule->needsDetails();
        }
    }
    return details;
}

RenamePlan RenamePipeline::plan(const std::vector<FileItem>& items) const {
    return *plan(items, std::stop_token());
}

std::optional<RenamePlan> RenamePipeline::plan(const std::vector<FileItem>& items,
                                               std::stop_token stop) const {
    return planItems(items, std::move(stop));
}

RenamePlan RenamePipeline::plan(std::vector<FileItem>&& items) const {
    return *plan(std::move(items), std::stop_token());
}

std::optional<RenamePlan> RenamePipeline::plan(std::vector<FileItem>&& items, std::stop_token stop) const {
    return planItems(std::move(items), std::move(stop));
}

template <typename Items>
std::optional<RenamePlan> RenamePipeline::planItems(Items&& items, std::stop_token stop) const {
    // A power of two, so the check is a mask; a few hundred items take well
    // under a millisecond.
    constexpr std::size_t stopCheckInterval = 256;
    constexpr bool takesItems = !std::is_const_v<std::remove_reference_t<Items>>;
    using Kind = RenameStatus::Kind;
    DateFormatting::recheckSystemZone();
    RenamePlan plan;
    plan.changedCounts.assign(steps.size(), 0);
    // Reserved once: the entries never move, so views of their folders stay valid.
    plan.entries.reserve(items.size());

    const std::int64_t total = includedCount(items);
    const EditedNames* edited = editedNames && !editedNames->empty() ? editedNames.get() : nullptr;

    // Every entry, excluded ones included (they hold their current names
    // against the others), gets its collision key's hash while its item is
    // at hand: the folder and the name's key, letter case ignored. Folders
    // are numbered (items mostly come folder by folder) so long paths are
    // neither copied nor hashed per item.
    std::vector<std::uint64_t> hashes;
    hashes.reserve(items.size());
    std::vector<std::uint32_t> folders;
    folders.reserve(items.size());
    FolderNumbers folderNumbers;
    std::vector<std::int64_t> numberedInFolder; // by folder number

    // Looking metadata up costs a path per item, so only rules that read it pay for it.
    const MetadataCache* cache = needsDetails().contents() ? metadata.get() : nullptr;
    std::vector<std::string> warnings;

    std::int64_t index = 0;
    FileName before; // assigned, not built, at every step: its buffers are reused
    for (auto& source : items) {
        if (plan.entries.size() % stopCheckInterval == 0 && stop.stop_requested()) {
            return std::nullopt;
        }
        RenamePlan::Entry& entry =
            plan.entries.emplace_back(RenamePlan::Entry{takesItems ? std::move(source) : source, {}, {}});
        const FileItem& item = entry.item;
        const std::uint32_t folder = folderNumbers.of(item.directory);
        folders.push_back(folder);
        if (!item.isIncluded) {
            entry.newName = item.name;
            entry.status = RenameStatus::of(Kind::excluded);
            hashes.push_back(NameKey::hashOf(entry.newName, false));
            continue;
        }
        if (numberedInFolder.size() <= folder) {
            numberedInFolder.resize(folder + 1, 0);
        }
        const auto metadataFound = metadataOf(item, cache);
        const RuleContext context{item,     index++, total, numberedInFolder[folder]++, metadataFound.get(),
                                  &warnings};
        const std::size_t entryIndex = plan.entries.size() - 1;
        const std::string* editedName = nullptr;
        if (edited != nullptr) {
            if (const auto found = edited->find(item.id); found != edited->end()) {
                editedName = &found->second;
            }
        }
        if (editedName != nullptr) {
            // The user's name stands in for the rules' (which count no change
            // for it); the item keeps its place in the numbering all the same.
            entry.newName = *editedName;
            entry.isEdited = true;
        } else {
            FileName name = FileName::parsing(item.name);
            for (std::size_t s = 0; s < steps.size(); ++s) {
                if (!steps[s].isEnabled) {
                    continue;
                }
                before = name;
                warnings.clear();
                if (auto failure = applyStep(*steps[s].rule, name, before, context)) {
                    if (failure->isMissingMetadata) {
                        plan.notes.push_back(
                            {entryIndex, s, ItemNote::Level::error, std::move(failure->message)});
                    } else {
                        plan.ruleErrors[s] = std::move(failure->message);
                    }
                } else if (!sameName(before, name)) {
                    ++plan.changedCounts[s];
                }
                for (std::string& warning : warnings) {
                    plan.notes.push_back({entryIndex, s, ItemNote::Level::warning, std::move(warning)});
                }
            }
            entry.newName = name.full();
        }
        hashes.push_back(NameKey::hashOf(entry.newName, false));
        entry.status = statusApartFromCollisions(item.name, entry.newName);
    }
    if constexpr (takesItems) {
        // What is left of them is only in the way now.
        std::vector<FileItem>().swap(items);
    }

    // A name shared in its folder is a conflict, unless it is invalid anyway.
    if (stop.stop_requested()) {
        return std::nullopt;
    }
    const std::vector<std::uint32_t> sharing = sharedKeyCounts(
        folders, hashes, [&](std::size_t i) -> std::string_view { return plan.entries[i].newName; });
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        RenameStatus& status = plan.entries[i].status;
        if (sharing[i] > 1 && status.kind != Kind::excluded && status.kind != Kind::invalid) {
            status = RenameStatus::of(Kind::duplicate);
        }
    }
    return plan;
}

std::vector<StepTrace> RenamePipeline::trace(const FileItem& item, std::int64_t index,
                                             std::optional<std::int64_t> total,
                                             std::optional<std::int64_t> folderIndex) const {
    DateFormatting::recheckSystemZone();
    const auto found = metadataOf(item, needsDetails().contents() ? metadata.get() : nullptr);
    const RuleContext context{item, index, total.value_or(index + 1), folderIndex.value_or(index),
                              found.get()};
    FileName name = FileName::parsing(item.name);
    std::vector<StepTrace> result;
    result.reserve(steps.size());
    for (std::size_t s = 0; s < steps.size(); ++s) {
        if (!steps[s].isEnabled) {
            result.push_back({s, name.full(), false, std::nullopt});
            continue;
        }
        const FileName before = name;
        auto failure = applyStep(*steps[s].rule, name, before, context);
        result.push_back(
            {s, name.full(), true, failure ? std::optional(std::move(failure->message)) : std::nullopt});
    }
    return result;
}

std::vector<std::string> RenamePipeline::inputStems(std::size_t stepIndex,
                                                    const std::vector<FileItem>& items) const {
    DateFormatting::recheckSystemZone();
    std::vector<std::string> stems;
    stems.reserve(items.size());
    // Numbered as planning numbers them: excluded items keep their names and
    // take no place in the run.
    const std::int64_t total = includedCount(items);
    const std::size_t limit = std::min(stepIndex, steps.size());
    const MetadataCache* cache = needsDetails().contents() ? metadata.get() : nullptr;
    std::int64_t index = 0;
    FolderNumbers folderNumbers;
    std::vector<std::int64_t> numberedInFolder;
    for (const FileItem& item : items) {
        FileName name = FileName::parsing(item.name);
        if (!item.isIncluded) {
            stems.push_back(std::move(name.stem));
            continue;
        }
        const std::uint32_t folder = folderNumbers.of(item.directory);
        if (numberedInFolder.size() <= folder) {
            numberedInFolder.resize(folder + 1, 0);
        }
        const auto found = metadataOf(item, cache);
        const RuleContext context{item, index++, total, numberedInFolder[folder]++, found.get()};
        for (std::size_t s = 0; s < limit; ++s) {
            if (steps[s].isEnabled) {
                const FileName before = name;
                applyStep(*steps[s].rule, name, before, context);
            }
        }
        stems.push_back(std::move(name.stem));
    }
    return stems;
}

} // namespace morvane
