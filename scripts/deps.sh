#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build needs and is missing.
set -euo pipefail
packages=(
  build-essential cmake pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  libcairo2-dev libpango1.0-dev libsdl2-dev libpng-dev
  fonts-dejavu-core fonts-wqy-microhei
  g++-mingw-w64-x86-64-posix
  # The Linux desktop: X11 and GDBus headers, and the desktop test's X server,
  # input, screen pictures and private session bus.
  libx11-dev libglib2.0-dev
  xvfb xdotool imagemagick dbus
  # Automatic profiles: XCB's headers for the front-program watcher, and for
  # its desktop test a window manager that keeps _NET_ACTIVE_WINDOW (the two
  # X programs it activates come with x11-apps and x11-utils below).
  libxcb1-dev openbox
  # The Windows program's tests: GoogleTest's sources and Wine.
  googletest wine wine64 fonts-wine x11-apps x11-utils
  # Fuzzing (clang's libFuzzer; the seed-corpus writer), and the Debian
  # package: dpkg-shlibdeps computes its dependencies, lintian checks it.
  clang libclang-rt-dev python3
  dpkg-dev lintian
  # The package's metadata and manual pages are validated as installed
  # (appstreamcli, desktop-file-validate, man); NSIS builds the Windows installer.
  appstream desktop-file-utils man-db nsis
  # zavrinctl's JSON documents and the program's request channel: a
  # well-kept header-only JSON library (also used by the Windows cross-build).
  nlohmann-json3-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
