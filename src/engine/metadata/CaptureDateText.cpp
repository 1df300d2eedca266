#include "engine/metadata/CaptureDateText.h"

#include "engine/metadata/MetadataText.h"

namespace morvane::CaptureDateText {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads exactly `count` digits at `at`, moving past them.
std::optional<std::int32_t> digits(std::string_view text, std::size_t& at, std::size_t count) {
    if (at + count > text.size()) {
        return std::nullopt;
    }
    std::int32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = text[at + i];
        if (!isDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    at += count;
    return value;
}

bool skip(std::string_view text, std::size_t& at, std::string_view oneOf) {
    if (at < text.size() && oneOf.find(text[at]) != std::string_view::npos) {
        ++at;
        return true;
    }
    return false;
}

// The first three digits of a fraction of a second as milliseconds ("5" is 500).
std::int32_t milliseconds(std::string_view fraction) {
    std::int32_t value = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        value = value * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    }
    return value;
}

bool allDigits(std::string_view text) {
    for (const char c : text) {
        if (!isDigit(c)) {
            return false;
        }
    }
    return true;
}

// "+09:00", "-0530", "Z"; nothing for anything else.
std::optional<std::int32_t> offsetMinutes(std::string_view text) {
    if (text == "Z") {
        return 0;
    }
    std::size_t at = 0;
    if (text.empty() || (text[0] != '+' && text[0] != '-')) {
        return std::nullopt;
    }
    const std::int32_t sign = text[at++] == '-' ? -1 : 1;
    const auto hours = digits(text, at, 2);
    skip(text, at, ":");
    const auto minutes = digits(text, at, 2);
    if (!hours || !minutes || at != text.size() || *hours > 18 || *minutes > 59) {
        return std::nullopt;
    }
    return sign * (*hours * 60 + *minutes);
}

// A capture date of a year that the engine's dates (nanoseconds from 1970
// in 64 bits: 1677 to 2262) can hold; no clock showed any other.
std::optional<CaptureDate> captureDate(const std::optional<LocalDateTime>& local,
                                       std::optional<std::int32_t> offset) {
    if (!local || local->year < 1700 || local->year > 2200) {
        return std::nullopt;
    }
    return CaptureDate{*local, offset};
}

} // namespace

std::optional<CaptureDate> fromExif(std::string_view dateTime, std::string_view subSeconds,
                                    std::string_view offset) {
    const std::string_view text = trimmedMetadataText(dateTime);
    std::size_t at = 0;
    const auto year = digits(text, at, 4);
    const bool dateSeparators = skip(text, at, ":-");
    const auto month = digits(text, at, 2);
    const bool secondSeparator = skip(text, at, ":-");
    const auto day = digits(text, at, 2);
    const bool between = skip(text, at, " T");
    const auto hour = digits(text, at, 2);
    const bool clock = skip(text, at, ":");
    const auto minute = digits(text, at, 2);
    const bool clock2 = skip(text, at, ":");
    const auto second = digits(text, at, 2);
    if (!year || !month || !day || !hour || !minute || !second || !dateSeparators || !secondSeparator ||
        !between || !clock || !clock2 || at != text.size()) {
        return std::nullopt;
    }
    const std::string_view fraction = trimmedMetadataText(subSeconds);
    const std::int32_t millis = !fraction.empty() && allDigits(fraction) ? milliseconds(fraction) : 0;
    return captureDate(LocalDateTime::valid(*year, *month, *day, *hour, *minute, *second, millis),
                       offsetMinutes(trimmedMetadataText(offset)));
}

std::optional<CaptureDate> fromXmp(std::string_view given) {
    const std::string_view text = trimmedMetadataText(given);
    std::size_t at = 0;
    const auto year = digits(text, at, 4);
    const bool first = skip(text, at, "-");
    const auto month = digits(text, at, 2);
    const bool second = skip(text, at, "-");
    const auto day = digits(text, at, 2);
    if (!year || !month || !day || !first || !second) {
        return std::nullopt;
    }
    std::int32_t hour = 0, minute = 0, secondOfMinute = 0, millis = 0;
    std::optional<std::int32_t> offset;
    if (at < text.size()) {
        if (!skip(text, at, "T")) {
            return std::nullopt;
        }
        const auto h = digits(text, at, 2);
        const bool colon = skip(text, at, ":");
        const auto m = digits(text, at, 2);
        if (!h || !colon || !m) {
            return std::nullopt;
        }
        hour = *h;
        minute = *m;
        if (skip(text, at, ":")) {
            const auto s = digits(text, at, 2);
            if (!s) {
                return std::nullopt;
            }
            secondOfMinute = *s;
            if (skip(text, at, ".,")) {
                const std::size_t from = at;
                while (at < text.size() && isDigit(text[at])) {
                    ++at;
                }
                millis = milliseconds(text.substr(from, at - from));
            }
        }
        if (at < text.size()) {
            offset = offsetMinutes(text.substr(at));
            if (!offset) {
                return std::nullopt;
            }
        }
    }
    return captureDate(LocalDateTime::valid(*year, *month, *day, hour, minute, secondOfMinute, millis),
                       offset);
}

std::optional<CaptureDate> fromQuickTime(std::uint64_t seconds) {
    // From 1904-01-01 to 1970-01-01; `latest` (the end of 9999) keeps the
    // arithmetic below in range.
    constexpr std::uint64_t to1970 = 2'082'844'800;
    constexpr std::uint64_t latest = to1970 + 253'402'300'799;
    if (seconds == 0 || seconds > latest) {
        return std::nullopt;
    }
    auto remaining = static_cast<std::int64_t>(seconds) - static_cast<std::int64_t>(to1970);
    // Back from days to the calendar (Howard Hinnant's civil_from_days).
    std::int64_t days = remaining >= 0 ? remaining / 86400 : (remaining - 86399) / 86400;
    std::int64_t secondOfDay = remaining - days * 86400;
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const std::int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return captureDate(LocalDateTime::valid(static_cast<std::int32_t>(year), static_cast<std::int32_t>(month),
                                            static_cast<std::int32_t>(day),
                                            static_cast<std::int32_t>(secondOfDay / 3600),
                                            static_cast<std::int32_t>(secondOfDay / 60 % 60),
                                            static_cast<std::int32_t>(secondOfDay % 60)),
                       0);
}

} // namespace morvane::CaptureDateText
