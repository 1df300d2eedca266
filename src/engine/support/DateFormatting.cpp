#include "engine/support/DateFormatting.h"

#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <memory>
#include <mutex>
#include <stdexcept>
#include <unordered_map>

namespace morvane {
namespace {

// What ICU answers for an identifier it does not know, instead of failing.
constexpr std::string_view kUnknownZone = "Etc/Unknown";

struct Store {
    std::mutex lock;
    std::optional<std::string> systemZone; // detected lazily, under the lock
    std::unordered_map<std::string, std::unique_ptr<icu::SimpleDateFormat>> formatters;
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

} // namespace

std::string DateFormatting::string(Date date, std::string_view pattern,
                                   const std::optional<std::string>& zone) {
    Store& cache = store();
    std::lock_guard guard(cache.lock);
    const std::string& systemZoneId = systemZoneLocked(cache);
    // An unknown identifier keeps its own key; its formatter is made for the
    // system's zone, and refreshSystemZone drops it with the others.
    const std::string_view zoneId = zone ? std::string_view(*zone) : std::string_view(systemZoneId);
    std::string key;
    key.reserve(zoneId.size() + 1 + pattern.size());
    key.append(zoneId).append("|").append(pattern);

    auto found = cache.formatters.find(key);
    if (found == cache.formatters.end()) {
        auto formatter = makeFormatter(pattern, zoneId, systemZoneId);
        if (cache.formatters.size() > maxEntries) {
            cache.formatters.clear();
        }
        found = cache.formatters.emplace(std::move(key), std::move(formatter)).first;
    }
    const UDate millis = std::chrono::duration<double, std::milli>(date.time_since_epoch()).count();
    icu::UnicodeString text;
    icu::FieldPosition position;
    found->second->format(millis, text, position);
    return utf8(text);
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
