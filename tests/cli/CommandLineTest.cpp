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

TEST(CommandLine, ReadsEveryCommandsOptions) {
    const auto rename =
        parsed({"rename", "--recursive", "--folders", "--no-files", "--hidden", "--sort", "size",
                "--descending", "--exclude", "a", "--exclude", "b", "--skip-conflicting", "x", "y"});
    EXPECT_EQ(rename.command, Command::rename);
    EXPECT_TRUE(rename.scan.recursive && rename.scan.includeFolders && rename.scan.includeHidden);
    EXPECT_FALSE(rename.scan.includeFiles);
    EXPECT_TRUE(rename.scan.packagesAsFiles);
    EXPECT_EQ(rename.order, (ItemOrder{ItemOrder::Field::size, false}));
    EXPECT_EQ(rename.excluded, (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(rename.skipConflicting);
    EXPECT_EQ(rename.paths, (std::vector<std::string>{"x", "y"}));

    const auto undo = parsed({"undo", "--dry-run", "--history-dir", "/h", "--id", "0F1E2D3C"});
    EXPECT_TRUE(undo.dryRun);
    EXPECT_EQ(undo.historyDirectory, "/h");
    EXPECT_EQ(undo.undoId, "0F1E2D3C");
    EXPECT_TRUE(parsed({"rename", "--no-history", "x"}).noHistory);

    const auto recover = parsed({"recover", "--id", "5cc8", "--json", "--history-dir", "/h"});
    EXPECT_EQ(recover.command, Command::recover);
    EXPECT_EQ(recover.recoverId, "5cc8");
    EXPECT_TRUE(recover.json);
    EXPECT_EQ(recover.historyDirectory, "/h");
}

TEST(CommandLine, RefusesWhatItCannotUse) {
    EXPECT_NE(usageError({"--bogus", "dir"}), "(accepted)");
    EXPECT_NE(usageError({"preview"}), "(accepted)"); // no path
    EXPECT_NE(usageError({"--sort", "colour", "dir"}), "(accepted)");
    EXPECT_NE(usageError({"undo", "--skip-conflicting"}), "(accepted)");
    EXPECT_NE(usageError({"rename", "--no-history", "--history-dir", "/h", "x"}), "(accepted)");
    EXPECT_EQ(usageError({"--case-sensitive", "--replace", "a=b", "dir"}),
              "--case-sensitive must follow a --replace");
}

TEST(CommandLine, HelpAndVersionAreAnswersNotCommands) {
    for (const auto& arguments :
         std::vector<std::vector<std::string>>{{"--help"}, {"rename", "--help"}, {"--version"}}) {
        std::ostringstream out;
        EXPECT_FALSE(parseCommandLine(arguments, out).has_value());
        EXPECT_FALSE(out.str().empty());
    }
    std::ostringstream out;
    parseCommandLine({"rename", "--help"}, out);
    EXPECT_NE(out.str().find("--skip-conflicting"), std::string::npos);
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
