# options: --simulate=dongle
# Pairing sends the receiver's pairing report and reports the link; the
# factory reset asks first, then resets the mouse and shows the progress.
device unlink
click 3013
click 2054
screenshot pairing.png
click 2010
wait 1000
screenshot pairing-wait.png
device link
wait 1000
screenshot paired.png
click 2004
click 2045
screenshot reset.png
key Enter
wait 100
screenshot progress.png
wait 1000
tray menu exit
