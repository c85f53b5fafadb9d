#!/usr/bin/env bash
# The language modules end to end on a throw-away Wine machine with its own Xvfb.
#
#   lang_test.sh DRIVER.EXE RESOURCE_LIST OUTPUT-DIR MODULE.dll...
#
# First the driver runs loadLanguageModule itself for several thread locales (French finds
# cnctlFR_.dll through FR_, Italian falls back to cnctlen_.dll, an explicit locale without its
# module gets none). Then, for each module: the driver (tests/wine/lang/lang_driver.cpp) loads it by name from the
# system folder with LoadLibraryA and checks every resource of RESOURCE_LIST (strings 6 and
# 2621 among them), the tray menu's positions and every dialog with every control; then it
# renders the pages and dialogs, which are saved as PNG files in OUTPUT-DIR/lang/ (named
# <module>-<dialog>.png). The machine is removed at the end (TUNARA_KEEP_WINE_PREFIX=1 keeps
# it for a look).
set -euo pipefail

driver=${1:?driver.exe}
list=${2:?resource list}
output=${3:?output folder}
shift 3
[ $# -gt 0 ] || { echo "no module given" >&2; exit 2; }

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
# shellcheck source=../../../tools/wine-machine.sh
source "$repo/tools/wine-machine.sh"
export TUNARA_WINE_QUIET=1

work=$output/wine/lang
prefix=$work/machine
shots=$output/lang
mkdir -p "$work" "$shots"
rm -f "$work"/*.log "$shots"/*.png

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
wm_install_files "$prefix" windows "$driver" "$list"
wm_install_files "$prefix" system "$@"
driver_name='C:\windows\'$(basename "$driver")
list_name='C:\windows\'$(basename "$list")

status=0
# The loader on the real system: which module each thread locale gets.
rc=0
wm_run "$prefix" --timeout 60 "$driver_name" choose >"$work/choose.log" 2>&1 || rc=$?
cat "$work/choose.log"
[ "$rc" = 0 ] || { echo "FAIL: choosing the module (exit code $rc)"; status=1; }

for module in "$@"; do
  name=$(basename "$module")
  stem=${name%.dll}
  echo "== $name"
  rc=0
  wm_run "$prefix" --timeout 60 "$driver_name" check "$name" "$list_name" \
    >"$work/$stem-check.log" 2>&1 || rc=$?
  cat "$work/$stem-check.log"
  [ "$rc" = 0 ] || { echo "FAIL: checks of $name (exit code $rc)"; status=1; }

  folder='C:\shots-'$stem
  rc=0
  wm_run "$prefix" --timeout 120 "$driver_name" render "$name" "$folder" \
    >"$work/$stem-render.log" 2>&1 || rc=$?
  cat "$work/$stem-render.log"
  [ "$rc" = 0 ] || { echo "FAIL: rendering of $name (exit code $rc)"; status=1; }

  host_folder=$prefix/drive_c/shots-$stem
  count=0
  for bmp in "$host_folder"/*.bmp; do
    [ -f "$bmp" ] || continue
    png=$shots/$stem-$(basename "${bmp%.bmp}").png
    # What each picture shows (every text of the window drawn on its face) the driver has
    # checked on the very pixels it saved: "ok/FAIL: <name> is on the screen" above.
    convert "$bmp" "$png"
    count=$((count + 1))
  done
  echo "$name: $count screenshot(s) in $shots"
  [ "$count" -ge 9 ] || { echo "FAIL: $count screenshots of $name, 9 expected"; status=1; }
done
exit "$status"
