#!/usr/bin/env bash
# cmake --install lays Scrivlet out the freedesktop way: exactly the expected files, a desktop
# entry and AppStream data the validators accept, icons of their nominal sizes, man pages that
# render, and programs that keep the user's files in ~/.config/scrivlet/ and find the guide.
. "$(dirname "$0")/lib.sh"

ROOT=$WORK/root
install_into "$ROOT"
actual=$(cd "$ROOT" && find . -type f -printf '%P\n' | LC_ALL=C sort)
diff -u <(expected_files) <(echo "$actual") >&2 || fail "the installed files differ (- expected, + installed)"

for f in usr/bin/scrivlet usr/bin/scrivlet-cli; do
    [ -x "$ROOT/$f" ] || fail "$f is not executable"
done
while read -r f; do
    case $f in usr/bin/*) continue ;; esac
    [ "$(stat -c %a "$ROOT/$f")" = 644 ] || fail "$f has mode $(stat -c %a "$ROOT/$f"), not 644"
done < <(expected_files)

for size in 16 22 24 32 48 64 128 256; do
    png=$ROOT/usr/share/icons/hicolor/${size}x${size}/apps/scrivlet.png
    [ "$(png_size "$png")" = "${size}x${size}" ] || fail "the ${size}px icon is $(png_size "$png")"
done

# The desktop entry: valid, in Japanese and English, starting an installed program with an
# installed icon.
entry=$ROOT/usr/share/applications/scrivlet.desktop
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" >&2 || fail "desktop-file-validate rejects the desktop entry"
else
    note "desktop-file-validate is not installed: validation skipped"
fi
for key in Name 'Name[ja]' Comment 'Comment[ja]' StartupWMClass; do
    [ -n "$(desktop_key "$entry" "$key")" ] || fail "the desktop entry has no $key"
done
[ "$(desktop_key "$entry" Categories)" = "Utility;" ] || fail "Categories is not Utility;"
exec_word=$(desktop_key "$entry" Exec | cut -d' ' -f1)
[ -x "$ROOT/usr/bin/$exec_word" ] || fail "Exec names $exec_word, which is not installed in bin/"
icon=$(desktop_key "$entry" Icon)
[ -f "$ROOT/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon"

# AppStream: valid offline, naming the installed desktop entry and programs.
metainfo=$ROOT/usr/share/metainfo/org.scrivlet.Scrivlet.metainfo.xml
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" >&2 || fail "appstreamcli rejects the AppStream data"
else
    note "appstreamcli is not installed: validation skipped"
fi
grep -q '<launchable type="desktop-id">scrivlet.desktop</launchable>' "$metainfo" ||
    fail "the AppStream data does not launch scrivlet.desktop"
# Software centres show the first release as the version: it must follow the project's.
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$SCRIVLET_BUILD_DIR/CPackConfig.cmake")
first_release=$(grep -o -m1 '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)
[ -n "$version" ] && [ "$first_release" = "$version" ] ||
    fail "the AppStream data's newest release is '$first_release', the program is '$version'"
grep -q '<release version="[^"]*" date="[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]"/>' "$metainfo" ||
    fail "the AppStream release has no date"

# Both programs print that version; the package's changelog starts with it; the copyright file
# is Debian's machine-readable one with the MIT (Expat) licence.
for program in scrivlet scrivlet-cli; do
    printed=$(env -u DISPLAY -u WAYLAND_DISPLAY "$ROOT/usr/bin/$program" --version | head -1)
    [ "$printed" = "$program $version" ] || fail "$program --version prints '$printed'"
done
doc=$ROOT/usr/share/doc/scrivlet
top=$(gzip -dc "$doc/changelog.gz" | head -1)
[ "$top" = "scrivlet ($version) unstable; urgency=medium" ] || fail "the changelog starts with '$top'"
gzip -dc "$doc/changelog.gz" | grep -q '^ -- [^<]* <[^>]*>  [A-Z][a-z][a-z], [0-9][0-9] [A-Z][a-z][a-z] [0-9]\{4\} ' ||
    fail "the changelog has no trailer line with maintainer and date"
head -1 "$doc/copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the machine-readable format"
grep -qx 'License: Expat' "$doc/copyright" && grep -q '^ Permission is hereby granted' "$doc/copyright" ||
    fail "the copyright file lacks the licence text"

# Man pages: rendered by man itself, without groff warnings, each with its name line, in a
# UTF-8 locale and in the plain C locale (where characters beyond ASCII are lost).
command -v man >/dev/null || fail "man is not installed (scripts/deps.sh test installs man-db)"
for page in scrivlet scrivlet-cli; do
    file=$ROOT/usr/share/man/man1/$page.1.gz
    for locale in C.UTF-8 C; do
        LC_ALL=$locale MANWIDTH=80 man --warnings -l "$file" >"$WORK/$page.txt" 2>"$WORK/$page.err" ||
            fail "man -l $page.1 failed: $(cat "$WORK/$page.err")"
        [ ! -s "$WORK/$page.err" ] || fail "man -l $page.1 warns in $locale: $(cat "$WORK/$page.err")"
        grep -q "^ *$page - " "$WORK/$page.txt" || fail "$page.1 has no NAME line for $page"
        grep -q 'SEE ALSO' "$WORK/$page.txt" || fail "$page.1 is cut short"
    done
done

# The installed companion works and keeps the user's files in the user's folder, also when it
# could write beside itself (root, or a prefix in the user's home).
cli=$ROOT/usr/bin/scrivlet-cli
[ "$("$cli" '2*(3+4)|"東京"&"→大阪"')" = '14 |東京→大阪' ] || fail "the installed scrivlet-cli does not evaluate"
line='買い物: 牛乳、卵 ★ 「至急」'
"$cli" "$line" >"$WORK/cli.out" 2>&1 || fail "the installed scrivlet-cli did not file prose: $(cat "$WORK/cli.out")"
memo=$XDG_CONFIG_HOME/scrivlet/scrivlet.txt
[ -f "$memo" ] || fail "the memo is not in \$XDG_CONFIG_HOME/scrivlet/"
# The memo file is UTF-8 or CP932, as its text needs.
{ grep -qF "$line" "$memo" || iconv -f CP932 -t UTF-8 "$memo" | grep -qF "$line"; } ||
    fail "the memo file does not hold the line as typed"
actual=$(cd "$ROOT" && find . -type f -printf '%P\n' | LC_ALL=C sort)
diff -u <(expected_files) <(echo "$actual") >&2 || fail "the installed program wrote into its installation"

# Still installed where the documentation was left out (images whose dpkg skips /usr/share/doc).
rm -r "$ROOT/usr/share/doc" "$ROOT/usr/share/man"
rm "$memo"
"$cli" "$line" >"$WORK/cli.out" 2>&1 || fail "scrivlet-cli without its documentation: $(cat "$WORK/cli.out")"
[ -f "$memo" ] || fail "without its documentation the program no longer keeps the memo in \$XDG_CONFIG_HOME/scrivlet/"
[ "$(find "$ROOT/usr/bin" -type f | wc -l)" = 2 ] || fail "the program wrote into bin/: $(ls "$ROOT/usr/bin")"
