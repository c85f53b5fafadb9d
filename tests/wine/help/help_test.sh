#!/usr/bin/env bash
# tunaractl.exe's help, end to end with Wine's own help viewer, on a throw-away Wine machine.
#
#   help_test.sh LANGUAGE TUNARACTL.EXE HELP_DRIVER.EXE HELP-DIR SOURCE-DIR OUTPUT-DIR MODULE.dll...
#
# HELP-DIR is the product as it ships (dist/), whose *.hlp files are installed.
# LANGUAGE is en, de or fr. The machine is win98-maestro2e in the locale of that language
# (English (United States), German (Germany), French (France)), with the program, every
# language module and every help file (HELP-DIR/*.hlp) in its system folder, as the product
# installs them; the program picks its module and its help file by that locale. The driver
# (help_driver.cpp) presses every Help button and asks "What's this?" on one control per page
# and dialog, and checks what the viewer shows against the help source of the language
# (SOURCE-DIR/tnrmx<XX>_.txt). With en, the viewer first shows every topic of tunara.hlp.
# Screenshots of every step go to OUTPUT-DIR/help/<language>-<step>.png.
#
# For locales the system lacks, TUNARA_WINE_LOCALES names compiled ones (tools/wine-machine.sh).
# The machine is removed at the end (TUNARA_KEEP_WINE_PREFIX=1 keeps it).
set -euo pipefail

language=${1:?language}
program=${2:?tunaractl.exe}
driver=${3:?help_driver.exe}
help_dir=${4:?help folder}
source_dir=${5:?help source folder}
output=${6:?output folder}
shift 6
[ $# -gt 0 ] || { echo "no language module given" >&2; exit 2; }

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
# shellcheck source=../../../tools/wine-machine.sh
source "$repo/tools/wine-machine.sh"
export TUNARA_WINE_QUIET=1

case "$language" in
  en) lcid=0409 code=EN module=cnctlen_.dll ;;
  de) lcid=0407 code=DE module=cnctlDE_.dll ;;
  fr) lcid=040c code=FR module=cnctlFR_.dll ;;
  *) echo "unknown language $language" >&2; exit 2 ;;
esac

work=$output/wine/help-$language
prefix=$work/machine
shots=$output/help
mkdir -p "$work" "$shots"
rm -f "$work"/*.log "$shots/$language"-*.png

wm_clean_up_at_exit "$prefix" "$work"

status=0
fail() { echo "FAIL: $*"; status=1; }

wm_create "$prefix" --xvfb
wm_install_description "$prefix" "$repo/tests/machines/win98-maestro2e"
if ! wm_use_locale "$prefix" "$lcid"; then
  echo "FAIL: the machine cannot run programs in locale $lcid (no Unix locale for it)"
  exit 1
fi
wm_install_files "$prefix" windows "$driver" "$source_dir/tnrmx${code}_.txt" "$source_dir/tnrmxEN_.txt"
wm_install_files "$prefix" system "$program" "$@" "$help_dir"/*.hlp
drv='C:\windows\'"$(basename "$driver")"
system='C:\windows\system'

# Wine's relay trace of the one call that matters: the program's error output then holds
# every WinHelpA call with its window, file, command and data.
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Debug]\r\n"RelayInclude"="user32.WinHelpA"\r\n\r\n' \
  >"$prefix/drive_c/relay.reg"
wm_run "$prefix" --timeout 60 regedit /S 'C:\relay.reg' >"$work/regedit.log" 2>&1 ||
  fail "the relay setting could not be imported"

# A screenshot at each step of the driver, which has read what the viewer shows just before.
follow() { wm_follow_shots "$prefix" "$1" "$2" "$shots/$language-" || status=1; }

# The English file without a language code, shown by the viewer alone.
if [ "$language" = en ]; then
  wm_run "$prefix" --timeout 300 "$drv" viewer "$system\\tunara.hlp" 'C:\windows\tnrmxEN_.txt' tunara \
    >"$work/viewer.log" 2>"$work/viewer-stderr.log" &
  driver_pid=$!
  follow "$work/viewer.log" "$driver_pid"
  rc=0; wait "$driver_pid" || rc=$?
  tr -d '\r' <"$work/viewer.log"
  [ "$rc" = 0 ] || fail "help_driver viewer ended with $rc"
fi

# The program with the relay trace of WinHelpA in its error output, which the driver reads
# through Wine's drive Z: (the host's root).
trace=$work/program.log
trace_windows='Z:'${trace//\//\\}
TUNARA_WINEDEBUG=+relay wm_run "$prefix" --timeout 400 tunaractl.exe >"$trace" 2>&1 &
program_pid=$!
wm_run "$prefix" --timeout 400 "$drv" program "$code" "C:\\windows\\tnrmx${code}_.txt" "$module" \
  "$trace_windows" >"$work/driver.log" 2>"$work/driver-stderr.log" &
driver_pid=$!
follow "$work/driver.log" "$driver_pid"
rc=0; wait "$driver_pid" || rc=$?
tr -d '\r' <"$work/driver.log"
[ "$rc" = 0 ] || fail "help_driver program ended with $rc"
rc=0; wait "$program_pid" || rc=$?
[ "$rc" = 0 ] || fail "tunaractl.exe ended with $rc"
exit "$status"
