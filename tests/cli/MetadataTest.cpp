// Rules that read what files hold, from the command line: photos without a
// capture date stop a rename unless the user chose to leave them out, and a
// tag a file lacks is a warning on its item.
#include "CliTesting.h"
#include "engine/testing/MediaFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace morvane::cli {
namespace {

using nlohmann::json;
using testing::Workspace;
using Names = std::vector<std::string>;

const std::string kByCaptureDate =
    R"({"kind":"date","source":"taken","format":"yyyy-MM-dd","separator":"_","timeZoneIdentifier":"UTC"})";

// Two dated photos and one without a date, beside the workspace's notes.txt.
void addPhotos(const Workspace& workspace) {
    const std::string dated = "2024:03:05 10:11:12";
    morvane::testing::writePhoto(workspace.photos + "/a.jpg", morvane::testing::PhotoFormat::jpeg,
                                 {{"Exif.Photo.DateTimeOriginal", dated}});
    morvane::testing::writePhoto(workspace.photos + "/b.png", morvane::testing::PhotoFormat::png,
                                 {{"Xmp.exif.DateTimeOriginal", "2023-07-01T08:09:10Z"}});
    morvane::testing::writePhoto(workspace.photos + "/c.jpg", morvane::testing::PhotoFormat::jpeg, {});
}

TEST(CaptureDates, PreviewShowsEachItemWithoutOneAndFails) {
    const Workspace workspace({"notes.txt"});
    addPhotos(workspace);
    const auto preview = workspace.cli({"preview", "--json", "--rule", kByCaptureDate, "photos"});
    EXPECT_EQ(preview.status, 2);
    const json plan = json::parse(preview.out);
    EXPECT_EQ(plan["entries"][0]["newName"], "2024-03-05_a.jpg");
    EXPECT_EQ(plan["entries"][1]["newName"], "2023-07-01_b.png");
    EXPECT_EQ(plan["entries"][2]["newName"], "c.jpg");
    EXPECT_EQ(
        plan["entries"][2]["notes"],
        json::parse(R"([{"level":"error","step":0,"message":"\u201Cc.jpg\u201D has no capture date"}])"));
    EXPECT_EQ(plan["entries"][3]["notes"][0]["message"], "\u201Cnotes.txt\u201D has no capture date");
    EXPECT_EQ(plan["ruleErrors"], json::object());

    const auto table = workspace.cli({"preview", "--rule", kByCaptureDate, "photos"});
    EXPECT_NE(table.out.find("c.jpg  \u2014 \u201Cc.jpg\u201D has no capture date"), std::string::npos)
        << table.out;
}

TEST(CaptureDates, RenameRefusesItemsWithoutOneUnlessTheyAreLeftOut) {
    const Workspace workspace({"notes.txt"});
    addPhotos(workspace);
    const auto refused = workspace.cli({"rename", "--rule", kByCaptureDate, "photos"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("Rule 1 (Date): \u201Cc.jpg\u201D has no capture date"), std::string::npos)
        << refused.err;
    EXPECT_NE(refused.err.find("--skip-missing-metadata"), std::string::npos) << refused.err;
    EXPECT_EQ(workspace.names(), (Names{"a.jpg", "b.png", "c.jpg", "notes.txt"}));

    // The preview shows what the rename will do: those left out, and why.
    const auto preview =
        workspace.cli({"preview", "--json", "--skip-missing-metadata", "--rule", kByCaptureDate, "photos"});
    EXPECT_EQ(preview.status, 0) << preview.err;
    const json plan = json::parse(preview.out);
    EXPECT_EQ(plan["entries"][2]["status"], "excluded");
    EXPECT_EQ(plan["entries"][2]["notes"][0]["message"], "\u201Cc.jpg\u201D has no capture date");

    const auto renamed =
        workspace.cli({"rename", "--skip-missing-metadata", "--rule", kByCaptureDate, "photos"});
    EXPECT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_EQ(workspace.names(), (Names{"2023-07-01_b.png", "2024-03-05_a.jpg", "c.jpg", "notes.txt"}));
}

TEST(Tags, AValueAFileLacksIsAWarningNotARefusal) {
    Workspace workspace({"readme.txt"});
    morvane::testing::writeAudio(workspace.photos + "/01.mp3", morvane::testing::AudioFormat::mp3,
                                 {{"ARTIST", "Nina Simone"}, {"TITLE", "Sinnerman"}, {"TRACKNUMBER", "10"}});
    const std::string rule = R"({"kind":"template","template":"{track:00} {artist} - {title}"})";
    const auto preview = workspace.cli({"preview", "--json", "--rule", rule, "photos"});
    EXPECT_EQ(preview.status, 0) << preview.err;
    const json notes = json::parse(preview.out)["entries"][1]["notes"];
    EXPECT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0]["level"], "warning");
    EXPECT_EQ(notes[0]["message"], "\u201Creadme.txt\u201D has no value for {track}");

    const auto renamed = workspace.cli({"rename", "--rule", rule, "photos"});
    EXPECT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_EQ(workspace.names(), (Names{"  - .txt", "10 Nina Simone - Sinnerman.mp3"}));
}

} // namespace
} // namespace morvane::cli
