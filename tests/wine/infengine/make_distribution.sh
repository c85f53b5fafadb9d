#!/usr/bin/env bash
# Builds the distribution cabinet of the hvinf Wine test with gcab:
#   OUT/members/   tnrcab.dll (which only the cabinet holds) and a companion
#   OUT/TNRDIST.CAB  both, MSZIP-compressed
set -euo pipefail
out=${1:?output folder}
rm -rf "$out"
mkdir -p "$out/members"
cd "$out/members"
seq 1 4000 | awk '{ printf "tnrcab block %d\r\n", $1 }' >tnrcab.dll
printf 'companion\r\n' >tnrother.dll
gcab --create --nopath --zip ../TNRDIST.CAB tnrother.dll tnrcab.dll
