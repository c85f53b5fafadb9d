#!/usr/bin/env bash
# A virtual PC that runs the Wine tests where this machine cannot: some Linux kernels refuse
# every 32-bit program (IA-32 emulation off), and Wine's programs are 32-bit. The virtual PC
# is a Debian 12 (amd64, IA-32 emulation on) under QEMU's software emulation, with Wine, Xvfb
# and the tests' tools installed. The repository is shared with it at the same path, so the
# build folders made here are run there as they are (TUNARA_VM_SHARE names a bigger folder to
# share, one that holds the repository and its worktrees).
#
#   tools/wine-vm.sh create          build the disk once (debootstrap; needs root and the network)
#   tools/wine-vm.sh start           boot it in the background (about a minute)
#   tools/wine-vm.sh run COMMAND...  run a command on the virtual PC in the current folder (one
#                                    inside the shared one); prints its output, returns its
#                                    exit code
#   tools/wine-vm.sh stop            power it off
#
# Everything lives in build/wine-vm/. Software emulation is ten to twenty times slower than the
# machine itself: `run` sets TUNARA_WINE_TIME_SCALE (default 20), which stretches the Wine
# tests' time limits by that factor. A typical use, after building win32-sim here:
#
#   tools/wine-vm.sh create && tools/wine-vm.sh start
#   tools/wine-vm.sh run ctest --preset win32-sim -L '^wine$' --output-on-failure
#   tools/wine-vm.sh stop
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
vm=$repo/build/wine-vm
rootfs=$vm/rootfs
disk=$vm/disk.img
jobs=$vm/jobs
# The folder shared with the virtual PC, at the same path: the repository, or a folder that
# holds it and its worktrees.
share=$(realpath "${TUNARA_VM_SHARE:-$repo}")
case "$repo/" in "$share"/*) ;; *) echo "wine-vm: $repo is not inside $share" >&2; exit 1 ;; esac
suite=bookworm
mirror=${TUNARA_VM_MIRROR:-http://deb.debian.org/debian}
packages=(
  linux-image-amd64 initramfs-tools udev kmod procps iproute2 ca-certificates
  cmake python3 wine wine32:i386 xvfb xauth x11-utils xdotool imagemagick fonts-dejavu-core
  cabextract gcab mscompress libmspack0 xxd
)

die() {
  echo "wine-vm: $*" >&2
  exit 1
}

# PID 1 of the virtual PC: mounts the shared repository at its host path and runs the job
# files that `run` drops into build/wine-vm/jobs, one at a time.
write_init() {
  cat >"$1" <<'EOF'
#!/bin/sh
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8
mount -t proc proc /proc
mount -t sysfs sys /sys 2>/dev/null
mount -t devtmpfs dev /dev 2>/dev/null
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /tmp
mount -t tmpfs tmpfs /run
mount -o remount,rw /
ip link set lo up
share=$(sed -n 's/.*tunara.share=\([^ ]*\).*/\1/p' /proc/cmdline)
modprobe 9pnet_virtio
mkdir -p "$share"
# Reads go through the page cache (cache=loose): an uncached read larger than one 9p message
# can come back short, and Wine maps a program's sections with a single read, so a big
# program started from the shared folder ran with the end of its code missing.
mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000,cache=loose repo "$share"
jobs=$(sed -n 's/.*tunara.jobs=\([^ ]*\).*/\1/p' /proc/cmdline)
echo "tunara-vm: ready" >/dev/console
while :; do
  for job in "$jobs"/*.job; do
    [ -e "$job" ] || continue
    name=${job%.job}
    mv "$job" "$name.running"
    # Files rebuilt on the host since the last job must be read afresh: the shared folder
    # does not tell this side of a change, and stale pages of a relinked program would run.
    # What the job writes is synced before its exit code appears, for the same reason.
    sync
    echo 3 >/proc/sys/vm/drop_caches
    (cd "$share" && bash "$name.running") >"$name.out" 2>&1 </dev/null
    rc=$?
    sync
    echo $rc >"$name.rc.tmp"
    sync
    mv "$name.rc.tmp" "$name.rc"
  done
  if [ -e "$jobs/poweroff" ]; then
    rm -f "$jobs/poweroff"
    sync
    echo o >/proc/sysrq-trigger
  fi
  sleep 1
done
EOF
  chmod +x "$1"
}

make_disk() {
  echo "wine-vm: making $disk"
  mkfs.ext4 -q -F -d "$rootfs" -L root "$disk" 8G
}

# A disk made by an older version of this script gets the current start-up program.
refresh_init() {
  local init=$rootfs/sbin/tunara-vm-init
  write_init "$init.new"
  if cmp -s "$init.new" "$init"; then rm -f "$init.new"; return 0; fi
  mv "$init.new" "$init"
  make_disk
}

cmd_create() {
  [ "$(id -u)" = 0 ] || die "create needs root (debootstrap, chroot)"
  command -v debootstrap >/dev/null && command -v qemu-system-x86_64 >/dev/null &&
    command -v mkfs.ext4 >/dev/null ||
    { apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
        --no-install-recommends debootstrap qemu-system-x86 e2fsprogs; }
  # A rootfs left with the system's folders bound into it must never be wiped.
  if grep -q " $rootfs/" /proc/mounts; then die "$rootfs still has mounts; unmount them first"; fi
  rm -rf "$rootfs" "$disk"
  mkdir -p "$vm"
  echo "wine-vm: debootstrap $suite into $rootfs"
  debootstrap --variant=minbase --include=linux-image-amd64,initramfs-tools,udev,kmod \
    "$suite" "$rootfs" "$mirror" >"$vm/debootstrap.log" 2>&1 ||
    die "debootstrap failed (see $vm/debootstrap.log)"
  printf 'deb %s %s main\n' "$mirror" "$suite" >"$rootfs/etc/apt/sources.list"
  local d
  for d in proc sys dev; do mount --bind "/$d" "$rootfs/$d"; done
  # The packages' own scripts run in the chroot with this machine's 64-bit shell; nothing in
  # them needs to execute a 32-bit program.
  chroot "$rootfs" sh -c "dpkg --add-architecture i386 && apt-get update -q &&
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends ${packages[*]}" \
    >"$vm/packages.log" 2>&1 || { for d in proc sys dev; do umount "$rootfs/$d"; done
                                  die "installing packages failed (see $vm/packages.log)"; }
  for d in proc sys dev; do umount "$rootfs/$d"; done
  write_init "$rootfs/sbin/tunara-vm-init"
  make_disk
  echo "wine-vm: created"
}

running() { [ -f "$vm/qemu.pid" ] && kill -0 "$(cat "$vm/qemu.pid")" 2>/dev/null; }

cmd_start() {
  [ -f "$disk" ] || die "no virtual PC yet: run tools/wine-vm.sh create"
  running && { echo "wine-vm: already running"; return 0; }
  refresh_init
  local kernel initrd
  kernel=$(ls "$rootfs"/boot/vmlinuz-* | tail -n1)
  initrd=$(ls "$rootfs"/boot/initrd.img-* | tail -n1)
  mkdir -p "$jobs"
  rm -f "$jobs"/*
  # SMAP off: QEMU's emulation of a 32-bit IRET faults on it, which kills every Wine process.
  qemu-system-x86_64 -machine q35 -accel tcg,thread=multi -cpu max,-smap \
    -smp "$(nproc)" -m 8G -kernel "$kernel" -initrd "$initrd" \
    -append "root=/dev/vda rw console=ttyS0 quiet init=/sbin/tunara-vm-init tunara.share=$share tunara.jobs=$jobs" \
    -drive "file=$disk,format=raw,if=virtio,cache=unsafe" \
    -virtfs "local,path=$share,mount_tag=repo,security_model=passthrough,id=repo" \
    -display none -serial "file:$vm/console.log" -nic none -daemonize -pidfile "$vm/qemu.pid"
  local i
  for i in $(seq 1 300); do
    grep -q 'tunara-vm: ready' "$vm/console.log" 2>/dev/null && { echo "wine-vm: ready"; return 0; }
    sleep 1
  done
  die "the virtual PC did not come up (see $vm/console.log)"
}

cmd_run() {
  running || die "not running: tools/wine-vm.sh start"
  case "$PWD/" in "$share"/*) ;; *) die "run: $PWD is not inside the shared $share" ;; esac
  local name
  # Named by the time first: the virtual PC runs waiting jobs in the order of their names.
  name=$jobs/job-$(date +%s%N)-$$
  {
    printf 'cd %q\n' "$PWD"
    # The Wine prefix templates stay on the virtual PC's own disk: every test copies one,
    # and the shared folder is the slow way there.
    printf 'export TUNARA_WINE_TIME_SCALE=%q TMPDIR=/tmp TUNARA_WINE_TEMPLATES=/var/cache/tunara-wine\n' \
      "${TUNARA_WINE_TIME_SCALE:-20}"
    printf '%q ' "$@"
    printf '\n'
  } >"$name.tmp"
  mv "$name.tmp" "$name.job"
  while [ ! -e "$name.rc" ]; do
    running || die "the virtual PC stopped during the job"
    sleep 2
  done
  cat "$name.out"
  local rc
  rc=$(cat "$name.rc")
  rm -f "$name.running" "$name.out" "$name.rc"
  return "$rc"
}

cmd_stop() {
  running || return 0
  touch "$jobs/poweroff"
  local i
  for i in $(seq 1 60); do running || return 0; sleep 1; done
  kill "$(cat "$vm/qemu.pid")"
}

case "${1:-}" in
  create | start | stop) "cmd_$1" ;;
  run) shift; [ $# -gt 0 ] || die "run needs a command"; cmd_run "$@" ;;
  *) sed -n '2,/^set -euo/p' "$0" | sed '$d' >&2; exit 2 ;;
esac
