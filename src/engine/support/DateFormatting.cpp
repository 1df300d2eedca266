#include "engine/support/DateFormatting.h"

#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <cmath>
#include <limits>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

namespace morvane {
namespace {

// What ICU answers for an identifier it does not know, instead of failing.
constexpr std::string_view kUnknownZone = "Etc/Unknown";

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
    std::optional<std::string> systemZone; // detected lazily, under the lock
    std::unordered_map<std::string, Formatter> formatters;
    std::string key; // reused for every lookup
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

std::string detectSystemZone() {
    const std::unique_ptr<icu::TimeZone> host(icu::TimeZone::detectHostTimeZone());
    icu::UnicodeString id;
    if (host) {
        host->getID(id);
    }
    const std::string result = utf8(id);
    // A machine without any zone setting runs on UTC; ICU would call it unknown.
    return (result.empty() || result == kUnknownZone) ? "UTC" : result;
}

const std::string& systemZoneLocked(Store& cache) {
    if (!cache.systemZone) {
        cache.systemZone = detectSystemZone();
    }
    return *cache.systemZone;
}

// The zone for `identifier`, or nothing when ICU does not know it.
std::unique_ptr<icu::TimeZone> knownZone(std::string_view identifier) {
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(unicodeText(identifier)));
    icu::UnicodeString id;
    if (zone) {
        zone->getID(id);
    }
    if (!zone || utf8(id) == kUnknownZone) {
        return nullptr;
    }
    return zone;
}

std::unique_ptr<icu::SimpleDateFormat> makeFormatter(std::string_view pattern, std::string_view zoneId,
                                                     const std::string& systemZoneId) {
    std::unique_ptr<icu::TimeZone> zone = knownZone(zoneId);
    if (!zone) {
        zone = knownZone(systemZoneId);
    }
    if (!zone) {
        zone.reset(icu::TimeZone::getGMT()->clone());
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale posix("en_US_POSIX");
    auto formatter = std::make_unique<icu::SimpleDateFormat>(unicodeText(pattern), posix, status);
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
        } else if (!quoted && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) &&
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
    const std::string& systemZoneId = systemZoneLocked(cache);
    // An unknown identifier keeps its own key; its formatter is made for the
    // system's zone, and refreshSystemZone drops it with the others.
    const std::string_view zoneId = zone ? std::string_view(*zone) : std::string_view(systemZoneId);
    std::string& key = cache.key;
    key.assign(zoneId).append("|").append(pattern);

    auto found = cache.formatters.find(key);
    if (found == cache.formatters.end()) {
        Formatter formatter;
        formatter.format = makeFormatter(pattern, zoneId, systemZoneId);
        formatter.daysOnly = writesDaysOnly(pattern);
        if (cache.formatters.size() > maxEntries) {
            cache.formatters.clear();
        }
        found = cache.formatters.emplace(key, std::move(formatter)).first;
    }
    Formatter& formatter = found->second;
    const UDate millis = std::chrono::duration<double, std::milli>(date.time_since_epoch()).count();
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

std::string DateFormatting::systemZone() {
    Store& cache = store();
    std::lock_guard guard(cache.lock);
    return systemZoneLocked(cache);
}

void DateFormatting::refreshSystemZone() {
    std::string detected = detectSystemZone();
    Store& cache = store();
    std::lock_guard guard(cache.lock);
    cache.systemZone = std::move(detected);
    cache.formatters.clear();
}

std::size_t DateFormatting::size() {
    Store& cache = store();
    std::lock_guard guard(cache.lock);
    return cache.formatters.size();
}

} // namespace morvane
