#include "app/desktop/MV.h"

namespace morvane::app::MV {

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Base).lightnessF() < 0.5;
}

QColor insBg(const QPalette& palette) {
    return isDark(palette) ? QColor(0x1d, 0x4d, 0x2b) : QColor(0xd4, 0xf5, 0xdc);
}

QColor insFg(const QPalette& palette) {
    return isDark(palette) ? QColor(0x9c, 0xf0, 0xb0) : QColor(0x0b, 0x5e, 0x22);
}

QColor delBg(const QPalette& palette) {
    return isDark(palette) ? QColor(0x5c, 0x23, 0x23) : QColor(0xfb, 0xd9, 0xd6);
}

QColor chgBg(const QPalette& palette) {
    return isDark(palette) ? QColor(0x5a, 0x45, 0x10) : QColor(0xff, 0xec, 0xb8);
}

QColor chgFg(const QPalette& palette) {
    return isDark(palette) ? QColor(0xff, 0xd8, 0x7a) : QColor(0x7a, 0x4b, 0x00);
}

} // namespace morvane::app::MV
