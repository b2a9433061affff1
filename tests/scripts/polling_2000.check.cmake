include(${CMAKE_CURRENT_LIST_DIR}/check_helpers.cmake)
expect_report_count(04 1)
settings_reports(04 rate)
# Rate index 4 goes out as the device code 0x11.
if(NOT rate MATCHES "06 04 .. .. .. 11 ")
  message(FATAL_ERROR "unexpected rate report: ${rate}")
endif()
expect_file_holds(${WORK}/data/config/default0.psf "2000HZ")
