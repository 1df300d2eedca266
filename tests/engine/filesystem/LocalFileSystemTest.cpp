#include "engine/filesystem/LocalFileSystem.h"

#include "engine/filesystem/FileSystemError.h"
#include "engine/filesystem/ItemsFromPaths.h"
#include "engine/filesystem/NoReplaceMove.h"
#include "engine/support/Localization.h"
#include "engine/support/Paths.h"
#include "engine/testing/DiskFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane {
namespace {

using testing::snapshot;
using testing::TempFolder;
using testing::writeFile;

using testing::moveError;

// Each entry as "name:" and its flags: d(irectory), l(ink), D (link to a folder), h(idden).
std::string flagsOf(std::vector<FSEntry> entries) {
    std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.name < b.name; });
    std::string result;
    for (const FSEntry& e : entries) {
        result += (result.empty() ? "" : " ") + e.name + ":" + (e.isDirectory ? "d" : "") +
                  (e.isSymlink ? "l" : "") + (e.symlinkTargetIsDirectory ? "D" : "") +
                  (e.isHidden ? "h" : "") + (e.isPackage ? "p" : "");
    }
    return result;
}

TEST(LocalFileSystem, ListsEntriesWithoutFollowingLinks) {
    TempFolder dir;
    writeFile(dir / "file.txt", "12345");
    writeFile(dir / ".profile", "");
    testing::makeFolder(dir / "sub");
    testing::makeLink("sub", dir / "to-sub");
    testing::makeLink("missing", dir / "dangling");
    const timespec times[2] = {{1000, 0}, {1796454909, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (dir / "file.txt").c_str(), times, AT_SYMLINK_NOFOLLOW), 0);

    LocalFileSystem fs;
    const auto entries = fs.entries(dir.path());
    EXPECT_EQ(flagsOf(entries), ".profile:h dangling:l file.txt: sub:d to-sub:lD");
    const auto file =
        std::find_if(entries.begin(), entries.end(), [](auto& e) { return e.name == "file.txt"; });
    const auto sub = std::find_if(entries.begin(), entries.end(), [](auto& e) { return e.name == "sub"; });
    EXPECT_EQ(file->size, 5);
    EXPECT_EQ(file->modified, testing::secondsSinceEpoch(1796454909));
    EXPECT_EQ(sub->size, 0);

    EXPECT_TRUE(fs.exists(dir / "dangling"));
    EXPECT_FALSE(fs.exists(dir / "missing"));
    EXPECT_FALSE(fs.exists(dir / std::string("file.txt\0x", 10)));
    EXPECT_EQ(fs.canonicalPath(dir / "to-sub"), fs.canonicalPath(dir / "sub"));
    EXPECT_EQ(fs.canonicalPath(dir / "nowhere/x"), dir / "nowhere/x");
    EXPECT_TRUE(fs.isCaseSensitive(dir.path()));
    EXPECT_FALSE(fs.isCaseSensitive(dir / "nowhere"));
    EXPECT_THROW(fs.entries(dir / "nowhere"), FileSystemError);

    // Names and kinds alone: the same entries, without the per-entry look-up.
    const auto light = LocalFileSystem(LocalFileSystem::Details::namesAndKinds).entries(dir.path());
    EXPECT_EQ(flagsOf(light), ".profile:h dangling:l file.txt: sub:d to-sub:lD");
    for (const auto& entry : light) {
        EXPECT_EQ(entry.modified, Date{}) << entry.name;
        EXPECT_EQ(entry.size, 0) << entry.name;
    }
}

TEST(LocalFileSystem, NamesAloneUpToALimit) {
    TempFolder dir;
    for (const char* name : {"a", ".hidden", "b"}) {
        writeFile(dir / name, "");
    }
    testing::makeFolder(dir / "sub");
    const LocalFileSystem fs(LocalFileSystem::Details::all);
    auto names = fs.names(dir.path(), 4);
    ASSERT_TRUE(names);
    std::sort(names->begin(), names->end());
    EXPECT_EQ(*names, (std::vector<std::string>{".hidden", "a", "b", "sub"}));
    EXPECT_EQ(fs.names(dir.path(), 3), std::nullopt);
    EXPECT_THROW(fs.names(dir / "missing", 10), FileSystemError);
}

// An item is found after a crash by what it is: the listing must say the same
// of each entry as a question about it, and a move must keep it.
TEST(LocalFileSystem, IdentitiesAgreeAndSurviveAMove) {
    TempFolder dir;
    writeFile(dir / "a", "");
    writeFile(dir / "b", "");
    testing::makeFolder(dir / "sub");
    testing::makeLink("a", dir / "link");
    LocalFileSystem fs;
    const auto listed = fs.identities(dir.path(), 4);
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->size(), 4u);
    for (const IdentifiedName& entry : *listed) {
        EXPECT_EQ(fs.identity(dir / entry.name), entry.identity) << entry.name;
        EXPECT_EQ(fs.folder(dir.path())->identity(entry.name), entry.identity) << entry.name;
    }
    EXPECT_NE(fs.identity(dir / "link"), fs.identity(dir / "a")) << "a link is itself";
    const auto a = fs.identity(dir / "a");
    fs.move(dir / "a", dir / "c");
    EXPECT_EQ(fs.identity(dir / "c"), a);
    EXPECT_EQ(fs.identity(dir / "a"), std::nullopt);
    EXPECT_EQ(fs.identities(dir.path(), 3), std::nullopt);
    EXPECT_THROW(fs.identities(dir / "missing", 10), FileSystemError);
}

TEST(LocalFileSystem, MoveNeverReplacesAndReportsInTheContractsOrder) {
    TempFolder dir;
    writeFile(dir / "a", "A");
    writeFile(dir / "b", "B");
    LocalFileSystem fs;
    const auto before = snapshot(dir.path());
    EXPECT_EQ(moveError(fs, dir / "a", dir / "b"), FileSystemError::alreadyExists(dir / "b"));
    EXPECT_EQ(moveError(fs, dir / "gone", dir / "b"), FileSystemError::notFound(dir / "gone"));
    // Other failures name the file, as the two above do.
    EXPECT_EQ(moveError(fs, dir / "a", dir / "no/such/folder"),
              FileSystemError::failed("\u201Ca\u201D could not be renamed: No such file or directory"));
    EXPECT_EQ(moveError(fs, dir / "a", dir / std::string("b\0c", 3)),
              FileSystemError::failed("\u201Ca\u201D could not be renamed: Invalid argument"));
    EXPECT_EQ(snapshot(dir.path()), before);

    // A symbolic link whose target is missing is still an entry of its own.
    testing::makeLink("nowhere", dir / "dangling");
    EXPECT_EQ(moveError(fs, dir / "a", dir / "dangling"), FileSystemError::alreadyExists(dir / "dangling"));
    EXPECT_EQ(snapshot(dir.path()),
              (std::map<std::string, std::string>{{"a", "A"}, {"b", "B"}, {"dangling", "-> nowhere"}}));
    std::filesystem::remove(dir / "dangling");

    EXPECT_EQ(moveError(fs, dir / "a", dir / "A"), std::nullopt);
    EXPECT_EQ(snapshot(dir.path()), (std::map<std::string, std::string>{{"A", "A"}, {"b", "B"}}));
}

TEST(LocalFileSystem, MessagesFollowTheEngineLanguage) {
    TempFolder dir;
    LocalFileSystem fs;
    Localization::setLanguage("es");
    const auto missing = moveError(fs, dir / "gone", dir / "x");
    const auto noFolder = moveError(fs, dir.path(), dir / "no/x");
    Localization::setLanguage("en");
    EXPECT_EQ(missing->what(), std::string("\u201Cgone\u201D ya no existe"));
    EXPECT_EQ(missing->message(), "\u201Cgone\u201D no longer exists");
    EXPECT_EQ(noFolder->payload(), "No se ha podido cambiar el nombre de \u201C" +
                                       Paths::lastComponent(dir.path()) +
                                       "\u201D: No existe el archivo o la carpeta");
}

// What the probe sees on a FAT mount or a casefolded folder: the case-swapped
// name leads to the same entry. A hard link plays that part here.
TEST(LocalFileSystem, CaseSensitivityIsAskedOfTheFolderItself) {
    TempFolder dir;
    LocalFileSystem fs;
    testing::makeFolder(dir / "digits");
    writeFile(dir / "digits/123", "");
    EXPECT_TRUE(fs.isCaseSensitive(dir / "digits")); // nothing to swap: the volume type answers
    testing::makeFolder(dir / "same");
    writeFile(dir / "same/readme", "");
    ASSERT_EQ(::link((dir / "same/readme").c_str(), (dir / "same/README").c_str()), 0);
    EXPECT_FALSE(fs.isCaseSensitive(dir / "same"));
}

TEST(LocalFileSystem, AFilePickedThroughALinkToItsFolderIsOneItem) {
    TempFolder dir;
    testing::makeFolder(dir / "photos");
    writeFile(dir / "photos/a.jpg", "");
    testing::makeLink(dir / "photos", dir / "shortcut");
    const auto items = itemsFromPaths(LocalFileSystem(), {dir / "photos/a.jpg", dir / "shortcut/a.jpg"});
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].id, dir / "photos/a.jpg");
}

// The fallbacks for volumes that refuse the kernel's no-replace flag.
TEST(NoReplaceMove, FallbacksNeverReplaceEither) {
    TempFolder dir;
    writeFile(dir / "a", "A");
    writeFile(dir / "b", "B");
    testing::makeFolder(dir / "f");
    // A link whose target is missing still holds its name.
    testing::makeLink("nowhere", dir / "dangling");
    for (const auto move : {&posix::moveWithoutReplacing, &posix::moveByLinking, &posix::moveAfterCheck}) {
        EXPECT_EQ(move((dir / "a").c_str(), (dir / "dangling").c_str()), EEXIST);
    }
    EXPECT_EQ(posix::moveByLinking((dir / "a").c_str(), (dir / "b").c_str()), EEXIST);
    EXPECT_EQ(posix::moveAfterCheck((dir / "a").c_str(), (dir / "b").c_str()), EEXIST);
    EXPECT_EQ(posix::moveAfterCheck((dir / "f").c_str(), (dir / "b").c_str()), EEXIST);
    EXPECT_NE(posix::moveByLinking((dir / "f").c_str(), (dir / "g").c_str()), 0);
    EXPECT_EQ(posix::moveByLinking((dir / "a").c_str(), (dir / "c").c_str()), 0);
    EXPECT_EQ(posix::moveAfterCheck((dir / "f").c_str(), (dir / "g").c_str()), 0);
    EXPECT_EQ(snapshot(dir.path()),
              (std::map<std::string, std::string>{
                  {"b", "B"}, {"c", "A"}, {"dangling", "-> nowhere"}, {"g", "<folder>"}}));
}

} // namespace
} // namespace morvane
