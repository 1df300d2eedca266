#include "app/model/ListRow.h"

#include "app/model/Localizer.h"
#include "engine/support/Unicode.h"

#include <algorithm>

namespace morvane::app {
namespace {

bool contains(const RowIds& ids, const Uuid& id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

} // namespace

ListRow ListRow::make(std::string find, std::string with) {
    return ListRow{Uuid::random(), std::move(find), std::move(with), true};
}

ListRows appending(const ListRows& rows, const PairText::Pairs& pairs) {
    const bool allBlank = std::all_of(
        rows.begin(), rows.end(), [](const ListRow& row) { return row.find.empty() && row.with.empty(); });
    ListRows result = allBlank ? ListRows{} : rows;
    for (const auto& [find, with] : pairs) {
        result.push_back(ListRow::make(find, with));
    }
    return result;
}

ListRows duplicating(const ListRows& rows, const RowIds& ids) {
    ListRows result;
    result.reserve(rows.size());
    for (const ListRow& row : rows) {
        result.push_back(row);
        if (contains(ids, row.id)) {
            ListRow copy = row;
            copy.id = Uuid::random();
            result.push_back(std::move(copy));
        }
    }
    return result;
}

ListRows removing(const ListRows& rows, const RowIds& ids) {
    ListRows result;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(result),
                 [&](const ListRow& row) { return !contains(ids, row.id); });
    if (result.empty()) {
        result.push_back(ListRow::make());
    }
    return result;
}

PairText::Pairs pairs(const ListRows& rows) {
    PairText::Pairs result;
    result.reserve(rows.size());
    for (const ListRow& row : rows) {
        result.emplace_back(row.find, row.with);
    }
    return result;
}

RowsEdit addingPairs(const ListRows& rows, const PairText::Pairs& pairs, bool replacingEmpty) {
    if (pairs.empty()) {
        return {rows, Localizer::text("Nothing to add.")};
    }
    RowsEdit edit{replacingEmpty ? appending(rows, pairs) : rows, std::nullopt};
    if (!replacingEmpty) {
        for (const auto& [find, with] : pairs) {
            edit.rows.push_back(ListRow::make(find, with));
        }
    }
    if (pairs.size() != 1) {
        edit.message = Localizer::counted("%lld row added.", "%lld rows added.", pairs.size());
    }
    return edit;
}

RowsEdit pastingText(const ListRows& rows, const std::optional<std::string>& clipboard) {
    if (!clipboard) {
        return {rows, Localizer::text("The clipboard has no text.")};
    }
    return addingPairs(rows, PairText::parse(*clipboard), true);
}

RowsEdit importingFile(const ListRows& rows, const std::optional<std::string>& bytes) {
    if (!bytes || !unicode::isValidUtf8(*bytes)) {
        return {rows, Localizer::text("That file could not be read as text.")};
    }
    return addingPairs(rows, PairText::parse(*bytes), true);
}

} // namespace morvane::app
