#!/usr/bin/env bash
# A backup that does not fit one floppy spans two real 1.44 MB media under
# Wine: each medium is a tmpfs of 1440k, so the end of the first disk is the
# file system's own "no space left", met through the real Win32 calls.
# The script plays the person at the machine: it answers the questions and,
# at the next-disk prompt, takes the first medium out of drive A: and puts the
# second in.
#
#   span.sh HOARDWELL.EXE WINE_RUN BUILD_DIR
#
# Mounts need a mount namespace of their own (unshare -m); a machine that
# refuses one skips the test (exit 77). Wine opens files in its wineserver,
# which must see the mounts: the test runs in a prefix of its own, whose
# wineserver starts inside the namespace and is stopped at the end.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/media.sh"
media_enter "$0" wine_span "$@"
mkdir -p "$run/source"

# The source: about 2 MB, more than one disk and less than two. The notes of
# the root go first; each costs a whole 4 KiB page on tmpfs, more than the
# 512-byte cluster the planning reckons with, so the planning lets the second
# large file onto the first disk, and the disk runs out of space in the middle
# of it: the write fails on a full disk, and the whole file must go to disk 2.
src=$run/source
mkdir -p "$src/big/deep"
for i in $(seq 1 40); do
  head -c $((100 + i * 7)) /dev/urandom >"$src/note$i.txt"
done
head -c 716800 /dev/urandom >"$src/big/report.bin"
head -c 614400 /dev/urandom >"$src/big/photo.dat"
head -c 409600 /dev/urandom >"$src/big/deep/archive.dat"
head -c 204800 /dev/urandom >"$src/big/deep/video.dat"

# The prefix (made once) and the source drive S:.
"$runner" "$exe" --help >/dev/null || fail "the program does not start under Wine"
ln -sfn "$src" "$prefix/dosdevices/s:"

media_mount "$run/media" 2

log=$run/output.txt
fifo=$run/answers
mkfifo "$fifo"
exec 3<>"$fifo"
settings="Z:$(printf '%s' "$run/hoardwell.ini" | sed 's|/|\\|g')"
start=$(date +%s)
(
  "$runner" "$exe" backup --source S --dest A --settings "$settings" <"$fifo" >"$log" 2>&1
  echo $? >"$run/status"
) &

answer() {
  printf '%s\n' "$1" >&3
  echo "$1" >>"$run/answers.txt"
}

# The program prints a question without a line end and waits: the last
# line of its output, once longer than when last answered, is the question.
answered=0
disk_prompts=0
yes_answers=0
deadline=$((start + 240))
while [ ! -f "$run/status" ]; do
  sleep 0.2
  [ "$(date +%s)" -lt "$deadline" ] || { cat "$log"; fail "no end after 240 s"; }
  size=$(stat -c %s "$log" 2>/dev/null || echo 0)
  [ "$size" -gt "$answered" ] || continue
  last=$(tail -c +$((answered + 1)) "$log" | tail -n 1)
  [ -n "$(tail -c 1 "$log")" ] || continue   # ends with a line end: no question
  case "$last" in
    *"and press Enter (q to stop) ")
      disk_prompts=$((disk_prompts + 1))
      [ $disk_prompts -eq 1 ] || { answer q; sleep 1; cat "$log"; fail "a third disk was asked for"; }
      media_insert 2
      answered=$size
      answer ""
      ;;
    *"[Y/n] ")
      # The start, and a message box or two; more means a loop.
      yes_answers=$((yes_answers + 1))
      [ $yes_answers -le 5 ] || { answer n; sleep 1; cat "$log"; fail "asked to go ahead again and again"; }
      answered=$size
      answer y
      ;;
    *"[a]dd the backup beside it, [e]rase the disk, [q]uit? ")
      answered=$size
      answer a
      ;;
    *"[r]etry, [s]kip, [a]bort? ")
      # On the full first disk the next disk must be asked for instead.
      answered=$size
      free=$(df -B1 --output=avail "$floppy" | tail -n 1)
      answer a
      sleep 2
      cat "$log"
      fail "a copy failed (the medium in A: has $free bytes free now): $(grep -a 'Could not copy' "$log" | tr -d '\r')"
      ;;
    *"[y]es, [n]o, [a]ll: " | *"[y/N] ")
      answered=$size
      answer a
      sleep 2
      cat "$log"
      fail "unexpected question: $last"
      ;;
    *) ;;
  esac
done
wait
end=$(date +%s)
status=$(cat "$run/status")
echo "--- output of the backup ($((end - start)) s) ---"
cat "$log"
echo "--- answers given ---"
cat "$run/answers.txt"
echo "---"

# The checks, on the output without its Windows line ends. A source file
# belongs at SET\S\path on exactly one disk.
text=$run/output-lf.txt
tr -d '\r' <"$log" >"$text"
[ "$status" -eq 0 ] || fail "the backup ended with status $status"
grep -q '^The disk is full\. Insert disk 2 ' "$text" ||
  fail "the first disk never ran out of space: the disk-full path did not run"
set_name=$(sed -n 's/.*Insert disk 2 of backup set \([^ ]*\) into drive A:.*/\1/p' "$text" | head -n 1)
[ -n "$set_name" ] || fail "no set name in the next-disk prompt"
files=$(find "$src" -type f | wc -l)
grep -q "^Backup set $set_name: $files files (.*) saved to A:.$set_name on 2 disks\.$" "$text" ||
  fail "the summary does not tell $files files on 2 disks"

problems=0
problem() {
  echo "  $*"
  problems=$((problems + 1))
}
echo "Checking $files files on the two disks:"
for disk in 1 2; do
  count=$(find "$run/media/disk$disk/$set_name/S" -type f 2>/dev/null | wc -l)
  echo "  disk $disk: $count files"
  [ "$count" -gt 0 ] || problem "disk $disk holds no file of the backup"
done
while IFS= read -r rel; do
  copies=0
  for disk in 1 2; do
    copy=$run/media/disk$disk/$set_name/S/$rel
    [ -f "$copy" ] || continue
    copies=$((copies + 1))
    cmp -s "$src/$rel" "$copy" || problem "$rel on disk $disk differs from the source"
  done
  [ $copies -eq 1 ] || problem "$rel is on $copies disks"
done < <(cd "$src" && find . -type f | sed 's|^\./||' | sort)
# The report on the last disk lists every file with its disk.
report=$run/media/disk2/$set_name/$set_name.KVX
if [ -f "$report" ]; then
  listed=$(grep -ac $'^[12] \t S:' "$report" || true)
  [ "$listed" -eq "$(cd "$src" && find . -type f | wc -l)" ] ||
    problem "the report lists $listed files"
else
  problem "no report on the last disk"
fi
# Nothing else: no cut-off copy, no stray file beside the backup.
while IFS= read -r path; do
  disk=${path%%/*}
  rel=${path#*/}
  case "$rel" in
    .windows-label) continue ;;
    # The report, on the last disk only.
    "$set_name/$set_name.KVX") [ "$disk" = disk2 ] && continue ;;
    "$set_name"/S/*) [ -f "$src/${rel#"$set_name"/S/}" ] && continue ;;
  esac
  problem "stray file on ${disk}: $rel"
done < <(cd "$run/media" && find disk1 disk2 -type f)

# The label each disk was given, where Wine keeps it.
for disk in 1 2; do
  want=${set_name}_$disk
  [ ${#set_name} -le 9 ] || want=$set_name$disk
  label_file=$run/media/disk$disk/.windows-label
  if [ -f "$label_file" ]; then
    got=$(tr -d '\r\n' <"$label_file")
    echo "  disk $disk label: $got"
    [ "$got" = "$want" ] || problem "disk $disk is labelled '$got', not '$want'"
  else
    problem "disk $disk got no label"
  fi
done
[ $problems -eq 0 ] || fail "$problems problems with the disks"
echo "PASS: $files files spanned over two 1.44 MB disks in $((end - start)) s"
