#include "engine/support/SystemTimeZone.h"

#include <unicode/timezone.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

namespace morvane {
namespace {

namespace fs = std::filesystem;

// What ICU answers for an identifier it does not know, instead of failing.
constexpr std::string_view kUnknownZone = "Etc/Unknown";

SystemTimeZone named(std::string identifier) {
    return SystemTimeZone{identifier, identifier};
}

// The zone database's name in a zone file's path: what follows "zoneinfo/"
// ("posix/" holds the same zones again).
std::optional<std::string> nameInPath(const std::string& path) {
    constexpr std::string_view folder = "zoneinfo/";
    const std::size_t at = path.rfind(folder);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    std::string name = path.substr(at + folder.size());
    if (name.starts_with("posix/")) {
        name.erase(0, 6);
    }
    return SystemTimeZone::isKnownZone(name) ? std::optional(name) : std::nullopt;
}

// The name of the zone a zone file holds, told by its path, by where it links,
// or by where its links finally lead.
std::optional<std::string> nameOfZoneFile(const std::string& path) {
    std::vector<std::string> candidates{path};
    std::error_code error;
    const fs::path target = fs::read_symlink(path, error);
    if (!error) {
        candidates.push_back((target.is_absolute() ? target : fs::path(path).parent_path() / target)
                                 .lexically_normal()
                                 .string());
    }
    const fs::path canonical = fs::canonical(path, error);
    if (!error) {
        candidates.push_back(canonical.string());
    }
    for (const std::string& candidate : candidates) {
        if (auto name = nameInPath(candidate)) {
            return name;
        }
    }
    return std::nullopt;
}

// The TZ value without the colon that may lead it.
std::string_view tzValue(const std::string& tz) {
    std::string_view value = tz;
    if (value.starts_with(':')) {
        value.remove_prefix(1);
    }
    return value;
}

// The zone file the C library reads for these settings.
std::string zoneFileOf(const SystemTimeZone::Settings& settings) {
    if (!settings.tz) {
        return settings.localtimeFile;
    }
    const std::string_view value = tzValue(*settings.tz);
    return value.starts_with('/') ? std::string(value) : settings.zoneDirectory + "/" + std::string(value);
}

} // namespace

bool SystemTimeZone::isKnownZone(std::string_view identifier) {
    const std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(
        icu::StringPiece(identifier.data(), static_cast<int32_t>(identifier.size())))));
    icu::UnicodeString id;
    if (zone) {
        zone->getID(id);
    }
    std::string text;
    id.toUTF8String(text);
    return zone && text != kUnknownZone;
}

SystemTimeZone::Settings SystemTimeZone::Settings::ofProcess() {
    Settings settings;
    if (const char* tz = std::getenv("TZ")) {
        settings.tz = tz;
    }
    if (const char* directory = std::getenv("TZDIR"); directory != nullptr && *directory != '\0') {
        settings.zoneDirectory = directory;
    }
    return settings;
}

SystemTimeZone SystemTimeZone::detect(const Settings& settings) {
#if defined(_WIN32)
    (void)settings;
    const std::unique_ptr<icu::TimeZone> host(icu::TimeZone::detectHostTimeZone());
    icu::UnicodeString id;
    if (host) {
        host->getID(id);
    }
    std::string identifier;
    id.toUTF8String(identifier);
    return isKnownZone(identifier) ? named(identifier) : named("UTC");
#else
    ::tzset(); // offsetAt reads the same settings from now on
    std::error_code error;
    const std::string file = zoneFileOf(settings);
    if (!settings.tz) {
        if (!fs::exists(fs::symlink_status(file, error))) {
            return named("UTC"); // the C library's answer when there is no zone file
        }
        if (auto name = nameOfZoneFile(file)) {
            return named(std::move(*name));
        }
        return SystemTimeZone{std::nullopt, file};
    }
    const std::string_view value = tzValue(*settings.tz);
    if (value.empty()) {
        return named("UTC");
    }
    // A value naming a zone file is that zone; anything else is a POSIX rule.
    if (fs::is_regular_file(file, error)) {
        if (!value.starts_with('/') && isKnownZone(value)) {
            return named(std::string(value));
        }
        if (auto name = nameOfZoneFile(file)) {
            return named(std::move(*name));
        }
    }
    return SystemTimeZone{std::nullopt, std::string(value)};
#endif
}

std::string SystemTimeZone::sourceOf(const Settings& settings) {
    std::string source = settings.tz ? "TZ=" + *settings.tz : "TZ unset";
    const std::string file = zoneFileOf(settings);
    std::error_code error;
    const fs::path target = fs::read_symlink(file, error);
    source += "\n";
    source += error ? file : target.string();
    const auto written = fs::last_write_time(file, error);
    if (!error) {
        source += "\n" + std::to_string(written.time_since_epoch().count());
    }
    return source;
}

std::int64_t SystemTimeZone::offsetAt(Date date) {
#if defined(_WIN32)
    (void)date;
    return 0;
#else
    const auto seconds = std::chrono::floor<std::chrono::seconds>(date.time_since_epoch()).count();
    const auto time = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (::localtime_r(&time, &local) == nullptr) {
        return 0;
    }
    return local.tm_gmtoff;
#endif
}

} // namespace morvane
