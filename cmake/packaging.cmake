# The Debian package of the desktop program and the batch tool (scripts/package.sh builds it).
# The libraries they link become dependencies through dpkg-shlibdeps, so the package follows the
# Qt 6 it was built against; only what is loaded at run time, which no link shows, is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trelvanox)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Trelvanox team")
set(CPACK_PACKAGE_CONTACT "The Trelvanox team <trelvanox@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor of ground-penetrating-radar profiles (GPR, GPR2)")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Trelvanox opens one radargram in the GPR or GPR2 layout, shows its header and labels\n\
and changes the file in place: header fields, labels, trace coordinates and amplitudes,\n\
journalled, with undo and redo. The batch tool trelvanox-cli runs the same operations\n\
from scripts. The interface is Russian.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's platform plugins (the window system) and a font with Cyrillic letters are loaded at run
# time; Qt's own dialogs speak Russian with its translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# The licence (GPL-3.0-or-later) in Debian's copyright file, and the notices of the linked
# libraries beside it.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright
              ${PROJECT_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/trelvanox)
include(CPack)
