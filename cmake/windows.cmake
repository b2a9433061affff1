# The Windows program, cross-built with mingw-w64 and run under Wine by the tests.
#
# - Executables link libgcc, libstdc++ and winpthread statically, so zavrin.exe
#   runs on a bare Windows with nothing but the system's own DLLs.
# - The build-time generators (the skin drawer and the UTF-16 converter) cannot
#   run as Windows programs during the build; they come from a native build of
#   this tree, named by ZAVRIN_HOST_TOOLS_DIR (the native build's tools/ folder).
# - GoogleTest is built from Debian's sources for the target.
# - Tests run through Wine (ZAVRIN_WINE, default `wine`), with a private prefix
#   inside the build folder so that runs never share Windows state.

set(ZAVRIN_WINDOWS ON)
set(ZAVRIN_BUILD_BENCH OFF)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)
add_link_options(-static -static-libgcc -static-libstdc++)

set(ZAVRIN_HOST_TOOLS_DIR "" CACHE PATH "Folder holding native skingen and utf16conv (a Linux build's tools/)")
if(NOT ZAVRIN_HOST_TOOLS_DIR OR NOT EXISTS "${ZAVRIN_HOST_TOOLS_DIR}/skingen")
  message(FATAL_ERROR "The Windows build needs native build tools: build this tree for Linux first and pass "
                      "-DZAVRIN_HOST_TOOLS_DIR=<native build>/tools")
endif()
add_executable(host_skingen IMPORTED)
set_target_properties(host_skingen PROPERTIES IMPORTED_LOCATION "${ZAVRIN_HOST_TOOLS_DIR}/skingen")
add_executable(host_utf16conv IMPORTED)
set_target_properties(host_utf16conv PROPERTIES IMPORTED_LOCATION "${ZAVRIN_HOST_TOOLS_DIR}/utf16conv")

set(ZAVRIN_WINE "wine" CACHE STRING "The Wine loader the tests run through")
set(ZAVRIN_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_COMMAND} -E env WINEPREFIX=${ZAVRIN_WINEPREFIX} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
    ${ZAVRIN_WINE})

# The program icon, drawn by the skin generator, for every executable's resources.
set(ZAVRIN_ICON_FILE ${CMAKE_BINARY_DIR}/resources/zavrin.ico)
add_custom_command(
  OUTPUT ${ZAVRIN_ICON_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/resources
  COMMAND host_skingen --ico ${ZAVRIN_ICON_FILE}
  COMMENT "Drawing the program icon")
add_custom_target(zavrin_icon DEPENDS ${ZAVRIN_ICON_FILE})

# Gives `target` the icon, the DPI-aware manifest and version information.
function(zavrin_add_windows_resources target description)
  set(ZAVRIN_RC_NAME ${target})
  set(ZAVRIN_RC_DESCRIPTION "${description}")
  set(ZAVRIN_VERSION_QUAD "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0")
  set(ZAVRIN_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,0")
  set(ZAVRIN_MANIFEST_FILE ${CMAKE_BINARY_DIR}/resources/zavrin.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/platform/win32/resources/zavrin.manifest ${ZAVRIN_MANIFEST_FILE} @ONLY)
  set(rc ${CMAKE_BINARY_DIR}/resources/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/platform/win32/resources/zavrin.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${ZAVRIN_ICON_FILE};${ZAVRIN_MANIFEST_FILE}")
  target_sources(${target} PRIVATE ${rc})
  add_dependencies(${target} zavrin_icon)
endfunction()

# A shell script that runs `target` under Wine with the tests' prefix, for
# tests that start a program from a CMake script or a shell (not as a test's
# own command, which goes through CMAKE_CROSSCOMPILING_EMULATOR).
# Sets ZAVRIN_<TARGET>_RUNNER for the whole project.
function(zavrin_wine_runner target)
  set(script ${CMAKE_BINARY_DIR}/wine-${target}.sh)
  file(GENERATE OUTPUT ${script}
       CONTENT "#!/bin/sh\nexport WINEPREFIX='${ZAVRIN_WINEPREFIX}' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='\nexec ${ZAVRIN_WINE} '$<TARGET_FILE:${target}>' \"$@\"\n"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  string(TOUPPER ${target} upper)
  set(ZAVRIN_${upper}_RUNNER ${script} CACHE INTERNAL "")
endfunction()
