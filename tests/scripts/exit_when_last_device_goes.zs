# options: --simulate=dongle
# Unplugging the only connection ends the program, even with a dialog open:
# the dialog is closed first.
click 3013
click 2054
device unplug dongle
