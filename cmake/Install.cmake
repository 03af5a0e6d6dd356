# Installation (cmake --install) and the Debian package (scripts/package).

include(GNUInstallDirs)

install(TARGETS vem vemctl qorsim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# vem looks for its language file in ../share/vem beside its bin folder.
install(FILES data/language.txt data/language-en.txt data/default.qor data/default.bin
        DESTINATION ${CMAKE_INSTALL_DATADIR}/vem)
install(FILES data/vem.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The file type of projects (*.qor), so that a file manager opens them with vem.
install(FILES data/vem-project.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES data/vem.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

add_test(NAME install COMMAND ${CMAKE_SOURCE_DIR}/tests/install/check-install ${CMAKE_BINARY_DIR})
set_tests_properties(install PROPERTIES TIMEOUT 180)

set(CPACK_PACKAGE_NAME vem)
set(CPACK_PACKAGE_VENDOR "VEM developers")
set(CPACK_PACKAGE_CONTACT "VEM developers <vem@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "setup program of the QOR text display")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Lays out the screen of a QOR text display, keeps it as a project file, builds the device image \
and programs it into the device over a serial port. Includes the command-line tool vemctl and the \
simulated device qorsim.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# dpkg-shlibdeps finds the libraries; the platform plugin a window needs is loaded at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
include(CPack)
