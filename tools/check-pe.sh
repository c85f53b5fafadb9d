#!/usr/bin/env bash
# Checks that a deliverable can load on Windows 95/98: i386, PE subsystem version 4.0,
# imports only from system DLLs of that era and none of the functions they lack.
# Usage: check-pe.sh <file.exe|file.dll> [--def exports.def] [expected export ...]
set -euo pipefail
file=$1; shift
dump=$(i686-w64-mingw32-objdump -p "$file")
fail() { echo "$file: $*" >&2; exit 1; }

grep -q 'file format pei-i386' <<<"$dump" || fail "not a 32-bit i386 PE file"
grep -qE '^MajorSubsystemVersion[[:space:]]+4$' <<<"$dump" || fail "subsystem major version is not 4"
grep -qE '^MinorSubsystemVersion[[:space:]]+0$' <<<"$dump" || fail "subsystem minor version is not 0"

allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|winmm|version|lz32|msvcrt)\.dll$'
while read -r dll; do
  lower=$(tr '[:upper:]' '[:lower:]' <<<"$dll")
  [[ $lower =~ $allowed ]] || fail "imports from $dll, which Windows 98 does not ship"
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")

# Functions that arrived with Windows 2000 or later.
newer='GetFileSizeEx|SetFilePointerEx|GetModuleHandleEx[AW]|FlsAlloc|FlsGetValue|FlsSetValue|InitOnceExecuteOnce|GetTickCount64|AttachConsole|CreateEventEx[AW]|GetLongPathNameW|SetDllDirectory[AW]|AddVectoredExceptionHandler|InitializeConditionVariable|AcquireSRWLock|CompareStringEx|LCMapStringEx|GetLocaleInfoEx'
imports=$(sed -n '/^[[:space:]]*DLL Name:/,/^$/p' <<<"$dump" | awk 'NF>=3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ {print $3}')
if bad=$(grep -xE "$newer" <<<"$imports"); then
  fail "imports functions Windows 98 lacks: $(tr '\n' ' ' <<<"$bad")"
fi
# ANSI only: no wide-character Win32 functions (the CRT's own W helpers aside).
wide=$(grep -E '^[A-Z][A-Za-z0-9]*[a-z0-9]W$' <<<"$imports" | grep -vxE 'MultiByteToWideChar|WideCharToMultiByte' || true)
[ -z "$wide" ] || fail "imports wide-character functions: $(tr '\n' ' ' <<<"$wide")"

expected=()
while [ $# -gt 0 ]; do
  if [ "$1" = --def ]; then
    # Every name after EXPORTS, without ordinals or decorations.
    mapfile -t fromdef < <(sed -n '/^EXPORTS/,$p' "$2" | sed '1d; s/;.*//; s/[[:space:]@=].*//; /^$/d')
    expected+=("${fromdef[@]}")
    shift 2
  else
    expected+=("$1"); shift
  fi
done
for name in "${expected[@]}"; do
  sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | grep -qE "^[[:space:]]*\[[[:space:]]*[0-9]+\][[:space:]]+$name$" \
    || fail "does not export $name under its undecorated name"
done
# Pentium MMX and K6-2 lack cmov; report what the precompiled runtime still brings in.
cmov=$(i686-w64-mingw32-objdump -d "$file" | grep -cE '[[:space:]]cmov[a-z]+[[:space:]]' || true)
echo "$file: ok (cmov instructions: $cmov)"
