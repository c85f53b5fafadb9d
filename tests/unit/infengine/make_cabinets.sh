#!/usr/bin/env bash
# Builds the cabinet fixtures of the engine's tests with gcab:
#   OUT/members/   the member files (the tests compare extracted files with them)
#   OUT/mszip.cab  the members MSZIP-compressed, in one folder
#   OUT/stored.cab the members uncompressed
set -euo pipefail
out=${1:?output folder}
rm -rf "$out"
mkdir -p "$out/members"
cd "$out/members"
# A member over several 32 KB data blocks, one small one and one of a single block.
seq 1 12000 | awk '{ printf "line %d of the sample driver, checksum %d\r\n", $1, ($1 * 7919) % 1000 }' >Sample.DLL
printf 'VxD stand-in\r\n' >other.sys
seq 1 300 | awk '{ printf "%d ", $1 * $1 }' >readme.txt
gcab --create --nopath --zip ../mszip.cab Sample.DLL other.sys readme.txt
gcab --create --nopath ../stored.cab Sample.DLL other.sys readme.txt
