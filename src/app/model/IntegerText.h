#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

namespace morvane::app {

// Whole numbers as the rule editors' number fields read and show them: in
// the number format of `locale` (group separators optional when reading),
// bounded only by the 64-bit range of the rules' fields.
namespace IntegerText {

// Nothing when `text` is not a whole number in that format (also when it is
// empty or outside the range): the caller keeps what it had.
std::optional<std::int64_t> parse(const QString& text, const QLocale& locale);
QString format(std::int64_t value, const QLocale& locale);

} // namespace IntegerText
} // namespace morvane::app
