# Slot 2 (index 1) leaves the list of three, then adding reveals slot 4
# (index 3) under a new name.
wait 300
click 3502
rclick-at 233 549
menu 3
wait 300
click 3502
menu 6
wait 300
type Work
click 2010
wait 500
screenshot ../../../gallery/script_profile_menu_after.png
tray menu exit
