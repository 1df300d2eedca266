#include "engine/support/IsoDate.h"

#include <chrono>
#include <cstdio>

namespace morvane {
namespace {

using namespace std::chrono;

struct Fields {
    int year;
    unsigned month, day;
    long long hour, minute, second;
};

Fields fieldsOf(Date date) {
    const auto seconds = floor<std::chrono::seconds>(date);
    const auto day = floor<days>(seconds);
    const year_month_day ymd{day};
    const hh_mm_ss<std::chrono::seconds> time{seconds - day};
    return {static_cast<int>(ymd.year()),     static_cast<unsigned>(ymd.month()),
            static_cast<unsigned>(ymd.day()), time.hours().count(),
            time.minutes().count(),           time.seconds().count()};
}

// Reads exactly `width` decimal digits at `position`.
std::optional<int> digits(std::string_view text, std::size_t position, std::size_t width) {
    if (position + width > text.size()) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t i = position; i < position + width; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// The offset of a zone designator ("Z", "+hh:mm" or "-hh:mm") that makes up the whole of `zone`.
std::optional<minutes> zoneOffset(std::string_view zone) {
    if (zone == "Z") {
        return minutes(0);
    }
    if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || zone[3] != ':') {
        return std::nullopt;
    }
    const auto hours = digits(zone, 1, 2);
    const auto mins = digits(zone, 4, 2);
    if (!hours || !mins || *hours > 23 || *mins > 59) {
        return std::nullopt;
    }
    const minutes offset(*hours * 60 + *mins);
    return zone[0] == '-' ? -offset : offset;
}

} // namespace

std::string IsoDate::format(Date date) {
    const Fields f = fieldsOf(date);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02uT%02lld:%02lld:%02lldZ", f.year, f.month, f.day,
                  f.hour, f.minute, f.second);
    return buffer;
}

std::string IsoDate::compactStamp(Date date) {
    const Fields f = fieldsOf(date);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d%02u%02u-%02lld%02lld%02lld", f.year, f.month, f.day, f.hour,
                  f.minute, f.second);
    return buffer;
}

std::optional<Date> IsoDate::parse(std::string_view text) {
    if (text.size() < 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':') {
        return std::nullopt;
    }
    const auto y = digits(text, 0, 4);
    const auto mo = digits(text, 5, 2);
    const auto d = digits(text, 8, 2);
    const auto h = digits(text, 11, 2);
    const auto mi = digits(text, 14, 2);
    const auto s = digits(text, 17, 2);
    const auto offset = zoneOffset(text.substr(19));
    if (!y || !mo || !d || !h || !mi || !s || !offset || *h > 23 || *mi > 59 || *s > 59) {
        return std::nullopt;
    }
    const year_month_day ymd{year(*y), month(static_cast<unsigned>(*mo)), day(static_cast<unsigned>(*d))};
    if (!ymd.ok()) {
        return std::nullopt;
    }
    const auto local = sys_days(ymd) + hours(*h) + minutes(*mi) + seconds(*s);
    return Date(local - *offset);
}

} // namespace morvane
