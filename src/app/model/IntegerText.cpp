#include "app/model/IntegerText.h"

namespace morvane::app::IntegerText {

std::optional<std::int64_t> parse(const QString& text, const QLocale& locale) {
    bool ok = false;
    const qlonglong value = locale.toLongLong(text.trimmed(), &ok);
    if (!ok) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(value);
}

QString format(std::int64_t value, const QLocale& locale) {
    return locale.toString(static_cast<qlonglong>(value));
}

} // namespace morvane::app::IntegerText
