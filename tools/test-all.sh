#!/usr/bin/env bash
# Builds every flavour and runs every test: host unit tests, the same tests and the fuzz
# corpus replays once more under AddressSanitizer and UBSan (host-asan), the checks of the
# Windows deliverables, and the Wine end-to-end tests. This is the README's test command and
# what CI runs.
#
# On a machine that cannot run Wine's 32-bit programs (tools/wine-machine.sh probe), or with
# TUNARA_WINE=skip, the Wine tests report themselves skipped and everything else still runs;
# the summary at the end says how many were skipped and why. The exit code is 0 only when
# every test that ran passed.
set -euo pipefail
cd "$(dirname "$0")/.."

./tools/install-prerequisites.sh

jobs=$(nproc)
status=0
presets=(host host-asan win32 win32-sim)
for preset in "${presets[@]}"; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

logs=build/test-logs
mkdir -p "$logs"
summary=()
skipped_total=0
for preset in "${presets[@]}"; do
  echo "== $preset: tests"
  # Wine tests share one X server and prefix template per run; keep them one at a time.
  parallel=$jobs
  case "$preset" in host*) ;; *) parallel=1 ;; esac
  log=$logs/$preset.log
  rc=0
  ctest --preset "$preset" -j "$parallel" --timeout 600 2>&1 | tee "$log" || rc=$?
  [ "$rc" = 0 ] || status=1
  # CTest's own lines: "  3/44 Test  #3: name ....   Passed    0.10 sec", "***Skipped", "***Failed".
  total=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#' "$log" || true)
  passed=$(grep -E '^ *[0-9]+/[0-9]+ Test +#' "$log" | grep -cE ' +Passed +[0-9.]+ sec' || true)
  skipped=$(grep -E '^ *[0-9]+/[0-9]+ Test +#' "$log" | grep -c '\*\*\*Skipped' || true)
  failed=$((total - passed - skipped))
  # The skipped ones that are Wine tests (label "wine"): the reason is the machine's.
  wine_skipped=$(ctest --preset "$preset" -N -L '^wine$' | sed -n 's/^ *Test *#[0-9]*: //p' |
    grep -cxFf - <(grep '\*\*\*Skipped' "$log" | sed -E 's/^.*Test +#[0-9]+: ([^ ]+) .*$/\1/') || true)
  skipped_total=$((skipped_total + ${wine_skipped:-0}))
  summary+=("$preset: $total tests, $passed passed, $failed failed, $skipped skipped")
done

echo "== summary"
printf '%s\n' "${summary[@]}"
if [ "$skipped_total" -gt 0 ]; then
  reason=$(./tools/wine-machine.sh probe 2>&1) || true
  echo "skipped: $skipped_total Wine tests, because $reason"
fi
if [ $status -ne 0 ]; then
  echo "== some tests failed" >&2
fi
exit $status
