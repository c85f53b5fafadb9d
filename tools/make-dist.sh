#!/usr/bin/env bash
# Lays the product out as it ships: every deliverable stripped, with its debug information
# kept in symbols/<file>.debug and named by the file's .gnu_debuglink section (a debugger
# finds it there, so a crash address can still be resolved), and the help files beside them.
#
#   make-dist.sh OUTPUT-DIR [--help FILE.hlp]... DELIVERABLE...
#
# OUTPUT-DIR is emptied first. A deliverable linked without debug information (the language
# modules) has no symbols file.
set -euo pipefail
out=${1:?output folder}
shift
objcopy=i686-w64-mingw32-objcopy
strip=i686-w64-mingw32-strip
objdump=i686-w64-mingw32-objdump

rm -rf "$out"
mkdir -p "$out/symbols"
while [ $# -gt 0 ]; do
  if [ "$1" = --help ]; then
    cp -f "$2" "$out/"
    shift 2
    continue
  fi
  file=$1
  shift
  name=$(basename "$file")
  if "$objdump" -h "$file" | grep -q '[[:space:]]\.debug_info[[:space:]]'; then
    "$objcopy" --only-keep-debug "$file" "$out/symbols/$name.debug"
    "$strip" --strip-all -o "$out/$name" "$file"
    # The link holds the name and a checksum of the debug file; objcopy reads it from there.
    (cd "$out" && "$objcopy" --add-gnu-debuglink="symbols/$name.debug" "$name")
  else
    "$strip" --strip-all -o "$out/$name" "$file"
  fi
done
