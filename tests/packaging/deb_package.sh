#!/usr/bin/env bash
# cpack builds a Debian package from the install rules: control data with the section, the
# maintainer, a description, and dependencies on the Qt libraries (dpkg-shlibdeps) and a Japanese
# font; the installed files under /usr; no maintainer scripts, so removal touches nothing of the
# user's. Installed into a private dpkg root and removed again, it leaves the user's files alone.
. "$(dirname "$0")/lib.sh"
command -v cpack >/dev/null || skip "cpack is not installed"
command -v dpkg-shlibdeps >/dev/null || fail "dpkg-shlibdeps is missing (scripts/deps.sh test installs dpkg-dev)"

cpack --config "$SCRIVLET_BUILD_DIR/CPackConfig.cmake" -G DEB -B "$WORK/out" >"$WORK/cpack.log" 2>&1 ||
    { cat "$WORK/cpack.log" >&2; fail "cpack failed"; }
debs=("$WORK"/out/scrivlet_*.deb)
[ -f "${debs[0]}" ] || { cat "$WORK/cpack.log" >&2; fail "cpack made no scrivlet_*.deb"; }
deb=${debs[0]}
! grep -q '^CMake \(Warning\|Error\)' "$WORK/cpack.log" || { cat "$WORK/cpack.log" >&2; fail "cpack warns"; }
note "$(basename "$deb"): $(stat -c %s "$deb") bytes"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = scrivlet ] || fail "Package is $(field Package)"
[ "$(field Section)" = utils ] || fail "Section is $(field Section)"
[ "$(field Priority)" = optional ] || fail "Priority is $(field Priority)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is $(field Architecture)"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^\>@]+@[^\>]+\>$ ]] || fail "Maintainer is '$(field Maintainer)'"
description=$(field Description)
[ "$(echo "$description" | wc -l)" -ge 3 ] || fail "the description has no long text: $description"
long_lines=$(awk 'length > 80' <<<"$description")
[ -z "$long_lines" ] || fail "description lines longer than 80 columns: $long_lines"

# Depends: every Qt library the programs link, from dpkg-shlibdeps, and the font.
depends=$(field Depends)
note "Depends: $depends"
dependency_names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libc6 libglib2.0-0 \
           libpcre2-16-0 libxcb1 fonts-noto-cjk; do
    grep -qx "$lib" <<<"$dependency_names" || fail "Depends lacks $lib"
done

# The files: exactly those of cmake --install, below /usr only.
dpkg-deb -c "$deb" | awk '{ print $6 }' >"$WORK/contents"
actual=$(grep -v '/$' "$WORK/contents" | sed 's|^\./||' | LC_ALL=C sort)
diff -u <(expected_files) <(echo "$actual") >&2 || fail "the package's files differ (- expected, + packaged)"
outside=$(grep -vx -e './' -e './usr/.*' "$WORK/contents" || true)
[ -z "$outside" ] || fail "the package holds paths outside /usr: $outside"
mkdir "$WORK/control"
dpkg-deb -e "$deb" "$WORK/control"
extra=$(find "$WORK/control" -mindepth 1 ! -name control ! -name md5sums -printf '%f ')
[ -z "$extra" ] || fail "the package has maintainer scripts or conffiles: $extra"
dpkg-deb -x "$deb" "$WORK/unpacked"
for program in scrivlet scrivlet-cli; do
    if readelf -S "$WORK/unpacked/usr/bin/$program" | grep -q '\.debug_info'; then
        fail "$program is packaged with its debugging information"
    fi
done

# Install and purge in a private dpkg root holding a user's files: dpkg removes its own files
# and nothing else.
if [ "$(id -u)" -eq 0 ]; then
    R=$WORK/dpkg-root
    mkdir -p "$R/var/lib/dpkg/info" "$R/var/lib/dpkg/updates" "$R/home/user/.config/scrivlet"
    touch "$R/var/lib/dpkg/status"
    printf '[Options]\r\n' >"$R/home/user/.config/scrivlet/scrivlet.ini"
    printf '会議は三時から\n' >"$R/home/user/.config/scrivlet/scrivlet.txt"
    dpkg_root() { dpkg --root="$R" --force-depends --log=/dev/null "$@"; }
    dpkg_root -i "$deb" >"$WORK/dpkg.log" 2>&1 || { cat "$WORK/dpkg.log" >&2; fail "dpkg could not install the package"; }
    [ -x "$R/usr/bin/scrivlet" ] || fail "dpkg installed no usr/bin/scrivlet"
    dpkg_root --purge scrivlet >>"$WORK/dpkg.log" 2>&1 || { cat "$WORK/dpkg.log" >&2; fail "dpkg could not purge the package"; }
    left=$(cd "$R" && find . -path ./var -prune -o -type f -printf '%P\n' | LC_ALL=C sort)
    [ "$left" = "$(printf '%s\n' home/user/.config/scrivlet/scrivlet.ini home/user/.config/scrivlet/scrivlet.txt)" ] ||
        fail "after the purge the root holds: $left"
    [ "$(cat "$R/home/user/.config/scrivlet/scrivlet.txt")" = 会議は三時から ] || fail "the purge changed the memo"
else
    note "not root: the dpkg install and purge cycle is left out"
fi
