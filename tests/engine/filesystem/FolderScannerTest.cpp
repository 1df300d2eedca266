#include "engine/filesystem/FolderScanner.h"

#include "engine/filesystem/FileSystemError.h"
#include "engine/filesystem/InMemoryFileSystem.h"
#include "engine/filesystem/LocalFileSystem.h"
#include "engine/support/Localization.h"
#include "engine/testing/DiskFixtures.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

ScanOptions options(bool files, bool folders, bool recursive, bool hidden = false,
                    bool packagesAsFiles = true, bool followLinks = false) {
    return ScanOptions{files, folders, recursive, hidden, packagesAsFiles, followLinks};
}

// The items' ids after `root` + "/", separated by spaces; folders end in "/".
std::string listing(const std::vector<FileItem>& items, const std::string& root = "/r") {
    std::string result;
    for (const auto& item : items) {
        result +=
            (result.empty() ? "" : " ") + item.id.substr(root.size() + 1) + (item.isDirectory ? "/" : "");
    }
    return result;
}

TEST(FolderScanner, SortsIgnoringCaseWithNumbersByValue) {
    auto fs = std::make_shared<InMemoryFileSystem>(true);
    for (const char* name : {"b1", "a10", "file10", "A2", "file2", "File1", "\u00e9t\u00e9", "ete", "zz"}) {
        fs->addFile(std::string("/r/") + name);
    }
    const auto items = FolderScanner(fs).scan("/r", options(true, false, false));
    EXPECT_EQ(listing(items), "A2 a10 b1 ete \u00e9t\u00e9 File1 file2 file10 zz");
    // One folder's items hold its path and name once between them.
    EXPECT_EQ(&items.front().directory.str(), &items.back().directory.str());
    EXPECT_EQ(&items.front().parentName.str(), &items.back().parentName.str());
}

TEST(FolderScanner, OptionsDecideWhatListsAndWhatIsEntered) {
    auto fs = std::make_shared<InMemoryFileSystem>(true);
    fs->addFile("/r/a.txt", {}, {}, 7);
    fs->addFile("/r/.git/config");
    fs->addFile("/r/.env");
    fs->addFile("/r/sub/b.txt");
    fs->addFile("/r/sub/deep/c.txt");
    fs->addDirectory("/r/Tool.app", {}, true);
    fs->addFile("/r/Tool.app/inside");
    fs->addSymlink("/r/link", true);
    const FolderScanner scanner(fs);
    struct Case {
        ScanOptions options;
        const char* expected;
    };
    const Case cases[] = {
        {options(true, false, false), "a.txt link Tool.app"},
        {options(true, false, true), "a.txt link sub/b.txt sub/deep/c.txt Tool.app"},
        {options(false, true, false), "sub/"},
        {options(true, true, true, false, false),
         "a.txt link sub/ sub/b.txt sub/deep/ sub/deep/c.txt Tool.app/ "
         "Tool.app/inside"},
        {options(true, true, true, true), ".env .git/ .git/config a.txt link sub/ sub/b.txt sub/deep/ "
                                          "sub/deep/c.txt Tool.app"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(listing(scanner.scan("/r", c.options)), c.expected);
    }
    const auto items = scanner.scan("/r", options(true, true, true));
    const FileItem& deep = items[5];
    EXPECT_EQ(deep, FileItem("c.txt", "/r/sub/deep", {}, {}, 0, false, true, "/r/sub/deep/c.txt", "deep"));
    EXPECT_EQ(items[0].size, 7);
    // Following the link enters it; this volume's links lead nowhere, and the
    // listing's error ends the scan.
    EXPECT_THROW(scanner.scan("/r", options(true, false, true, false, true, true)), FileSystemError);
}

TEST(FolderScanner, FollowsLinksOnceAndEndsLoopsOnDisk) {
    testing::TempFolder dir;
    testing::makeFolder(dir / "r/sub");
    testing::writeFile(dir / "r/sub/f", "");
    testing::makeLink("..", dir / "r/sub/up");
    testing::makeLink("sub", dir / "r/again");
    const FolderScanner scanner(std::make_shared<LocalFileSystem>());
    const std::string r = dir / "r";
    EXPECT_EQ(listing(scanner.scan(r, options(true, true, true, false, true, true)), r),
              "again/ again/f again/up/ sub/");
    EXPECT_EQ(listing(scanner.scan(r, options(true, false, true)), r), "again sub/f sub/up");
}

// A stop keeps what was read, in its order, and says the list is incomplete;
// the progress reports only grow, up to what the scan read.
TEST(FolderScanner, AStopKeepsWhatWasReadSoFar) {
    auto fs = std::make_shared<InMemoryFileSystem>(true);
    for (const char* path : {"/r/a/1", "/r/a/2", "/r/b/1", "/r/b/c/1", "/r/d/1", "/r/z"}) {
        fs->addFile(path);
    }
    const FolderScanner scanner(fs);
    const auto whole = scanner.scanReporting("/r", options(true, true, true));
    EXPECT_TRUE(whole.isComplete);
    ASSERT_EQ(listing(whole.items), "a/ a/1 a/2 b/ b/1 b/c/ b/c/1 d/ d/1 z");

    std::stop_source stop;
    std::vector<ScanProgress> reports;
    const ScanControl control{stop.get_token(), [&](const ScanProgress& progress) {
                                  reports.push_back(progress);
                                  if (progress.items == 4) {
                                      stop.request_stop(); // as b is about to be read
                                  }
                              }};
    const auto stopped = scanner.scanReporting("/r", options(true, true, true), control);
    EXPECT_FALSE(stopped.isComplete);
    EXPECT_EQ(listing(stopped.items), "a/ a/1 a/2 b/");
    ASSERT_FALSE(reports.empty());
    for (std::size_t i = 1; i < reports.size(); ++i) {
        EXPECT_GE(reports[i].items, reports[i - 1].items);
        EXPECT_GE(reports[i].folders, reports[i - 1].folders);
    }
    EXPECT_EQ(reports.back(), (ScanProgress{4, 2}));
    // Stopped before it began, it reads nothing.
    EXPECT_TRUE(scanner.scanReporting("/r", options(true, true, true), ScanControl{stop.get_token(), {}})
                    .items.empty());
}

TEST(FolderScanner, LeavesOutAndCountsNamesThatAreNotUtf8) {
    testing::TempFolder dir;
    testing::makeFolder(dir / "r/bad\xff-folder");
    testing::writeFile(dir / "r/bad\xff-folder/inside", "");
    testing::writeFile(dir / "r/caf\xe9.txt", "latin-1");
    testing::writeFile(dir / "r/.hidden\xfe", "");
    testing::writeFile(dir / "r/good.txt", "");
    const FolderScanner scanner(std::make_shared<LocalFileSystem>());
    const auto result = scanner.scanReporting(dir / "r", options(true, true, true));
    EXPECT_EQ(listing(result.items, dir / "r"), "good.txt");
    EXPECT_EQ(result.unreadableNameCount, 2u);
    EXPECT_EQ(result.unreadableNamesMessage(), "2 items with unreadable names were left out");
    EXPECT_EQ(scanner.scanReporting(dir / "r", options(true, false, false, true)).unreadableNameCount, 3u);
    EXPECT_THROW(scanner.scan(dir / "r/bad\xff-folder", options(true, false, false)), FileSystemError);
}

} // namespace
} // namespace morvane
