#!/usr/bin/env bash
# The tree that `cmake --install` made below TREE with the prefix /usr, for the
# version VERSION: it holds the files listed in EXPECTED and no others, each
# passes its validator without a remark, and it gives the licence in LICENSE.
#
#   check_tree.sh TREE VERSION EXPECTED LICENSE
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/checks.sh"

tree=$1 version=$2 expected=$3 license=$4

# Prints what COMMAND... says; fails when it says anything or fails.
quiet() {
  local what=$1 said
  shift
  if ! said=$("$@" 2>&1) || [ -n "$said" ]; then
    fail "$what:"$'\n'"$said"
  fi
}

# The files, and the program among them
installed=$(cd "$tree" && find . -type f -o -type l | sed 's|^\.||' | LC_ALL=C sort)
diff -u <(LC_ALL=C sort "$expected") <(echo "$installed") ||
  fail "the installed files are not those of $expected (- expected, + installed)"
[ -x "$tree/usr/games/heliomants" ] || fail "/usr/games/heliomants is not executable"

# The menu entry, the software centres' entry and the manual page
share=$tree/usr/share
quiet "desktop-file-validate" desktop-file-validate "$share/applications/heliomants.desktop"
for metainfo in "$share"/metainfo/*.metainfo.xml; do
  said=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate:"$'\n'"$said"
  release=$(grep -o -m 1 '<release version="[^"]*"' "$metainfo" | cut -d '"' -f 2)
  [ "$release" = "$version" ] || fail "the newest release in the metainfo is $release, not $version"
  grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "the metainfo names no MIT licence"
done
quiet "groff on the manual page" groff -man -ww -z <(zcat "$share/man/man6/heliomants.6.gz")
zcat "$share/man/man6/heliomants.6.gz" | grep -q "^\.TH HELIOMANTS 6 .*\"Heliomants $version\"" ||
  fail "the manual page does not name version $version"
changelog=$(zcat "$share/doc/heliomants/changelog.gz" | head -n 1)
[[ $changelog == "heliomants ($version) "* ]] || fail "the changelog begins with \"$changelog\", not version $version"

# The package's copyright names the MIT licence for all its files, in the words of LICENSE
copyright=$share/doc/heliomants/copyright
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' "$copyright" ||
  fail "the copyright file is not in the machine-readable format"
grep -A 2 -x 'Files: \*' "$copyright" | grep -q -x 'License: MIT' || fail "the copyright file gives no MIT licence for all files"
diff -u <(sed -n '/^Permission/,$p' "$license") \
  <(sed -n '/^License: MIT$/,/^$/p' "$copyright" | sed -n '/^ Permission/,$p' | sed 's/^ //; s/^\.$//') ||
  fail "the licence in the copyright file is not that of $license"

# Each icon is as large as its folder says
for size in 16 32 48 64 128 256; do
  got=$(identify -format '%wx%h' "$share/icons/hicolor/${size}x$size/apps/heliomants.png")
  [ "$got" = "${size}x$size" ] || fail "the ${size}x$size icon is $got"
done

verdict "the install tree's $(wc -l <<<"$installed") files"
