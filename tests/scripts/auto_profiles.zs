# options: --simulate=dongle
# Automatic profiles end to end: slot 3 gets other DPI levels by hand, then a
# rule made in the dialog (profile menu -> Automatic profiles -> Add -> a
# program that came to the front -> slot 3) switches to it while that program
# is in front, another program brings the hand-chosen slot 1 back, and a quick
# pass over the game writes nothing.
wait 300
click 3502
menu 3
wait 2000
click 3262
wait 1000
click 3502
menu 1
wait 2000
front /usr/games/quake
wait 500
front /usr/bin/editor
wait 500
click 3502
menu 7
wait 300
click 3521
menu 2
wait 100
menu 2
wait 100
screenshot ../../../gallery/script_auto_profiles_dialog.png
click 2004
wait 300
front /usr/games/quake
wait 2000
screenshot ../../../gallery/script_auto_profiles_by_rule.png
front /usr/bin/editor
wait 2000
front /usr/games/quake
wait 100
front unknown
wait 100
front /usr/bin/editor
wait 1000
tray menu pause
wait 100
tray menu exit
