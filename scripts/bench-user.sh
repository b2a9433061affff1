# Sourced by the benchmark scripts after xvfb.sh: a command prefix $as_user
# (an array) that runs a program as a desktop user would, and that user's home
# folder $home. Started by root, the programs run as the user nobody, with a
# home folder of their own in $tmp: nobody starts a desktop program as root,
# and a start as root is not what users get. Xlib, for one, never uses its
# cache of the parsed Compose table for root and parses the locale's table on
# every start instead (about 10 ms here). Started by another user, the prefix
# is empty. Either way the home folder is a fresh one, so what the programs
# write (their settings, caches) is made by the warm-up start of each script.
home="$tmp/home"
mkdir -p "$home"
as_user=()
if [ "$(id -u)" -eq 0 ] && command -v setpriv > /dev/null && id nobody > /dev/null 2>&1; then
  chmod 755 "$tmp"
  chown nobody "$home"
  as_user=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
fi
export HOME="$home"
unset XDG_RUNTIME_DIR XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME
