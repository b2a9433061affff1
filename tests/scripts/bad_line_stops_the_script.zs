# status: 3
wait 10
click 9999
click 2001
