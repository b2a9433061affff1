# Breathing from the effect menu is sent; then, with the dual-colour effect
# reported by the mouse, a double click on slot 2 opens the palette without
# toggling the slot, and the swatch at (254, 36) is stored.
wait 300
click 3120
menu 0
wait 1000
device effect 8
wait 300
dblclick 3181
screenshot ../../../gallery/script_palette.png
click-at 254 36
click 2010
wait 1000
wait 11000
tray menu exit
