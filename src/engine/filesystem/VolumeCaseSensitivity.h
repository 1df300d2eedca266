#pragma once

#include <string>

namespace morvane {

// Whether the folder's names compare case-sensitively. First asks the folder
// itself: one of its entries is looked up under a case-swapped name, and the
// two answers are compared by identity. Without such an entry, the folder's
// casefold attribute and then the file-system type decide; an unknown type
// counts as case-insensitive, the cautious answer.
bool volumeIsCaseSensitive(const std::string& directory);

} // namespace morvane
