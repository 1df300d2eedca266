#pragma once

#include <string>

namespace morvane {

// The operating system's description of an error number, in the engine's
// language: the C library's English text is the translation key, so the
// message does not follow the process locale but the engine's language.
std::string systemErrorText(int code);

} // namespace morvane
