#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include <sstream>

namespace morvane::cli {
namespace {

CliOptions parsed(std::vector<std::string> arguments) {
    std::ostringstream out;
    auto options = parseCommandLine(arguments, out);
    EXPECT_TRUE(options.has_value()) << out.str();
    return options.value_or(CliOptions{});
}

std::string usageError(std::vector<std::string> arguments) {
    std::ostringstream out;
    try {
        parseCommandLine(arguments, out);
    } catch (const UsageError& error) {
        return error.message;
    }
    return "(accepted)";
}

TEST(CommandLine, KeepsRulesInTheOrderTheyWereGiven) {
    const auto options = parsed({"--replace", "a=b", "--case", "upper", "--regex", "x=y", "--replace", "c=d",
                                 "--case-sensitive", "--rule", "{}", "--preset", "P", "dir"});
    EXPECT_EQ(options.command, Command::preview);
    using Type = RuleArgument::Type;
    const std::vector<std::pair<Type, std::string>> expected{
        {Type::replace, "a=b"}, {Type::letterCase, "upper"}, {Type::regex, "x=y"},
        {Type::replace, "c=d"}, {Type::rule, "{}"},          {Type::preset, "P"}};
    ASSERT_EQ(options.rules.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(options.rules[i].type, expected[i].first) << i;
        EXPECT_EQ(options.rules[i].value, expected[i].second) << i;
    }
    EXPECT_FALSE(options.rules[0].caseSensitive);
    EXPECT_TRUE(options.rules[3].caseSensitive);
    EXPECT_EQ(options.paths, std::vector<std::string>{"dir"});
}

// The other options are read as the commands' own tests use them.
TEST(CommandLine, ReadsWhatToListAndEveryPath) {
    const auto rename = parsed({"rename", "--no-files", "--hidden", "x", "y"});
    EXPECT_EQ(rename.command, Command::rename);
    EXPECT_FALSE(rename.scan.includeFiles || rename.scan.includeFolders || rename.scan.recursive);
    EXPECT_TRUE(rename.scan.includeHidden);
    EXPECT_EQ(rename.paths, (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(usageError({"--case-sensitive", "--replace", "a=b", "dir"}),
              "--case-sensitive must follow a --replace");
}

// A script gives every command the same places and output, whichever it uses.
TEST(CommandLine, EveryCommandTakesTheCommonOptions) {
    for (const char* command : {"preview", "rename", "undo", "history", "recover", "presets"}) {
        SCOPED_TRACE(command);
        std::vector<std::string> arguments{command, "--json", "--history-dir", "h", "--presets-dir", "p"};
        if (std::string_view(command) == "preview" || std::string_view(command) == "rename") {
            arguments.push_back("dir");
        }
        const auto options = parsed(arguments);
        EXPECT_TRUE(options.json);
        EXPECT_EQ(options.historyDirectory, "h");
        EXPECT_EQ(options.presetsDirectory, "p");
    }
}

TEST(CommandLine, HelpIsAnAnswerNotACommand) {
    std::ostringstream out;
    EXPECT_FALSE(parseCommandLine({"rename", "--help"}, out).has_value());
    EXPECT_NE(out.str().find(R"(write \= for an = in the pattern)"), std::string::npos) << out.str();
}

TEST(CommandLine, SplitsAtTheFirstUnescapedEquals) {
    EXPECT_EQ(splitAtEquals("a=b=c"), std::make_pair(std::string("a"), std::string("b=c")));
    EXPECT_EQ(splitAtEquals(R"(x\=1=y)"), std::make_pair(std::string(R"(x\=1)"), std::string("y")));
    EXPECT_EQ(splitAtEquals("=y"), std::make_pair(std::string(), std::string("y")));
    EXPECT_EQ(splitAtEquals(R"(no\=split)"), std::nullopt);
}

} // namespace
} // namespace morvane::cli
