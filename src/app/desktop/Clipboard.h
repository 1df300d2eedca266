#pragma once

#include <memory>
#include <optional>
#include <string>

namespace morvane::app {

// The plain text on the clipboard, passed in so that tests can script it.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Nothing when the clipboard holds no text.
    virtual std::optional<std::string> text() const = 0;

    static std::shared_ptr<Clipboard> system();
};

} // namespace morvane::app
