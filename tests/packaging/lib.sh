# shellcheck shell=bash
# Shared set-up of the packaging tests (source it): a fresh work folder, removed on exit, private
# HOME and XDG folders, and the installation of the build into a staging root.
# Exit 77 means skipped.
set -euo pipefail

# shellcheck source=tests/e2e/report.sh
. "$(dirname "${BASH_SOURCE[0]}")/../e2e/report.sh"

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
[ -n "${SCRIVLET_BUILD_DIR:-}" ] && [ -f "$SCRIVLET_BUILD_DIR/cmake_install.cmake" ] ||
    skip "no configured build folder"
[ -x "$SCRIVLET_BUILD_DIR/bin/scrivlet" ] && [ -x "$SCRIVLET_BUILD_DIR/bin/scrivlet-cli" ] ||
    skip "scrivlet and scrivlet-cli are not built"

WORK=$(mktemp -d "${TMPDIR:-/tmp}/scrivlet-packaging.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/home" "$WORK/config" "$WORK/data" "$WORK/cache" "$WORK/runtime"
chmod 700 "$WORK/runtime"
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
export XDG_CACHE_HOME=$WORK/cache XDG_RUNTIME_DIR=$WORK/runtime LANG=C.UTF-8 LANGUAGE=ja
unset SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS

# The files an installation holds, relative to its root, sorted.
expected_files() { LC_ALL=C sort "$HERE/installed-files.txt"; }

# Installs the build below ROOT with the prefix /usr, as the package does.
install_into() { # ROOT
    DESTDIR=$1 cmake --install "$SCRIVLET_BUILD_DIR" --prefix /usr >"$WORK/install.log" 2>&1 ||
        { cat "$WORK/install.log" >&2; fail "cmake --install failed"; }
}

# Width and height of a PNG, from its header.
png_size() { # FILE
    local bytes
    bytes=$(od -An -tu1 -j16 -N8 "$1" | tr -s ' \n' ' ')
    set -- $bytes
    echo "$(($1 << 24 | $2 << 16 | $3 << 8 | $4))x$(($5 << 24 | $6 << 16 | $7 << 8 | $8))"
}

# One key of the main group of a desktop entry.
desktop_key() { # FILE KEY
    awk -v k="$2" '/^\[/ { main = ($0 == "[Desktop Entry]"); next }
                   main && index($0, k "=") == 1 { print substr($0, length(k) + 2); exit }' "$1"
}
