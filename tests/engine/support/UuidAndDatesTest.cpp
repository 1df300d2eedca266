#include "engine/support/IsoDate.h"
#include "engine/support/UserDataFolder.h"
#include "engine/support/Uuid.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace morvane {
namespace {

TEST(Uuid, RandomOnesAreVersion4InUpperCaseText) {
    const std::string text = Uuid::random().text();
    ASSERT_EQ(text.size(), 36u);
    EXPECT_EQ(text.substr(8, 1) + text.substr(13, 2) + text.substr(18, 1) + text.substr(23, 1), "--4--");
    EXPECT_NE(std::string("89AB").find(text[19]), std::string::npos) << text;
    EXPECT_EQ(text.find_first_of("abcdef"), std::string::npos);
    EXPECT_NE(Uuid::random(), Uuid::random());
    EXPECT_EQ(Uuid::parse("0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0ff")->text(),
              "0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0FF");
    for (const char* bad : {"", "0f1e2d3c4b5a49788695a4b3c2d1e0ff", "0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0fg",
                            "../../0f1e2d3c-4b5a-4978-8695-a4b3c2"}) {
        EXPECT_FALSE(Uuid::parse(bad)) << bad;
    }
}

TEST(Uuid, AForkedChildDrawsOtherUuidsThanItsParent) {
    // Random bytes are fetched ahead; a child must not reuse the parent's.
    Uuid::random();
    int channel[2];
    ASSERT_EQ(pipe(channel), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const std::string text = Uuid::random().text();
        const bool written = write(channel[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
        _exit(written ? 0 : 1);
    }
    close(channel[1]);
    std::string childText(36, '\0');
    const ssize_t got = read(channel[0], childText.data(), childText.size());
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_EQ(got, 36);
    EXPECT_NE(childText, Uuid::random().text());
}

TEST(IsoDate, WritesUtcWholeSecondsAndReadsInternetDates) {
    const Date date = Date(std::chrono::seconds(1796454909));
    EXPECT_EQ(IsoDate::format(date + std::chrono::milliseconds(750)), "2026-12-05T07:15:09Z");
    EXPECT_EQ(IsoDate::compactStamp(date), "20261205-071509");
    EXPECT_EQ(IsoDate::format(Date(std::chrono::seconds(-1))), "1969-12-31T23:59:59Z");
    EXPECT_EQ(IsoDate::parse("2026-12-05T07:15:09Z"), date);
    EXPECT_EQ(IsoDate::parse("2026-12-05T08:45:09+01:30"), date);
    for (const char* bad : {"2026-12-05T07:15:09.5Z", "2026-12-05 07:15:09Z", "2026-02-30T07:15:09Z",
                            "2026-12-05T24:00:00Z", "2026-12-05T07:15:09"}) {
        EXPECT_FALSE(IsoDate::parse(bad)) << bad;
    }
}

TEST(UserDataFolder, FollowsTheXdgRules) {
    using O = std::optional<std::string>;
    struct Case {
        O xdg, home, account, expected;
    };
    const Case cases[] = {
        {"/data/", "/home/me", "/home/acct", "/data/Morvane"},
        {"", "/home/me", std::nullopt, "/home/me/.local/share/Morvane"},
        {"relative/data", "/home/me/", std::nullopt, "/home/me/.local/share/Morvane"},
        {std::nullopt, "", "/home/acct", "/home/acct/.local/share/Morvane"},
        {std::nullopt, "/", std::nullopt, "/.local/share/Morvane"},
        {std::nullopt, std::nullopt, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UserDataFolder::rootFrom(c.xdg, c.home, c.account), c.expected) << c.xdg.value_or("-");
    }
}

} // namespace
} // namespace morvane
