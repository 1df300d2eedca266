// Wires the process to the command line: arguments, streams and environment.
#include "cli/CliRun.h"
#include "engine/support/PreferredLanguages.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace {

std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::optional<std::string>(value) : std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    morvane::cli::CliEnvironment environment;
    std::error_code ignored;
    environment.workingDirectory = std::filesystem::current_path(ignored).string();
    environment.outputIsTerminal = isatty(STDOUT_FILENO) != 0;
    environment.errorsAreTerminal = isatty(STDERR_FILENO) != 0;
    environment.noColor = variable("NO_COLOR").has_value();
    environment.catchesInterrupts = true;
    environment.languages = morvane::PreferredLanguages::fromEnvironment();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const int status = morvane::cli::runCli(arguments, std::cout, std::cerr, environment);
    std::cout.flush();
    return status;
}
