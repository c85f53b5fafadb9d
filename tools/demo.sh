#!/usr/bin/env bash
# The demo: a simulated Windows 98 PC with the Tunara card (Maestro-2E), the card's software
# on it, and the newest user program started there.
#
#   tools/demo.sh [--keep] [PROGRAM [ARGUMENT...]]
#
# Installs the prerequisites, builds the win32-sim flavour, makes the Wine machine
# build/demo/machine from the machine description tests/machines/win98-maestro2e, copies the
# win32-sim deliverables into its system folder and starts PROGRAM there (for now
# `hvinutil.exe -shutdown` with a short notice: it shows the notice and asks Windows to shut
# down five seconds later).
#
# With a DISPLAY the program appears there, in an 800x600 Windows desktop window, and the
# demo ends when it ends. Without one the machine gets its own Xvfb: the demo saves a
# screenshot, prints its path and ends the program. The machine is removed at the end
# unless --keep is given (then `tools/wine-machine.sh start build/demo/machine` brings it
# back; `destroy` removes it).
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

keep=0
if [ "${1:-}" = --keep ]; then
  keep=1
  shift
fi
if [ $# -eq 0 ]; then
  set -- hvinutil.exe -shutdown Setup has finished installing the Tunara card. Windows will now shut down.
fi

echo "== prerequisites"
./tools/install-prerequisites.sh
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

# The deliverables as the setup would leave them: programs, libraries and language modules
# in the system folder. Each is built in its own folder (build/win32-sim/<folder>/<file>);
# deeper copies are test fixtures.
deliverables=()
while IFS= read -r -d '' file; do
  deliverables+=("$file")
done < <(find "$repo/build/win32-sim" -mindepth 2 -maxdepth 2 -type f \( -name tunaractl.exe \
  -o -name tnrtray.exe -o -name hvinutil.exe -o -name hvinf.dll -o -name hvgenins.dll \
  -o -name hvinfnt.dll -o -name 'cnctl*.dll' \) -print0 | sort -z)
if [ ${#deliverables[@]} -eq 0 ]; then
  echo "no deliverables found in build/win32-sim" >&2
  exit 1
fi
wm_install_files "$prefix" system "${deliverables[@]}"
echo "installed: $(for f in "${deliverables[@]}"; do basename "$f"; done | tr '\n' ' ')"

echo "== starting $*"
own_display=0
[ -f "$prefix/.machine/display" ] && own_display=1
log=$demo/program.log
if [ "$own_display" = 1 ]; then
  # No screen to look at: take a picture once the program has drawn its windows.
  wm_run "$prefix" --timeout 60 "$@" >"$log" 2>&1 &
  program=$!
  sleep 2.5
  wm_screenshot "$prefix" "$screenshot"
  echo "screenshot: $screenshot"
  # Let a program that ends by itself (hvinutil) finish; the machine's stop ends any other.
  for _ in $(seq 1 100); do
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
