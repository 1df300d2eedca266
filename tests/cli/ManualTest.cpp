// The manual page against the program: every option and command that --help
// shows is documented, nothing documented is gone, and the versions agree.
#include "CliTesting.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace morvane::cli {
namespace {

std::set<std::string> optionsIn(const std::string& text) {
    static const std::regex option("(^|[^A-Za-z0-9-])(--?[a-z][a-z-]*)");
    std::set<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator();
         ++it) {
        found.insert((*it)[2]);
    }
    return found;
}

// The page as a reader sees its words: "\-" is a hyphen, "\e" a backslash.
std::string manualText() {
    std::ifstream file(std::string(MORVANE_SOURCE_DIR) + "/data/morvane-cli.1");
    std::stringstream contents;
    contents << file.rdbuf();
    std::string text = std::regex_replace(contents.str(), std::regex(R"(\\-)"), "-");
    return std::regex_replace(text, std::regex(R"(\\e)"), "\\");
}

TEST(Manual, DocumentsWhatHelpShows) {
    const std::vector<std::string> commands{"preview", "rename", "undo", "history", "recover", "presets"};
    std::string help = testing::run({"--help"}).out;
    for (const auto& command : commands) {
        help += testing::run({command, "--help"}).out;
    }
    const std::string manual = manualText();
    ASSERT_FALSE(manual.empty());

    std::set<std::string> shown = optionsIn(help), documented = optionsIn(manual);
    for (const auto& option : shown) {
        EXPECT_TRUE(documented.contains(option)) << option << " is not in data/morvane-cli.1";
    }
    for (const auto& option : documented) {
        EXPECT_TRUE(shown.contains(option)) << option << " is in data/morvane-cli.1 but not in --help";
    }
    for (const auto& command : commands) {
        EXPECT_NE(manual.find("\n.B " + command + "\n"), std::string::npos)
            << command << " is not documented";
    }
    const std::string version = testing::run({"--version"}).out;
    const std::string number =
        version.substr(version.rfind(' ') + 1, version.find('\n') - version.rfind(' ') - 1);
    EXPECT_NE(manual.find("\"Morvane " + number + "\""), std::string::npos) << version;
}

} // namespace
} // namespace morvane::cli
