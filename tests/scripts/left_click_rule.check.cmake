include(${CMAKE_CURRENT_LIST_DIR}/check_helpers.cmake)
expect_no_settings_reports()
