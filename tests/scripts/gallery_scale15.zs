# options: --simulate=dongle --screen 2560x1440
# The main window at scale 1.5.
device battery 80
screenshot main.png
tray menu exit
