# options: --simulate=wired --run-for 60000
# A recorded macro exported to a macro file, deleted, and imported back with
# a new id; importing it a second time is refused (message 241). Then the
# whole library is exported.
click 2062
click 2012
type hit
click 2010
click 2018
key b
click 2018
# On a macro the tree menu lists all eight commands: row 2 exports it.
file-answer hit.mkf
rclick-at 60 64
menu 2
click 2013
click 2010
# On empty space the menu lists new macro, new folder, import macro, import
# and export library: row 2 imports a macro.
file-answer hit.mkf
rclick-at 100 300
menu 2
file-answer hit.mkf
rclick-at 100 300
menu 2
screenshot import-refused.png
click 2010
file-answer all.mbf
rclick-at 100 300
menu 4
click 2004
