#!/usr/bin/env bash
# Every file Curvenest writes on a full disk: the write fails with the file's
# name and the reason, the old file stays whole and no temporary copy is left.
# Needs root to mount a small tmpfs; exits 77 (skipped) without it.
# usage: check_full_disk.sh CURVENEST CN_TESTS WORKDIR
set -u
curvenest=$1 cn_tests=$2 work=$3
full="$work/full"
mkdir -p "$full"
if ((EUID != 0)) || ! mount -t tmpfs -o size=256k tmpfs "$full" 2>/dev/null; then
  echo "skipped: mounting a small tmpfs needs root"
  exit 77
fi
trap 'umount "$full"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Workspace files and data files, through the same writer as the pictures;
# the test fills the disk itself.
CN_FULL_DIR="$full" "$cn_tests" --gtest_filter='FullDisk.*' --gtest_brief=1 || fail "FullDisk tests"
rm -f "$full"/old.*

for suffix in png svg pdf; do
  printf 'old picture\n' >"$full/g.$suffix"
done
# Leave a few kilobytes: less than any of the pictures takes.
head -c $((256 * 1024 - 12 * 1024)) /dev/zero >"$full/filler" 2>/dev/null
for suffix in png svg pdf; do
  err=$("$curvenest" --export "$full/g.$suffix" --window -20,20,-20,20 -e 'sin(x)*x' -e 'x^2/10' 2>&1 >/dev/null)
  status=$?
  [[ $status == 1 ]] || fail "$suffix export on a full disk exited $status"
  [[ $err == "curvenest: Could not write \"$full/g.$suffix\": No space left on device" ]] ||
    fail "$suffix export said [$err]"
  [[ $(cat "$full/g.$suffix") == "old picture" ]] || fail "the old g.$suffix was changed"
done
leftovers=$(find "$full" -mindepth 1 ! -name filler ! -name 'g.*')
[[ -z $leftovers ]] || fail "temporary files left behind: $leftovers"


if ((failures > 0)); then exit 1; fi
echo "all full-disk checks passed"
