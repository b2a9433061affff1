# Button 2 gets middle click from its function menu: one keys report with the
# six triples, and the profile file holds it ten seconds later.
wait 300
click 2014
screenshot-screen ../../../gallery/script_function_menu.png
menu 2
wait 1000
wait 11000
tray menu exit
