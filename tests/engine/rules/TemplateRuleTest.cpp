#include "engine/rules/TemplateRule.h"

#include "engine/core/RenamePipeline.h"
#include "engine/testing/RuleTesting.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <tuple>

namespace morvane {
namespace {

TEST(TemplateRule, ExpandsTokensAndCopiesEverythingElseLiterally) {
    const FileItem item("x.jpg", "/trips/Rome", testing::utc(2023, 1, 2), testing::utc(2024, 3, 5, 12), 0,
                        false, true);
    const std::tuple<std::string, std::int64_t, std::string> cases[] = {
        {"{date:yyyyMMdd}_{parent}_{counter:000}", 2, "20240305_Rome_003.jpg"},
        {"{NAME}-{Ext}", 0, "x-jpg.jpg"},
        {"{counter}|{counter:00}|{counter:0000}", 11, "12|12|0012.jpg"},
        {"{counter:0a}{counter:}{date:}{size}{name:x}", 0, "{counter:0a}{counter:}{date:}{size}{name:x}.jpg"},
        {"{date:HH:mm}", 0, "12:00.jpg"},
        {"{modified} {created} {created:yyyy}", 0, "2024-03-05 2023-01-02 2023.jpg"},
        {"a{b", 0, "a{b.jpg"},
        {"{a{name}", 0, "{ax.jpg"},
        {"}{name}{", 0, "}x{.jpg"},
        // A brace carrying a combining mark is another character, not a brace.
        {"\u00E9{\u0301name}", 0, "\u00E9{\u0301name}.jpg"},
        {"", 0, ".jpg"},
        // However many zeros, the counter stops at a width no name can have.
        {"{counter:" + std::string(100'000, '0') + "}", 0, std::string(255, '0') + "1.jpg"},
    };
    for (const auto& [templateText, index, expected] : cases) {
        EXPECT_EQ(testing::applied(TemplateRule{templateText, "UTC"}, "x.jpg", index, item), expected)
            << templateText.substr(0, 40);
    }
}

// {counter} follows the rule's numbering: the run's, or each folder's own.
TEST(TemplateRule, CounterCanStartAgainInEachFolder) {
    std::vector<FileItem> items;
    for (const auto& [name, folder] : {std::pair{"a", "/x"}, {"b", "/y"}, {"c", "/x"}}) {
        items.emplace_back(name, folder, Date{}, Date{}, 0, false, true);
    }
    const auto names = [&](const TemplateRule& rule) {
        std::vector<std::string> result;
        for (const auto& entry : RenamePipeline({makeStep(rule)}).plan(items).entries) {
            result.push_back(entry.newName);
        }
        return result;
    };
    EXPECT_EQ(names(TemplateRule("{name}{counter:00}", std::nullopt)),
              (std::vector<std::string>{"a01", "b02", "c03"}));
    EXPECT_EQ(names(TemplateRule("{name}{counter:00}", std::nullopt, true)),
              (std::vector<std::string>{"a01", "b01", "c02"}));
    const TemplateRule perFolder("{name}", "UTC", true);
    EXPECT_EQ(nlohmann::json(perFolder).get<TemplateRule>(), perFolder);
    EXPECT_FALSE(nlohmann::json(TemplateRule()).contains("perFolder"));
}

TEST(TemplateRule, NeedsTheDetailsItsTokensRead) {
    const ItemDetails none, dates{true, false, false}, photo{false, true, false}, audio{false, false, true};
    const std::vector<std::pair<std::string, ItemDetails>> cases{
        {TemplateRule().template_, dates},
        {"{name} {Created:yyyy}", dates},
        {"{MODIFIED}", dates},
        {"{name} {counter:000} {parent} {ext} date taken artist", none},
        {"{Taken:yyyy}", photo},
        {"{camera}-{width}x{height}", photo},
        {"{track:00} {ARTIST}", audio},
        {"{year}", audio},
        // A brace inside another token may still open one.
        {"{a{genre}", audio},
        {"{date}_{camera}_{album}", dates | photo | audio},
        // Keys are whole: these are no tokens.
        {"{dates} {tracks} {takenat}", none},
    };
    for (const auto& [templateText, expected] : cases) {
        EXPECT_EQ(TemplateRule(templateText, std::nullopt).needsDetails(), expected) << templateText;
    }
}

FileMetadata everything() {
    FileMetadata metadata;
    metadata.taken = CaptureDate{*LocalDateTime::valid(2024, 3, 5, 10, 11, 12, 42), 0};
    metadata.make = "NIKON CORPORATION";
    metadata.model = "NIKON D750";
    metadata.width = 6016;
    metadata.height = 4016;
    metadata.artist = "AC/DC";
    metadata.album = "Back: in Black";
    metadata.title = "Bell\x07s";
    metadata.genre = "Rock";
    metadata.track = 7;
    metadata.disc = 2;
    metadata.year = 1980;
    return metadata;
}

TEST(TemplateRule, MetadataTokensWriteWhatTheFileHolds) {
    const FileMetadata metadata = everything();
    const std::pair<const char*, const char*> cases[] = {
        {"{taken}", "2024-03-05"},
        {"{TAKEN:yyyyMMdd_HHmmss.SSS}", "20240305_101112.042"},
        {"{camera} {width}x{height}", "NIKON D750 6016x4016"},
        // Characters that cannot stand in a name become dashes.
        {"{artist} - {album} - {title}", "AC-DC - Back- in Black - Bell-s"},
        {"{track:00} {track:000} {track} {disc:00} {year} {genre}", "07 007 7 02 1980 Rock"},
        // Arguments that do not fit leave the token as written.
        {"{camera:x}{track:0a}{taken:}{year:0}", "{camera:x}{track:0a}{taken:}{year:0}"},
    };
    for (const auto& [templateText, expected] : cases) {
        std::vector<std::string> warnings;
        EXPECT_EQ(testing::appliedWith(TemplateRule(templateText, "UTC"), "x.jpg", &metadata, {}, &warnings),
                  std::string(expected) + ".jpg");
        EXPECT_EQ(warnings, std::vector<std::string>{}) << templateText;
    }
}

TEST(TemplateRule, AValueTheFileLacksIsLeftOutWithAWarningNamingIt) {
    const FileItem song("x.mp3", "/d", Date{}, Date{}, 0, false, true);
    const TemplateRule rule("{artist}-{track:00}-{taken:yyyy}-{camera}-{name}", "UTC");
    FileMetadata unreadable;
    unreadable.audioProblem = "bad tags";
    const auto missing = [](const char* token) {
        return "\u201Cx.mp3\u201D has no value for {" + std::string(token) + "}";
    };
    const std::tuple<const FileMetadata*, std::vector<std::string>> cases[] = {
        {nullptr, {missing("artist"), missing("track"), missing("taken"), missing("camera")}},
        // Several tokens of a file that could not be read: the reason, once.
        {&unreadable, {"\u201Cx.mp3\u201D could not be read: bad tags", missing("taken"), missing("camera")}},
    };
    for (const auto& [metadata, expected] : cases) {
        std::vector<std::string> warnings;
        EXPECT_EQ(testing::appliedWith(rule, "x.mp3", metadata, song, &warnings), "----x.mp3");
        EXPECT_EQ(warnings, expected);
    }
}

} // namespace
} // namespace morvane
