include(${CMAKE_CURRENT_LIST_DIR}/check_helpers.cmake)
settings_reports(02 levels)
list(LENGTH levels n)
if(n LESS 2)
  message(FATAL_ERROR "expected two DPI level reports, got ${n}")
endif()
# Levels on: 0, 1, 3, 4, 5; current level 3 (0-based).
expect_file_holds(${WORK}/data/config/default0.psf "DPIOffOnFlagValue=3B")
expect_file_holds(${WORK}/data/config/default0.psf "CurrentDPILevelValue=03")
