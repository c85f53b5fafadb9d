#!/usr/bin/env bash
# The demo: a simulated Windows 98 PC with the Tunara card (Maestro-2E), the card's software
# on it, and the newest user program started there.
#
#   tools/demo.sh [--keep] [PROGRAM [ARGUMENT...]]
#
# Installs the prerequisites, builds the win32-sim flavour, makes the Wine machine
# build/demo/machine from the machine description tests/machines/win98-maestro2e, copies the
# win32-sim deliverables into its system folder and starts PROGRAM there: by default the
# card's properties program `tunaractl.exe`, with the tray utility `tnrtray.exe` running
# beside it when the machine's "Cantora SysTray" autostart value is set and the tray program
# is built.
#
# With a DISPLAY the program appears there, in an 800x600 Windows desktop window, and the
# demo ends when it ends. Without one the machine gets its own Xvfb: for tunaractl.exe the
# demo saves screenshots of the settings page, the legacy page and the advanced settings
# dialog (walked through by tests/wine/props/props_driver.exe, which cancels the dialog and
# changes nothing); for another program one screenshot. It prints where they are and ends
# the program. The machine is removed at the end
# unless --keep is given (then `tools/wine-machine.sh start build/demo/machine` brings it
# back; `destroy` removes it).
#
# On a machine that cannot run 32-bit programs (see `tools/wine-machine.sh probe`) the demo
# stops at once with the reason and exit code 3.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

keep=0
if [ "${1:-}" = --keep ]; then
  keep=1
  shift
fi
if [ $# -eq 0 ]; then
  set -- tunaractl.exe
fi

# The programs run under Wine, whose programs are 32-bit: on a machine whose kernel refuses
# 32-bit programs (or with TUNARA_WINE=skip) there is nothing to show, so say so at once.
wine_unavailable() {
  echo "demo: cannot start the Windows 98 machine: $1." >&2
  echo "demo: the card's programs run under Wine, which needs a Linux machine that runs 32-bit (i386) programs; the tests still run here (tools/test-all.sh), with the Wine tests skipped." >&2
  exit 3
}
probe_rc=0
reason=$(./tools/wine-machine.sh probe) || probe_rc=$?
[ "$probe_rc" != 1 ] || wine_unavailable "$reason"

echo "== prerequisites"
./tools/install-prerequisites.sh
probe_rc=0
reason=$(./tools/wine-machine.sh probe) || probe_rc=$?
[ "$probe_rc" = 0 ] || wine_unavailable "$reason"
echo "== building the win32-sim flavour"
cmake --preset win32-sim >/dev/null
cmake --build --preset win32-sim -j "$(nproc)"

# shellcheck source=wine-machine.sh
source "$repo/tools/wine-machine.sh"

demo=$repo/build/demo
prefix=$demo/machine
screenshot=$demo/screenshot.png
mkdir -p "$demo"

finish() {
  local rc=$?
  if [ "$keep" = 1 ]; then
    wm_stop "$prefix" || true
    echo "the machine is kept in $prefix"
  else
    wm_destroy "$prefix" || true
  fi
  exit "$rc"
}
trap finish EXIT
trap 'exit 130' INT TERM

echo "== the Windows 98 machine"
wm_create "$prefix" --version win98
description=$repo/tests/machines/win98-maestro2e
if [ ! -f "$description/machine.ini" ]; then
  description=$repo/tests/wine/fixtures/minimal98
  echo "(the Maestro-2E description is missing; using the minimal Windows 98 machine)"
fi
wm_install_description "$prefix" "$description"

# The deliverables as the setup would leave them: programs, libraries, language modules and
# help files in the system folder, taken from the build's shipping layout (dist/: stripped,
# as they ship).
deliverables=()
while IFS= read -r -d '' file; do
  deliverables+=("$file")
done < <(find "$repo/build/win32-sim/dist" -mindepth 1 -maxdepth 1 -type f \( -name tunaractl.exe \
  -o -name tnrtray.exe -o -name hvinutil.exe -o -name hvinf.dll -o -name hvgenins.dll \
  -o -name hvinfnt.dll -o -name 'cnctl*.dll' -o -name '*.hlp' \) -print0 | sort -z)
if [ ${#deliverables[@]} -eq 0 ]; then
  echo "no deliverables found in build/win32-sim/dist" >&2
  exit 1
fi
wm_install_files "$prefix" system "${deliverables[@]}"
echo "installed: $(for f in "${deliverables[@]}"; do basename "$f"; done | tr '\n' ' ')"

own_display=0
[ -f "$prefix/.machine/display" ] && own_display=1
log=$demo/program.log

# The tray utility runs when its autostart value is set, as after a log-on.
if [ "$1" = tunaractl.exe ] && grep -q '^"Cantora SysTray"=' "$description/registry.reg" 2>/dev/null; then
  if [ -f "$prefix/drive_c/windows/system32/tnrtray.exe" ]; then
    echo "== starting tnrtray.exe (its autostart value is set)"
    wm_run "$prefix" --timeout 3600 tnrtray.exe >"$demo/tray.log" 2>&1 &
    sleep 1.5
  else
    echo "(the autostart value names tnrtray.exe, which is not built yet)"
  fi
fi

driver=$repo/build/win32-sim/tests/wine/props/props_driver.exe
echo "== starting $*"
if [ "$own_display" = 1 ] && [ "$1" = tunaractl.exe ] && [ -f "$driver" ]; then
  # No screen to look at: the driver opens each page and the advanced settings dialog and
  # says "shown: <name>"; each gets its picture, then the file C:\shot-<name> lets it go on.
  wm_install_files "$prefix" windows "$driver"
  rm -f "$demo"/*.png
  wm_run "$prefix" --timeout 120 "$@" >"$log" 2>&1 &
  program=$!
  wm_run "$prefix" --timeout 100 'C:\windows\props_driver.exe' show >"$demo/driver.log" 2>&1 &
  walker=$!
  taken=" "
  for _ in $(seq 1 "$(wm_scaled 900)"); do
    step=$(tr -d '\r' <"$demo/driver.log" | sed -n 's/^shown: //p' | while read -r s; do
      case "$taken" in *" $s "*) ;; *) echo "$s"; break ;; esac; done)
    if [ -n "$step" ]; then
      wm_screenshot "$prefix" "$demo/$step.png"
      echo "screenshot: $demo/$step.png"
      touch "$prefix/drive_c/shot-$step"
      taken="$taken$step "
    elif ! kill -0 "$walker" 2>/dev/null; then
      break
    else
      sleep 0.1
    fi
  done
  rc=0
  wait "$walker" || rc=$?
  if [ "$rc" != 0 ]; then
    tr -d '\r' <"$demo/driver.log" | grep -v '^shown:' >&2 || true
    echo "the walk through the sheet failed (exit code $rc)" >&2
  fi
  if kill -0 "$program" 2>/dev/null; then
    echo "(tunaractl.exe is still open; stopping the machine ends it)"
  fi
  [ "$rc" = 0 ] || exit 1
elif [ "$own_display" = 1 ]; then
  # No screen to look at: take a picture once the program has drawn its windows.
  wm_run "$prefix" --timeout 60 "$@" >"$log" 2>&1 &
  program=$!
  sleep 2.5
  wm_screenshot "$prefix" "$screenshot"
  echo "screenshot: $screenshot"
  # Let a program that ends by itself (hvinutil) finish; the machine's stop ends any other.
  for _ in $(seq 1 "$(wm_scaled 100)"); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$program" 2>/dev/null; then
    echo "(the program is still running; stopping the machine ends it)"
  else
    rc=0
    wait "$program" || rc=$?
    echo "the program ended with exit code $rc"
  fi
else
  rc=0
  wm_run "$prefix" --timeout 3600 "$@" >"$log" 2>&1 || rc=$?
  echo "the program ended with exit code $rc"
fi
