#pragma once

#include "engine/support/PairText.h"
#include "engine/support/Uuid.h"

#include <optional>
#include <string>
#include <vector>

namespace morvane::app {

// One row of the pair-list editor: a find/replace pair of a Replace rule, or
// a pattern/replacement pair of a Regex rule.
struct ListRow {
    Uuid id;
    std::string find;
    std::string with;
    bool isEnabled = true;

    // A new enabled row with a new id.
    static ListRow make(std::string find = {}, std::string with = {});

    bool operator==(const ListRow&) const = default;
};

using ListRows = std::vector<ListRow>;
using RowIds = std::vector<Uuid>;

// `rows` plus one new enabled row per pair; rows that are all blank (or no
// rows) are dropped first, so pasting into a fresh table leaves no empty row.
ListRows appending(const ListRows& rows, const PairText::Pairs& pairs);
// Each row in `ids` followed by a copy with a new id.
ListRows duplicating(const ListRows& rows, const RowIds& ids);
// Without the rows in `ids`; one blank row when none is left.
ListRows removing(const ListRows& rows, const RowIds& ids);
// The rows as (find, with), enabled or not.
PairText::Pairs pairs(const ListRows& rows);

// The pair-list editor's additions, with the message it shows afterwards.
struct RowsEdit {
    ListRows rows;
    std::optional<std::string> message;
};

// "Nothing to add." for no pairs; "N rows added." unless exactly one was.
// Without `replacingEmpty`, the new rows go after the existing ones as they are.
RowsEdit addingPairs(const ListRows& rows, const PairText::Pairs& pairs, bool replacingEmpty);
// The clipboard's text (absent when it holds none) parsed as pairs.
RowsEdit pastingText(const ListRows& rows, const std::optional<std::string>& clipboard);
// A file's bytes (absent when it could not be read) as UTF-8 pair text.
RowsEdit importingFile(const ListRows& rows, const std::optional<std::string>& bytes);

} // namespace morvane::app
