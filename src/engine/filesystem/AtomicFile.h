#pragma once

#include <string>
#include <string_view>

namespace morvane {

// Whole-file replacement that readers never see half done: the contents go to
// a temporary file in the same folder, are flushed to the disk, and the
// temporary file is then renamed over the destination. Failures throw
// std::system_error and leave the destination as it was.
//
// Step by step, the contents can be written in pieces (a large record is
// then never whole in memory) and flushed well before the replacement is
// made, for instance on another thread while other work goes on; a file
// neither committed nor abandoned is removed when the object goes.
class AtomicFile {
public:
    // Opens a new temporary file beside `path`: one of its own, or the one
    // named `temporary` (in the same folder), which must not exist.
    explicit AtomicFile(std::string path, std::string temporary = {});
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void append(std::string_view contents);
    // Flushes what was appended to the disk.
    void flush();
    // Flushes, then puts the file in place of the destination, durably.
    void commit();
    // Removes the temporary file; the destination stays as it was.
    void abandon() noexcept;

    static void write(const std::string& path, std::string_view contents);
    // Makes the creation, renaming or removal of entries of `folder` durable.
    // Some file systems cannot sync a folder; that is not an error.
    static void syncFolder(const std::string& folder);
    // The folder holding `path` ("." for a bare name).
    static std::string folderOf(const std::string& path);

private:
    std::string path_;
    std::string temporary_;
    int fd_ = -1;
    bool flushed_ = false;
};

} // namespace morvane
