# Installation (cmake --install) and the Debian package (scripts/package).

include(GNUInstallDirs)

install(TARGETS vem vemctl qorsim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# vem looks for its language file in ../share/vem beside its bin folder.
install(FILES data/language.txt data/language-en.txt data/default.qor data/default.bin
              data/receipt-de.txt data/receipt-en.txt
        DESTINATION ${CMAKE_INSTALL_DATADIR}/vem)
install(FILES data/vem.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The file type of projects (*.qor), so that a file manager opens them with vem.
install(FILES data/vem-project.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES data/vem.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES data/org.example.vem.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages, changelog and shell completion: for the Debian package, made by shell tools.
if(UNIX)
  # vemctl's manual page and bash completion come from its --help, so they follow its command table.
  set(VEM_DOCS ${CMAKE_BINARY_DIR}/docs)
  add_custom_command(
    OUTPUT ${VEM_DOCS}/vemctl.1 ${VEM_DOCS}/vemctl
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VEM_DOCS}
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/vemctl-docs $<TARGET_FILE:vemctl> ${PROJECT_VERSION}
            ${CMAKE_SOURCE_DIR}/docs/man/vemctl.1.tail ${VEM_DOCS}/vemctl.1 ${VEM_DOCS}/vemctl
    DEPENDS vemctl scripts/vemctl-docs docs/man/vemctl.1.tail
    VERBATIM)
  # Manual pages and the changelog are installed compressed, as Debian wants them.
  set(VEM_COMPRESSED)
  foreach(source docs/man/vem.1 docs/man/qorsim.1 ${VEM_DOCS}/vemctl.1 packaging/changelog)
    get_filename_component(name ${source} NAME)
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${CMAKE_SOURCE_DIR})
    add_custom_command(
      OUTPUT ${VEM_DOCS}/${name}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${VEM_DOCS}
      COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${source} ${VEM_DOCS}/${name}.gz
      DEPENDS ${source}
      VERBATIM)
    list(APPEND VEM_COMPRESSED ${VEM_DOCS}/${name}.gz)
  endforeach()
  add_custom_target(vem_docs ALL DEPENDS ${VEM_COMPRESSED} ${VEM_DOCS}/vemctl)
  list(FILTER VEM_COMPRESSED EXCLUDE REGEX "changelog")
  install(FILES ${VEM_COMPRESSED} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${VEM_DOCS}/changelog.gz packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES ${VEM_DOCS}/vemctl DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
endif()

add_test(NAME install COMMAND ${CMAKE_SOURCE_DIR}/tests/install/check-install ${CMAKE_BINARY_DIR})
set_tests_properties(install PROPERTIES TIMEOUT 180)

set(CPACK_PACKAGE_NAME vem)
set(CPACK_PACKAGE_VENDOR "VEM developers")
set(CPACK_PACKAGE_CONTACT "VEM developers <vem@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "setup program of the QOR text display")
# Lines of at most 80 characters, as Debian's description wants them.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Lays out the screen of a QOR text display, keeps it as a project file, builds
the device image and programs it into the device over a serial port. Includes
the command-line tool vemctl and the simulated device qorsim.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# dpkg-shlibdeps finds the libraries; the platform plugin a window needs is loaded at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A station's record is an SQLite file through Qt's driver, which is loaded at run time too; a
# line that shares one PostgreSQL database needs Qt's driver for that.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite")
# Qt's own dialogs (file dialogs, standard buttons) in the language file's language; a
# fixed-pitch font for the preview's cells.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-dejavu-core, libqt6sql6-psql")
include(CPack)
