#!/usr/bin/env bash
# Checks that a deliverable can load and run on every Windows 95/98 PC with a PCI slot:
# i386, PE subsystem version 4.0, a DLL movable by its relocation records, imports only from
# system DLLs of that era (no C runtime DLL) and none of the functions they lack, no
# instruction newer than the Pentium, no pseudo-relocations left for a runtime we do not link,
# and, if asked, a stripped size budget.
#
# Usage: check-pe.sh <file.exe|file.dll> [--def exports.def] [--imports DLL,DLL,...]
#                    [--max-bytes N] [expected export ...]
#        check-pe.sh --total-max-bytes N <file>...
#
# --imports names the only DLLs (without ".dll", any case) the file may import, or "none".
# Without it, any of the Windows 95 system DLLs below is allowed. --max-bytes is the budget of
# the file once stripped. Run it on the linked file, not the stripped copy: the instruction
# check reads the symbol table. The second form sums the sizes of files as they ship.
set -euo pipefail
objdump=i686-w64-mingw32-objdump
nm=i686-w64-mingw32-nm
strip=i686-w64-mingw32-strip
usage() {
  echo "usage: check-pe.sh FILE [--def F] [--imports DLL,...] [--max-bytes N] [export ...]" >&2
  exit 2
}
number() { [[ $1 =~ ^[0-9]+$ ]] || usage; }

# The product as a whole must fit the distribution's budget.
if [ "${1:-}" = --total-max-bytes ]; then
  [ $# -ge 3 ] || usage
  number "$2"
  budget=$2; shift 2
  total=0
  for f in "$@"; do
    [ -f "$f" ] || { echo "$f: missing (is the product laid out?)" >&2; exit 1; }
    size=$(stat -c %s "$f")
    echo "$(basename "$f"): $size bytes"
    total=$((total + size))
  done
  if [ "$total" -gt "$budget" ]; then
    echo "total: $total bytes in $# files, over the budget of $budget" >&2
    exit 1
  fi
  echo "total: ok ($total bytes in $# files, budget $budget)"
  exit 0
fi

[ $# -ge 1 ] || usage
file=$1; shift
[ -f "$file" ] || { echo "$file: no such file" >&2; exit 1; }
dump=$($objdump -p "$file")
fail() { echo "$file: $*" >&2; exit 1; }
problems=()
problem() { problems+=("$*"); }

# The system DLLs a first-release Windows 95 ships, upper case without ".dll".
win95_dlls='KERNEL32 USER32 GDI32 ADVAPI32 SHELL32 COMCTL32 COMDLG32 VERSION LZ32 WINMM OLE32 OLEAUT32'
allowed=$win95_dlls
max_bytes=
expected=()
while [ $# -gt 0 ]; do
  case $1 in
    --def)
      [ $# -ge 2 ] || usage
      # Every name after EXPORTS, without ordinals or decorations.
      mapfile -t fromdef < <(sed -n '/^EXPORTS/,$p' "$2" | sed '1d; s/;.*//; s/[[:space:]@=].*//; /^$/d')
      expected+=("${fromdef[@]}")
      shift 2 ;;
    --imports)
      [ $# -ge 2 ] || usage
      allowed=$(tr '[:lower:],' '[:upper:] ' <<<"$2" | sed 's/\.DLL\b//g; s/^NONE$//')
      for dll in $allowed; do
        grep -qwF -- "$dll" <<<"$win95_dlls" || fail "--imports: $dll is not a Windows 95 system DLL"
      done
      shift 2 ;;
    --max-bytes)
      [ $# -ge 2 ] || usage
      number "$2"
      max_bytes=$2; shift 2 ;;
    *)
      expected+=("$1"); shift ;;
  esac
done

grep -q 'file format pei-i386' <<<"$dump" || fail "not a 32-bit i386 PE file"
grep -qE '^MajorSubsystemVersion[[:space:]]+4$' <<<"$dump" || problem "subsystem major version is not 4"
grep -qE '^MinorSubsystemVersion[[:space:]]+0$' <<<"$dump" || problem "subsystem minor version is not 0"

# A DLL must be movable: another DLL may hold its preferred base when it is loaded. Windows NT
# moves a DLL without relocation records unless it is marked fixed; the Windows 95/98 loader
# is not documented to, so every DLL carries a relocation table and no fixed mark.
characteristics=$(sed -n 's/^Characteristics[[:space:]]*0x//p' <<<"$dump" | head -n 1)
if (( 16#${characteristics:-0} & 0x2000 )); then
  (( 16#$characteristics & 0x0001 )) && problem "is marked fixed (relocations stripped): no loader may move it"
  relocation_bytes=$(awk '$1 == "Entry" && $2 == 5 { print $4 }' <<<"$dump")
  [ $((16#${relocation_bytes:-0})) -gt 0 ] || problem "has no base relocation records: a loader that needs them cannot move it"
fi

# Imported DLLs. Windows 95 has no C runtime DLL (msvcrt.dll came with Visual C++ 4.2 and
# later Windows versions); the product links its own runtime instead.
dlls=()
while read -r dll; do
  [ -n "$dll" ] || continue
  name=$(tr '[:lower:]' '[:upper:]' <<<"${dll%.*}")
  dlls+=("$name")
  if [[ $name =~ ^(MSVCRT|MSVCR[0-9]+|MSVCP[0-9]*|CRTDLL|UCRTBASE|API-MS-WIN-CRT-.*|VCRUNTIME[0-9]*|LIBGCC.*|LIBSTDC\+\+.*|LIBWINPTHREAD.*)$ ]]; then
    problem "imports the C runtime DLL $dll"
  elif ! grep -qwF -- "$name" <<<"$allowed"; then
    if grep -qwF -- "$name" <<<"$win95_dlls"; then
      problem "imports from $dll, which it is not allowed to use (allowed: ${allowed:-none})"
    else
      problem "imports from $dll, which Windows 95 does not ship"
    fi
  fi
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")

# Functions that arrived with Windows 2000 or later.
newer='GetFileSizeEx|SetFilePointerEx|GetModuleHandleEx[AW]|FlsAlloc|FlsGetValue|FlsSetValue|InitOnceExecuteOnce|GetTickCount64|AttachConsole|CreateEventEx[AW]|GetLongPathNameW|SetDllDirectory[AW]|AddVectoredExceptionHandler|InitializeConditionVariable|AcquireSRWLock|CompareStringEx|LCMapStringEx|GetLocaleInfoEx'
imports=$(sed -n '/^[[:space:]]*DLL Name:/,/^$/p' <<<"$dump" | awk 'NF>=3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ {print $3}')
if bad=$(grep -xE "$newer" <<<"$imports"); then
  problem "imports functions Windows 98 lacks: $(tr '\n' ' ' <<<"$bad")"
fi
# ANSI only: no wide-character Win32 functions (the CRT's own W helpers aside).
wide=$(grep -E '^[A-Z][A-Za-z0-9]*[a-z0-9]W$' <<<"$imports" | grep -vxE 'MultiByteToWideChar|WideCharToMultiByte' || true)
[ -z "$wide" ] || problem "imports wide-character functions: $(tr '\n' ' ' <<<"$wide")"

for name in "${expected[@]}"; do
  sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | grep -qE "^[[:space:]]*\[[[:space:]]*[0-9]+\][[:space:]]+$name$" \
    || problem "does not export $name under its undecorated name"
done

# Pseudo-relocations are patched by the mingw start-up code, which the product does not link:
# an entry left in the list would leave a reference to imported data unrelocated.
symbols=$($nm -n --defined-only "$file" 2>/dev/null || true)
for prefix in __ ___; do
  start=$(awk -v s="${prefix}RUNTIME_PSEUDO_RELOC_LIST__" '$3 == s {print $1}' <<<"$symbols")
  end=$(awk -v s="${prefix}RUNTIME_PSEUDO_RELOC_LIST_END__" '$3 == s {print $1}' <<<"$symbols")
  if [ -n "$start" ] && [ -n "$end" ] && [ "$start" != "$end" ]; then
    problem "$((16#$end - 16#$start)) bytes of runtime pseudo-relocations (${prefix}RUNTIME_PSEUDO_RELOC_LIST__ at $start)"
    break
  fi
done

# Instructions newer than the Pentium (the P6's and later), counted function by function.
#
# The linker places data inside .text: the constructor and destructor lists (a -1, the
# objects' .ctors/.dtors pointers, a 0) at ___CTOR_LIST__/___DTOR_LIST__ and, after them and
# etext, every object's .gcc_except_table. Decoded as code they yield made-up instructions, so
# the executable sections are cut at every symbol into ranges, and a range that starts at one
# of those symbols (the lists, etext, or the section symbol of .ctors, .dtors, .gcc_exc or
# .gcc_except_table) is data: it runs up to the next symbol and is not disassembled.
# Everything else between symbols is code, import thunks included. objdump is run only over
# the runs of code ranges, so data can never shift its decoding either. A section without any
# symbol (a stripped file, or a language module that has only the linker's lists) is decoded
# whole: that can over-report but never misses an instruction.

# mawk has no strtonum: hexadecimal by hand, for the awk programs below.
hexfn='function hex(s,  v, k) {
  s = tolower(s); v = 0
  for (k = 1; k <= length(s); k++) v = v * 16 + index("0123456789abcdef", substr(s, k, 1)) - 1
  return v
}'
read_sections() {
  $objdump -h "$file" | awk '
    $1 ~ /^[0-9]+$/ && NF >= 6 { name = $2; size = $3; vma = $4; next }
    name != "" && /CODE/ { print name, vma, size }
    { name = "" }'
}
regions=$(
  while read -r sec vma size; do
    lo=$((16#$vma)); hi=$((lo + 16#$size))
    [ "$hi" -gt "$lo" ] || continue
    awk -v lo="$lo" -v hi="$hi" -v sec="$sec" "$hexfn"'
      function isdata(n) {
        return n ~ /^_*(CTOR|DTOR)_LIST__$/ || n ~ /^_?etext$/ || n ~ /^\.(ctors?|dtors?)(\.[0-9]+)?$/ ||
               n == ".gcc_except_table" || n == ".gcc_exc"
      }
      {
        a = hex($1)
        if (a < lo || a >= hi) next
        if (n == 0 || addr[n] != a) { addr[++n] = a; name[n] = ""; data[n] = 0 }
        if (isdata($3)) data[n] = 1
        # A section symbol only names a range that has no other name.
        if (name[n] == "" || (name[n] ~ /^\./ && $3 !~ /^\./)) name[n] = $3
      }
      END {
        if (n == 0 || addr[1] > lo) { printf "%d %d 0 (%s)\n", lo, (n ? addr[1] : hi), sec }
        # Code known only by its section symbol (static functions of a library without local
        # symbols) is named by its address.
        for (i = 1; i <= n; i++)
          printf "%d %d %d %s%s\n", addr[i], (i < n ? addr[i + 1] : hi), data[i], name[i],
                 (name[i] ~ /^\./ ? sprintf("@0x%x", addr[i]) : "")
      }' <<<"$symbols"
  done < <(read_sections)
)

# Runs of neighbouring code ranges, decoded with all bytes of each instruction on its line.
disassembly=$(
  awk '$3 == 0 { if (open && $1 == stop) { stop = $2; next }
                 if (open) print start, stop; start = $1; stop = $2; open = 1; next }
       { if (open) print start, stop; open = 0 }
       END { if (open) print start, stop }' <<<"$regions" |
  while read -r from to; do
    $objdump -d --insn-width=16 --start-address="$from" --stop-address="$to" "$file"
  done
)

# Every offending instruction as "function<TAB>mnemonic".
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "$regions" >"$work/regions"
offences=$(awk -F'\t' -v regionfile="$work/regions" "$hexfn"'
  BEGIN {
    while ((getline line < regionfile) > 0) {
      split(line, f, " "); r++; lo[r] = f[1]; hi[r] = f[2]; nm[r] = f[4]
    }
  }
  NF >= 3 && $1 ~ /^ *[0-9a-f]+:$/ {
    at = $1; gsub(/[ :]/, "", at); a = hex(at)
    # objdump prints in address order: the range is this one or a later one.
    if (i < 1) i = 1
    while (i <= r && a >= hi[i]) i++
    if (i > r || a < lo[i]) {
      for (i = 1; i <= r && !(a >= lo[i] && a < hi[i]); i++) {}
      if (i > r) { i = 1; next }
    }
    # Mnemonic past any prefix objdump spells out; the bytes past any prefix byte.
    nw = split($3, w, /[ ,]+/)
    for (k = 1; k <= nw && w[k] ~ /^(rep|repz|repnz|repe|repne|lock|data16|data32|addr16|addr32|cs|ds|es|ss|fs|gs|notrack|bnd)$/; k++) {}
    m = w[k]
    nb = split($2, b, / +/)
    for (k = 1; k <= nb && b[k] ~ /^(66|67|f2|f3|2e|36|3e|26|64|65|f0)$/; k++) {}
    why = ""
    if (b[k] == "0f" && b[k + 1] == "1f") why = m " (0F 1F)"
    else if (m ~ /^(cmov|fcmov)[a-z]+$/) why = m
    else if (m ~ /^f(u)?comip?$/) why = m
    else if (m ~ /^(sysenter|sysexit|syscall|sysret[lq]?|fxsave|fxrstor|rdtscp)$/) why = m
    else if (m ~ /^(emms|femms|ldmxcsr|stmxcsr|[slm]fence|clflush|movnti|maskmovq|prefetch[a-z0-9]*)$/) why = m
    else if (m ~ /^(fisttp[sl]*|popcnt|lzcnt|movbe|crc32[bwl]?)$/) why = m
    else if ($3 ~ /%[xy]?mm[0-9]/) why = m " (MMX/SSE register)"
    if (why != "") print nm[i] "\t" why
  }' <<<"$disassembly")
p6=0
if [ -n "$offences" ]; then
  p6=$(wc -l <<<"$offences")
  problem "$p6 instructions newer than the Pentium:"$'\n'"$(sort <<<"$offences" | uniq -c |
    awk -F'\t' '{ split($1, c, " "); printf "  %s: %s x%d\n", c[2], $2, c[1] }')"
fi

stripped=
if [ -n "$max_bytes" ]; then
  $strip -o "$work/stripped" "$file"
  stripped=$(stat -c %s "$work/stripped")
  [ "$stripped" -le "$max_bytes" ] || problem "stripped size $stripped bytes is over the budget of $max_bytes"
fi

if [ ${#problems[@]} -gt 0 ]; then
  for p in "${problems[@]}"; do echo "$file: $p"; done >&2
  exit 1
fi
summary="P6 instructions: $p6; imports: ${dlls[*]:-none}"
[ -z "$stripped" ] || summary+="; stripped: $stripped bytes of $max_bytes"
echo "$file: ok ($summary)"
