#include "engine/transactions/UndoReport.h"

#include "engine/support/RawValues.h"

#include <algorithm>
#include <array>

namespace morvane {
namespace {

constexpr std::array<std::string_view, 2> kReasons{"missing", "targetOccupied"};

} // namespace

std::size_t UndoReport::revertedCount() const {
    return count(Status::Kind::reverted);
}

std::size_t UndoReport::count(Status::Kind kind) const {
    return static_cast<std::size_t>(std::count_if(
        statuses.begin(), statuses.end(), [kind](const auto& entry) { return entry.second.kind == kind; }));
}

std::size_t UndoReport::skippedCount() const {
    return statuses.size() - revertedCount();
}

bool UndoReport::isPartial() const {
    return statuses.size() > revertedCount();
}

std::string_view rawValue(UndoReport::Reason reason) {
    return rawValueIn(kReasons, reason);
}

std::optional<UndoReport::Reason> undoReasonFromRawValue(std::string_view raw) {
    return enumFromRawValue<UndoReport::Reason>(kReasons, raw);
}

} // namespace morvane
