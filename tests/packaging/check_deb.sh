#!/usr/bin/env bash
# The Debian package made from the build folder BUILD for the version VERSION:
# it holds the files listed in EXPECTED, its fields are those of a game, and
# lintian finds neither error nor warning in it.
#
#   check_deb.sh BUILD VERSION EXPECTED
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/checks.sh"

build=$1 version=$2 expected=$3
scratch deb

if ! cpack --config "$build/CPackConfig.cmake" -B "$tmp" >"$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log" >&2
  echo "FAIL: cpack could not make the package" >&2
  exit 1
fi
deb=$tmp/heliomants_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "FAIL: no $(basename "$deb"); cpack made: $(ls "$tmp")" >&2; exit 1; }

# The files, all root's
diff -u <(LC_ALL=C sort "$expected") \
  <(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print substr($6, 2) }' | LC_ALL=C sort) ||
  fail "the package's files are not those of $expected (- expected, + in the package)"
others=$(dpkg-deb --contents "$deb" | awk '$2 != "root/root"')
[ -z "$others" ] || fail "files not owned by root:"$'\n'"$others"

# The fields
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Section)" = games ] || fail "Section is \"$(field Section)\", not games"
[ "$(field Version)" = "$version" ] || fail "Version is \"$(field Version)\", not $version"
[[ $(field Maintainer) == *\ \<*@*\> ]] || fail "Maintainer \"$(field Maintainer)\" is no name and address"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
for library in libsdl1.2-compat-shim libsdl-gfx1.2-5 libgtk-3-0 libc6; do
  [[ ", $depends," == *", $library"[\ ,]* ]] || fail "Depends lacks $library: $depends"
done

# lintian: neither errors nor warnings
lintian --fail-on error,warning "$deb" >"$tmp/lintian" 2>&1 ||
  fail "lintian finds errors or warnings:"$'\n'"$(cat "$tmp/lintian")"

verdict "$(basename "$deb"), Depends: $depends"
