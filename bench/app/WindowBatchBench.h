#pragma once

#include <string>

namespace morvane::app {

class MainWindow;

// Renaming every item of the folder open in `window` through the window, as a
// user does (Rename, the sheet's Rename button, then Undo Rename in the
// banner), each until the banner and the refreshed table are there, against
// `morvane-cli rename` and `morvane-cli undo` of the same folder, run back to
// back in each round so that the machine's load weighs on both alike. Prints
// the medians over `rounds` and the process's memory before the first batch,
// after each rename and after each undo. False when a step never ended.
bool timeWindowBatches(MainWindow& window, const std::string& folder, const std::string& cli, int rounds);

} // namespace morvane::app
