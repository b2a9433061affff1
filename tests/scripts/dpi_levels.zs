# Level 3 (current by default) is switched off, level 4 becomes current; then
# level 1's value typed as 849 becomes the 850 step.
wait 300
click 3262
wait 1000
click 3300
type 849
key enter
screenshot ../../../gallery/script_dpi_value_dialog.png
click 2010
wait 1000
wait 11000
tray menu exit
