# Shared steps of the benchmark scripts: the benchmark images, built once into $work and kept
# while their recipe stays the same. Sourced after setting root and work.
source "$root/tools/fixtures/lib.sh"

# image NAME MIB PROFILE GEN_TREE_OPTIONS...: ext2, 4 KiB blocks, 256-byte inodes, partition at
# sector 2048 of an MBR disk of MIB MiB.
image() {
  local name=$1 mib=$2 profile=$3
  shift 3
  local img="$work/$name.img" recipe="$mib $profile $* $(sha256sum "$QV_FIXTURE_TOOLS/gen_tree.py" | cut -c1-16)"
  if [ -f "$img" ] && [ "$(cat "$img.recipe" 2>/dev/null)" = "$recipe" ]; then return; fi
  echo "building $name ..." >&2
  qv_tree "$profile" "$work/src-$name" "$@"
  echo "start=2048, type=83" | qv_disk "$img" "$mib"
  mke2fs -q -F -U "$QV_UUID" -E "offset=1048576" -t ext2 -b 4096 -I 256 -N 120000 \
    -d "$work/src-$name" "$img" "$(( (mib - 1) * 1024 ))k"
  rm -rf "$work/src-$name"
  echo "$recipe" > "$img.recipe"
}
