#!/bin/sh
# What `make install` put in place, so that `make uninstall` takes away that and
# nothing else. CMake's own install manifest in the build folder cannot serve:
# the next install or package made there (cpack stages the package with an
# install of its own) writes it anew, with other files. Each file is recorded
# with its DESTDIR in front, so installs into several trees are kept apart.
#
#   install-record.sh add BUILD DESTDIR            after `cmake --install BUILD`
#   install-record.sh remove BUILD DESTDIR PREFIX  takes away what was recorded there
set -eu

say() { echo "install-record: $*" >&2; }

# An absolute path without "//", "." or "..", the same whatever way the folder
# was written; links are not followed.
normal() { realpath -m -s -- "$1"; }

command=$1 build=$2 destdir=$3
record=$build/installed-by-make.txt

case $command in
add)
  manifest=$build/install_manifest.txt
  [ -s "$manifest" ] || { say "no install manifest in $build"; exit 1; }
  # The manifest's last line has no line feed.
  while IFS= read -r path || [ -n "$path" ]; do
    normal "$destdir$path"
  done <"$manifest" >"$record.new"
  [ ! -f "$record" ] || cat "$record" >>"$record.new"
  LC_ALL=C sort -u -o "$record" "$record.new"
  rm -f "$record.new"
  ;;
remove)
  under=$(normal "$destdir$4")/
  removed=0
  if [ -f "$record" ]; then
    : >"$record.new"
    while IFS= read -r path; do
      case $path in
      "$under"*)
        rm -f -- "$path"
        removed=$((removed + 1))
        # The game's own folders go with their last file.
        folder=$(dirname -- "$path")
        [ "$(basename -- "$folder")" != heliomants ] || rmdir -- "$folder" 2>/dev/null || true
        ;;
      *) printf '%s\n' "$path" >>"$record.new" ;;
      esac
    done <"$record"
    if [ -s "$record.new" ]; then mv -f "$record.new" "$record"; else rm -f "$record" "$record.new"; fi
  fi
  if [ "$removed" = 0 ]; then
    say "nothing that make install put under $under is recorded in $record"
  else
    echo "removed the $removed files that make install put under $under"
  fi
  ;;
*)
  say "no command $command"
  exit 1
  ;;
esac
