// Drives the built morvane-cli the way a user's shell does: a real process,
// real exit statuses, real streams.
#include "engine/testing/DiskFixtures.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace morvane::cli {
namespace {

struct Process {
    int status;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (const char c : text) {
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return result + "'";
}

std::string contentsOf(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

Process runBinary(const morvane::testing::TempFolder& folder, const std::vector<std::string>& arguments,
                  const std::string& environment = "") {
    std::string command =
        "cd " + quoted(folder.path()) + " && " + environment + " " + quoted(MORVANE_CLI_BINARY);
    for (const auto& argument : arguments) {
        command += " " + quoted(argument);
    }
    command += " >" + quoted(folder / ".out") + " 2>" + quoted(folder / ".err") + " </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, contentsOf(folder / ".out"), contentsOf(folder / ".err")};
}

TEST(Binary, PreviewRenameAndUndoAsAUserWould) {
    morvane::testing::TempFolder folder;
    morvane::testing::makeFolder(folder / "in");
    morvane::testing::writeFile(folder / "in/IMG_0001.JPG", "1");
    morvane::testing::writeFile(folder / "in/IMG_0002.JPG", "2");
    const std::vector<std::string> history{"--history-dir", folder / "history"};

    const auto preview = runBinary(folder, {"--json", "--regex", R"(^IMG_(\d+)=photo-$1)", "in"});
    ASSERT_EQ(preview.status, 0) << preview.err;
    EXPECT_EQ(nlohmann::json::parse(preview.out)["toRename"], 2);

    auto renameArguments = std::vector<std::string>{"rename", "--regex", R"(^IMG_(\d+)=photo-$1)"};
    renameArguments.insert(renameArguments.end(), history.begin(), history.end());
    renameArguments.push_back("in");
    const auto renamed = runBinary(folder, renameArguments);
    EXPECT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_EQ(contentsOf(folder / "in/photo-0002.JPG"), "2");

    auto undoArguments = std::vector<std::string>{"undo"};
    undoArguments.insert(undoArguments.end(), history.begin(), history.end());
    EXPECT_EQ(runBinary(folder, undoArguments).status, 0);
    EXPECT_EQ(contentsOf(folder / "in/IMG_0002.JPG"), "2");
}

TEST(Binary, ExitStatusesAndMessagesForBadUsage) {
    morvane::testing::TempFolder folder;
    const auto unknown = runBinary(folder, {"--frobnicate", "."});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(unknown.out.empty());
    EXPECT_NE(unknown.err.find("morvane-cli: "), std::string::npos);

    const auto version = runBinary(folder, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("morvane-cli ")) << version.out;

    // The engine speaks the user's language where it has a table for it.
    morvane::testing::writeFile(folder / "a.txt", "");
    const auto spanish = runBinary(folder, {"--replace", "a=b:", "a.txt"}, "LANG=es_ES.UTF-8");
    EXPECT_EQ(spanish.status, 1);
    EXPECT_NE(spanish.out.find("Los nombres no pueden contener"), std::string::npos) << spanish.out;
}

} // namespace
} // namespace morvane::cli
