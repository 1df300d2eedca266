#include "engine/support/JsonText.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace morvane {
namespace {

TEST(JsonText, EscapesExactlyAsTheJsonLibraryWrites) {
    const std::string cases[] = {
        "",
        "plain name.txt",
        "quote\" backslash\\ slash/",
        std::string("controls \b\f\n\r\t \x01\x1f\x7f", 17),
        std::string("nul \0 inside", 12),
        "caf\u00e9 \U0001F600 \u2028",
    };
    for (const auto& text : cases) {
        std::string written;
        appendJsonString(written, text);
        EXPECT_EQ(written, nlohmann::json(text).dump()) << text;
        EXPECT_EQ(nlohmann::json::parse(written).get<std::string>(), text);
    }
}

} // namespace
} // namespace morvane
