#!/usr/bin/env bash
# Brings translations/scrivlet_en.ts up to date with the texts marked for translation in src/
# (new texts appear as unfinished, texts gone from the sources are dropped). Translate the new
# entries with Qt Linguist (linguist translations/scrivlet_en.ts) or in the file itself.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
"$lupdate" -locations none -no-obsolete -source-language ja -target-language en src \
    -ts translations/scrivlet_en.ts
