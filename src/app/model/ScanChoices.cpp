#include "app/model/ScanChoices.h"

#include "app/model/Localizer.h"

#include <algorithm>
#include <array>

namespace morvane::app::ScanChoices {
namespace {

struct Offered {
    const char* name;
    const char* title;
    bool ScanOptions::*field;
};

constexpr std::array<Offered, 5> offered{{
    {"includeSubfolders", "Include Subfolders", &ScanOptions::recursive},
    {"listFiles", "List Files", &ScanOptions::includeFiles},
    {"listFolders", "List Folders", &ScanOptions::includeFolders},
    {"listHidden", "List Hidden Items", &ScanOptions::includeHidden},
    {"followSymlinks", "Follow Symbolic Links", &ScanOptions::followSymlinks},
}};

bool isLastOfFilesAndFolders(const ScanOptions& options, bool ScanOptions::*field) {
    const bool kind = field == &ScanOptions::includeFiles || field == &ScanOptions::includeFolders;
    return kind && options.*field && options.includeFiles != options.includeFolders;
}

} // namespace

std::vector<ScanChoice> of(const ScanOptions& options) {
    std::vector<ScanChoice> choices;
    for (const Offered& choice : offered) {
        choices.push_back({choice.name, Localizer::text(choice.title), options.*choice.field,
                           !isLastOfFilesAndFolders(options, choice.field)});
    }
    return choices;
}

ScanOptions toggled(const ScanOptions& options, std::string_view name) {
    const auto found = std::find_if(offered.begin(), offered.end(),
                                    [&](const Offered& choice) { return choice.name == name; });
    ScanOptions result = options;
    if (found != offered.end() && !isLastOfFilesAndFolders(options, found->field)) {
        result.*found->field = !(options.*found->field);
    }
    return result;
}

} // namespace morvane::app::ScanChoices
