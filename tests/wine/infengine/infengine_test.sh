#!/usr/bin/env bash
# hvinf.dll end to end on a throw-away Wine machine: a setup-like driver program loads the
# library from the Windows folder and installs a sample driver INF with it; then the files
# are checked here and the registry by the driver.
#
#   infengine_test.sh HVINF.DLL DRIVER.EXE SAMPLE-DIR CABINET OUTPUT-DIR
#
# SAMPLE-DIR holds the driver INF, its files and the layout INF; CABINET is the distribution
# cabinet (made with gcab) that alone holds tnrcab.dll, with the member's own copy next to it
# (CABINET's folder/members/tnrcab.dll) for the comparison.
set -euo pipefail

hvinf=${1:?hvinf.dll}
driver=${2:?driver.exe}
sample=${3:?sample folder}
cabinet=${4:?cabinet}
output=${5:?output folder}

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
# shellcheck source=../../../tools/wine-machine.sh
source "$repo/tools/wine-machine.sh"
export TUNARA_WINE_QUIET=1

work=$output/wine/infengine
prefix=$work/machine
mkdir -p "$work"
rm -f "$work"/*.log

wm_clean_up_at_exit "$prefix" "$work"

wm_create "$prefix" --no-xvfb
wm_install_files "$prefix" windows "$hvinf" "$driver"

drive=$prefix/drive_c
windows=$drive/windows
system=$windows/system32
mkdir -p "$drive/tunara/dist" "$windows/inf" "$windows/temp"
cp "$sample/tunara.inf" "$sample/tnrdrv.drv" "$sample/tnrhelp.src" "$drive/tunara/"
cp "$sample/tnrlayout.inf" "$windows/inf/"
cp "$cabinet" "$drive/tunara/dist/TNRDIST.CAB"
printf 'left from an older driver\r\n' >"$system/tnrold.drv"
rm -f "$system/tnrdrv.drv" "$system/tnrhelp.dll" "$system/tnrcab.dll" "$windows/inf/tunara.inf" \
  "$windows/temp/tnrcab.dll"

rc=0
wm_run "$prefix" --timeout 60 "C:\\windows\\$(basename "$driver")" \
  'C:\tunara\tunara.inf' Tunara.Install 'C:\tunara\dist\' >"$work/driver.log" 2>&1 || rc=$?
cat "$work/driver.log"

failures=0
expect_same() {
  if cmp -s "$1" "$2"; then
    echo "ok: $3"
  else
    echo "FAIL: $3"
    failures=$((failures + 1))
  fi
}
expect_same "$sample/tnrdrv.drv" "$system/tnrdrv.drv" "tnrdrv.drv copied into the system folder"
expect_same "$sample/tnrhelp.src" "$system/tnrhelp.dll" "tnrhelp.src copied as tnrhelp.dll"
expect_same "$sample/tunara.inf" "$windows/inf/tunara.inf" "tunara.inf copied into the Inf folder"
members=$(dirname "$cabinet")/members
expect_same "$members/tnrcab.dll" "$windows/temp/tnrcab.dll" \
  "tnrcab.dll extracted from the cabinet into the Windows temp folder"
expect_same "$members/tnrcab.dll" "$system/tnrcab.dll" "tnrcab.dll copied into the system folder"
if [ -e "$system/tnrold.drv" ]; then
  echo "FAIL: tnrold.drv deleted"
  failures=$((failures + 1))
else
  echo "ok: tnrold.drv deleted"
fi

[ "$rc" = 0 ] || { echo "FAIL: the driver program reported failures (exit code $rc)"; exit 1; }
[ "$failures" = 0 ] || exit 1
echo "all passed"
