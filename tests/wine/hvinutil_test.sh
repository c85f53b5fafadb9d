#!/usr/bin/env bash
# hvinutil.exe end to end on a throw-away Wine machine with its own Xvfb.
#
#   hvinutil_test.sh quiet|notice|shutdown HVINUTIL.EXE DRIVER.EXE OUTPUT-DIR
#
#   quiet     no "-shutdown" (nothing, other words, "-SHUTDOWN"): ends at once, exit code 0,
#             no window, no shutdown request
#   notice    "-shutdown Hello from setup": the notice box, centred and on top, a screenshot of
#             it, then the shutdown request after five seconds
#   shutdown  "-shutdown" alone: no box, the shutdown request after five seconds
#
# The checks are made by the Win32 driver program (tests/wine/drivers/hvinutil_driver.cpp);
# this script prepares the machine, takes the screenshot and cleans up. Logs, the driver's
# output and the screenshot go to OUTPUT-DIR; the machine itself is removed at the end
# (TUNARA_KEEP_WINE_PREFIX=1 keeps it for a look).
set -euo pipefail

case_name=${1:?case}
hvinutil=${2:?hvinutil.exe}
driver=${3:?driver.exe}
output=${4:?output folder}

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=../../tools/wine-machine.sh
source "$repo/tools/wine-machine.sh"
export TUNARA_WINE_QUIET=1

work=$output/wine/hvinutil-$case_name
prefix=$work/machine
mkdir -p "$work"
rm -f "$work"/*.log

finish() {
  local rc=$?
  if [ -d "$prefix/.machine" ]; then
    mkdir -p "$work/machine-logs"
    cp -f "$prefix"/.machine/*.log "$work/machine-logs/" 2>/dev/null || true
  fi
  if [ "${TUNARA_KEEP_WINE_PREFIX:-0}" = 1 ]; then
    wm_stop "$prefix" || true
  else
    wm_destroy "$prefix" || true
  fi
  exit "$rc"
}
trap finish EXIT
trap 'exit 130' INT TERM

wm_create "$prefix" --xvfb
wm_install_files "$prefix" windows "$hvinutil" "$driver"
program='C:\windows\hvinutil.exe'
driver_name='C:\windows\'$(basename "$driver")

# Runs the driver with its output in a log (shown on failure); returns its exit code.
run_driver() {
  local log=$1
  shift
  local rc=0
  wm_run "$prefix" --timeout 40 "$driver_name" "$@" >"$log" 2>&1 || rc=$?
  cat "$log"
  return "$rc"
}

case "$case_name" in
  quiet)
    # Without "-shutdown" the program does nothing, whatever else the line holds.
    run_driver "$work/no-arguments.log" quiet "$program"
    run_driver "$work/other-words.log" quiet "$program" /q Hello shutdown
    run_driver "$work/capitals.log" quiet "$program" -SHUTDOWN Hello from setup
    ;;

  notice)
    log=$work/notice.log
    screenshot=$output/hvinutil-notice.png
    rm -f "$screenshot"
    wm_run "$prefix" --timeout 40 "$driver_name" notice "$program" Hello from setup \
      >"$log" 2>&1 &
    driver_pid=$!
    # The screenshot is taken while the box is up: the driver says when.
    for _ in $(seq 1 "$(wm_scaled 200)"); do
      grep -q '^box-shown' "$log" 2>/dev/null && break
      kill -0 "$driver_pid" 2>/dev/null || break
      sleep 0.05
    done
    shot_ok=0
    if grep -q '^box-shown' "$log"; then
      wm_screenshot "$prefix" "$screenshot" && shot_ok=1
    fi
    rc=0
    wait "$driver_pid" || rc=$?
    cat "$log"
    if [ "$shot_ok" = 1 ]; then
      # The X server's own picture must show the dark red text as well.
      red=$(convert "$screenshot" -alpha off -fill black +opaque '#120000' -fill white \
        -opaque '#120000' -format '%[fx:round(mean*w*h)]' info:)
      echo "screenshot: $screenshot ($red pixels of the text colour)"
      [ "$red" -gt 0 ] || { echo "FAIL: the screenshot shows no text"; rc=1; }
    else
      echo "FAIL: no screenshot of the notice box"
      rc=1
    fi
    exit "$rc"
    ;;

  shutdown)
    run_driver "$work/shutdown.log" shutdown "$program"
    ;;

  *)
    echo "unknown case $case_name" >&2
    exit 2
    ;;
esac
