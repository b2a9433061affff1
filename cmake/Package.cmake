# The Debian package (scripts/package-deb.sh): what cmake --install puts under
# /usr, as zavrin_<version>_amd64.deb, with its library dependencies found by
# dpkg-shlibdeps from the programs as linked.
if(ZAVRIN_PORTABLE_ONLY OR NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
  return()
endif()

set(zavrin_doc share/doc/zavrin)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/deb/copyright DESTINATION ${zavrin_doc})
# Debian keeps a package's changelog compressed, without a timestamp in the
# gzip header so that the package builds byte for byte the same again.
set(zavrin_changelog ${CMAKE_BINARY_DIR}/deb/changelog.gz)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/deb)
execute_process(COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/deb/changelog OUTPUT_FILE ${zavrin_changelog})
install(FILES ${zavrin_changelog} DESTINATION ${zavrin_doc})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/deb/lintian-overrides DESTINATION share/lintian/overrides RENAME zavrin)

set(CPACK_GENERATOR DEB)
# Building needs nlohmann-json3-dev (scripts/deps.sh); it is header-only, so the
# package depends on nothing more at run time. bash-completion finds the
# installed completion of zavrinctl by itself and is only suggested.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
set(CPACK_PACKAGE_NAME zavrin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Seed 9f867da8 maintainers <maintainers@users.noreply.c-seed-9f867da8.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration utility for the Zavrin ZR2 gaming mouse")
set(CPACK_PACKAGE_DESCRIPTION
    "Writes button functions, macros, DPI levels, polling rate, lift-off distance,\n"
    "debounce, sensor options, power saving and lighting to the Zavrin ZR2 mouse\n"
    "over USB, its 2.4 GHz receiver or Bluetooth, follows what the mouse reports,\n"
    "and keeps five profiles and a macro library. Includes zavrinctl, the same\n"
    "settings from the command line, and the udev rule that gives the logged-in\n"
    "user access to the mouse.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
