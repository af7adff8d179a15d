# Installing (cmake --install) and the Debian package (cpack -G DEB, run by scripts/package).

include(GNUInstallDirs)

# The Debian packages the installed program needs at run time: the only list of them.
set(TARVEX_DEB_DEPENDS
    libc6
    libstdc++6
    libgcc-s1
    libqt6core6
    libqt6gui6
    libqt6widgets6
    libqt6printsupport6
    libqt6svg6
    qt6-qpa-plugins
    qt6-translations-l10n
    libcholmod3
    libumfpack5
)

set(TARVEX_DATA_DIR ${CMAKE_INSTALL_DATADIR}/tarvex)
# The program looks for its manual here, relative to its own folder.
set(TARVEX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tarvex)

install(TARGETS tarvex tarvex-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/linux/tarvex.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/linux/tarvex-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME tarvex.xml)
install(FILES ${CMAKE_SOURCE_DIR}/resources/linux/tarvex.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION ${TARVEX_DATA_DIR}/examples)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${TARVEX_DOC_DIR})
install(DIRECTORY ${TARVEX_MANUAL_DIR}/ DESTINATION ${TARVEX_DOC_DIR}/manual)

set(CPACK_PACKAGE_NAME tarvex)
set(CPACK_PACKAGE_VENDOR "Tarvex Lab")
set(CPACK_PACKAGE_CONTACT "Tarvex Lab <tarvex@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "2D finite-element fields of electrical apparatus (static and low-frequency)")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
list(JOIN TARVEX_DEB_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
set(CPACK_GENERATOR DEB)
include(CPack)
