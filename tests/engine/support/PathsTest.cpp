#include "engine/support/Paths.h"

#include <gtest/gtest.h>

#include <vector>

namespace morvane {
namespace {

TEST(Paths, WorkOnWholeComponents) {
    EXPECT_EQ(Paths::lastComponent("/a/b/"), "b");
    EXPECT_EQ(Paths::lastComponent("/"), "");
    EXPECT_EQ(Paths::join("", "x"), "x");
    EXPECT_EQ(Paths::join("/", "x"), "/x");
    EXPECT_EQ(Paths::join("/a", "x"), "/a/x");
    EXPECT_FALSE(Paths::isPrefix("/a/b", "/a/bc"));
    EXPECT_FALSE(Paths::isPrefix("/a/b", "/a"));
    EXPECT_FALSE(Paths::isPrefix("/a/B", "/a/b"));
    EXPECT_TRUE(Paths::isPrefix("/a", "/a"));
    EXPECT_TRUE(Paths::isPrefix("/a//b/", "/a/b/c"));
    EXPECT_EQ(Paths::replacingPrefix("/a/b", "/a/B", "/a/b/c/d"), "/a/B/c/d");
    EXPECT_EQ(Paths::replacingPrefix("/a/b", "/a/B", "/a/b"), "/a/B");
    EXPECT_EQ(Paths::replacingPrefix("/a/b", "/a/B", "/a/bc/d"), "/a/bc/d");
    EXPECT_EQ(Paths::relative("/a/b", "/a/b"), "");
    EXPECT_EQ(Paths::relative("/a/b/", "/a/b/c/d"), "c/d");
    EXPECT_EQ(Paths::relative("/a//b", "/a/b//c/"), "c");
    EXPECT_EQ(Paths::relative("/", "/a"), "a");
    EXPECT_EQ(Paths::relative("/a/b", "/a/bc/d"), std::nullopt);
    EXPECT_EQ(Paths::relative("/a/b", "/a"), std::nullopt);
    EXPECT_EQ(Paths::normalized("/a//./b/../c/"), "/a/c");
    EXPECT_EQ(Paths::normalized("/../a/.."), "/");
}

TEST(Paths, OnlyPlainNamesAreSingleComponents) {
    for (const char* name : {"a.txt", ".hidden", "...", "a b"}) {
        EXPECT_TRUE(Paths::isSingleComponent(name)) << name;
    }
    for (const std::string& name :
         std::vector<std::string>{"", ".", "..", "../x", "a/b", std::string("a\0b", 3)}) {
        EXPECT_FALSE(Paths::isSingleComponent(name)) << name;
    }
}

} // namespace
} // namespace morvane
