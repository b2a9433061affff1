# options: --simulate=dongle --screen 1920x1080
# Pictures of the main window and the dialogs of the shell at scale 1.
device battery 80
screenshot main.png
click 3004
screenshot main-polling-open.png
click 3013
click 2054
screenshot pairing.png
click 2004
click 2045
screenshot reset.png
click 2011
tray menu exit
