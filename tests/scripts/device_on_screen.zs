# options: --simulate=dongle
# What the mouse does shows in the window and in the on-screen display, and
# nothing is sent back; the change is saved when the program ends.
device dpi 3
wait 100
screenshot-screen osd.png
wait 2000
screenshot-screen no-osd.png
device rate 6
device effect 2
device battery 40 charging
wait 1100
device unlink
wait 150
screenshot unlinked.png
device link
device plug wired
wait 1100
screenshot wired.png
device unplug wired
device launch 1
device launch 0
tray menu exit
