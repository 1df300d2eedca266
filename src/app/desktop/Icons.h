#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

namespace morvane::app {

// The window's symbols: small SVGs of our own, compiled in and named after
// the symbols they stand for ("checkmark", "exclamationmark.triangle.fill").
// They are drawn in the text colour of the palette in effect when painted, so
// they follow a switch between light and dark without being set again; a
// symbol with a meaning of its own (a warning) can take a fixed colour.
namespace Icons {

QIcon symbol(const QString& name);
QIcon symbol(const QString& name, const QColor& color);
// The symbol turned clockwise by `degrees` (a chevron pointing right, say).
QIcon rotatedSymbol(const QString& name, int degrees);
// The colour a status symbol is drawn in ("checkmark" green, a warning orange…);
// invalid for the ones drawn in the text colour.
QColor statusColor(const QString& symbolName, bool dark);
QIcon statusSymbol(const QString& name);
// The application's own icon.
QIcon application();

} // namespace Icons
} // namespace morvane::app
