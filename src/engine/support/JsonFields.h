#pragma once

#include "engine/support/RawValues.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace morvane {

// A stored value that does not have the shape its reader needs. The message
// names the key and is in the engine's language: preset files come from other
// people, and the user is told what is wrong with them.
class DecodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Typed access to the keys of a stored JSON object, for the rules' own
// decoding: every key is required and must hold the right type.
namespace json_fields {

const nlohmann::json& require(const nlohmann::json& object, std::string_view key);
std::string requireString(const nlohmann::json& object, std::string_view key);
bool requireBool(const nlohmann::json& object, std::string_view key);
// A whole number: 3 and 3.0 are accepted, 2.5 and 1e300 are not.
std::int64_t requireInteger(const nlohmann::json& object, std::string_view key);
const nlohmann::json& requireArray(const nlohmann::json& object, std::string_view key);
// Whether `key` holds a value: a missing key and null both mean none.
bool isPresent(const nlohmann::json& object, std::string_view key);
// Absent (or null) gives no value; anything but text is an error.
std::optional<std::string> optionalString(const nlohmann::json& object, std::string_view key);
// Absent (or null) gives `fallback`; anything but a boolean is an error.
bool optionalBool(const nlohmann::json& object, std::string_view key, bool fallback);

[[noreturn]] void throwUnknownValue(std::string_view key, std::string_view value);
void requireObject(const nlohmann::json& value);

template <typename Enum, std::size_t N>
Enum requireEnum(const nlohmann::json& object, std::string_view key,
                 const std::array<std::string_view, N>& raws) {
    const std::string raw = requireString(object, key);
    if (const auto value = enumFromRawValue<Enum>(raws, raw)) {
        return *value;
    }
    throwUnknownValue(key, raw);
}

// The value as it will be written: whole floating numbers become integers, so
// files say "width": 3 rather than 3.0 however the value was produced.
nlohmann::json canonicalNumbers(nlohmann::json value);

} // namespace json_fields
} // namespace morvane
