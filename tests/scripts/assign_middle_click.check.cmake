include(${CMAKE_CURRENT_LIST_DIR}/check_helpers.cmake)
expect_report_count(01 1)
settings_reports(01 keys)
# Keys 1 and 2 (left click, middle click) lead the payload.
if(NOT keys MATCHES "06 01 .. .. .. 10 01 00 10 04 00 ")
  message(FATAL_ERROR "unexpected keys report: ${keys}")
endif()
expect_file_holds(${WORK}/data/config/default0.psf "Middle Click")
