#!/usr/bin/env bash
# hvgenins.dll's uninstall entry points end to end on a throw-away Wine machine (Windows 98
# mode, own Xvfb).
#
#   uninstall_test.sh HVGENINS.DLL HVINF.DLL HVINFNT.DLL DRIVER.EXE SETUP.EXE ENGINE-SAMPLE \
#                     CABINET SAMPLE OUTPUT-DIR
#
# First the engine's setup-like program installs its sample driver (files, registry values);
# the DOS start-up files and an INI file get the driver's lines. Then the uninstall-like
# driver program runs with "-f" and "-c" and calls both entry points; afterwards the driver's
# keys, files and lines, the temporary key and the saved copies must be gone, and the
# uninstall program must have run with its arguments. Last, a missing uninstall program must
# show "Error HV9" with the command text in a box captioned "Error".
set -euo pipefail

hvgenins=${1:?hvgenins.dll}
hvinf=${2:?hvinf.dll}
hvinfnt=${3:?hvinfnt.dll}
driver=${4:?driver.exe}
setup=${5:?setup driver.exe}
engine_sample=${6:?engine sample folder}
cabinet=${7:?cabinet}
sample=${8:?sample folder}
output=${9:?output folder}

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
# shellcheck source=../../../tools/wine-machine.sh
source "$repo/tools/wine-machine.sh"
export TUNARA_WINE_QUIET=1

work=$output/wine/instsupport
prefix=$work/machine
mkdir -p "$work"
rm -f "$work"/*.log

wm_clean_up_at_exit "$prefix" "$work"

wm_create "$prefix" --xvfb
wm_install_files "$prefix" windows "$hvinf" "$setup" "$driver"
drive=$prefix/drive_c
windows=$drive/windows
system=$windows/system32
driver_name='C:\windows\'$(basename "$driver")

# The sample driver, installed as the engine's own test installs it.
mkdir -p "$drive/tunara/dist" "$windows/inf" "$windows/temp"
cp "$engine_sample/tunara.inf" "$engine_sample/tnrdrv.drv" "$engine_sample/tnrhelp.src" "$drive/tunara/"
cp "$engine_sample/tnrlayout.inf" "$windows/inf/"
cp "$cabinet" "$drive/tunara/dist/TNRDIST.CAB"
printf 'left from an older driver\r\n' >"$system/tnrold.drv"
wm_run "$prefix" --timeout 60 "C:\\windows\\$(basename "$setup")" \
  'C:\tunara\tunara.inf' Tunara.Install 'C:\tunara\dist\' >"$work/setup.log" 2>&1 ||
  { cat "$work/setup.log"; echo "FAIL: the sample driver could not be installed"; exit 1; }
# The uninstall brings its own copy of the engine into the Windows folder.
rm -f "$windows/hvinf.dll"

# The product as its setup program leaves it.
product="$drive/Program Files/Tunara"
mkdir -p "$product" "$drive/TnrLib"
cp "$hvgenins" "$hvinf" "$hvinfnt" "$drive/TnrLib/"
cp "$engine_sample/tunara.inf" "$product/tunara.inf"
cp "$sample/untunara.inf" "$product/untunara.inf"
: >"$product/uninst.log"
printf 'DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\nDEVICE=C:\\TUNARA\\TNRDOS.SYS /P:220\r\nFILES=40\r\n' \
  >"$drive/config.sys"
printf '@ECHO OFF\r\nC:\\TUNARA\\TNRINIT.EXE /Q\r\nPATH=C:\\WINDOWS\r\n' >"$drive/autoexec.bat"
printf '[boot]\r\nwave=tnr.drv\r\ndrivers=mmsystem.dll,tnr.drv,midimap.drv\r\nshell=Explorer.exe\r\n' \
  >"$windows/tnr.ini"
rm -f "$drive/uninstall-ran.txt"

import_reg() {
  printf '%s\r\n' "REGEDIT4" "" "$@" >"$drive/product.reg"
  wm_wine_quiet "$prefix" 60 wine regedit /S 'C:\product.reg' || { echo "FAIL: regedit"; exit 1; }
}
uninstall_key='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tunara'
import_reg "[$uninstall_key]" \
  '"InfFile"="C:\\Program Files\\Tunara\\tunara.inf"' \
  '"UninstInfFile"="C:\\Program Files\\Tunara\\untunara.inf"' \
  '"UninstAppPath"="C:\\windows\\'"$(basename "$driver")"'"' \
  '"UninstAppArgs"="record  first second "'

failures=0
expect() {
  if eval "$1"; then echo "ok: $2"; else echo "FAIL: $2"; failures=$((failures + 1)); fi
}

rc=0
wm_run "$prefix" --timeout 90 "$driver_name" launch uninstall \
  'C:\Program Files\Tunara\uninst.log' 'C:\TnrLib\hvgenins.dll' >"$work/uninstall.log" 2>&1 || rc=$?
cat "$work/uninstall.log"
[ "$rc" = 0 ] || { echo "FAIL: the uninstall driver reported failures (exit code $rc)"; failures=$((failures + 1)); }

expect '! grep -q "^box:" "$work/uninstall.log"' "no error box during a complete uninstall"
for file in tnrdrv.drv tnrhelp.dll tnrcab.dll; do
  expect '[ ! -e "$system/'$file'" ]' "$file deleted from the system folder"
done
for file in hvinf.dll hvinfnt.dll tunara.inf untunara.inf; do
  expect '[ ! -e "$windows/'$file'" ]' "the saved copy $file is gone from the Windows folder"
done
expect '[ "$(cat "$drive/config.sys")" = "$(printf "DEVICE=C:\\\\WINDOWS\\\\HIMEM.SYS\r\nFILES=40\r")" ]' \
  "config.sys without the driver's line, the rest kept"
expect '[ "$(cat "$drive/autoexec.bat")" = "$(printf "@ECHO OFF\r\nPATH=C:\\\\WINDOWS\r")" ]' \
  "autoexec.bat without the driver's line"
expect '[ "$(cat "$windows/tnr.ini")" = "$(printf "[boot]\r\ndrivers=mmsystem.dll,midimap.drv\r\nshell=Explorer.exe\r")" ]' \
  "the INI file without the driver's line and field"
expect '[ ! -e "$drive/config.tmp" ] && [ ! -e "$drive/autoexec.tmp" ] && [ ! -e "$windows/tnr.tmp" ]' \
  "no temporary files left"
expect '[ "$(cat "$drive/uninstall-ran.txt" 2>/dev/null | tr -d "\r" | tr "\n" " ")" = "record first second " ]' \
  "the uninstall program ran with its arguments"

# A missing uninstall program: the box is read from the driver's second thread.
import_reg "[-$uninstall_key]" "[$uninstall_key]" \
  '"UninstAppPath"="C:\\missing\\unprog.exe"' '"UninstAppArgs"="a b"' '"Minimum"="1"'
rc=0
wm_run "$prefix" --timeout 90 "$driver_name" launch boxes \
  'C:\Program Files\Tunara\uninst.log' 'C:\TnrLib\hvgenins.dll' >"$work/error.log" 2>&1 || rc=$?
cat "$work/error.log"
[ "$rc" = 0 ] || { echo "FAIL: the error-path driver reported failures (exit code $rc)"; failures=$((failures + 1)); }
expect 'grep -qxF "box: Error|Error HV9\\nC:\\missing\\unprog.exe a b" <(tr -d "\r" <"$work/error.log")' \
  "missing program: box captioned Error with HV9 and the command text"
expect '[ "$(grep -c "^box:" "$work/error.log")" = 1 ]' "exactly one box on the error path"

[ "$failures" = 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all passed"
