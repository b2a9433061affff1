# The close button ends the program with status 0.
click 3013
click 2001
