#include "engine/rules/FolderRule.h"

#include "engine/testing/RuleTesting.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(FolderRule, AddsTheParentNameUnlessThereIsNone) {
    const FileItem inRome("IMG_1.jpg", "/photos/Rome", {}, {}, 0, false, true);
    EXPECT_EQ(testing::applied(FolderRule{}, "IMG_1.jpg", 0, inRome), "Rome-IMG_1.jpg");
    EXPECT_EQ(testing::applied(FolderRule{FolderRule::Position::after, " "}, "IMG_1.jpg", 0, inRome),
              "IMG_1 Rome.jpg");
    const FileItem atRoot("IMG_1.jpg", "/", {}, {}, 0, false, true);
    EXPECT_EQ(testing::applied(FolderRule{}, "IMG_1.jpg", 0, atRoot), "IMG_1.jpg");
}

} // namespace
} // namespace morvane
