#!/usr/bin/env bash
# Installs one machine description on a throw-away Wine machine and reads it back with
# machine_probe.exe: the Windows version, the Windows and system folders, every file of
# drives/c and every registry key of registry.reg (HKEY_DYN_DATA included, which lives only in
# the running wineserver).
#
#   machine_test.sh DESCRIPTION-DIR PROBE.EXE OUTPUT-DIR
set -euo pipefail

description=${1:?description folder}
probe=${2:?machine_probe.exe}
output=${3:?output folder}

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# shellcheck source=../../tools/wine-machine.sh
source "$repo/tools/wine-machine.sh"
export TUNARA_WINE_QUIET=1

name=$(basename "$description")
work=$output/wine/machine-$name
prefix=$work/machine
mkdir -p "$work"

wm_clean_up_at_exit "$prefix" "$work"

# The checks, from the description itself.
ini=$description/machine.ini
checks=$work/checks.txt
{
  echo "version $(wm_ini_value "$ini" version)"
  echo "windows $(wm_ini_value "$ini" windows)"
  echo "system $(wm_ini_value "$ini" system)"
  for fact in temp current; do
    value=$(wm_ini_value "$ini" "$fact")
    [ -z "$value" ] || echo "$fact $value"
  done
  if [ -d "$description/drives/c" ]; then
    (cd "$description/drives/c" && find . -type f | sed 's|^\./||' | sort) |
      while IFS= read -r file; do printf 'file C:\\%s\n' "${file//\//\\}"; done
  fi
  if [ -f "$description/registry.reg" ]; then
    # Keys that the file creates and does not delete again ("[-...]"); values are not listed.
    tr -d '\r' <"$description/registry.reg" | awk '
      /^\[-.*\]$/ { deleted[++d] = toupper(substr($0, 3, length($0) - 3)); next }
      /^\[.*\]$/ { keys[++k] = substr($0, 2, length($0) - 2) }
      END {
        for (i = 1; i <= k; i++) {
          up = toupper(keys[i]); gone = 0
          for (j = 1; j <= d; j++)
            if (up == deleted[j] || index(up, deleted[j] "\\") == 1) gone = 1
          if (!gone) print "key " keys[i]
        }
      }'
  fi
} >"$checks"
echo "$(wc -l <"$checks") checks for $name"

wm_create "$prefix" --no-xvfb
wm_install_description "$prefix" "$description"
wm_install_files "$prefix" windows "$probe"
rc=0
wm_run "$prefix" --timeout 60 'C:\windows\'"$(basename "$probe")" "$(wm_windows_name "$checks")" \
  >"$work/probe.log" 2>&1 || rc=$?
grep -v '^ok:' "$work/probe.log" || true
echo "$(grep -c '^ok:' "$work/probe.log") checks passed"
exit "$rc"
