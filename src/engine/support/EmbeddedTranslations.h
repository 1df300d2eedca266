#pragma once

#include <string_view>
#include <vector>

namespace morvane::detail {

// One gettext catalogue compiled into the program (see cmake/EmbedTranslations.cmake).
struct EmbeddedCatalogue {
    std::string_view language;
    std::string_view text;
};

std::vector<EmbeddedCatalogue> embeddedCatalogues();

} // namespace morvane::detail
