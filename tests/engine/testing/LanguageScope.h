#pragma once

#include "engine/support/Localization.h"

#include <string>

namespace morvane::testing {

// Switches the engine language for one test and puts the previous one back.
class LanguageScope {
public:
    explicit LanguageScope(std::string language) : previous_(Localization::language()) {
        Localization::setLanguage(std::move(language));
    }
    ~LanguageScope() { Localization::setLanguage(previous_); }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;

private:
    std::string previous_;
};

} // namespace morvane::testing
