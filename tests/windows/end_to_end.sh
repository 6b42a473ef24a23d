#!/usr/bin/env bash
# The packaged editor as a user meets it: the zip unpacked into a folder,
# Vantrel_BIN_Editor.exe started in a fresh Wine prefix and driven with the
# keyboard through xdotool on an X display:
#   About -> OK -> "....." -> the Windows open dialog (a Z:\ path, Return)
#   -> a real .bin -> find and Replace All -> Alt+S -> the .bak and the new
#   .bin are right -> Alt+E -> preferences.txt is written; then the .bin
#   named on the command line opens without the About dialog.
# The three window titles are checked on the way.
#
#   tests/windows/end_to_end.sh ZIP [SHARED_DIR] [SCREENSHOT_DIR]
#
# Needs DISPLAY (an Xvfb; scripts/windows-tests.sh provides one), wine,
# xdotool, unzip and ImageMagick's import. Exits 77 (skipped) when the
# simulator's sample files in SHARED_DIR/fixtures/serz are absent.
set -euo pipefail
zip=$(realpath "${1:?usage: end_to_end.sh ZIP [SHARED_DIR] [SCREENSHOT_DIR]}")
shared=${2:-$(dirname "$0")/../../../shared}
shots=${3:-}
fixture=$shared/fixtures/serz/ScenaryItem.bin
if [ ! -f "$fixture" ]; then
  echo "skipped: the sample file $fixture is absent"
  exit 77
fi
[ -n "${DISPLAY:-}" ] || { echo "end_to_end.sh needs an X display (DISPLAY)" >&2; exit 1; }

work=$(mktemp -d /tmp/vantrel-end-to-end.XXXXXX)
export WINEPREFIX=$work/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
editor_pid=
finish() {
  [ -z "$editor_pid" ] || kill "$editor_pid" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap finish EXIT

step() { echo "-- $*"; }
fail() {
  echo "end-to-end: $*" >&2
  [ -z "$shots" ] || import -window root "$shots/end-to-end-failure.png" 2>/dev/null || true
  exit 1
}
# Polls a condition until it holds, for at most $1 seconds.
wait_for() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}
# The windows whose title is exactly $1.
windows_titled() { xdotool search --name "^$(printf '%s' "$1" | sed 's/[].[^$*\\]/\\&/g')\$" 2>/dev/null; }
window_titled() { windows_titled "$1" >/dev/null; }
wait_for_title() { wait_for "${2:-30}" window_titled "$1" || fail "no window titled \"$1\""; }
keys() { xdotool key --delay 40 "$@"; }
type_text() { xdotool type --delay 20 "$1"; }
# A picture of the window titled $2, or of the whole screen. Pictures are
# for looking at, not part of the check: one that cannot be taken (the title
# changing at that moment) is only reported.
shot() {
  [ -n "$shots" ] || return 0
  local id
  id=$( (windows_titled "${2:-}" || true) | head -n1)
  import -window "${id:-root}" "$shots/$1" 2>/dev/null || echo "(no picture $1)"
}

step "a fresh Wine prefix"
wineboot -i >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; fail "wineboot failed"; }
# No window manager runs on the display: Wine draws the frames itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null

step "the zip unpacked into a folder with a blank in its name"
mkdir -p "$work/My Programs" "$work/My Files"
unzip -q "$zip" -d "$work/My Programs"
app=$(find "$work/My Programs" -name Vantrel_BIN_Editor.exe -printf '%h\n')
[ -n "$app" ] || fail "no Vantrel_BIN_Editor.exe in the zip"
cp "$fixture" "$work/My Files/ScenaryItem.bin"
# A file of the user's own can be written (the sample may be read-only,
# and Save .bin refuses read-only files).
chmod u+w "$work/My Files/ScenaryItem.bin"
bin="$work/My Files/ScenaryItem.bin"
original_sum=$(sha256sum <"$bin")

step "start: the About dialog"
(cd "$app" && exec wine Vantrel_BIN_Editor.exe >"$work/editor.log" 2>&1) &
editor_pid=$!
wait_for_title "About Vantrel_BIN_Editor" 60
shot windows-about.png "About Vantrel_BIN_Editor"
keys Return

step "OK: the main window"
main_title="Vantrel bin file editor and texture viewer"
wait_for_title "$main_title"
no_about() { ! window_titled "About Vantrel_BIN_Editor"; }
wait_for 10 no_about || fail "the About dialog is still open"

step "\".....\" (Tab from the path box, Enter): the open dialog"
keys Tab Return
wait_for_title "Open Vantrel .bin file"
type_text "Z:${bin//\//\\}"
keys Return

step "the .bin converted and shown"
wait_for_title "$main_title - ScenaryItem.bin" 60
shot windows-opened.png "$main_title - ScenaryItem.bin"

step "find and Replace All: Ctrl+Tab out of the editor, Tab to the find box"
# Editor -> Exit -> Save .bin -> find box -> Find -> replace box -> Replace -> Replace All
keys ctrl+Tab Tab Tab
type_text "Near Beech"
keys Tab Tab
type_text "Near Birch"
keys Tab Tab Return
wait_for_title "$main_title - ScenaryItem.bin *" 10
shot windows-replaced.png "$main_title - ScenaryItem.bin *"

step "Alt+S: Save .bin"
keys alt+s
wait_for 60 test -f "$bin.bak" || fail "no backup $bin.bak"
wait_for_title "$main_title - ScenaryItem.bin - Saved ScenaryItem.bin; the previous version is ScenaryItem.bin.bak" 30

step "the backup is the old file, the new .bin has the replacement"
[ "$(sha256sum <"$bin.bak")" = "$original_sum" ] || fail "the backup differs from the original"
serz() { (cd "$app" && wine serz.exe "$@" >/dev/null 2>&1); }
winpath() { printf 'Z:%s' "${1//\//\\}"; }
serz "$(winpath "$bin.bak")" "xml:$(winpath "$work/before.xml")" || fail "serz cannot read the backup"
serz "$(winpath "$bin")" "xml:$(winpath "$work/after.xml")" || fail "serz cannot read the saved .bin"
grep -q "AP Tree Near Birch 1" "$work/after.xml" || fail "the replacement is not in the saved .bin"
sed 's/Near Beech/Near Birch/' "$work/before.xml" | cmp -s - "$work/after.xml" ||
  fail "the saved .bin differs from the original by more than the replacement"

step "Alt+E: the editor closes and writes preferences.txt"
keys alt+e
wait_for 30 bash -c "! kill -0 $editor_pid 2>/dev/null" || fail "the editor did not end"
editor_pid=
grep -qE $'^-?[0-9]+,-?[0-9]+,-?[0-9]+,-?[0-9]+,"[^"]*"\r$' "$app/preferences.txt" ||
  fail "preferences.txt is missing or malformed: $(cat -A "$app/preferences.txt" 2>&1)"
[ -d "$app/TempFiles" ] || fail "no TempFiles folder beside the program"

step "a .bin named on the command line opens at once, without the About dialog"
(cd "$app" && exec wine Vantrel_BIN_Editor.exe "$(winpath "$bin")" >>"$work/editor.log" 2>&1) &
editor_pid=$!
wait_for_title "$main_title - ScenaryItem.bin" 60
window_titled "About Vantrel_BIN_Editor" && fail "the About dialog showed"
keys alt+e
wait_for 30 bash -c "! kill -0 $editor_pid 2>/dev/null" || fail "the editor did not end"
editor_pid=
echo "end-to-end: passed"
