# 2000 Hz from the polling-rate section: index 4 is sent and stored.
wait 300
click 3004
screenshot ../../../gallery/script_polling_section.png
click 3038
wait 1000
wait 11000
tray menu exit
