#!/usr/bin/env bash
# Runs query_inf.exe on a throw-away Wine machine over the INF corpus and compares its
# answers with the expected ones.
#
#   run_inf_differential.sh [--portable | --update] QUERY_INF.EXE TESTS-INF-DIR OUTPUT-DIR
#
# Default: the system's SetupAPI answers; each INF must give <name>.txt, the answers
# recorded from it.
# --portable: our own reader as built for Windows answers; it must give <name>.ours.txt where
#             that exists (answers we chose, written by hand, where our reader differs from
#             Wine on purpose), else <name>.txt.
# --update:   writes the system's answers into <name>.txt and compares nothing (the
#             <name>.ours.txt files are never written from a run).
#
# The answers and the machine's logs stay in OUTPUT-DIR/wine/inf-<mode>/; the machine itself
# is removed at the end (TUNARA_KEEP_WINE_PREFIX=1 keeps it).
set -euo pipefail

mode=setupapi
case "${1:-}" in
  --portable) mode=portable; shift ;;
  --update) mode=update; shift ;;
esac
query=$(realpath -- "${1:?query_inf.exe}")
infdir=$(cd "${2:?tests/inf folder}" && pwd)
output=${3:?output folder}

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
# shellcheck source=../../../tools/wine-machine.sh
source "$repo/tools/wine-machine.sh"
export TUNARA_WINE_QUIET=1

work=$output/wine/inf-$mode
prefix=$work/machine
answers=$work/answers
mkdir -p "$work"
rm -rf "$answers"
mkdir -p "$answers"

finish() {
  local rc=$?
  if [ "${TUNARA_KEEP_WINE_PREFIX:-0}" = 1 ]; then
    wm_stop "$prefix" || true
  else
    wm_destroy "$prefix" || true
  fi
  exit "$rc"
}
trap finish EXIT
trap 'exit 130' INT TERM

wm_create "$prefix" --no-xvfb

args=()
[ "$mode" = portable ] && args+=(--portable)
corpus=("$infdir"/corpus/*.inf)
windows_corpus=()
for inf in "${corpus[@]}"; do windows_corpus+=("$(wm_windows_name "$inf")"); done
wm_run "$prefix" --timeout 300 "$query" "${args[@]}" --out "$(wm_windows_name "$answers")" \
  "${windows_corpus[@]}" >"$work/query.log" 2>&1 || {
  echo "query_inf.exe failed:"; cat "$work/query.log"; exit 1; }

failures=0
for inf in "${corpus[@]}"; do
  name=$(basename "$inf" .inf)
  expected="$infdir/expected/$name.txt"
  if [ "$mode" = portable ] && [ -f "$infdir/expected/$name.ours.txt" ]; then
    expected="$infdir/expected/$name.ours.txt"
  fi
  if [ ! -f "$answers/$name.txt" ]; then
    echo "no answers for $name"; failures=$((failures + 1)); continue
  fi
  if [ "$mode" = update ]; then
    cp "$answers/$name.txt" "$expected"
  elif ! cmp -s "$expected" "$answers/$name.txt"; then
    echo "== $name: answers differ from $(basename "$expected")"
    diff "$expected" "$answers/$name.txt" | head -20 || true
    failures=$((failures + 1))
  fi
done
if [ "$mode" = update ]; then
  echo "wrote the answers for ${#corpus[@]} INF files into $infdir/expected"
  exit 0
fi
echo "${#corpus[@]} INF files, $failures with different answers ($mode)"
[ "$failures" = 0 ]
