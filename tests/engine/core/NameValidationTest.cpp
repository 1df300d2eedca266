#include "engine/core/NameValidation.h"

#include "engine/testing/LanguageScope.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using Kind = NameValidationError::Kind;

TEST(NameValidation, ReportsTheFirstProblemInOrder) {
    struct Case {
        const char* label;
        std::string name;
        std::optional<NameValidationError> expected;
    };
    const std::string nul("a\0b", 3);
    const Case cases[] = {
        {"fine", "photo.jpg", std::nullopt},
        {"empty", "", NameValidationError::of(Kind::empty)},
        {"colon", "a:b", NameValidationError::forbidden(":")},
        {"slash", "/x", NameValidationError::forbidden("/")},
        {"slash wins over leading dot", ".x/y", NameValidationError::forbidden("/")},
        {"NUL", nul, NameValidationError::forbidden(std::string(1, '\0'))},
        {"leading dot", ".env", NameValidationError::of(Kind::leadingDot)},
        {"leading dot wins over length", "." + std::string(300, 'a'),
         NameValidationError::of(Kind::leadingDot)},
        {"255 ASCII bytes", std::string(255, 'a'), std::nullopt},
        {"256 ASCII bytes", std::string(256, 'a'), NameValidationError::of(Kind::tooLong)},
        // 86 characters, but 258 bytes: the limit is on bytes.
        {"three-byte characters",
         [] {
             std::string s;
             for (int i = 0; i < 86; ++i)
                 s += "\u20ac";
             return s;
         }(),
         NameValidationError::of(Kind::tooLong)},
        {"accented", "r\u00e9sum\u00e9.pdf", std::nullopt},
        // A slash under a combining mark still cuts the path on disk.
        {"slash with a mark", "a/\u0301b", NameValidationError::forbidden("/\u0301")},
        {"colon in non-ASCII name", "caf\u00e9:x", NameValidationError::forbidden(":")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameValidation::validate(c.name), c.expected) << c.label;
    }
}

TEST(NameValidation, MessagesAreTheSameForEveryForbiddenCharacter) {
    EXPECT_EQ(NameValidationError::forbidden("/").message(),
              "Names cannot contain \u201C/\u201D or \u201C:\u201D");
    EXPECT_EQ(NameValidationError::forbidden(std::string(1, '\0')).message(),
              NameValidationError::forbidden(":").message());
    testing::LanguageScope spanish("es");
    EXPECT_EQ(NameValidationError::of(Kind::empty).message(), "El nombre nuevo est\u00e1 vac\u00edo");
}

} // namespace
} // namespace morvane
