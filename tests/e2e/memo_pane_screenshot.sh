#!/usr/bin/env bash
# Opens the memo pane (Ctrl+L) after filing an entry with Shift+Enter and keeps a screenshot of the window as a
# test artefact: memo-pane.png under the build's artifacts folder. Fails when the font the program
# draws with shows the Japanese text or the captions as boxes (no Japanese font installed).
. "$(dirname "$0")/lib.sh"
require_feature "uMultiMemo" "memo pane"
command -v import >/dev/null || skip "import (ImageMagick) is needed for the screenshot"

# What the window shows: the entry, the menu captions and the text of a Japanese user's day
# (half-width katakana, characters beyond CP932, Korean).
shown='会議は三時から 表示 ログを表示 設定 ヘルプ バージョン情報 終了 閉じる 新しいメモ 削除'
shown+=' 「本日」★※→・… ｶﾀｶﾅﾒﾓ 〜 − 한국어'
if ! boxes=$("$TOOL" missing-glyphs "$shown"); then
    fail "no font draws these characters, they show as boxes: $(echo "$boxes" | tr '\n' ' ')"
fi

start_program
wait_main_window
wait_state "$WIN" active
read -r _ _ _ collapsed < <("$TOOL" geometry "$WIN")

paste_text '会議は三時から'
press shift+Return # AddMemo: files the line as it stands
height_grew() {
    local h
    read -r _ _ _ h < <("$TOOL" geometry "$WIN")
    [ "$h" -gt "$collapsed" ]
}
# Filing the entry moves the focus to the memo pane, which opens it; else Ctrl+L does.
if ! eventually 2 height_grew; then
    press ctrl+l
    eventually 5 height_grew || fail "the memo pane did not open (height stays $collapsed)"
fi
sleep 0.3 # let the pane paint
shot="$ARTIFACTS/memo-pane.png"
import -window "$WIN" "$shot" || fail "screenshot failed"
colours=$(identify -format '%k' "$shot")
[ "$colours" -gt 8 ] || fail "the screenshot is blank ($colours colours)"
read -r _ _ width height < <("$TOOL" geometry "$WIN")
note "screenshot $shot: ${width}x${height}, $colours colours"
