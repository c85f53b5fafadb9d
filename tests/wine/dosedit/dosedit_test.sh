#!/usr/bin/env bash
# The native DOS support prompt end to end on a throw-away Wine machine with its own Xvfb.
#
#   dosedit_test.sh DESCRIPTION-DIR DRIVER.EXE MODULE.dll OUTPUT-DIR
#
# The machine is the description (win98-maestro2e: native DOS support not installed) with the
# English language module in its system folder. dosedit_driver.exe installs and then removes
# native DOS support through the settings object, answering the prompt (dialog 185) and the
# summaries like a user from a second thread (tests/wine/dosedit/dosedit_driver.cpp). Each
# time it says "shown: <step>" (after checking on the screen that the window's texts are
# drawn), this script takes a screenshot of the screen (OUTPUT-DIR/dosedit/<step>.png) and
# tells it to go on. The machine is removed at the end
# (TUNARA_KEEP_WINE_PREFIX=1 keeps it for a look).
set -euo pipefail

description=${1:?description folder}
driver=${2:?dosedit_driver.exe}
module=${3:?cnctlen_.dll}
output=${4:?output folder}

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
# shellcheck source=../../../tools/wine-machine.sh
source "$repo/tools/wine-machine.sh"
export TUNARA_WINE_QUIET=1

work=$output/wine/dosedit
prefix=$work/machine
shots=$output/dosedit
mkdir -p "$work" "$shots"
rm -f "$work"/*.log "$shots"/*.png

wm_clean_up_at_exit "$prefix" "$work"

wm_create "$prefix" --xvfb
wm_install_description "$prefix" "$description"
wm_install_files "$prefix" windows "$driver"
wm_install_files "$prefix" system "$module"

log=$work/driver.log
wm_run "$prefix" --timeout 240 'C:\windows\'"$(basename "$driver")" >"$log" 2>"$work/driver-stderr.log" &
driver_pid=$!

status=0
for step in install-prompt install-summary remove-prompt remove-summary; do
  for _ in $(seq 1 "$(wm_scaled 1200)"); do
    grep -q "^shown: $step" "$log" 2>/dev/null && break
    kill -0 "$driver_pid" 2>/dev/null || break
    sleep 0.05
  done
  if ! grep -q "^shown: $step" "$log"; then
    echo "FAIL: the driver never showed $step"
    status=1
    break
  fi
  png=$shots/$step.png
  # The driver has read this screen back before saying "shown": every text of the window
  # drawn on its face ("ok/FAIL: <step> is on the screen", in its log below).
  if wm_screenshot "$prefix" "$png"; then
    echo "screenshot: $png"
  else
    echo "FAIL: no screenshot of $step"
    status=1
  fi
  touch "$prefix/drive_c/shot-$step"
done

rc=0
wait "$driver_pid" || rc=$?
tr -d '\r' <"$log"
[ "$rc" = 0 ] || { echo "FAIL: dosedit_driver ended with $rc"; cat "$work/driver-stderr.log"; status=1; }
exit "$status"
