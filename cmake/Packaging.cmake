# What `cmake --install` puts where, and the packages cpack makes of it: a
# .deb and a .tar.gz on Linux, a .zip of the statically linked programs for
# Windows.
include(GNUInstallDirs)

install(TARGETS trellane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET trellane-gui)
  install(TARGETS trellane-gui RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(NOT WIN32)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/trellane.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(TRELLANE_PACKAGE_MAINTAINER "Trellane developers <trellane@example.org>"
    CACHE STRING "Maintainer named in the packages")

set(CPACK_PACKAGE_NAME trellane)
set(CPACK_PACKAGE_VENDOR "Trellane developers")
set(CPACK_PACKAGE_CONTACT ${TRELLANE_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converts resource script menus and dialogs into RadASM record files")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Trellane reads Windows resource scripts (.rc) as the resource compilers do and converts their MENUEX menus "
       "and DIALOGEX dialogs into RadASM menu (.mnu) and dialog (.dlg) record files.")
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR DEB TGZ)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TRELLANE_PACKAGE_MAINTAINER})
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  # FreeType and fontconfig are linked dynamically: dpkg-shlibdeps names
  # their packages (and the C and C++ runtimes) from the program itself.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
