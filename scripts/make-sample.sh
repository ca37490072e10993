#!/usr/bin/env bash
# make-sample.sh DIR: a sample source drive, about 4.8 MB in nested folders,
# with odd names, a long path, hidden, system and read-only files, and set
# times, built the same way every time.
set -euo pipefail
root=$1
rm -rf "$root"
mkdir -p "$root"
cd "$root"
mkdir -p "WINDOWS/SYSTEM" "Program Files/Editor" "My Documents/Letters 1997" \
         "My Documents/Photos" "Projects/garden.plan/notes" "Empty folder"
text() {  # text FILE LINES: numbered lines of plain text
  seq -f "line %g of $(basename "$1"): the quick brown fox jumps over the lazy dog" "$2" > "$1"
}
text "WINDOWS/WIN.INI" 40
text "WINDOWS/SYSTEM.INI" 60
text "WINDOWS/SYSTEM/drivers.txt" 3000
text "Program Files/Editor/editor.hlp" 9000
text "Program Files/Editor/readme.txt" 200
for i in $(seq 1 12); do text "My Documents/Letters 1997/letter $i.doc" $((i * 250)); done
for i in $(seq 1 6); do
  # Photos: larger files whose bytes differ from line to line.
  seq -f "%08g" $((i * 5000)) | sed "s/^/pixel row $i /" > "My Documents/Photos/photo_$i.bmp"
done
text "Projects/garden.plan/notes/spring (draft).txt" 500
text "Projects/garden.plan/notes/.hidden notes" 50
text "Projects/budget 1998.xls" 4000
: > "Projects/empty.txt"
# A long path: 200 characters of folder names.
long="Archive/$(printf 'deeply nested folder %02d/' 1 2 3 4 5 6 7)"
mkdir -p "$long"
text "$long/found at the bottom.txt" 30
text "AUTOEXEC.BAT" 10
text "IO.SYS" 300
text "CONFIG.SYS" 10
# Hidden (Wine's format for the DOS attributes) and read-only files.
if command -v setfattr >/dev/null; then
  setfattr -n user.DOSATTRIB -v '"0x22"' "Projects/garden.plan/notes/.hidden notes" 2>/dev/null || true
  setfattr -n user.DOSATTRIB -v '"0x26"' "IO.SYS" 2>/dev/null || true
fi
chmod a-w "WINDOWS/SYSTEM/drivers.txt" "IO.SYS"
# Fixed times, oldest at the top, so kept times can be seen at a glance.
find . -depth -print0 | xargs -0 touch -h -d "1997-08-21 23:04:54"
