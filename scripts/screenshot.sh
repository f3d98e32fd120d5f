#!/usr/bin/env bash
# Takes the README's screenshot, docs/screenshot.png: the window with the memo pane open over a
# few Japanese memo lines, under a private Xvfb with openbox (scripts/x11-bed.sh) and the Japanese
# font. Uses the test build (scripts/test.sh builds it).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}
export SCRIVLET_PROGRAM=$PWD/$build/bin/scrivlet SCRIVLET_E2E_TOOL=$PWD/$build/bin/scrivlet_e2e_tool
export ASAN_OPTIONS=detect_leaks=0
fc-list :lang=ja family | grep -q . || { echo "no Japanese font (apt-get install fonts-noto-cjk)" >&2; exit 1; }
unset DISPLAY
# shellcheck source=scripts/x11-bed.sh
. scripts/x11-bed.sh
start_x11_bed
out=$PWD/docs/screenshot.png
# shellcheck source=tests/e2e/lib.sh
. tests/e2e/lib.sh
trap 'cleanup; kill $X11_BED_PIDS 2>/dev/null || true' EXIT
export LANG=ja_JP.UTF-8 # Japanese glyph forms for the Han characters

printf '%s\r\n' 'Title:今日のメモ' 'Last-Modified:2026-12-07' 'CursorPos:0' '' \
    '[2026/12/07 09:02:11] 会議は三時から。資料を十部印刷する' \
    '[2026/12/07 10:15:40] 買い物: 牛乳、卵、パン ★ 〜 ¥300' \
    '[2026/12/07 11:48:05] 「設計書」第2版 → 田中さんへ送付済み' \
    '[2026/12/07 13:30:27] ﾊﾝｶｸ ｶﾀｶﾅ も そのまま ※ 確認 … 😀' >"$MEMO"
write_ini "[Options]" "HideAfterRun=False" "[Position]" "Width=7200" "Height=2400"
start_program
wait_main_window
wait_state "$WIN" active
paste_text '明日の予定: 10時 打ち合わせ'
press ctrl+l # the memo pane opens with the focus in it
sleep 0.5
import -window "$WIN" "$out"
echo "$out: $(identify -format '%wx%h' "$out")"
