#include "engine/support/DateFormatting.h"

#include "engine/support/SystemTimeZone.h"

#include <unicode/basictz.h>
#include <unicode/dtfmtsym.h>
#include <unicode/gregocal.h>
#include <unicode/simpletz.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

namespace morvane {
namespace {

constexpr double kMillisPerDay = 86'400'000.0;
// Far inside the calendar's range, so the day arithmetic below stays exact:
// about 270,000 years either side of 1970.
constexpr double kDayCacheBound = 8.64e15;

// Pattern letters whose text depends on nothing but the local calendar day:
// era, the years, quarters, months, weeks, days and weekdays.
constexpr std::string_view kDayFields = "GyYuUrQqMLwWdDFgEec";

struct Formatter {
    std::unique_ptr<icu::SimpleDateFormat> format;
    bool daysOnly = false;
    // The last text written, for the local day (daysOnly) or the instant in
    // `lastKey`. Names of one folder mostly share their day, and formatting
    // costs far more than finding the day.
    double lastKey = std::numeric_limits<double>::quiet_NaN();
    std::string lastText;
};

struct Store {
    std::mutex lock;
    std::optional<SystemTimeZone> systemZone; // detected lazily, under the lock
    std::string systemZoneSource;             // what it was detected from
    std::atomic<bool> recheck{false};
    // The last identifier a rule gave, and whether ICU knows it: rules give
    // the same one for every name of a plan.
    std::string lastIdentifier;
    bool lastIdentifierIsKnown = false;
    std::unordered_map<std::string, Formatter> formatters;
    // Zones by identifier, for reading local times (see `instant`).
    std::unordered_map<std::string, std::unique_ptr<icu::TimeZone>> zones;
    std::string key;    // reused for every lookup
    std::string offset; // the zone part of a key for the C library's offset
};

Store& store() {
    static Store instance;
    return instance;
}

std::string utf8(const icu::UnicodeString& text) {
    std::string result;
    text.toUTF8String(result);
    return result;
}

icu::UnicodeString unicodeText(std::string_view text) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

void detectSystemZone(Store& cache) {
    const auto settings = SystemTimeZone::Settings::ofProcess();
    cache.systemZoneSource = SystemTimeZone::sourceOf(settings);
    cache.systemZone = SystemTimeZone::detect(settings);
}

const SystemTimeZone& systemZoneLocked(Store& cache) {
    if (!cache.systemZone) {
        detectSystemZone(cache);
    } else if (cache.recheck.exchange(false)) {
        if (SystemTimeZone::sourceOf(SystemTimeZone::Settings::ofProcess()) != cache.systemZoneSource) {
            detectSystemZone(cache);
        }
    }
    return *cache.systemZone;
}

bool isKnownLocked(Store& cache, const std::string& identifier) {
    if (identifier != cache.lastIdentifier) {
        cache.lastIdentifierIsKnown = SystemTimeZone::isKnownZone(identifier);
        cache.lastIdentifier = identifier;
    }
    return cache.lastIdentifierIsKnown;
}

// "GMT+05:30:00": the zone part of the key for a fixed offset, in ICU's form.
void writeOffsetZone(std::string& text, std::int64_t seconds) {
    const std::int64_t magnitude = seconds < 0 ? -seconds : seconds;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "GMT%c%02lld:%02lld:%02lld", seconds < 0 ? '-' : '+',
                  static_cast<long long>(magnitude / 3600), static_cast<long long>(magnitude / 60 % 60),
                  static_cast<long long>(magnitude % 60));
    text.assign(buffer);
}

bool isAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// Whether ICU reads `c`, outside quotes, as a date field.
bool isFieldLetter(char16_t c) {
    static const icu::UnicodeString fields(icu::DateFormatSymbols::getPatternUChars());
    return isAsciiLetter(c) && fields.indexOf(c) >= 0;
}

// The pattern without the letters ICU assigns to no field: those write nothing
// (ICU would stop formatting at the first of them). Quoted text stays as it is.
icu::UnicodeString withAssignedLettersOnly(std::string_view pattern) {
    const icu::UnicodeString given = unicodeText(pattern);
    icu::UnicodeString result;
    bool quoted = false;
    for (int32_t i = 0; i < given.length(); ++i) {
        const char16_t c = given.charAt(i);
        if (c == u'\'') {
            quoted = !quoted;
        } else if (!quoted && isAsciiLetter(c) && !isFieldLetter(c)) {
            continue;
        }
        result.append(c);
    }
    return result;
}

std::unique_ptr<icu::SimpleDateFormat> makeFormatter(std::string_view pattern,
                                                     std::unique_ptr<icu::TimeZone> zone) {
    if (!zone) {
        zone.reset(icu::TimeZone::getGMT()->clone());
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale posix("en_US_POSIX");
    auto formatter = std::make_unique<icu::SimpleDateFormat>(withAssignedLettersOnly(pattern), posix, status);
    auto calendar = std::make_unique<icu::GregorianCalendar>(*zone, posix, status);
    if (U_FAILURE(status)) {
        throw std::runtime_error(std::string("date formatter: ") + u_errorName(status));
    }
    formatter->adoptCalendar(calendar.release()); // the calendar carries the zone
    return formatter;
}

// Whether every field of the pattern is one of kDayFields, reading quotes the
// way the formatter does: text between apostrophes is literal and a doubled
// apostrophe is one literal apostrophe either way.
bool writesDaysOnly(std::string_view pattern) {
    bool quoted = false;
    for (const char c : pattern) {
        if (c == '\'') {
            quoted = !quoted;
        } else if (!quoted && isFieldLetter(static_cast<char16_t>(c)) &&
                   kDayFields.find(c) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

// The number of the local day the calendar gives `millis`, computed exactly as
// the calendar does (wall time from the zone's offset at that instant, then
// floor division), or NaN when it cannot be told.
double localDay(const icu::SimpleDateFormat& format, UDate millis) {
    if (!(std::fabs(millis) < kDayCacheBound)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    UErrorCode status = U_ZERO_ERROR;
    int32_t rawOffset = 0;
    int32_t dstOffset = 0;
    format.getTimeZone().getOffset(millis, false, rawOffset, dstOffset, status);
    if (U_FAILURE(status)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return std::floor((millis + (rawOffset + dstOffset)) / kMillisPerDay);
}

} // namespace

std::string DateFormatting::string(Date date, std::string_view pattern,
                                   const std::optional<std::string>& zone) {
    Store& cache = store();
    std::lock_guard guard(cache.lock);
    // Formatters are keyed by the zone they write in: a known identifier, the
    // system's, or the C library's offset at this date.
    const std::string* zoneId = nullptr;
    std::optional<std::int64_t> offset;
    if (zone && isKnownLocked(cache, *zone)) {
        zoneId = &*zone;
    } else if (const SystemTimeZone& system = systemZoneLocked(cache); system.identifier) {
        zoneId = &*system.identifier;
    } else {
        offset = SystemTimeZone::offsetAt(date);
        writeOffsetZone(cache.offset, *offset);
        zoneId = &cache.offset;
    }
    std::string& key = cache.key;
    key.assign(*zoneId).append("|").append(pattern);

    auto found = cache.formatters.find(key);
    if (found == cache.formatters.end()) {
        std::unique_ptr<icu::TimeZone> timeZone;
        if (offset) {
            timeZone = std::make_unique<icu::SimpleTimeZone>(static_cast<int32_t>(*offset * 1000),
                                                             unicodeText(*zoneId));
        } else {
            timeZone.reset(icu::TimeZone::createTimeZone(unicodeText(*zoneId)));
        }
        Formatter formatter;
        formatter.format = makeFormatter(pattern, std::move(timeZone));
        formatter.daysOnly = writesDaysOnly(pattern);
        if (cache.formatters.size() > maxEntries) {
            cache.formatters.clear();
        }
        found = cache.formatters.emplace(key, std::move(formatter)).first;
    }
    Formatter& formatter = found->second;
    // Whole milliseconds first: the clock's nanoseconds as a double lose
    // their last digits, and 42 ms could then be written as 041.
    const auto millis =
        static_cast<UDate>(std::chrono::floor<std::chrono::milliseconds>(date.time_since_epoch()).count());
    const double dayOrInstant = formatter.daysOnly ? localDay(*formatter.format, millis) : millis;
    if (dayOrInstant == formatter.lastKey) { // never true for NaN
        return formatter.lastText;
    }
    icu::UnicodeString text;
    icu::FieldPosition position;
    formatter.format->format(millis, text, position);
    formatter.lastKey = dayOrInstant;
    formatter.lastText = utf8(text);
    return formatter.lastText;
}

Date DateFormatting::instant(const LocalDateTime& local, const std::optional<std::string>& zone) {
    const std::int64_t wall = local.millisecondsAsUtc();
    const auto at = [](std::int64_t millis) { return Date(std::chrono::milliseconds(millis)); };
    Store& cache = store();
    std::lock_guard guard(cache.lock);
    const std::string* zoneId = nullptr;
    if (zone && isKnownLocked(cache, *zone)) {
        zoneId = &*zone;
    } else if (const SystemTimeZone& system = systemZoneLocked(cache); system.identifier) {
        zoneId = &*system.identifier;
    } else {
        // The C library's offset where the wall time would be as UTC, then
        // again at the instant that gives, which settles a change in between.
        const std::int64_t first = SystemTimeZone::offsetAt(at(wall)) * 1000;
        return at(wall - SystemTimeZone::offsetAt(at(wall - first)) * 1000);
    }
    auto found = cache.zones.find(*zoneId);
    if (found == cache.zones.end()) {
        if (cache.zones.size() > maxEntries) {
            cache.zones.clear();
        }
        found =
            cache.zones
                .emplace(*zoneId,
                         std::unique_ptr<icu::TimeZone>(icu::TimeZone::createTimeZone(unicodeText(*zoneId))))
                .first;
    }
    UErrorCode status = U_ZERO_ERROR;
    int32_t rawOffset = 0;
    int32_t dstOffset = 0;
    if (const auto* basic = dynamic_cast<const icu::BasicTimeZone*>(found->second.get())) {
        basic->getOffsetFromLocal(static_cast<UDate>(wall), UCAL_TZ_LOCAL_FORMER, UCAL_TZ_LOCAL_FORMER,
                                  rawOffset, dstOffset, status);
    } else {
        found->second->getOffset(static_cast<UDate>(wall), true, rawOffset, dstOffset, status);
    }
    if (U_FAILURE(status)) {
        return at(wall);
    }
    return at(wall - rawOffset - dstOffset);
}

std::string DateFormatting::systemZone() {
    Store& cache = store();
    std::lock_guard guard(cache.lock);
    return systemZoneLocked(cache).description;
}

void DateFormatting::recheckSystemZone() {
    store().recheck = true;
}

void DateFormatting::refreshSystemZone() {
    Store& cache = store();
    std::lock_guard guard(cache.lock);
    detectSystemZone(cache);
}

std::size_t DateFormatting::size() {
    Store& cache = store();
    std::lock_guard guard(cache.lock);
    return cache.formatters.size();
}

} // namespace morvane
