# The tray's exit closes an open dialog and ends the program.
click 2045
tray menu exit
