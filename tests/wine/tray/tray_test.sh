#!/usr/bin/env bash
# tnrtray.exe end to end on throw-away Wine machines with their own Xvfb.
#
#   tray_test.sh MACHINES-DIR TNRTRAY.EXE TRAY_DRIVER.EXE CNCTLEN_.DLL OUTPUT-DIR TRAY_SPY.DLL
#
# On the Windows 98 Maestro-2E description: each maintenance option with its registry and
# file effects, watched from its start to its end for any window it creates or shows (there
# must be none; tray_driver watch, with tray_spy.dll hooking the program's thread); without
# the language module the tray's fixed English message and nothing else; then the tray
# itself: one window of class "Tunara Taskbar" even when started twice, its icon, the popup
# menu opened through the icon's callback message with every item, check mark and grey state
# read inside the tray and its picture checked on the screen (screenshot in
# OUTPUT-DIR/tray/menu.png), the headphones command reaching the simulated card, the restart
# prompt of hardware acceleration with its texts, and the exit message ending it with code 0;
# last the uninstall clean-up. On the description without a card the tray ends at once
# without a window. The machines are removed at the end
# (TUNARA_KEEP_WINE_PREFIX=1 keeps them for a look).
set -euo pipefail

machines=${1:?machines folder}
tray=${2:?tnrtray.exe}
driver=${3:?tray_driver.exe}
module=${4:?cnctlen_.dll}
output=${5:?output folder}
spy=${6:?tray_spy.dll}

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
# shellcheck source=../../../tools/wine-machine.sh
source "$repo/tools/wine-machine.sh"
export TUNARA_WINE_QUIET=1

work=$output/wine/tray
prefix=$work/machine
shots=$output/tray
mkdir -p "$work" "$shots"
rm -f "$work"/*.log "$shots"/*.png

wm_clean_up_at_exit "$prefix" "$work"

status=0
fail() { echo "FAIL: $*"; status=1; }
ok() { echo "ok: $*"; }

run_key='Software\Microsoft\Windows\CurrentVersion\Run'
runonce_key='Software\Microsoft\Windows\CurrentVersion\RunOnce'
driver_exe='C:\windows\tray_driver.exe'
tray_exe='C:\windows\system\tnrtray.exe'

drive() { wm_run "$prefix" --timeout 60 "$driver_exe" "$@" 2>>"$work/driver-stderr.log" | tr -d '\r'; }
value() { drive value "$1" "$2"; }
# Runs tnrtray under the driver's watch (every window it creates or shows, from its start to
# its end) into $watch_log; the watch itself must have worked.
watched_run() {
  watch_log=$work/watch-$((++watch_runs)).log
  local rc=0
  wm_run "$prefix" --timeout 150 "$driver_exe" watch 60 "$tray_exe" "$@" 2>>"$work/driver-stderr.log" \
    | tr -d '\r' >"$watch_log" || rc=$?
  { echo "-- tnrtray $*"; cat "$watch_log"; } >>"$work/tnrtray.log"
  [ "$rc" = 0 ] || fail "the watch of tnrtray $* ended with $rc"
  sed -n "s/^FAIL: /FAIL: tnrtray $* - /p" "$watch_log"
  if grep -q '^FAIL' "$watch_log"; then status=1; fi
}
watch_runs=0
# Runs tnrtray so that it must end by itself with exit code 0 and no window at all.
quiet_run() {
  watched_run "$@"
  grep -qx 'exit: 0' "$watch_log" || fail "tnrtray $* ended with $(sed -n 's/^exit: //p' "$watch_log")"
  if grep -q '^created: \|^shown: ' "$watch_log"; then
    fail "tnrtray $* made a window: $(grep '^created: \|^shown: ' "$watch_log" | paste -sd ';')"
  fi
}
tray_option() { quiet_run "$@"; }
expect_value() {  # key name expected what
  local got
  got=$(value "$1" "$2")
  if [ "$got" = "$3" ]; then ok "$4"; else fail "$4 (value $2: $got, expected $3)"; fi
}
windows_count() { drive windows; }

wm_create "$prefix" --xvfb
wm_install_description "$prefix" "$machines/win98-maestro2e"
wm_install_files "$prefix" windows "$driver" "$spy"
wm_install_files "$prefix" system "$tray" "$module"
cp "$driver" "$work/AXDist.exe"
wm_install_files "$prefix" system "$work/AXDist.exe"
config_key=$(sed -n 's/^configkey=//p' "$machines/win98-maestro2e/machine.ini" | tr -d '\r')
c=$prefix/drive_c
product_folder=$(find "$c/windows" -maxdepth 1 -iname 'start menu')/Programs

# ---- Maintenance options --------------------------------------------------------------------
echo "== maintenance"
tray_option -initFourMb
[ -d "$product_folder/Helvane/Cantora Pro" ] && ok "a maintenance run creates the start-menu folders" \
  || fail "no Helvane\\Cantora Pro below $product_folder"
[ "$(windows_count)" = 0 ] && ok "-initFourMb starts no tray" || fail "-initFourMb left a tray window"

drive set "$run_key" "Comctl32.dll Update" 'C:\setup\comctl.exe' >/dev/null
tray_option -updateComCtl
expect_value "$run_key" "Comctl32.dll Update" "$(printf 'C:\\setup\\comctl.exe' | xxd -p | tr -d '\n')00" \
  "-updateComCtl does nothing"
tray_option -updateComctl
expect_value "$run_key" "Comctl32.dll Update" absent "-updateComctl removes its Run value"
expect_value "$runonce_key" "AXDist update" absent "on Windows 98 no COM/OLE step is chained"

rm -f "$c/axdist.txt"
tray_option -updateCOMOLEFiles
for _ in $(seq 1 "$(wm_scaled 100)"); do [ -f "$c/axdist.txt" ] && break; sleep 0.1; done
if [ -f "$c/axdist.txt" ] && grep -q -- '-Q' "$c/axdist.txt"; then
  ok "-updateCOMOLEFiles starts AXDist.exe -Q ($(tr -d '\r\n' <"$c/axdist.txt"))"
else
  fail "-updateCOMOLEFiles did not start AXDist.exe -Q"
fi

# While the tray starts at log-on ("Cantora SysTray"), the pending steps are left to it.
dos_value="Remove Native DOS Support"
dos_command='C:\windows\system\tnrtray.exe -removeNativeDOSSupport'
drive set "$run_key" "$dos_value" "$dos_command" >/dev/null
tray_option -removeNativeDOSSupport
expect_value "$run_key" "$dos_value" "$(printf '%s' "$dos_command" | xxd -p | tr -d '\n')00" \
  "-removeNativeDOSSupport waits for the tray that starts at log-on"
drive delete "$run_key" "Cantora SysTray" >/dev/null
tray_option -removeNativeDOSSupport
expect_value "$run_key" "$dos_value" absent "-removeNativeDOSSupport deletes its Run value"

before=$(value "$config_key" SoundLibSize)
drive set "$run_key" "Cantora Wavetable = 2MB" 'C:\windows\system\tnrtray.exe -wavetableTwoMb' >/dev/null
tray_option -wavetableTwoMb
after=$(value "$config_key" SoundLibSize)
echo "SoundLibSize: $before -> $after"
[ "$after" = 0200 ] && ok "-wavetableTwoMb chooses the 2 MB set" || fail "-wavetableTwoMb: SoundLibSize $after"

# ---- Without the language module -----------------------------------------------------------
echo "== no language module"
# The fixed English message, owned by no window, answered with OK; no tray window ever.
modules=$(find "$c/windows" -maxdepth 2 -iname cnctlen_.dll)
for m in $modules; do mv "$m" "$m.away"; done
watched_run
for m in $modules; do mv "$m.away" "$m"; done
grep -qx 'exit: 0' "$watch_log" && ok "without a language module the tray ends with 0" \
  || fail "without a language module: $(grep '^exit: ' "$watch_log")"
expect_line() {  # line what
  if grep -qxF -- "$1" "$watch_log"; then ok "$2"; else fail "$2: expected '$1'"; fi
}
[ "$(grep -c '^shown: ' "$watch_log")" = 1 ] && ok "one window shown without a language module" \
  || fail "windows shown without a language module: $(grep '^shown: ' "$watch_log" | paste -sd ';')"
expect_line 'box-caption: Tunara Properties error' "its caption"
expect_line 'box-text: "Unable to find any resource files, quitting application"' "its text"
expect_line 'box-buttons: 1' "its one button, OK"
expect_line 'box-icon: yes' "its icon"
grep -q '^box-look: ok' "$watch_log" && ok "the message is on the screen" \
  || fail "the message: $(grep '^box-look: ' "$watch_log")"
# The watch sees windows that are never shown as well: this one is created, the tray's not.
grep -q '^created: #32770 top-level' "$watch_log" && ok "the watch sees the message created" \
  || fail "the watch saw no message created"
! grep -q '^created: Tunara Taskbar' "$watch_log" && ok "no tray window without a language module" \
  || fail "a tray window without a language module"

# ---- The tray ---------------------------------------------------------------------------------
echo "== tray"
# Without a file of the 4 MB set its item is grey; the 2 MB set stays the one in force.
find "$c/windows/system/" -maxdepth 1 -iname 'plat4meg.img' -delete
wm_run "$prefix" --timeout 300 "$tray_exe" >"$work/tray-run.log" 2>&1 &
tray_pid=$!
if drive wait-window >/dev/null; then ok "the tray window exists"; else fail "no tray window"; fi
# A second tray ends at once, without a window and without a message.
quiet_run
count=$(windows_count)
[ "$count" = 1 ] && ok "one window of class Tunara Taskbar" || fail "$count tray windows"
[ "$(drive icon)" = present ] && ok "the icon is in the notification area" || fail "no icon"
[ -f "$product_folder/Helvane/Cantora Pro/Tunara Properties.lnk" ] \
  && ok "the start-menu shortcut exists" || fail "no shortcut in the product folder"

rm -f "$c/shot-menu"
# Straight into the log (no filter buffering it): the script waits for the driver's line.
# The prepared machine: speakers, hardware acceleration on, microphone boost off, the 2 MB set
# in force (chosen by -wavetableTwoMb above), no file of the 4 MB set. The driver reads the
# menu inside the tray and its picture on the screen before it says "shown: menu".
wm_run "$prefix" --timeout 120 "$driver_exe" menu speakers on off 2 4 >"$work/menu.log" \
  2>>"$work/driver-stderr.log" &
menu_pid=$!
for _ in $(seq 1 "$(wm_scaled 300)"); do
  grep -q '^shown: menu' "$work/menu.log" 2>/dev/null && break
  kill -0 "$menu_pid" 2>/dev/null || break
  sleep 0.1
done
if grep -q '^shown: menu' "$work/menu.log"; then
  png=$shots/menu.png
  if wm_screenshot "$prefix" "$png"; then echo "screenshot: $png"; else fail "no screenshot of the menu"; fi
else
  fail "the popup menu never showed"
fi
touch "$c/shot-menu"
rc=0
wait "$menu_pid" || rc=$?
tr -d '\r' <"$work/menu.log"
[ "$rc" = 0 ] || fail "the popup menu (driver exit code $rc)"

expect_value 'Software\SimulatedHardware\DirectSound' SpeakerConfig 04000000 "the card starts on speakers"
drive command 2611 >/dev/null
sleep 1
expect_value 'Software\SimulatedHardware\DirectSound' SpeakerConfig 01000000 "the headphones command reaches the card"

drive exit >/dev/null
rc=0
wait "$tray_pid" || rc=$?
[ "$rc" = 0 ] && ok "Tell TunaraTray to exit ends the tray with 0" || fail "the tray ended with $rc"
[ "$(windows_count)" = 0 ] && ok "no tray window afterwards" || fail "a tray window is left"

# The exit request posted to the tray's thread (no window) ends it as well.
wm_run "$prefix" --timeout 120 "$tray_exe" >"$work/tray-run2.log" 2>&1 &
tray_pid=$!
drive wait-window >/dev/null || fail "no tray window the second time"
drive restart-prompt >"$work/restart.log" || true
cat "$work/restart.log"
if grep -q '^FAIL' "$work/restart.log"; then fail "the restart prompt"; fi
grep -q '^ok: No closes the prompt' "$work/restart.log" || fail "the restart prompt was not answered"
drive exit-thread >/dev/null || fail "could not post to the tray's thread"
rc=0
wait "$tray_pid" || rc=$?
[ "$rc" = 0 ] && ok "the exit request posted to the thread ends the tray with 0" \
  || fail "the tray ended with $rc after the posted exit request"

# ---- Uninstall --------------------------------------------------------------------------------
echo "== uninstall"
drive set "$run_key" "Cantora SysTray" 'C:\windows\system\tnrtray.exe' >/dev/null
tray_option -uninstall
expect_value "$run_key" "Cantora SysTray" absent "-uninstall removes the tray's Run value"
[ ! -e "$product_folder/Helvane" ] && ok "-uninstall removes the start-menu folders" \
  || fail "the start-menu folders are still there"
[ -z "$(find "$c/windows/system/" -maxdepth 1 -iname 'plat?meg.img')" ] \
  && ok "-uninstall removes the active sample sets" || fail "sample sets left"

# ---- Without a card ------------------------------------------------------------------------
echo "== no card"
wm_destroy "$prefix"
wm_create "$prefix" --xvfb
wm_install_description "$prefix" "$machines/win98-nocard"
wm_install_files "$prefix" windows "$driver"
wm_install_files "$prefix" system "$tray" "$module"
wm_install_files "$prefix" windows "$spy"
quiet_run
took=$(sed -n 's/^ran: \([0-9]*\) ms$/\1/p' "$watch_log")
took=$(( ${took:-999999} / 1000 ))
[ "$took" -lt "$(wm_scaled 30)" ] && ok "without a card the tray ends in ${took}s" || fail "without a card the tray took ${took}s"
[ "$(windows_count)" = 0 ] && ok "without a card no window" || fail "without a card a window exists"

exit "$status"
