#pragma once

#include <exception>
#include <string>

namespace morvane {

// What every file-system operation throws. `message()` is the text for people,
// in the engine's current language.
class FileSystemError : public std::exception {
public:
    enum class Kind { notFound, alreadyExists, failed };

    static FileSystemError notFound(std::string path) { return {Kind::notFound, std::move(path)}; }
    static FileSystemError alreadyExists(std::string path) { return {Kind::alreadyExists, std::move(path)}; }
    // `message` is complete and already worded; it is shown as it is.
    static FileSystemError failed(std::string message) { return {Kind::failed, std::move(message)}; }

    Kind kind() const { return kind_; }
    // The missing or occupied path, or the complete message of a failure.
    const std::string& payload() const { return payload_; }

    // Looked up afresh on each call.
    std::string message() const;
    // The message in the language that was current when the error was made.
    const char* what() const noexcept override { return whatText_.c_str(); }

    bool operator==(const FileSystemError& other) const {
        return kind_ == other.kind_ && payload_ == other.payload_;
    }

private:
    FileSystemError(Kind kind, std::string payload);

    Kind kind_;
    std::string payload_;
    std::string whatText_;
};

} // namespace morvane
