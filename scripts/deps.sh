#!/usr/bin/env bash
# Installs the Debian packages Scrivlet needs to build, test and run, when any is missing.
# Usage: scripts/deps.sh [run|test]   (test adds the X11 and Wayland test beds and the benchmark
# library)
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config
          qt6-base-dev qt6-base-dev-tools libgl-dev qt6-wayland
          qt6-l10n-tools # lrelease and lupdate: the English translation is compiled at build time
          libglib2.0-dev libpcre2-dev libicu-dev libxcb1-dev libxcb-keysyms1-dev
          shared-mime-info desktop-file-utils
          qt6-translations-l10n # Qt's own texts (context menus) in the user's language
          fonts-noto-cjk) # Japanese (and Korean) text; without it every caption is a box
if [ "${1:-run}" = test ]; then
    packages+=(libgtest-dev libgmock-dev libbenchmark-dev libxcb-xtest0-dev
               xvfb xauth openbox trayer xdotool x11-utils x11-apps dbus dbus-x11 imagemagick)
    # The Wayland test bed: headless sway, its input, screenshot and clipboard tools, and the
    # desktop portal with KDE's backend and shortcut daemon for the real stack.
    packages+=(sway wtype grim wl-clipboard xdg-desktop-portal xdg-desktop-portal-kde
               libkf5globalaccel-bin libwayland-dev wayland-protocols jq)
    # The packaging tests: AppStream validation, cpack's DEB generator (dpkg-shlibdeps), man -l.
    packages+=(appstream dpkg-dev man-db)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

cmd="apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    echo "Scrivlet needs these Debian packages. Run as root:" >&2
    echo "  apt-get update && $cmd" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
$cmd -qq
