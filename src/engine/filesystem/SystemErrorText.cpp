#include "engine/filesystem/SystemErrorText.h"

#include "engine/support/Localization.h"

#include <clocale>
#include <cstring>
#include <locale.h>

namespace morvane {

std::string systemErrorText(int code) {
    static const locale_t english = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const char* text = english != static_cast<locale_t>(nullptr) ? strerror_l(code, english) : nullptr;
    if (text == nullptr) {
        return localized("Error %lld", code);
    }
    return localized(text);
}

} // namespace morvane
