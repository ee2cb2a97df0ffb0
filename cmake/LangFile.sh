#!/bin/sh
# Turns a language file as kept in the repository (UTF-8, LF) into the form the
# program reads and writes its language files in: UTF-16 LE with the byte order
# mark FF FE and CR LF after every line.
#   LangFile.sh <source.lang> <output.lang>
# Refuses a source that is not valid UTF-8 or does not end with a line break, so
# that a broken file never reaches the install.
set -eu
src=$1 out=$2
iconv -f UTF-8 -t UTF-8 "$src" >/dev/null || { echo "$src: not valid UTF-8" >&2; exit 1; }
if [ -s "$src" ] && [ "$(tail -c 1 "$src" | od -An -c | tr -d ' ')" != '\n' ]; then
  echo "$src: the last line has no line break" >&2
  exit 1
fi
tmp=$out.tmp
{
  printf '\377\376'
  # A UTF-8 byte order mark and CR LF line ends in the source are dropped first.
  LC_ALL=C sed '1s/^\xEF\xBB\xBF//; s/\r$//; s/$/\r/' "$src" | iconv -f UTF-8 -t UTF-16LE
} >"$tmp"
mv "$tmp" "$out"
