# status: 3
menu 0
