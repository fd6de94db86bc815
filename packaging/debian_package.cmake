# The Debian package: `cpack -G DEB` in the build folder (scripts/package.sh).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${SUITE_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${SUITE_PACKAGE_VERSION})
set(CPACK_PACKAGE_CONTACT ${SUITE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop tools for very large log files")
set(CPACK_PACKAGE_DESCRIPTION
  "Four window programs with a Chinese user interface and two console programs:
Lorvane searches log files of many gigabytes for a keyword and opens the lines
around any match at once, keeping every search as a history; lorvane-cli runs
its search on a console. Snipkeep copies kept text snippets to the clipboard.
Ferrybolt empties a folder into a time-stamped directory. Partivo splits a huge
text file into pieces of whole lines; partivo-cli does so on a console.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${SUITE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Shared libraries are found by dpkg-shlibdeps; what the programs load or call
# otherwise is named here: Qt's X11 platform plugin, a font with Chinese
# characters, Qt's Chinese texts for its standard dialogs, xdg-open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, fonts-wqy-microhei | fonts-noto-cjk, qt6-translations-l10n, xdg-utils")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
