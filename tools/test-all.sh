#!/usr/bin/env bash
# Builds every flavour and runs every test: host unit tests, the checks of the Windows
# deliverables, and the Wine end-to-end tests. This is the README's test command and what
# CI runs.
set -euo pipefail
cd "$(dirname "$0")/.."

./tools/install-prerequisites.sh

jobs=$(nproc)
status=0
for preset in host win32 win32-sim; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

for preset in host win32 win32-sim; do
  echo "== $preset: tests"
  # Wine tests share one X server and prefix template per run; keep them one at a time.
  parallel=$jobs
  [ "$preset" = host ] || parallel=1
  if ! ctest --preset "$preset" -j "$parallel" --timeout 600; then
    status=1
  fi
done

if [ $status -ne 0 ]; then
  echo "== some tests failed" >&2
fi
exit $status
