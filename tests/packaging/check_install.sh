#!/usr/bin/env bash
# Installs the build under /usr into an empty DESTDIR and checks the tree as
# a desktop and a user meet it: the files are where the desktop looks for
# them, the validators accept the desktop entry, the metainfo and the file
# type, .awl files get our type and open in our program, the manual pages
# list the programs' options, and the installed programs run the installed
# examples as the scenario tests do and the installed model solutions of the
# exercises as their tests do.
#
#   check_install.sh BUILD_DIR SOURCE_DIR WORK_DIR VERSION APP_ID [WEB_URL]
set -uo pipefail

build=$1 source=$2 work=$3 version=$4 id=$5 web=${6:-}
rm -rf "$work"
mkdir -p "$work/home"
mkdir -m 700 "$work/runtime"
if ! DESTDIR="$work/dest" cmake --install "$build" --prefix /usr >"$work/install.log"; then
  cat "$work/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi
usr=$work/dest/usr
share=$usr/share
gui=0
[ -e "$build/gui/spssim" ] && gui=1

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# --- The tree ---------------------------------------------------------------
expected=(bin/spsrun share/man/man1/spsrun.1.gz share/spssim/examples/demo.sps share/spssim/exercises/README.md
  share/doc/spssim/spsrun.md
  share/doc/spssim/copyright share/doc/spssim/changelog.Debian.gz
  share/gtksourceview-5/language-specs/awl.lang share/gtksourceview-4/language-specs/awl.lang
  share/org.kde.syntax-highlighting/syntax/awl.xml share/vim/vimfiles/syntax/awl.vim share/vim/vimfiles/ftdetect/awl.vim)
if [ $gui = 1 ]; then
  expected+=(bin/spssim share/man/man1/spssim.1.gz "share/applications/$id.desktop"
    "share/metainfo/$id.metainfo.xml" "share/mime/packages/$id.xml" "share/icons/hicolor/scalable/apps/$id.svg")
  for size in 16 24 32 48 64 128 256; do
    png=share/icons/hicolor/${size}x${size}/apps/$id.png
    expected+=("$png")
    file -b "$usr/$png" | grep -q "^PNG image data, $size x $size," || fail "$png is no $size x $size PNG"
  done
fi
for f in "${expected[@]}"; do [ -f "$usr/$f" ] || fail "missing $f"; done
for f in "$usr"/bin/*; do [ -x "$f" ] || fail "$f is not executable"; done
outside=$(cd "$work/dest" && find . -mindepth 1 -not -path './usr' -not -path './usr/*')
[ -z "$outside" ] || fail "installed outside the prefix: $outside"

# --- The programs -----------------------------------------------------------
[ "$("$usr/bin/spsrun" --version)" = "spsrun $version" ] || fail "spsrun --version does not print $version"
if [ $gui = 1 ]; then
  [ "$("$usr/bin/spssim" --version)" = "spssim $version" ] || fail "spssim --version does not print $version"
  (cd "$work" && QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" "$usr/bin/spssim" --steps 10 \
    --screenshot shot.png "$share/spssim/examples/blink.awl") || fail "the installed spssim cannot show an installed example"
  file -b "$work/shot.png" | grep -q '^PNG image data' || fail "spssim wrote no screenshot"
fi

# The examples run from their folder: each NAME.sps prints what the scenario
# example_NAME.sps prints; the grading example fails its third case on purpose.
examples=$share/spssim/examples
run_example() { # SCRIPT EXPECTED_OUTPUT EXPECTED_STATUS
  (cd "$examples" && "$usr/bin/spsrun" "$1" >"$work/$1.out" 2>&1)
  local status=$?
  [ $status = "$3" ] || fail "spsrun $1 in the installed examples ended with status $status, not $3"
  if [ -n "$2" ] && ! diff -u "$2" "$work/$1.out"; then fail "spsrun $1 printed something else"; fi
}
run_example demo.sps "" 0
run_example ampel_test.sps "$source/tests/scenarios/example_grading.out" 1
for scenario in "$source"/tests/scenarios/example_*.sps; do
  name=$(basename "$scenario" .sps)
  name=${name#example_}
  [ "$name" = grading ] && continue
  run_example "$name.sps" "$source/tests/scenarios/example_$name.out" 0
done

# Every exercise of the source tree is installed whole, and the installed
# model solutions pass their tests with the installed spsrun.
installed_exercises=$share/spssim/exercises
diff -r "$source/exercises" "$installed_exercises" >/dev/null ||
  fail "the installed exercises differ from exercises/ of the source tree"
for exercise in "$installed_exercises"/[0-9][0-9]_*/; do
  for solution in "$exercise"loesung/*.awl; do
    (cd "$exercise" && { echo "load $solution"; cat test.sps; } | "$usr/bin/spsrun" - >"$work/exercise.out" 2>&1) ||
      fail "the installed model solution $solution does not pass its test.sps: $(tail -3 "$work/exercise.out")"
  done
done

# --- Manual pages -------------------------------------------------------------
# Clean under man's own checks, and every option of --help is in the manual
# (and no other); every command of spsrun too.
options_of() { grep -o -- '--[a-z][a-z-]*' | sort -u; }
for page in spsrun spssim; do
  [ -f "$share/man/man1/$page.1.gz" ] || continue
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
    "$share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man $page warns: $warnings"
  LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$share/man/man1/$page.1.gz" 2>/dev/null >"$work/$page.txt"
  from_help=$("$usr/bin/$page" --help | options_of)
  from_man=$(sed -n '/^OPTIONS/,/^[A-Z]/p' "$work/$page.txt" | options_of)
  [ "$from_help" = "$from_man" ] || fail "options of $page --help and man $page differ:
$(diff <(echo "$from_help") <(echo "$from_man"))"
done
for command in $("$usr/bin/spsrun" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z]*\).*/\1/p'); do
  grep -Eq "^       $command( |$|,)|, $command$" "$work/spsrun.txt" || fail "man spsrun lacks the command $command"
done

# --- The desktop --------------------------------------------------------------
if [ $gui = 1 ]; then
  # The validators, where they are installed. Hints (such as two main
  # categories, which we want) are fine.
  if command -v desktop-file-validate >/dev/null; then
    out=$(desktop-file-validate "$share/applications/$id.desktop" 2>&1) || fail "desktop-file-validate: $out"
    grep -Ei 'error|warning' <<<"$out" && fail "desktop-file-validate complains"
  else
    echo "desktop-file-validate is not installed: the desktop entry is not validated"
  fi
  if command -v appstreamcli >/dev/null; then
    out=$(appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" 2>&1) || fail "appstreamcli: $out"
  else
    echo "appstreamcli is not installed: the metainfo is not validated"
  fi
  # Its homepage and screenshot lie where the project is published, and
  # without a place of publication it names none.
  metainfo=$share/metainfo/$id.metainfo.xml
  if [ -z "$web" ]; then
    ! grep -Eq '<url|<screenshot|<image' "$metainfo" || fail "the metainfo names a homepage or screenshot: $(grep -E '<url|<image' "$metainfo")"
  else
    grep -qF "<url type=\"homepage\">$web</url>" "$metainfo" || fail "the metainfo's homepage is not $web"
    grep -qF "<image>$web/docs/images/spssim.png</image>" "$metainfo" || fail "the metainfo's screenshot does not lie below $web"
  fi
  release=$(grep -o '<release version="[^"]*"' "$share/metainfo/$id.metainfo.xml" | head -1)
  [ "$release" = "<release version=\"$version\"" ] || fail "the metainfo's newest release is not $version"
  xmllint --noout "$share/mime/packages/$id.xml" || fail "the MIME package is no well-formed XML"
  xmllint --noout "$share/icons/hicolor/scalable/apps/$id.svg" || fail "the SVG icon is no well-formed XML"

  # What the packages' triggers do on a real system, then ask GIO (which file
  # managers use) for the type of a program and the program that opens it.
  desktop() { env PATH="$usr/bin:$PATH" XDG_DATA_DIRS="$share:/usr/share" XDG_DATA_HOME="$work/home" \
    XDG_CONFIG_HOME="$work/home" XDG_CONFIG_DIRS="$work/home" "$@"; }
  out=$(desktop update-mime-database "$share/mime" 2>&1) || fail "update-mime-database: $out"
  [ -z "$out" ] || fail "update-mime-database complains: $out"
  update-desktop-database "$share/applications" || fail "update-desktop-database"
  grep -qx "text/x-sps-awl=$id.desktop;" "$share/applications/mimeinfo.cache" ||
    fail "the desktop entry does not register for text/x-sps-awl"
  printf 'ORGANIZATION_BLOCK main:OB1\n' >"$work/program.awl"
  type=$(desktop gio info -a standard::content-type "$work/program.awl" | sed -n 's/.*standard::content-type: //p')
  [ "$type" = text/x-sps-awl ] || fail "an .awl file has the type '$type', not text/x-sps-awl"
  out=$(desktop gio mime text/x-sps-awl)
  grep -q "^Default application for .*: $id.desktop$" <<<"$out" || fail "$id.desktop does not open text/x-sps-awl: $out"
fi

if [ $failures -gt 0 ]; then
  echo "$failures checks of the installed tree failed (tree in $work/dest)"
  exit 1
fi
echo "The installed tree in $work/dest passed every check"
