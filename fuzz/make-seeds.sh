#!/usr/bin/env bash
# Seed inputs for the fuzz targets, made with the fixture tools: small ext2/ext3 drives and disks.
set -euo pipefail
out=${1:?usage: make-seeds.sh OUTDIR QV-PROBE}
probe=${2:?usage: make-seeds.sh OUTDIR QV-PROBE CD-PROBE}
cdprobe=${3:?usage: make-seeds.sh OUTDIR QV-PROBE CD-PROBE}
[ -f "$out/.done" ] && exit 0
mkdir -p "$out/ext2_tree" "$out/partition_walk" "$out/deleted_lost" "$out/drive_search" "$out/scan_file" "$out/recovery"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tree/a/b" "$work/tree/c"
echo hello > "$work/tree/a/one.txt"
head -c 3000 /dev/zero | tr '\0' 'x' > "$work/tree/a/b/two"
ln -s one.txt "$work/tree/a/link"
for i in $(seq 1 40); do echo "$i" > "$work/tree/c/f$i"; done
export E2FSPROGS_FAKE_TIME=1000000000
# Each drive just holds the tree: small inputs run many times faster. The journal of ext3 needs
# 1024 blocks at least.
for family in "ext2 1024 128 100" "ext2 1024 256 110" "ext3 1024 256 1280" "ext2 2048 128 80" "ext2 4096 256 64"; do
  set -- $family
  img="$out/ext2_tree/$1-$2-$3.img"
  blocks=$4
  mke2fs -q -F -t "$1" -b "$2" -I "$3" -N 64 -d "$work/tree" "$img" "$blocks" >/dev/null 2>&1 || rm -f "$img"
done
disk="$out/partition_walk/chain.img"
truncate -s 1M "$disk"
printf 'label: dos\nstart=63, size=200, type=83\nstart=300, size=1700, type=5\nstart=363, size=200, type=83\nstart=700, size=200, type=82\nstart=1000, size=200, type=83\n' |
  sfdisk -q "$disk" >/dev/null 2>&1
# The tables only: the first sector of every record.
python3 - "$disk" <<'PY'
import sys
d = open(sys.argv[1], 'rb').read()
keep = bytearray(len(d))
for lba in range(0, len(d) // 512):
    s = d[lba*512:(lba+1)*512]
    if s[510:512] == b'\x55\xaa':
        keep[lba*512:(lba+1)*512] = s
open(sys.argv[1], 'wb').write(bytes(keep).rstrip(b'\0') or b'\0')
PY
# Deleted files and a lost folder.
img="$out/deleted_lost/deleted.img"
cp "$out/ext2_tree/ext2-1024-128.img" "$img"
debugfs -w -R "rm /a/one.txt" "$img" >/dev/null 2>&1
debugfs -w -R "unlink /a/b" "$img" >/dev/null 2>&1
cp "$out"/ext2_tree/*.img "$out/deleted_lost/"
# A disk without tables whose file system (small groups, so that it has several) starts at sector 63.
mke2fs -q -F -t ext2 -b 1024 -g 256 -N 64 -d "$work/tree" "$work/small.img" 400 >/dev/null 2>&1
truncate -s $((63 * 512)) "$out/drive_search/at63.img"
cat "$work/small.img" >> "$out/drive_search/at63.img"
# Scan files saved from the seed drives.
for img in "$out"/ext2_tree/*.img; do
  disk="$work/disk.img"
  truncate -s 0 "$disk"; truncate -s $((2048 * 512)) "$disk"
  cat "$img" >> "$disk"
  sectors=$(( $(stat -c %s "$img") / 512 ))
  printf 'label: dos\nstart=2048, size=%d, type=83\n' "$sectors" | sfdisk -q "$disk" >/dev/null 2>&1
  "$probe" --disk "$disk" partitions open 0 save-scan "$out/scan_file/$(basename "$img" .img).DAT" >/dev/null 2>&1 || true
done
# Recovery: each scan file with its drive, behind the scan file's length.
for scan in "$out"/scan_file/*.DAT; do
  [ -f "$scan" ] || continue
  name=$(basename "$scan" .DAT)
  python3 - "$scan" "$out/ext2_tree/$name.img" "$out/recovery/$name.bin" <<'PY'
import struct, sys
scan, image = open(sys.argv[1], "rb").read(), open(sys.argv[2], "rb").read()
open(sys.argv[3], "wb").write(struct.pack("<I", len(scan)) + scan + image)
PY
done
# Discs: ISO9660 with and without Joliet, and an image file made from one.
mkdir -p "$out/cd_volume" "$out/cd_raw_scans" "$out/cd_image" "$out/cd_recovery"
SOURCE_DATE_EPOCH=1000000000 genisoimage -quiet -no-pad -r -o "$out/cd_volume/iso.iso" "$work/tree" 2>/dev/null
SOURCE_DATE_EPOCH=1000000000 genisoimage -quiet -no-pad -J -r -o "$out/cd_volume/joliet.iso" "$work/tree" 2>/dev/null
cp "$out"/cd_volume/*.iso "$out/cd_raw_scans/"
cp "$out"/cd_volume/*.iso "$out/cd_recovery/"
# Without the volume descriptors the raw scans have to find the tree.
python3 - "$out/cd_raw_scans/joliet.iso" <<'PY'
import sys
p = sys.argv[1]
d = bytearray(open(p, 'rb').read())
d[16 * 2048:20 * 2048] = bytes(4 * 2048)
open(p.replace('.iso', '-novd.iso'), 'wb').write(d)
PY
"$cdprobe" --cdrom "$out/cd_volume/joliet.iso" create-image "$out/cd_image/joliet.cd" >/dev/null 2>&1 || true
touch "$out/.done"
