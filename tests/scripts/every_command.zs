# Every command of the script language once, on the main window.
click 2002
tray dblclick
click 2002
second-start
wait 10
screenshot shown.png
hover 2013
rclick 2013
dblclick 3001
dblclick 3001
click-at 560 360
rclick-at 560 360
drag 560 20 580 30
keydown LShift
keyup LShift
key A
key F5
key 0x41
type hello world
file-answer cancel
file-answer /tmp/none.psf
screenshot-screen screen.png
tray menu 2076
