#!/usr/bin/env bash
# Builds the Debian package with CPack and inspects it with dpkg-deb: its
# control fields, no maintainer scripts of its own (the desktop's caches are
# refreshed by the triggers of the packages that own them), and exactly the
# files that cmake --install lays out; then with lintian, where it is
# installed. GUI is 1 when the build has the desktop program, WEB_URL the
# project's homepage or empty.
#
#   check_deb.sh BUILD_DIR WORK_DIR VERSION GUI [WEB_URL]
set -uo pipefail

build=$1 work=$2 version=$3 gui=$4 web=${5:-}
rm -rf "$work"
mkdir -p "$work"
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack -G DEB"
  exit 1
fi
deb=$work/spssim_${version}-1_$(dpkg --print-architecture).deb
if [ ! -f "$deb" ]; then
  ls "$work"
  echo "FAIL: no package $deb"
  exit 1
fi

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
field() { dpkg-deb -f "$deb" "$1"; }

[ "$(field Package)" = spssim ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version-1" ] || fail "Version: $(field Version), not $version-1"
[ "$(field Section)" = education ] || fail "Section: $(field Section)"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@]+@[^\>]+\>$ ]] || fail "Maintainer: $(field Maintainer)"
# Computed from the binaries by dpkg-shlibdeps, with versions.
depends=$(field Depends)
libraries=(libc6 libstdc++6)
[ "$gui" = 1 ] && libraries+=(libqt6core6 libqt6gui6 libqt6widgets6)
for library in "${libraries[@]}"; do
  [[ ", $depends" == *", $library (>= "* ]] || fail "Depends lacks $library: $depends"
done
if [ "$gui" = 1 ]; then
  [[ ", $depends," == *", qt6-translations-l10n,"* ]] || fail "Depends lacks qt6-translations-l10n: $depends"
else
  [[ "$depends" != *qt6* ]] || fail "a package without spssim depends on Qt: $depends"
fi
[ "$(field Homepage)" = "$web" ] || fail "Homepage: '$(field Homepage)', not '$web'"
description=$(dpkg-deb -f "$deb" Description)
[ "$(wc -l <<<"$description")" -ge 3 ] || fail "Description has no long text: $description"
awk 'length > 80 { exit 1 }' <<<"$description" || fail "Description has lines over 80 characters"

control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -v '^$' | sort | tr '\n' ' ')
[ "$control" = "control md5sums " ] || fail "the control archive holds more than control and md5sums: $control"

# The package's files are the installed tree, and its programs run.
DESTDIR="$work/tree" cmake --install "$build" --prefix /usr >/dev/null || fail "cmake --install"
diff -u <(cd "$work/tree" && find . -type f | sort) <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort) ||
  fail "the package's files differ from the installed tree"
dpkg-deb -x "$deb" "$work/unpacked"
[ "$("$work/unpacked/usr/bin/spsrun" --version)" = "spsrun $version" ] || fail "the packaged spsrun does not run"
changelog=$(zcat "$work/unpacked/usr/share/doc/spssim/changelog.Debian.gz" | head -1)
[[ "$changelog" == "spssim ($version-1) "* ]] || fail "the changelog's newest entry is not $version-1: $changelog"

# Debian's own checker: no error and no warning (its informational tags and
# its note about running as root are no findings).
if command -v lintian >/dev/null; then
  if ! out=$(lintian --fail-on error,warning "$deb" 2>&1); then
    fail "lintian:
$out"
  fi
else
  echo "lintian is not installed: the package's Debian checks are skipped"
fi

if [ $failures -gt 0 ]; then
  echo "$failures checks of $deb failed"
  exit 1
fi
echo "$deb passed every check"
