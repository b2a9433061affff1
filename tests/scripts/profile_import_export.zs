# Profile 1 exported and imported into profile 2 gives the same file; a file
# that is no profile changes nothing and brings the notice.
wait 300
file-answer exported.psf
click 3502
rclick-at 233 524
menu 1
wait 300
file-answer exported.psf
click 3502
rclick-at 233 549
menu 0
wait 300
file-answer data/config/config.ini
click 3502
rclick-at 233 574
menu 0
wait 300
screenshot ../../../gallery/script_import_rejected.png
# The notice's OK: the line fails when there is no notice.
click 2010
tray menu exit
