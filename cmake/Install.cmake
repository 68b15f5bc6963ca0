# What `cmake --install` puts where, and the Debian package made of it (`bash scripts/setup.sh package`).
install(TARGETS stratalyser RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/References/Stratalyser_References.csv
        DESTINATION ${CMAKE_INSTALL_DATADIR}/stratalyser/References)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/stratalyser.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/stratalyser.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/stratalyser-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME stratalyser.xml)
install(FILES ${PROJECT_SOURCE_DIR}/docs/manual.md ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${STRATALYSER_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images DESTINATION ${STRATALYSER_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME stratalyser)
set(CPACK_PACKAGE_VENDOR "Stratalyser developers")
set(CPACK_PACKAGE_CONTACT "The Stratalyser developers")  # no public address yet: none is made up
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Counting annual laminae (varves) in sediment cores")
set(CPACK_PACKAGE_DESCRIPTION "Stratalyser shows an X-radiograph of a sediment core, the result table of an Itrax XRF \
core scanner and a core photo in synchronised windows, for marking and counting the core's annual laminae.")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The Debian packages of the libraries it links (Qt 6 with its image plugins for TIFF) and a font.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), libqt6svg6 (>= 6.4), qt6-qpa-plugins, qt6-image-formats-plugins, fonts-dejavu-core, libc6, libstdc++6")
include(CPack)
