include(${CMAKE_CURRENT_LIST_DIR}/check_helpers.cmake)
set(rules ${WORK}/data/config/AppProfiles.ini)
expect_file_holds(${rules} "[AppProfiles]")
expect_file_holds(${rules} "Paused=1")
expect_file_holds(${rules} "Slot3=/usr/games/quake")
# DPI levels (command 02): slot 3 changed by hand, back to slot 1 by hand, the
# rule's switch to slot 3, back to slot 1 for the editor. The quick pass over
# the game wrote nothing, and switching between equal profiles writes nothing.
expect_report_count(02 4)
expect_file_holds(${WORK}/data/config/config.ini "CurrentProfile=0")
