#!/usr/bin/env bash
# hvinf.dll's driver exports and hvinfnt.dll on a throw-away Wine machine.
#
#   infdriver_test.sh win98|nt HVINF.DLL HVINFNT.DLL DRIVER.EXE SAMPLE.DRV OUTPUT-DIR
#
#   win98  the win98-maestro2e description (the simulated Maestro-2E at 00:0A.0) and a sample
#          MEDIA driver in C:\SAMPLE (SAMPLE.DRV, which carries a version block, and a plain
#          virtual device file): uninstall, status, install, status
#   nt     the nt4-maestro2e description in NT mode: hvinfnt's access change, the NT
#          registration of the description's INF, status
#
# The checks are made by the driver program (setup_driver.cpp), which reads the files and the
# registry back from the machine; this script prepares the machine and cleans up. The
# driver's output goes to OUTPUT-DIR; the machine is removed at the end
# (TUNARA_KEEP_WINE_PREFIX=1 keeps it for a look).
set -euo pipefail

case_name=${1:?case}
hvinf=${2:?hvinf.dll}
hvinfnt=${3:?hvinfnt.dll}
driver=${4:?driver.exe}
sample_drv=${5:?sample driver}
output=${6:?output folder}

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
# shellcheck source=../../../tools/wine-machine.sh
source "$repo/tools/wine-machine.sh"
export TUNARA_WINE_QUIET=1

work=$output/wine/infdriver-$case_name
prefix=$work/machine
mkdir -p "$work"
rm -f "$work"/*.log

wm_clean_up_at_exit "$prefix" "$work"

# CRLF text, as INF files are written.
crlf() { sed 's/$/\r/'; }

driver_name='C:\windows\'$(basename "$driver")
log=$work/driver.log
rc=0
case "$case_name" in
  win98)
    wm_create "$prefix" --no-xvfb
    wm_install_description "$prefix" "$repo/tests/machines/win98-maestro2e"
    wm_install_files "$prefix" windows "$hvinf" "$hvinfnt" "$driver"
    sample=$prefix/drive_c/SAMPLE
    mkdir -p "$sample"
    crlf >"$sample/SAMPLE.INF" <<'INF'
; A sample driver for the Tunara card, as a setup program installs it.
[Version]
Signature="$CHICAGO$"
Class=MEDIA
ClassGUID={4d36e96c-e325-11ce-bfc1-08002be10318}
Provider=%Maker%

[DestinationDirs]
DefaultDestDir=11

[Manufacturer]
%Maker%=Maker

[Maker]
%Sample.DeviceDesc%=Sample.Install, PCI\VEN_125D&DEV_1978

[Sample.Install]
CopyFiles=Sample.Files
AddReg=Sample.AddReg

[Sample.Files]
tnrsampl.drv
tnrsampl.vxd

[Sample.AddReg]
HKR,,Driver,,tnrsampl.vxd

[Strings]
Maker="Helvane"
Sample.DeviceDesc="Tunara Sample Driver"
INF
    cp "$sample_drv" "$sample/tnrsampl.drv"
    printf 'sample virtual device\r\n' >"$sample/tnrsampl.vxd"
    # The class key's DriverDate is the INF's date in UTC: 6-5-1998. Whole seconds for the
    # files too: a copy keeps its source's time only as finely as the file system under the
    # machine stores it, which may be coarser than Windows' 100 ns.
    touch -d '1998-06-05 12:00:00 UTC' "$sample/SAMPLE.INF" "$sample"/tnrsampl.*
    # Two pictures of the registry take a while on a slow machine.
    wm_run "$prefix" --timeout 120 "$driver_name" win98 'C:\SAMPLE\SAMPLE.INF' \
      Sample.Install >"$log" 2>&1 || rc=$?
    ;;
  nt)
    wm_create "$prefix" --no-xvfb --version nt40
    wm_install_description "$prefix" "$repo/tests/machines/nt4-maestro2e"
    wm_install_files "$prefix" windows "$hvinf" "$hvinfnt" "$driver"
    wm_run "$prefix" --timeout 120 "$driver_name" nt 'C:\WINNT\INF\CNPROWT.INF' \
      >"$log" 2>&1 || rc=$?
    ;;
  *)
    echo "unknown case $case_name" >&2
    exit 2
    ;;
esac
cat "$log"
echo "$(grep -c '^ok:' "$log" || true) checks passed, $(grep -c '^FAIL:' "$log" || true) failed"
exit "$rc"
