# The Debian package, built by CPack from the install rules: cpack -G DEB in a build folder.
# The package holds only files below /usr and has no maintainer scripts, so installing and
# removing it never touches what the program keeps in the user's ~/.config/scrivlet/.
set(SCRIVLET_PACKAGE_MAINTAINER "The Scrivlet developers <scrivlet@localhost>"
    CACHE STRING "Maintainer field of the Debian package (Name <address>)")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME scrivlet)
set(CPACK_PACKAGE_VENDOR "The Scrivlet developers")
set(CPACK_PACKAGE_CONTACT "${SCRIVLET_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "launcher, calculator and memo pad in one input line")
# Debian wants the long description in lines of at most 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "Scrivlet stays resident and calls up a small window with one input line from
a global hotkey, its tray icon or a second start. Files, folders, programs and
web addresses open through the desktop; calculations and the user's own
VBScript functions show their result in the line; prose is added to the
current memo with the time. Memos are kept in one text file. scrivlet-cli runs
the same lines from a terminal.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SCRIVLET_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps. Japanese text needs a font with its glyphs, and GIO
# tells files apart only with the MIME database.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-noto-cjk | fonts-ipafont-gothic, shared-mime-info, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The source archive (cpack --config CPackSourceConfig.cmake) leaves out builds and history.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_IGNORE_FILES "/build/" "/[.]git/" "/[.]git$")

include(CPack)
