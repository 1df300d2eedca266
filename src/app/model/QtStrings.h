#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace morvane::app {

// The model keeps texts and paths as the engine does, in UTF-8 std::string;
// these are the only conversions to and from Qt's strings.
inline QString toQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string fromQString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

} // namespace morvane::app
