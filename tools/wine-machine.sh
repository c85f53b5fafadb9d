#!/usr/bin/env bash
# The Wine machine: a fresh Wine prefix that stands in for a Windows 95/98 (or NT 4) PC.
#
#   tools/wine-machine.sh create  PREFIX [--version win98|win98se|win95|win95osr2|nt40]
#                                        [--xvfb | --no-xvfb] [--desktop WxH]
#   tools/wine-machine.sh start   PREFIX [--xvfb | --no-xvfb]
#   tools/wine-machine.sh install-description PREFIX NAME|DIR
#   tools/wine-machine.sh use-locale PREFIX LCID   (the locale of the programs run from now on)
#   tools/wine-machine.sh install-files PREFIX windows|system FILE...
#   tools/wine-machine.sh run     PREFIX [--timeout SECONDS] PROGRAM [ARGUMENT...]
#                                 (PROGRAM: a Windows path, a name Windows finds, a host file)
#   tools/wine-machine.sh screenshot PREFIX FILE.png
#   tools/wine-machine.sh follow-shots PREFIX LOG PID SHOT-PREFIX
#                                 (a screenshot at each "shown: <step>" line of a driver)
#   tools/wine-machine.sh stop    PREFIX
#   tools/wine-machine.sh destroy PREFIX
#   tools/wine-machine.sh probe          (can this machine run Wine's 32-bit programs?)
#   tools/wine-machine.sh wine-test [--limit SECONDS] COMMAND [ARGUMENT...]
#                                        (runs a test that needs Wine, or reports it skipped)
#
# TUNARA_WINE_TIME_SCALE (a whole number, default 1) stretches every time limit here, in the
# tests' scripts and in their Windows drivers by that factor, for a slow machine such as the
# emulated PC of tools/wine-vm.sh.
#
# PREFIX is a directory under the repository's build/ folder; `create` wipes it. The script
# can also be sourced: every command is then the function wm_<command> (dashes become
# underscores), e.g. `wm_create "$prefix" --xvfb`.
#
# How the machine is kept:
# - One persistent wineserver per prefix, started by `create`/`start` and ended by `stop`
#   through its process id (SIGINT: the server ends every process of the prefix, saves the
#   registry and exits). HKEY_DYN_DATA exists only in the running server's memory, so a
#   machine description is installed while that server runs, and is gone after `stop`.
# - Optionally an own Xvfb on a free display (the default when DISPLAY is not set), ended by
#   process id as well. Windows run in an 800x600 Wine desktop window by default, so the
#   screen has a fixed size and needs no window manager.
# - State (process ids, display, logs) lives in PREFIX/.machine/.
# - Prefixes are copied from a template (wineboot run once per Wine version) kept in
#   build/wine-templates/; creating the template is serialised with flock, so tests may run
#   one after another or side by side.
# - The Windows folder is Wine's C:\windows; C:\windows\system is made a link to Wine's system
#   folder (C:\windows\system32), so C:\WINDOWS\SYSTEM paths of a Windows 98 machine reach
#   the files that GetSystemDirectory names.
#
# A machine description (tests/machines/<name>/, see its README.md) is installed as:
# - machine.ini [machine]: `version` sets Wine's Windows version (Wine knows one build per
#   release: win98se runs as win98, win95osr2 as win95); `windows` and `system` are mapped
#   onto Wine's folders, with a link where the description names them differently (C:\WINNT);
#   `temp` becomes TEMP/TMP of the user's environment; `current` is the folder programs start
#   in; `locale` picks a Unix locale for Wine where one is installed (0409 is Wine's default).
# - drives/c/...: merged into drive C:, names matched without regard to case.
# - registry.reg: imported with regedit into the running server (HKEY_DYN_DATA included).
#   HKLM `Run` values are carried out by Wine at the start of a session, like a log-on: not in
#   the session the description is installed in, but after a `stop` and `start`.
#
# Wine facts worth knowing: in NT modes a port access kills the process; Wine reports
# comctl32 5.81 whatever comctl32.dll is installed; ExitWindowsEx starts
# `wineboot --end-session` without waiting for it, and wineboot then sends
# WM_QUERYENDSESSION to the top-level windows of each process in process-id order.

if [ -n "${BASH_SOURCE[0]:-}" ] && [ "${BASH_SOURCE[0]}" != "$0" ]; then
  wm_sourced=1
else
  wm_sourced=0
  set -euo pipefail
fi

wm_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
wm_templates=${TUNARA_WINE_TEMPLATES:-$wm_repo/build/wine-templates}
# Bump when the recipe of the template changes, so old templates are not reused.
wm_template_recipe=2
wm_default_desktop=800x600
wm_time_scale=${TUNARA_WINE_TIME_SCALE:-1}
case "$wm_time_scale" in '' | *[!0-9]* | 0) wm_time_scale=1 ;; esac

# A time limit (seconds, or a count of polls) stretched for a slow machine.
wm_scaled() { echo $(($1 * wm_time_scale)); }

wm_die() {
  echo "wine-machine: $*" >&2
  return 1
}

wm_log() {
  [ -n "${TUNARA_WINE_QUIET:-}" ] || echo "wine-machine: $*" >&2
}

# ---------------------------------------------------------------------------------------
# Paths and environment

# Absolute path of a prefix; refuses anything outside the repository's build/ folder, since
# `create` and `destroy` wipe the directory.
wm_prefix_path() {
  local given=$1 abs
  [ -n "$given" ] || { wm_die "no prefix given"; return 1; }
  abs=$(realpath -m -- "$given")
  case "$abs/" in
    "$wm_repo/build/"?*) ;;
    *) wm_die "prefix $abs is not under $wm_repo/build/"; return 1 ;;
  esac
  printf '%s\n' "$abs"
}

wm_state() { printf '%s/.machine\n' "$1"; }

# The prefix's Wine environment as VAR=value words in wm_env_words (display from the state
# when the machine has its own). Wine's debugger is switched off: a program that crashes ends
# at once with its exception code, where the debugger would wait and hang the test.
wm_env_words=()
wm_set_env_words() {
  local prefix=$1 state display
  state=$(wm_state "$prefix")
  display=${DISPLAY:-}
  [ -f "$state/display" ] && display=$(cat "$state/display")
  wm_env_words=(WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG="${TUNARA_WINEDEBUG:--all}"
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe,winedbg.exe=d" DISPLAY="$display")
  if [ -f "$state/lc_all" ]; then wm_env_words+=(LC_ALL="$(cat "$state/lc_all")"); fi
  if [ -f "$state/locpath" ]; then wm_env_words+=(LOCPATH="$(cat "$state/locpath")"); fi
}

# Runs a command in the prefix's Wine environment.
wm_env() {
  local prefix=$1
  shift
  wm_set_env_words "$prefix"
  env "${wm_env_words[@]}" "$@"
}

# True when the process id is alive (zombies count as ended) and its command line contains
# the expected word, so a recycled process id is never signalled.
wm_pid_is() {
  local pid=$1 word=$2 stat
  [ -n "$pid" ] && [ -r "/proc/$pid/stat" ] || return 1
  stat=$(cut -d' ' -f3 "/proc/$pid/stat" 2>/dev/null) || return 1
  [ "$stat" != Z ] || return 1
  tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q -- "$word"
}

# Ends a recorded process: the polite signal, a wait, then SIGKILL.
wm_end_pid() {
  local pidfile=$1 word=$2 signal=$3 pid i
  [ -f "$pidfile" ] || return 0
  pid=$(cat "$pidfile")
  if wm_pid_is "$pid" "$word"; then
    kill -s "$signal" "$pid" 2>/dev/null || true
    for i in $(seq 1 "$(wm_scaled 100)"); do
      wm_pid_is "$pid" "$word" || break
      sleep 0.1
    done
    if wm_pid_is "$pid" "$word"; then
      wm_log "process $pid ($word) did not end on $signal, killing it"
      kill -s KILL "$pid" 2>/dev/null || true
    fi
  fi
  # Reap it when it is a child of this shell (the functions were sourced).
  wait "$pid" 2>/dev/null || true
  rm -f "$pidfile"
}

# The wineserver's socket folder for a prefix: server-<device>-<inode> in the per-user run
# folder or, on Debian without one, in the temporary folder named by PREFIX/wineserver.
wm_server_dir() {
  local prefix=$1 dev ino root
  dev=$(printf '%x' "$(stat -c %d "$prefix")")
  ino=$(printf '%x' "$(stat -c %i "$prefix")")
  if [ -d "/run/user/$(id -u)" ]; then
    root=/run/user/$(id -u)/wine
  elif [ -f "$prefix/wineserver" ]; then
    root=${TMPDIR:-/tmp}/$(cat "$prefix/wineserver")
  else
    root=/tmp/.wine-$(id -u)
  fi
  printf '%s/server-%s-%s\n' "$root" "$dev" "$ino"
}

# ---------------------------------------------------------------------------------------
# Server and display

wm_start_xvfb() {
  local prefix=$1 state size fdfile pid i
  state=$(wm_state "$prefix")
  size=$(cat "$state/desktop" 2>/dev/null || echo "$wm_default_desktop")
  fdfile=$state/xvfb.displayfd
  rm -f "$fdfile"
  # -displayfd lets Xvfb pick a free display itself and tell us which.
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset \
    3>"$fdfile" </dev/null >"$state/xvfb.log" 2>&1 &
  pid=$!
  echo "$pid" >"$state/xvfb.pid"
  for i in $(seq 1 "$(wm_scaled 100)"); do
    [ -s "$fdfile" ] && break
    wm_pid_is "$pid" Xvfb || break
    sleep 0.1
  done
  if [ ! -s "$fdfile" ]; then
    wm_end_pid "$state/xvfb.pid" Xvfb TERM
    wm_die "Xvfb did not start (see $state/xvfb.log)"
    return 1
  fi
  echo ":$(tr -dc '0-9' <"$fdfile")" >"$state/display"
  wm_log "Xvfb $pid on display $(cat "$state/display")"
}

wm_start_server() {
  local prefix=$1 state pid i socket
  state=$(wm_state "$prefix")
  if wm_pid_is "$(cat "$state/wineserver.pid" 2>/dev/null)" wineserver; then
    return 0
  fi
  # -f keeps it in the foreground so $! is the server itself (env and Debian's wrapper both
  # exec); -p keeps it alive between programs, so HKEY_DYN_DATA and the desktop survive for
  # the whole run.
  wm_set_env_words "$prefix"
  env "${wm_env_words[@]}" wineserver -f -p </dev/null >"$state/wineserver.log" 2>&1 &
  pid=$!
  echo "$pid" >"$state/wineserver.pid"
  # Wait for its socket: a program started before that would launch a server of its own.
  for i in $(seq 1 "$(wm_scaled 100)"); do
    socket=$(wm_server_dir "$prefix")/socket
    [ -S "$socket" ] && break
    wm_pid_is "$pid" wineserver || break
    sleep 0.1
  done
  if [ ! -S "$socket" ]; then
    wm_end_pid "$state/wineserver.pid" wineserver TERM
    wm_die "wineserver did not start (see $state/wineserver.log)"
    return 1
  fi
  wm_log "wineserver $pid for $prefix"
}

# ---------------------------------------------------------------------------------------
# Template

wm_wine_key() {
  local version
  version=$(wine --version 2>/dev/null | head -n1 | sed 's/^wine-//; s/[^A-Za-z0-9.]\{1,\}/_/g; s/_$//')
  printf 'wine-%s-r%s\n' "${version:-unknown}" "$wm_template_recipe"
}

wm_registry_text() {
  # REGEDIT4 text that sets the Windows version and the Wine desktop size.
  local version=$1 desktop=$2
  printf 'REGEDIT4\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine]\r\n"Version"="%s"\r\n\r\n' "$version"
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="%s"\r\n\r\n' \
    "$desktop"
}

wm_build_template() {
  local dir=$1 work state
  work=$dir.tmp.$$
  rm -rf "$work"
  mkdir -p "$work/.machine"
  state=$work/.machine
  wm_log "creating the template prefix $dir (once per Wine version)"
  wm_start_server "$work" || return 1
  if ! timeout -k 10 "$(wm_scaled 300)" env WINEPREFIX="$work" WINEARCH=win32 WINEDEBUG=-all \
      WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" DISPLAY= \
      wineboot --init </dev/null >"$state/wineboot.log" 2>&1; then
    wm_end_pid "$state/wineserver.pid" wineserver INT
    wm_die "wineboot failed (see $state/wineboot.log)"
    return 1
  fi
  wm_registry_text win98 "$wm_default_desktop" >"$state/settings.reg"
  timeout -k 10 "$(wm_scaled 60)" env WINEPREFIX="$work" WINEARCH=win32 WINEDEBUG=-all DISPLAY= \
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
    wine regedit /S "$(wm_windows_name "$state/settings.reg")" </dev/null >>"$state/wineboot.log" 2>&1
  wm_end_pid "$state/wineserver.pid" wineserver INT
  wm_remove_server_dir "$work"

  # Windows 98 keeps its system files in C:\WINDOWS\SYSTEM; Wine's system folder is
  # system32. One folder under both names.
  local windows=$work/drive_c/windows
  if [ -d "$windows/system" ] && [ ! -L "$windows/system" ]; then
    cp -a "$windows/system/." "$windows/system32/"
    rm -rf "$windows/system"
  fi
  ln -sfn system32 "$windows/system"
  rm -rf "$state"
  touch "$work/.tunara-template"
  mv "$work" "$dir"
}

# Prints the template's path, building it first if needed.
wm_template() {
  local key dir lock fd
  mkdir -p "$wm_templates"
  key=$(wm_wine_key)
  dir=$wm_templates/$key
  lock=$wm_templates/$key.lock
  exec {fd}>"$lock"
  if ! flock -w "$(wm_scaled 600)" "$fd"; then
    exec {fd}>&-
    wm_die "timed out waiting for $lock"
    return 1
  fi
  if [ ! -f "$dir/.tunara-template" ]; then
    rm -rf "$dir"
    if ! wm_build_template "$dir"; then
      exec {fd}>&-
      return 1
    fi
  fi
  exec {fd}>&-
  printf '%s\n' "$dir"
}

wm_remove_server_dir() {
  local prefix=$1 dir parent
  dir=$(wm_server_dir "$prefix")
  rm -rf "$dir"
  # Debian's per-prefix temporary folder (named in PREFIX/wineserver) belongs to this prefix.
  if [ -f "$prefix/wineserver" ]; then
    parent=${TMPDIR:-/tmp}/$(cat "$prefix/wineserver")
    case "$(basename "$parent")" in
      wine-??????) rmdir "$parent" 2>/dev/null || true ;;
    esac
    rm -f "$prefix/wineserver"
  fi
}

# ---------------------------------------------------------------------------------------
# Can this machine run Wine at all?
#
# Wine's programs here are 32-bit, and some of our Linux machines refuse every i386
# executable (execve answers ENOEXEC, "Exec format error"; dmesg says IA-32 emulation is off).
# There no Wine process can start, and emulating one takes about a minute a process, so the
# Wine tests report themselves skipped instead. The probe executes Wine's 32-bit loader once
# and recognises that refusal; TUNARA_WINE=skip gives the same answer on any machine, so the
# skipping path can be tried anywhere. TUNARA_WINE_LOADER names another loader (the probe's
# own test uses stand-ins).
#
# wm_probe prints one line and returns 0 (Wine runs), 1 (this machine cannot run it: the line
# is the reason) or 2 (the loader is missing or broken: that is a fault of the installation,
# not of the machine, so tests run and fail as they would without the probe).
wm_probe() {
  local loader=${TUNARA_WINE_LOADER:-/usr/lib/wine/wine} out rc=0
  if [ "${TUNARA_WINE:-}" = skip ]; then
    echo "Wine is switched off for this run (TUNARA_WINE=skip)"
    return 1
  fi
  if [ ! -e "$loader" ]; then
    echo "Wine's 32-bit loader $loader is not installed (tools/install-prerequisites.sh installs it)"
    return 2
  fi
  out=$("$loader" --version 2>&1) || rc=$?
  if [ "$rc" -eq 0 ]; then
    echo "Wine runs here (${out%%$'\n'*})"
    return 0
  fi
  case "$out" in
    *"Exec format error"*)
      echo "this machine cannot run 32-bit programs (the kernel refuses $loader: Exec format error), so Wine cannot start"
      return 1
      ;;
  esac
  echo "Wine's 32-bit loader $loader fails (exit code $rc): ${out%%$'\n'*}"
  return 2
}

# Runs a test that needs Wine. Where Wine cannot run it prints "skipped: <reason>" and ends
# with 77, which the tests declare as their skip code to CTest; a test's own 77 becomes a
# failure, so nothing but the probe can make a test count as skipped.
wm_wine_test() {
  local reason rc=0 limit=
  if [ "${1:-}" = --limit ]; then
    limit=$(wm_scaled "$2")
    shift 2
  fi
  [ $# -gt 0 ] || { wm_die "wine-test: no command given"; return 2; }
  reason=$(wm_probe) || rc=$?
  if [ "$rc" -eq 1 ]; then
    echo "skipped: $reason"
    return 77
  fi
  rc=0
  if [ -n "$limit" ]; then
    # The whole process group gets the signal, so the test's own clean-up traps run.
    timeout -k 30 "$limit" "$@" || rc=$?
    [ "$rc" -ne 124 ] || echo "the test ran out of its $limit seconds" >&2
  else
    "$@" || rc=$?
  fi
  if [ "$rc" -eq 77 ]; then
    echo "the test ended with exit code 77, which is reserved for a skip: counted as failed" >&2
    return 1
  fi
  return "$rc"
}

# ---------------------------------------------------------------------------------------
# Commands

# Wine's name for a machine version.
wm_wine_version() {
  case "$1" in
    # Wine knows one build of each release: 98 SE runs as 98 (4.10.1998), OSR2 as 95
    # (4.00.950). The registry's version values of a description still name the real build.
    win98 | win98se) echo win98 ;;
    win95 | win95osr2) echo win95 ;;
    nt40) echo nt40 ;;
    *) wm_die "unknown Windows version '$1' (win98, win98se, win95, win95osr2, nt40)"; return 1 ;;
  esac
}

wm_xvfb_choice() {
  # --xvfb / --no-xvfb, else an own Xvfb only when there is no display.
  case "${1:-auto}" in
    yes) return 0 ;;
    no) return 1 ;;
    *) [ -z "${DISPLAY:-}" ] ;;
  esac
}

wm_create() {
  local prefix version=win98 xvfb=auto desktop=$wm_default_desktop template state
  prefix=$(wm_prefix_path "${1:-}") || return 1
  shift
  while [ $# -gt 0 ]; do
    case "$1" in
      --version) version=$2; shift 2 ;;
      --xvfb) xvfb=yes; shift ;;
      --no-xvfb) xvfb=no; shift ;;
      --desktop) desktop=$2; shift 2 ;;
      *) wm_die "create: unknown option $1"; return 1 ;;
    esac
  done
  local wine_version
  wine_version=$(wm_wine_version "$version") || return 1
  [[ "$desktop" =~ ^[0-9]+x[0-9]+$ ]] || { wm_die "bad desktop size $desktop"; return 1; }

  if [ -d "$prefix/.machine" ]; then wm_stop "$prefix"; fi
  rm -rf "$prefix"
  template=$(wm_template) || return 1
  mkdir -p "$(dirname "$prefix")"
  cp -a "$template" "$prefix"
  rm -f "$prefix/.tunara-template" "$prefix/wineserver"
  state=$(wm_state "$prefix")
  mkdir -p "$state"
  echo "$version" >"$state/version"
  echo "$desktop" >"$state/desktop"

  wm_start "$prefix" "--xvfb-$xvfb" || return 1
  if [ "$wine_version" != win98 ] || [ "$desktop" != "$wm_default_desktop" ]; then
    wm_registry_text "$wine_version" "$desktop" >"$state/settings.reg"
    wm_wine_quiet "$prefix" 60 wine regedit /S "$(wm_windows_name "$state/settings.reg")" ||
      { wm_die "could not set the Windows version"; return 1; }
  fi
  wm_log "machine ready: $prefix ($version)"
}

wm_start() {
  local prefix state xvfb=auto
  prefix=$(wm_prefix_path "${1:-}") || return 1
  shift
  while [ $# -gt 0 ]; do
    case "$1" in
      --xvfb | --xvfb-yes) xvfb=yes ;;
      --no-xvfb | --xvfb-no) xvfb=no ;;
      --xvfb-auto) xvfb=auto ;;
      *) wm_die "start: unknown option $1"; return 1 ;;
    esac
    shift
  done
  state=$(wm_state "$prefix")
  [ -d "$prefix/drive_c" ] || { wm_die "$prefix is not a Wine machine (run create)"; return 1; }
  mkdir -p "$state"
  if wm_xvfb_choice "$xvfb"; then
    if ! wm_pid_is "$(cat "$state/xvfb.pid" 2>/dev/null)" Xvfb; then
      wm_start_xvfb "$prefix" || return 1
    fi
  else
    rm -f "$state/display"
  fi
  wm_start_server "$prefix" || { wm_stop "$prefix"; return 1; }
}

# The Windows name of a host file: drive Z: is the host's root in every Wine prefix.
wm_windows_name() {
  local path
  path=$(realpath -m -- "$1")
  printf 'Z:%s\n' "${path//\//\\}"
}

# Runs a Wine tool with its output in the machine's log.
wm_wine_quiet() {
  local prefix=$1 seconds=$2
  shift 2
  wm_env "$prefix" timeout -k 5 "$(wm_scaled "$seconds")" "$@" </dev/null >>"$(wm_state "$prefix")/wine.log" 2>&1
}

wm_require_running() {
  local prefix=$1
  wm_pid_is "$(cat "$(wm_state "$prefix")/wineserver.pid" 2>/dev/null)" wineserver ||
    { wm_die "the machine $prefix is not running (create or start it first)"; return 1; }
}

# Reads one key of the [machine] section of machine.ini.
wm_ini_value() {
  local file=$1 key=$2
  tr -d '\r' <"$file" | awk -F= -v key="$key" '
    /^[ \t]*[;#]/ { next }
    /^[ \t]*\[/ { in_machine = (tolower($0) ~ /^[ \t]*\[machine\][ \t]*$/); next }
    in_machine {
      k = $1; gsub(/^[ \t]+|[ \t]+$/, "", k)
      if (tolower(k) == tolower(key)) {
        v = substr($0, index($0, "=") + 1); gsub(/^[ \t]+|[ \t]+$/, "", v); print v; exit
      }
    }'
}

# Finds the entry of a folder whose name matches case-insensitively, as Windows would.
wm_find_ci() {
  local dir=$1 name=$2 entry
  [ -d "$dir" ] || return 1
  if [ -e "$dir/$name" ] || [ -L "$dir/$name" ]; then
    printf '%s\n' "$name"
    return 0
  fi
  while IFS= read -r entry; do
    if [ "${entry,,}" = "${name,,}" ]; then
      printf '%s\n' "$entry"
      return 0
    fi
  done < <(ls -A "$dir")
  return 1
}

# Host path for a relative path below a folder, reusing existing entries whatever their case.
wm_resolve_ci() {
  local relative=$2 part found path=$1 parts=()
  IFS=/ read -r -a parts <<<"$relative"
  for part in "${parts[@]}"; do
    [ -n "$part" ] || continue
    if found=$(wm_find_ci "$path" "$part"); then
      path=$path/$found
    else
      path=$path/$part
    fi
  done
  printf '%s\n' "$path"
}

# Host folder for a Windows folder of the description: the description's Windows folder is
# Wine's C:\windows, its system folder Wine's system folder, anything else on C: is itself.
wm_windows_to_host() {
  local prefix=$1 winpath=$2 windows=$3 system=$4 rest upper
  upper=${winpath^^}
  local drive_c=$prefix/drive_c
  if [ "$upper" = "${system^^}" ] || [[ "$upper" == "${system^^}\\"* ]]; then
    rest=${winpath:${#system}}
    wm_resolve_ci "$drive_c/windows/system32" "${rest//\\//}"
  elif [ "$upper" = "${windows^^}" ] || [[ "$upper" == "${windows^^}\\"* ]]; then
    rest=${winpath:${#windows}}
    wm_resolve_ci "$drive_c/windows" "${rest//\\//}"
  elif [[ "$upper" == "C:\\"* ]] || [ "$upper" = "C:" ]; then
    rest=${winpath:2}
    wm_resolve_ci "$drive_c" "${rest//\\//}"
  else
    wm_die "only drive C: is mapped: $winpath"
    return 1
  fi
}

# Gives other names of the Windows and system folders (C:\WINNT, C:\WINDOWS\SYSTEM32 on a
# Windows 98 description...) a link to Wine's folders, so paths in the registry resolve.
wm_link_folder() {
  local prefix=$1 winpath=$2 target=$3 relative parent name host
  relative=${winpath:3}
  relative=${relative//\\//}
  [ -n "$relative" ] || return 0
  host=$(wm_resolve_ci "$prefix/drive_c" "$relative")
  [ -e "$host" ] && return 0
  parent=$(dirname "$host")
  name=$(basename "$host")
  mkdir -p "$parent"
  ln -s "$(realpath --relative-to="$parent" "$target")" "$parent/$name"
}

wm_locale_name() {
  case "${1,,}" in
    0409) echo "" ;; # Wine's own default
    0407) echo de_DE.UTF-8 ;;
    040c) echo fr_FR.UTF-8 ;;
    0410) echo it_IT.UTF-8 ;;
    040a | 0c0a) echo es_ES.UTF-8 ;;
    0413) echo nl_NL.UTF-8 ;;
    0416) echo pt_BR.UTF-8 ;;
    0411) echo ja_JP.UTF-8 ;;
    0809) echo en_GB.UTF-8 ;;
    *) echo "?" ;;
  esac
}

# Wine takes the user's and the threads' locale from the Unix locale (LC_ALL) of each program,
# so a Windows locale (LCID, 4 hex digits) is set by running the programs in the Unix locale
# that matches it. That locale must exist: installed on the system, or compiled by localedef
# into the folder TUNARA_WINE_LOCALES names (a folder <name> per locale, reached through
# LOCPATH), for machines without the system's locales. Returns 1 when neither has it; the
# programs then stay in Wine's default (English, United States).
wm_use_locale() {
  local prefix state lc
  prefix=$(wm_prefix_path "${1:-}") || return 1
  state=$(wm_state "$prefix")
  rm -f "$state/lc_all" "$state/locpath"
  lc=$(wm_locale_name "${2:-}")
  if [ "$lc" = "?" ]; then
    wm_log "locale $2 has no Unix locale here; Wine stays on its default"
    return 1
  fi
  [ -n "$lc" ] || return 0
  if locale -a 2>/dev/null | grep -qix "${lc/UTF-8/utf8}"; then
    echo "$lc" >"$state/lc_all"
  elif [ -n "${TUNARA_WINE_LOCALES:-}" ] && [ -f "$TUNARA_WINE_LOCALES/$lc/LC_CTYPE" ]; then
    echo "$lc" >"$state/lc_all"
    realpath -- "$TUNARA_WINE_LOCALES" >"$state/locpath"
  else
    wm_log "Unix locale $lc is neither installed nor compiled; Wine stays on its default"
    return 1
  fi
}

wm_install_description() {
  local prefix source ini state
  prefix=$(wm_prefix_path "${1:-}") || return 1
  source=${2:-}
  [ -n "$source" ] || { wm_die "install-description: no description given"; return 1; }
  if [ ! -d "$source" ] && [ -d "$wm_repo/tests/machines/$source" ]; then
    source=$wm_repo/tests/machines/$source
  fi
  ini=$source/machine.ini
  [ -f "$ini" ] || { wm_die "no machine.ini in $source"; return 1; }
  wm_require_running "$prefix" || return 1
  state=$(wm_state "$prefix")

  local version windows system temp current locale wine_version
  version=$(wm_ini_value "$ini" version)
  windows=$(wm_ini_value "$ini" windows)
  system=$(wm_ini_value "$ini" system)
  temp=$(wm_ini_value "$ini" temp)
  current=$(wm_ini_value "$ini" current)
  locale=$(wm_ini_value "$ini" locale)
  windows=${windows:-C:\\WINDOWS}
  system=${system:-$windows\\SYSTEM}
  windows=${windows%\\}
  system=${system%\\}
  temp=${temp%\\}
  wm_log "installing $(basename "$source"): ${version:-win98}, $windows, $system, locale ${locale:-0409}"

  # The Windows version first, so the registry import already runs on the right Windows.
  wine_version=$(wm_wine_version "${version:-win98}") || return 1
  echo "${version:-win98}" >"$state/version"
  wm_registry_text "$wine_version" "$(cat "$state/desktop" 2>/dev/null || echo "$wm_default_desktop")" \
    >"$state/settings.reg"
  if [ -n "$temp" ]; then
    # GetTempPath reads TEMP and TMP from the user's environment.
    local temp_reg=${temp//\\/\\\\}
    printf '[HKEY_CURRENT_USER\\Environment]\r\n"TEMP"="%s"\r\n"TMP"="%s"\r\n\r\n' \
      "$temp_reg" "$temp_reg" >>"$state/settings.reg"
  fi
  wm_wine_quiet "$prefix" 60 wine regedit /S "$(wm_windows_name "$state/settings.reg")" ||
    { wm_die "could not set the Windows version"; return 1; }

  if [ -n "$locale" ]; then wm_use_locale "$prefix" "$locale" || true; fi

  # Folder names of the description that Wine does not use itself.
  wm_link_folder "$prefix" "$windows" "$prefix/drive_c/windows"
  wm_link_folder "$prefix" "$system" "$prefix/drive_c/windows/system32"

  # Folders a program expects to find.
  local folder
  for folder in "$temp" "$current"; do
    [ -n "$folder" ] || continue
    folder=$(wm_windows_to_host "$prefix" "$folder" "$windows" "$system") || return 1
    mkdir -p "$folder"
  done
  if [ -n "$current" ]; then
    wm_windows_to_host "$prefix" "$current" "$windows" "$system" >"$state/current"
  fi

  # Files: drives/c/... merged into drive C:, whatever the case of the names.
  if [ -d "$source/drives" ]; then
    local drive file relative winpath target
    for drive in "$source"/drives/*; do
      [ -d "$drive" ] || continue
      if [ "$(basename "${drive,,}")" != c ]; then
        wm_log "skipping $(basename "$drive"): only drive C: is mapped"
        continue
      fi
      while IFS= read -r -d '' file; do
        relative=${file#"$drive"/}
        winpath="C:\\${relative//\//\\}"
        target=$(wm_windows_to_host "$prefix" "$winpath" "$windows" "$system") || return 1
        mkdir -p "$(dirname "$target")"
        cp -f --remove-destination "$file" "$target"
      done < <(find "$drive" -type f -print0)
    done
  fi

  # The registry last: regedit reaches HKEY_DYN_DATA only through the running server.
  if [ -f "$source/registry.reg" ]; then
    wm_wine_quiet "$prefix" 120 wine regedit /S "$(wm_windows_name "$source/registry.reg")" ||
      { wm_die "regedit could not import $source/registry.reg"; return 1; }
  fi
  echo "$source" >"$state/description"
}

wm_install_files() {
  local prefix where folder file
  prefix=$(wm_prefix_path "${1:-}") || return 1
  where=${2:-}
  shift 2 || true
  case "$where" in
    windows) folder=$prefix/drive_c/windows ;;
    system) folder=$prefix/drive_c/windows/system32 ;;
    *) wm_die "install-files: say windows or system, not '$where'"; return 1 ;;
  esac
  [ -d "$folder" ] || { wm_die "$prefix is not a Wine machine"; return 1; }
  for file in "$@"; do
    [ -f "$file" ] || { wm_die "install-files: no such file $file"; return 1; }
    # A fresh file, never a write through an existing one.
    local target
    target=$folder/$(wm_find_ci "$folder" "$(basename "$file")" || basename "$file")
    cp -f --remove-destination "$file" "$target"
  done
}

# Runs a program on the machine and passes its exit code through (124: timed out).
wm_run() {
  local prefix seconds=60
  prefix=$(wm_prefix_path "${1:-}") || return 1
  shift
  if [ "${1:-}" = --timeout ]; then
    seconds=$2
    shift 2
  fi
  [ $# -gt 0 ] || { wm_die "run: no program given"; return 1; }
  wm_require_running "$prefix" || return 1
  # A host file named relative to here stays reachable from the program's own folder.
  if [[ "$1" != /* ]] && [ -f "$1" ]; then set -- "$(realpath -- "$1")" "${@:2}"; fi
  # The program starts in the description's current folder (Wine takes it from the host's
  # current directory), else in the Windows folder.
  local folder=$prefix/drive_c/windows rc=0
  [ -f "$(wm_state "$prefix")/current" ] && folder=$(cat "$(wm_state "$prefix")/current")
  (cd "$folder" && wm_env "$prefix" timeout -k 5 "$(wm_scaled "$seconds")" wine "$@") || rc=$?
  return "$rc"
}

wm_screenshot() {
  local prefix file display state
  prefix=$(wm_prefix_path "${1:-}") || return 1
  file=${2:-}
  [ -n "$file" ] || { wm_die "screenshot: no file given"; return 1; }
  state=$(wm_state "$prefix")
  display=${DISPLAY:-}
  [ -f "$state/display" ] && display=$(cat "$state/display")
  [ -n "$display" ] || { wm_die "screenshot: the machine has no display"; return 1; }
  mkdir -p "$(dirname "$file")"
  timeout "$(wm_scaled 30)" import -display "$display" -window root "$file"
}

# For a test's script: when the script ends, however it ends, the machine's logs are kept in
# WORK/machine-logs and the machine PREFIX is removed (only stopped with
# TUNARA_KEEP_WINE_PREFIX=1, for a look); the script's exit code stays.
wm_clean_up_at_exit() {
  wm_exit_prefix=$1 wm_exit_work=$2
  trap wm_clean_up EXIT
  trap 'exit 130' INT TERM
}

wm_clean_up() {
  local rc=$?
  if [ -d "$wm_exit_prefix/.machine" ]; then
    mkdir -p "$wm_exit_work/machine-logs"
    cp -f "$wm_exit_prefix"/.machine/*.log "$wm_exit_work/machine-logs/" 2>/dev/null || true
  fi
  if [ "${TUNARA_KEEP_WINE_PREFIX:-0}" = 1 ]; then
    wm_stop "$wm_exit_prefix" || true
  else
    wm_destroy "$wm_exit_prefix" || true
  fi
  exit "$rc"
}

# Follows a driver's "shown: <step>" lines in LOG while the process PID runs: a screenshot
# of each step in SHOT-PREFIX<step>.png, then the file C:\shot-<step> in the machine, which
# tells the driver to go on. One line per picture; 1 when a picture could not be taken.
wm_follow_shots() {
  local prefix=$1 log=$2 pid=$3 shots=$4 done_steps="" step status=0
  while kill -0 "$pid" 2>/dev/null || [ -n "$(wm_next_step "$log" "$done_steps")" ]; do
    step=$(wm_next_step "$log" "$done_steps")
    if [ -z "$step" ]; then sleep 0.1; continue; fi
    if wm_screenshot "$prefix" "$shots$step.png"; then
      echo "screenshot: $shots$step.png"
    else
      echo "FAIL: no screenshot of $step"
      status=1
    fi
    touch "$prefix/drive_c/shot-$step"
    done_steps="$done_steps $step "
  done
  return "$status"
}

# The first step of LOG's "shown: <step>" lines that is not among DONE (" a  b " form).
wm_next_step() {
  local step
  for step in $(tr -d '\r' <"$1" 2>/dev/null | sed -n 's/^shown: //p'); do
    case "$2" in *" $step "*) ;; *) echo "$step"; return ;; esac
  done
}

wm_stop() {
  local prefix state
  prefix=$(wm_prefix_path "${1:-}") || return 1
  state=$(wm_state "$prefix")
  [ -d "$state" ] || return 0
  # SIGINT: the server ends every process of this prefix, saves the registry and exits.
  wm_end_pid "$state/wineserver.pid" wineserver INT
  [ -d "$prefix" ] && wm_remove_server_dir "$prefix"
  wm_end_pid "$state/xvfb.pid" Xvfb TERM
  rm -f "$state/display" "$state/xvfb.displayfd"
}

wm_destroy() {
  local prefix
  prefix=$(wm_prefix_path "${1:-}") || return 1
  wm_stop "$prefix"
  rm -rf "$prefix"
}

if [ "$wm_sourced" = 0 ]; then
  command=${1:-}
  [ -n "$command" ] || { sed -n '2,21p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }
  shift
  case "$command" in
    create | start | install-description | use-locale | install-files | run | screenshot | \
      follow-shots | stop | destroy)
      "wm_${command//-/_}" "$@"
      ;;
    template) wm_template ;;
    probe) wm_probe ;;
    wine-test) wm_wine_test "$@" ;;
    *) wm_die "unknown command $command"; exit 2 ;;
  esac
fi
