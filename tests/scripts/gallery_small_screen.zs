# options: --simulate=dongle --screen 1280x720
# A 1280 x 720 screen with a taskbar is too small for the main window at scale
# 1: the program takes scale 0.85, and the window, its menus and dialogs fit.
device battery 80
screenshot main.png
click 2014
screenshot-screen function-menu-screen.png
key Escape
click-at 600 650
click 2045
screenshot reset.png
click 2011
click 2062
screenshot macro-manager.png
hover 2018
screenshot macro-manager-record-hover.png
click 2004
tray menu exit
