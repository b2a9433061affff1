# options: --simulate=wired --run-for 60000
# The macro manager from its button: a new macro, Shift+A recorded with its
# pauses (an auto-repeated A counts once, a long pause is cut to 4095 ms),
# saved when the recording stops and again when the manager closes.
click 2062
click 2012
type shift-a
click 2010
click 2018
keydown lshift
wait 120
keydown a
wait 30
keydown a
wait 50
keyup a
wait 5000
keyup lshift
click 2018
click 2004
