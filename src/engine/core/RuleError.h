#pragma once

#include <exception>
#include <string>

namespace morvane {

// Thrown by a rule whose settings cannot be applied; the message is already
// in the engine's language.
class RuleError : public std::exception {
public:
    explicit RuleError(std::string message) : message_(std::move(message)) {}

    const std::string& message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

    bool operator==(const RuleError& other) const { return message_ == other.message_; }

private:
    std::string message_;
};

} // namespace morvane
