#!/usr/bin/env bash
# make install and then make uninstall from the build folder BUILD of the
# source SOURCE, each with the same PREFIX and DESTDIR: what make install put
# there is gone, and nothing else. EXPECTED lists the files installed under the
# prefix /usr.
#
#   check_uninstall.sh SOURCE BUILD EXPECTED
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/checks.sh"

source=$1 build=$2 expected=$3
scratch uninstall

# The Makefile's target, from the build that is there; what it says is kept.
run_make() {
  if ! make --no-print-directory -C "$source" -o build INSTALL_FROM="$build" "$@" >"$tmp/make.log" 2>&1; then
    cat "$tmp/make.log" >&2
    echo "FAIL: make $*" >&2
    exit 1
  fi
}

files() { (cd "$1" && find . -type f -o -type l | sed 's|^\.||' | LC_ALL=C sort); }

# Files left in TREE that are not listed in LIST; nothing when the tree holds those alone.
unlike() { diff -u <(echo "$2") <(files "$1") || true; }

# One tree holds the game as a package puts it, under /usr, beside make
# install's under /usr/local; another tree holds make install's alone. The
# package is staged last, as cpack does, which writes the build folder's install
# manifest anew with its own files.
tree=$tmp/tree other=$tmp/other
DESTDIR=$tree cmake --install "$build" --prefix /usr >/dev/null
packaged=$(files "$tree")
run_make install DESTDIR="$tree" PREFIX=/usr/local
run_make install DESTDIR="$other" PREFIX=/usr/local
DESTDIR=$tmp/staging cmake --install "$build" --prefix /usr >/dev/null

run_make uninstall DESTDIR="$tree" PREFIX=/usr/local
said=$(unlike "$tree" "$packaged")
[ -z "$said" ] || fail "make uninstall did not leave the packaged files alone (- packaged, + left):"$'\n'"$said"
folders=$(find "$tree/usr/local" -name heliomants)
[ -z "$folders" ] || fail "make uninstall left the game's folders:"$'\n'"$folders"
said=$(unlike "$other" "$(sed 's|^/usr/|/usr/local/|' "$expected" | LC_ALL=C sort)")
[ -z "$said" ] || fail "make uninstall into one tree changed another (- installed, + left):"$'\n'"$said"

# The package's files were never make install's; nor is anything left to take from the first tree.
for prefix in /usr /usr/local; do
  run_make uninstall DESTDIR="$tree" PREFIX="$prefix"
  grep -q "^install-record: nothing that make install put under $tree$prefix/ is recorded" "$tmp/make.log" ||
    fail "make uninstall with PREFIX=$prefix said: $(cat "$tmp/make.log")"
  said=$(unlike "$tree" "$packaged")
  [ -z "$said" ] || fail "make uninstall with PREFIX=$prefix took files (- packaged, + left):"$'\n'"$said"
done

# The same DESTDIR, written otherwise
run_make uninstall DESTDIR="$other//" PREFIX=/usr/local/
said=$(find "$other" -type f -o -type l -o -name heliomants)
[ -z "$said" ] || fail "make uninstall left behind:"$'\n'"$said"

verdict "make uninstall took the $(wc -l <"$expected") files make install put there, and no others"
