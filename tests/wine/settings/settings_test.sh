#!/usr/bin/env bash
# The settings object end to end on a throw-away Wine machine: settings_probe.exe constructs
# it on the installed machine description and prints every field; each field that the
# description's [facts] determine must read what the host tests expect from the same facts.
#
#   settings_test.sh DESCRIPTION-DIR PROBE.EXE OUTPUT-DIR
set -euo pipefail

description=${1:?description folder}
probe=${2:?settings_probe.exe}
output=${3:?output folder}

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
# shellcheck source=../../../tools/wine-machine.sh
source "$repo/tools/wine-machine.sh"
export TUNARA_WINE_QUIET=1

name=$(basename "$description")
work=$output/wine/settings-$name
prefix=$work/machine
mkdir -p "$work"
rm -f "$work"/*.log "$work"/*.txt

wm_clean_up_at_exit "$prefix" "$work"

# ---- What the description says the object must read ---------------------------------
ini=$description/machine.ini
# A value of the [facts] section (wm_ini_value reads [machine] only).
fact() {
  tr -d '\r' <"$ini" | awk -v key="$1" '
    /^[ \t]*[;#]/ { next }
    /^[ \t]*\[/ { in_facts = ($0 ~ /^[ \t]*\[facts\][ \t]*$/); next }
    in_facts && index($0, "=") {
      k = substr($0, 1, index($0, "=") - 1)
      if (k == key) { print substr($0, index($0, "=") + 1); exit }
    }'
}
flag() { case "$1" in 1|on) echo 1 ;; *) echo 0 ;; esac; }

[ "$(fact installed)" = 1 ] || { echo "$name: the card's driver is not installed there" >&2; exit 2; }
pci=$(fact pci)
IFS=':.' read -r bus device function <<<"$pci"
location=$(printf 'BUS_%02X&DEV_%02X&FUNC_%02X' "0x$bus" "0x$device" "0x$function")
tray=0
if tr -d '\r' <"$description/registry.reg" | grep -q '^"Cantora SysTray"='; then tray=1; fi

expected=$work/expected.txt
{
  echo "isMaestro2E=$([ "$(fact chip)" = maestro2e ] && echo 1 || echo 0)"
  echo "joystickValueName=$([ "$(fact chip)" = maestro2e ] && echo JoystickSupport || echo JoyDisable)"
  echo "pciLocation=$location"
  echo "pciKey=$(fact pcikey)"
  echo "waveKey=$(fact wavekey)"
  echo "configKey=$(fact configkey)"
  echo "driverKeysFound=1"
  echo "soundLibSize=$(fact soundlibsize)"
  echo "hwAcceleration=$(flag "$(fact hwacceleration)")"
  echo "micMute=$(flag "$(fact micmute)")"
  echo "spdif=$(flag "$(fact spdif)")"
  echo "enableSpdif=$(flag "$(fact enablespdif)")"
  echo "joystickDisabled=$([ "$(fact joystick)" = off ] && echo 1 || echo 0)"
  echo "gameSupport=$(flag "$(fact gamesupport)")"
  echo "cardPresent=$([ -n "$(fact cardnodes)" ] && echo 1 || echo 0)"
  echo "trayAutoStart=$tray"
  echo "micBoost=$(flag "$(fact micboost)")"
  echo "speakerConfig=$(fact speakerconfig)"
  echo "speakersOutput=$([ "$(fact speakerconfig)" = 4 ] && echo 1 || echo 0)"
  echo "ownerWindow=1"
  echo "directSound=0"
  echo "infNeedsUpdate=0"
  echo "activeWavetableSize=0"
} >"$expected"

# ---- The Wine machine ------------------------------------------------------------------
# The owner window needs a display.
wm_create "$prefix" --xvfb
wm_install_description "$prefix" "$description"
wm_install_files "$prefix" windows "$probe"
rc=0
wm_run "$prefix" --timeout 120 'C:\windows\'"$(basename "$probe")" \
  >"$work/probe.log" 2>"$work/probe-stderr.log" || rc=$?
tr -d '\r' <"$work/probe.log" >"$work/probe.txt"
cat "$work/probe.txt"
[ "$rc" = 0 ] || { echo "FAIL: settings_probe ended with $rc"; cat "$work/probe-stderr.log"; exit 1; }

# The fields once the object has its owner window (the last section the probe printed).
awk '/^\[owned\]$/ { owned = 1; next } owned' "$work/probe.txt" >"$work/owned.txt"
[ -s "$work/owned.txt" ] || { echo "FAIL: the probe printed no fields"; exit 1; }

failures=0
checked=0
while IFS= read -r line; do
  key=${line%%=*}
  want=${line#*=}
  got=$(grep -m1 "^$key=" "$work/owned.txt" | cut -d= -f2- || true)
  checked=$((checked + 1))
  if [ "$got" != "$want" ]; then
    echo "FAIL: $key is '$got', the description says '$want'"
    failures=$((failures + 1))
  fi
done <"$expected"
echo "$name: $((checked - failures)) of $checked fields as described"
[ "$failures" = 0 ]
