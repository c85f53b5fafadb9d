#!/usr/bin/env bash
# The Wine probe and the skipping of Wine tests, checked on any machine (a host test).
#
#   probe_test.sh WORK-DIR
#
# Stand-in loaders play the three kinds of machine: one whose kernel refuses 32-bit programs
# (the loader's exec fails with "Exec format error", exit code 126), one that runs Wine, and
# TUNARA_WINE=skip. A small CTest project with one Wine case (a command that fails) then shows
# what CTest makes of each: skipped where Wine cannot run, failed where it can.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=${1:?work folder}
script=$repo/tools/wine-machine.sh
rm -rf "$work"
mkdir -p "$work/bin"
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# What a shell prints when the kernel refuses an i386 executable.
cat >"$work/bin/refused" <<'STANDIN'
#!/bin/sh
echo "/usr/bin/wine: 10: exec: /usr/lib/wine/wine: Exec format error" >&2
exit 126
STANDIN
cat >"$work/bin/runs" <<'STANDIN'
#!/bin/sh
echo "wine-8.0 (Debian 8.0~repack-4)"
STANDIN
cat >"$work/bin/broken" <<'STANDIN'
#!/bin/sh
echo "error while loading shared libraries: libwine.so.1" >&2
exit 127
STANDIN
chmod +x "$work/bin"/*

# probe EXPECTED-STATUS EXPECTED-WORDS ENVIRONMENT...
probe() {
  local want=$1 words=$2 out rc=0
  shift 2
  out=$(env "$@" bash "$script" probe 2>&1) || rc=$?
  [ "$rc" = "$want" ] || fail "probe with $* ended with $rc, not $want: $out"
  case "$out" in *"$words"*) ;; *) fail "probe with $* said '$out', not '$words'" ;; esac
  [ "$(printf '%s\n' "$out" | wc -l)" = 1 ] || fail "probe with $* said more than one line: $out"
}
probe 1 "cannot run 32-bit programs" TUNARA_WINE_LOADER="$work/bin/refused"
probe 0 "wine-8.0" TUNARA_WINE_LOADER="$work/bin/runs"
probe 1 "TUNARA_WINE=skip" TUNARA_WINE=skip TUNARA_WINE_LOADER="$work/bin/runs"
probe 2 "fails (exit code 127)" TUNARA_WINE_LOADER="$work/bin/broken"
probe 2 "not installed" TUNARA_WINE_LOADER="$work/bin/none"

# A test's own 77 must not pass for a skip.
rc=0
TUNARA_WINE_LOADER="$work/bin/runs" bash "$script" wine-test sh -c 'exit 77' >/dev/null 2>&1 || rc=$?
[ "$rc" = 1 ] || fail "a test's own exit code 77 gave $rc, not 1"

# One Wine case in a CTest project of its own, declared as the product's Wine tests are.
project=$work/project
mkdir -p "$project"
cat >"$project/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.20)
project(wine_probe_check NONE)
enable_testing()
include($repo/cmake/wine_tests.cmake)
tunara_add_wine_test(wine_case COMMAND sh -c "touch '$work/ran' && exit 3")
CMAKE
cmake -S "$project" -B "$project/build" >/dev/null

# ctest_case ENVIRONMENT... : runs the case, leaves its output in $out and status in $rc.
ctest_case() {
  rc=0
  rm -f "$work/ran"
  out=$(cd "$project/build" && env "$@" ctest --output-on-failure -V 2>&1) || rc=$?
}

ctest_case TUNARA_WINE=skip
[ "$rc" = 0 ] || fail "a skipped case failed the CTest run ($rc)"
grep -q 'wine_case .*Skipped' <<<"$out" || fail "TUNARA_WINE=skip: the case is not listed as skipped"
grep -q 'Passed' <<<"$out" && fail "TUNARA_WINE=skip: the case counted as passed"
grep -q 'skipped: Wine is switched off for this run (TUNARA_WINE=skip)' <<<"$out" ||
  fail "TUNARA_WINE=skip: the reason is not in the case's output"
[ ! -e "$work/ran" ] || fail "TUNARA_WINE=skip: the case ran"

ctest_case TUNARA_WINE_LOADER="$work/bin/refused"
grep -q 'wine_case .*Skipped' <<<"$out" || fail "refusing kernel: the case is not listed as skipped"
grep -q 'cannot run 32-bit programs' <<<"$out" || fail "refusing kernel: no reason given"
[ ! -e "$work/ran" ] || fail "refusing kernel: the case ran"

ctest_case TUNARA_WINE_LOADER="$work/bin/runs"
[ "$rc" != 0 ] || fail "where Wine runs, the failing case did not fail the run"
grep -q 'wine_case .*Failed' <<<"$out" || fail "where Wine runs, the failing case is not listed as failed"
[ -e "$work/ran" ] || fail "where Wine runs, the case did not run"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "probe and skipping: ok"
