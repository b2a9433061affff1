# Moving the only left click away is refused: the box keeps left click, the
# warning shows 100 ms later, and nothing is sent.
wait 300
click 2013
menu 1
wait 150
screenshot ../../../gallery/script_left_click_warning.png
# The warning's OK: the line fails when there is no warning.
click 2010
wait 500
tray menu exit
