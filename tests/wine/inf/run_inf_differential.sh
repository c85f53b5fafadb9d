#!/usr/bin/env bash
# Runs query_inf.exe under Wine over the INF corpus and compares its answers with the
# expected ones.
#
#   run_inf_differential.sh [--portable | --update] <query_inf.exe> <tests/inf> <work folder>
#
# Default: the system's SetupAPI answers; each INF must give <name>.wine.txt where that
# exists (the few answers in which Wine differs from Windows 98), else <name>.txt.
# --portable: our own reader as built for Windows answers; it must give <name>.txt.
# --update:   writes the system's answers into the expected folder (<name>.wine.txt where one
#             exists, else <name>.txt) and compares nothing.
#
# Uses $WINEPREFIX when set; otherwise a private prefix in the work folder, whose wineserver
# is ended when the run is over.
set -euo pipefail

mode=setupapi
case "${1:-}" in
  --portable) mode=portable; shift ;;
  --update) mode=update; shift ;;
esac
query=${1:?query_inf.exe}
infdir=$(cd "${2:?tests/inf folder}" && pwd)
work=${3:?work folder}
mkdir -p "$work"
work=$(cd "$work" && pwd)

if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX="$work/wineprefix"
  private_prefix=1
else
  private_prefix=0
fi
export WINEDEBUG=-all
cleanup() {
  if [ "$private_prefix" = 1 ]; then wineserver -k >/dev/null 2>&1 || true; fi
}
trap cleanup EXIT

# Wine shows the host's root as drive Z:.
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

answers="$work/answers"
rm -rf "$answers"
mkdir -p "$answers"
args=()
[ "$mode" = portable ] && args+=(--portable)
corpus=("$infdir"/corpus/*.inf)
wine "$query" "${args[@]}" --out "$(winpath "$answers")" "${corpus[@]}" >"$work/wine.log" 2>&1 || {
  echo "query_inf.exe failed:"; cat "$work/wine.log"; exit 1; }

failures=0
for inf in "${corpus[@]}"; do
  name=$(basename "$inf" .inf)
  expected="$infdir/expected/$name.txt"
  if [ "$mode" != portable ] && [ -f "$infdir/expected/$name.wine.txt" ]; then
    expected="$infdir/expected/$name.wine.txt"
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
