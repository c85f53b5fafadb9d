#!/usr/bin/env bash
# tunaractl.exe end to end on a throw-away Wine machine with its own Xvfb.
#
#   props_test.sh CASE TUNARACTL.EXE PROPS_DRIVER.EXE MODULE.dll OUTPUT-DIR [HELP-DIR]
#
# HELP-DIR: the folder of the built help files (*.hlp), installed beside the program.
#
# Cases:
#   tour        win98-maestro2e-conflict with the English module: the driver walks through the
#               sheet (tests/wine/props/props_driver.cpp); a screenshot of every page and
#               dialog goes to OUTPUT-DIR/props/<step>.png, after the driver has checked the
#               screen's pixels where the step's controls stand
#   cancel      headphones chosen on the page and Cancel pressed: the speakers come back
#   keys        Tab, Shift+Tab and Enter around the sheet's own buttons
#   maestro1    win95-maestro1 (game support and joystick off): the legacy page and resources sheet
#   trayoff     the tray icon switched off and confirmed: autostart value removed, tray told to exit
#   second      a second start while the sheet is open brings it forward and exits
#   nocard      win98-nocard: the driver starts the program and watches it from its start to
#               its end: it exits without ever showing a window
#   nolanguage  no language module: the driver starts the program and watches it: the error
#               box word for word and no other window, then the end
# The machine is removed at the end (TUNARA_KEEP_WINE_PREFIX=1 keeps it).
set -euo pipefail

case=${1:?case}
program=${2:?tunaractl.exe}
driver=${3:?props_driver.exe}
module=${4:?cnctlen_.dll}
output=${5:?output folder}
help_dir=${6:-}

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
# shellcheck source=../../../tools/wine-machine.sh
source "$repo/tools/wine-machine.sh"
export TUNARA_WINE_QUIET=1

work=$output/wine/props-$case
prefix=$work/machine
shots=$output/props
mkdir -p "$work" "$shots"
rm -f "$work"/*.log

wm_clean_up_at_exit "$prefix" "$work"

machine=win98-maestro2e
[ "$case" = tour ] && machine=win98-maestro2e-conflict
[ "$case" = nocard ] && machine=win98-nocard
[ "$case" = maestro1 ] && machine=win95-maestro1
wm_create "$prefix" --xvfb
wm_install_description "$prefix" "$repo/tests/machines/$machine"
wm_install_files "$prefix" windows "$driver"
wm_install_files "$prefix" system "$program"
[ "$case" = nolanguage ] || wm_install_files "$prefix" system "$module"
if [ -n "$help_dir" ]; then
  wm_install_files "$prefix" system "$help_dir"/*.hlp
fi
drv='C:\windows\'"$(basename "$driver")"

status=0
fail() { echo "FAIL: $*"; status=1; }

# A screenshot at each step of the driver; what the picture must show the driver has
# checked on the screen just before.
follow() { wm_follow_shots "$prefix" "$1" "$2" "$shots/" || status=1; }

case "$case" in
  tour)
    wm_run "$prefix" --timeout 200 tunaractl.exe >"$work/program.log" 2>&1 &
    program_pid=$!
    wm_run "$prefix" --timeout 200 "$drv" tour >"$work/driver.log" 2>"$work/driver-stderr.log" &
    driver_pid=$!
    follow "$work/driver.log" "$driver_pid"
    rc=0; wait "$driver_pid" || rc=$?
    tr -d '\r' <"$work/driver.log"
    [ "$rc" = 0 ] || fail "props_driver tour ended with $rc"
    rc=0; wait "$program_pid" || rc=$?
    [ "$rc" = 0 ] || fail "tunaractl.exe ended with $rc"
    ;;
  cancel|keys|maestro1|trayoff)
    wm_run "$prefix" --timeout 200 tunaractl.exe >"$work/program.log" 2>&1 &
    program_pid=$!
    wm_run "$prefix" --timeout 200 "$drv" "$case" >"$work/driver.log" 2>"$work/driver-stderr.log" &
    driver_pid=$!
    follow "$work/driver.log" "$driver_pid"
    rc=0; wait "$driver_pid" || rc=$?
    tr -d '\r' <"$work/driver.log"
    [ "$rc" = 0 ] || fail "props_driver $case ended with $rc"
    rc=0; wait "$program_pid" || rc=$?
    [ "$rc" = 0 ] || fail "tunaractl.exe ended with $rc"
    ;;
  second)
    wm_run "$prefix" --timeout 200 tunaractl.exe >"$work/program.log" 2>&1 &
    program_pid=$!
    for _ in $(seq 1 "$(wm_scaled 300)"); do
      wm_run "$prefix" --timeout 30 "$drv" count 2>/dev/null | tr -d '\r' | grep -q '^sheets: 1' && break
      sleep 0.2
    done
    rc=0
    timeout "$(wm_scaled 60)" bash -c "source '$repo/tools/wine-machine.sh'; wm_run '$prefix' --timeout 50 tunaractl.exe" \
      >"$work/second.log" 2>&1 || rc=$?
    [ "$rc" = 0 ] && echo "ok: the second start ended by itself" || fail "the second start ended with $rc"
    counted=$(wm_run "$prefix" --timeout 30 "$drv" count | tr -d '\r')
    sheets=$(sed -n 's/^sheets: //p' <<<"$counted")
    [ "$sheets" = 1 ] && echo "ok: one sheet is open" || fail "$sheets sheets are open"
    grep -q '^foreground: sheet' <<<"$counted" && echo "ok: the sheet is in the foreground" \
      || fail "the sheet is not in the foreground"
    kill -0 "$program_pid" 2>/dev/null && echo "ok: the first copy still runs" || fail "the first copy ended"
    wm_screenshot "$prefix" "$shots/second-start.png" && echo "screenshot: $shots/second-start.png"
    ;;
  nocard)
    # The driver starts tunaractl.exe itself, so that it sees every window from the start.
    rc=0
    wm_run "$prefix" --timeout 100 "$drv" nowindow >"$work/driver.log" 2>"$work/driver-stderr.log" || rc=$?
    tr -d '\r' <"$work/driver.log"
    [ "$rc" = 0 ] || fail "props_driver nowindow ended with $rc"
    ;;
  nolanguage)
    wm_run "$prefix" --timeout 150 "$drv" errorbox >"$work/driver.log" 2>"$work/driver-stderr.log" &
    driver_pid=$!
    follow "$work/driver.log" "$driver_pid"
    rc=0; wait "$driver_pid" || rc=$?
    tr -d '\r' <"$work/driver.log"
    [ "$rc" = 0 ] || fail "props_driver errorbox ended with $rc"
    ;;
  *) echo "unknown case $case"; exit 2 ;;
esac
exit "$status"
