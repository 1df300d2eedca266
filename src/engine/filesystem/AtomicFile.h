#pragma once

#include <string>
#include <string_view>

namespace morvane {

// Whole-file replacement that readers never see half done: the contents go to
// a temporary file in the same folder, are flushed to the disk, and the
// temporary file is then renamed over the destination. Failures throw
// std::system_error and leave the destination as it was.
class AtomicFile {
public:
    static void write(const std::string& path, std::string_view contents);
};

} // namespace morvane
