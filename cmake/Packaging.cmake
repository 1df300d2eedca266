# "make package" (cpack -G DEB in a Release build): a .deb whose dependencies
# are the Debian packages of the libraries the programs link, as
# dpkg-shlibdeps finds them. The desktop's caches (MIME types, launchers,
# icons) are refreshed by the triggers of the packages that own them.
set(CPACK_PACKAGE_NAME "morvane")
set(CPACK_PACKAGE_VENDOR "The Morvane developers")
set(CPACK_PACKAGE_CONTACT "${MORVANE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rename many files at once, seeing every new name first")
set(CPACK_PACKAGE_HOMEPAGE_URL "${MORVANE_HOMEPAGE}")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
# The package's long description (the summary above is its first line).
set(CPACK_PACKAGE_DESCRIPTION "Morvane renames many files at once and shows every new name before
anything changes on disk: replace text, regular expressions, letter case,
counters, dates, folder names, templates, additions, removals and name
segments, applied in order. Renaming never overwrites a file, a failure puts
everything back, and every batch can be undone. The package holds the window
(morvane) and the command line (morvane-cli).")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugins at run time: X11's comes with libqt6gui6 and
# the SVG icon engine with libqt6svg6 (both linked), Wayland's is a package of
# its own; Qt's own texts (standard buttons) come with its translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
include(CPack)
