#include "engine/support/JsonFields.h"

#include "engine/support/Localization.h"

#include <cmath>
#include <limits>

namespace morvane::json_fields {
namespace {

[[noreturn]] void fail(std::string_view pattern, std::string_view key) {
    throw DecodingError(localized(pattern, key));
}

// Doubles at or beyond 2^63 do not fit a signed 64-bit integer.
constexpr double kInt64Bound = 9223372036854775808.0;

std::optional<std::int64_t> wholeNumber(const nlohmann::json& value) {
    if (value.is_number_integer() && !value.is_number_unsigned()) {
        return value.get<std::int64_t>();
    }
    if (value.is_number_unsigned()) {
        const auto number = value.get<std::uint64_t>();
        if (number <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            return static_cast<std::int64_t>(number);
        }
        return std::nullopt;
    }
    if (value.is_number_float()) {
        const double number = value.get<double>();
        if (std::isfinite(number) && std::trunc(number) == number && number >= -kInt64Bound &&
            number < kInt64Bound) {
            return static_cast<std::int64_t>(number);
        }
    }
    return std::nullopt;
}

} // namespace

void requireObject(const nlohmann::json& value) {
    if (!value.is_object()) {
        throw DecodingError(localized("Rule settings must be a JSON object"));
    }
}

const nlohmann::json& require(const nlohmann::json& object, std::string_view key) {
    requireObject(object);
    const auto found = object.find(key);
    if (found == object.end()) {
        fail("The setting \u201C%@\u201D is missing", key);
    }
    return *found;
}

std::string requireString(const nlohmann::json& object, std::string_view key) {
    const auto& value = require(object, key);
    if (!value.is_string()) {
        fail("The setting \u201C%@\u201D must be text", key);
    }
    return value.get<std::string>();
}

bool requireBool(const nlohmann::json& object, std::string_view key) {
    const auto& value = require(object, key);
    if (!value.is_boolean()) {
        fail("The setting \u201C%@\u201D must be true or false", key);
    }
    return value.get<bool>();
}

std::int64_t requireInteger(const nlohmann::json& object, std::string_view key) {
    const auto number = wholeNumber(require(object, key));
    if (!number) {
        fail("The setting \u201C%@\u201D must be a whole number", key);
    }
    return *number;
}

const nlohmann::json& requireArray(const nlohmann::json& object, std::string_view key) {
    const auto& value = require(object, key);
    if (!value.is_array()) {
        fail("The setting \u201C%@\u201D must be a list", key);
    }
    return value;
}

bool isPresent(const nlohmann::json& object, std::string_view key) {
    requireObject(object);
    const auto found = object.find(key);
    return found != object.end() && !found->is_null();
}

std::optional<std::string> optionalString(const nlohmann::json& object, std::string_view key) {
    if (!isPresent(object, key)) {
        return std::nullopt;
    }
    return requireString(object, key);
}

bool optionalBool(const nlohmann::json& object, std::string_view key, bool fallback) {
    return isPresent(object, key) ? requireBool(object, key) : fallback;
}

void throwUnknownValue(std::string_view key, std::string_view value) {
    throw DecodingError(
        localized("The setting \u201C%@\u201D has an unknown value \u201C%@\u201D", key, value));
}

nlohmann::json canonicalNumbers(nlohmann::json value) {
    if (value.is_number_float()) {
        if (const auto number = wholeNumber(value)) {
            return *number;
        }
    } else if (value.is_structured()) {
        for (auto& element : value) {
            element = canonicalNumbers(std::move(element));
        }
    }
    return value;
}

} // namespace morvane::json_fields
