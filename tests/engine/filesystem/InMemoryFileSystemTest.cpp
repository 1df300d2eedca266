#include "engine/filesystem/InMemoryFileSystem.h"

#include "engine/filesystem/FileSystemError.h"
#include "engine/testing/DiskFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace morvane {
namespace {

using Strings = std::vector<std::string>;

using testing::moveError;

TEST(InMemoryFileSystem, CaseOnlyRenameIsRefusedOnlyOnCaseInsensitiveVolumes) {
    InMemoryFileSystem insensitive(false);
    insensitive.addFile("/d/a.txt");
    EXPECT_TRUE(insensitive.exists("/D/A.TXT"));
    EXPECT_EQ(moveError(insensitive, "/d/a.txt", "/d/A.txt"), FileSystemError::alreadyExists("/d/A.txt"));
    insensitive.move("/d/a.txt", "/d/t");
    insensitive.move("/d/t", "/d/A.txt");
    EXPECT_EQ(insensitive.paths(), (Strings{"/d", "/d/A.txt"}));
    EXPECT_EQ(insensitive.moves(), (Strings{"/d/a.txt -> /d/t", "/d/t -> /d/A.txt"}));

    InMemoryFileSystem sensitive(true);
    sensitive.addFile("/d/a.txt");
    EXPECT_FALSE(sensitive.exists("/d/A.txt"));
    sensitive.move("/d/a.txt", "/d/A.txt");
    EXPECT_EQ(sensitive.paths(), (Strings{"/d", "/d/A.txt"}));
}

TEST(InMemoryFileSystem, MovingAFolderCarriesItsSubtreeOnly) {
    InMemoryFileSystem fs(false);
    fs.addFile("/p/A/x");
    fs.addFile("/p/a/y/z");
    fs.addFile("/p/ab");
    fs.addFile("/p/abc/w");
    const auto folder = fs.identity("/p/a");
    const auto inside = fs.identity("/p/a/y/z");
    fs.move("/p/a", "/p/b");
    EXPECT_EQ(fs.paths(),
              (Strings{"/p", "/p/ab", "/p/abc", "/p/abc/w", "/p/b", "/p/b/x", "/p/b/y", "/p/b/y/z"}));
    EXPECT_EQ(fs.entries("/p/B/y").at(0).name, "z");
    // What moved is still what it was; a new file where it was is not.
    EXPECT_EQ(fs.identity("/p/b"), folder);
    EXPECT_EQ(fs.identity("/p/b/y/z"), inside);
    EXPECT_EQ(fs.identities("/p/b/y", 1), (std::vector<IdentifiedName>{{"z", *inside}}));
    fs.addFile("/p/a");
    EXPECT_NE(fs.identity("/p/a"), folder);
    EXPECT_EQ(moveError(fs, "/p/b", "/p/b/y/inner")->kind(), FileSystemError::Kind::failed);
}

TEST(InMemoryFileSystem, FailuresChangeNothingAndComeInTheContractsOrder) {
    InMemoryFileSystem fs(true);
    fs.addFile("/d/a");
    fs.addFile("/d/b");
    fs.failMoves("/d/a");
    const auto before = fs.paths();
    const auto injected = moveError(fs, "/d/a", "/d/c");
    EXPECT_EQ(injected, FileSystemError::failed("Permission denied for \u201C"
                                                "a"
                                                "\u201D"));
    EXPECT_EQ(moveError(fs, "/d/missing", "/d/b"), FileSystemError::notFound("/d/missing"));
    EXPECT_EQ(moveError(fs, "/d/b", "/d/b"), FileSystemError::alreadyExists("/d/b"));
    EXPECT_EQ(moveError(fs, "/d/b", "/e/f/b"), FileSystemError::notFound("/e/f"));
    EXPECT_EQ(fs.paths(), before);
    EXPECT_TRUE(fs.moves().empty());
    fs.move("/d/b", "/d/c"); // other sources still move
    EXPECT_EQ(moveError(fs, "/d/missing", "/d/c")->message(), "\u201Cmissing\u201D no longer exists");
}

} // namespace
} // namespace morvane
