#!/usr/bin/env bash
# The generated editor syntax files of *.awl load in the editors' own tools:
# the GtkSourceView language against the schemas of versions 4 and 5, the
# KSyntaxHighlighting definition in kate-syntax-highlighter, and the Vim
# syntax and ftdetect files in a headless Vim, which must give the sample's
# words their groups. Each check whose tool is absent is left out; with no
# tool at all the test is skipped (exit 77).
# Usage: check_syntax_files.sh GENERATED_DIR SOURCE_DIR WORK_DIR
set -euo pipefail
gen=$1 here=$2/tests/packaging/syntax work=$3
ran=0
fail() { echo "FAIL: $*" >&2; exit 1; }
rm -rf "$work" && mkdir -p "$work"

for version in 4 5; do
  schema=/usr/share/gtksourceview-$version/language-specs/language2.rng
  [ -f "$schema" ] || continue
  xmllint --noout --relaxng "$schema" "$gen/awl.lang" 2>"$work/xmllint.txt" ||
    fail "awl.lang against GtkSourceView $version: $(cat "$work/xmllint.txt")"
  ran=1
done

if command -v xmllint >/dev/null; then
  xmllint --noout "$gen/awl.xml" || fail "awl.xml is no well-formed XML"
fi
if command -v kate-syntax-highlighter >/dev/null; then
  mkdir -p "$work/xdg/org.kde.syntax-highlighting/syntax"
  cp "$gen/awl.xml" "$work/xdg/org.kde.syntax-highlighting/syntax/"
  export QT_QPA_PLATFORM=offscreen
  XDG_DATA_DIRS=$work/xdg kate-syntax-highlighter -l | grep -qx 'AWL (SPS)' ||
    fail "kate-syntax-highlighter does not list the definition"
  XDG_DATA_DIRS=$work/xdg kate-syntax-highlighter -s 'AWL (SPS)' -f ansi --syntax-trace format \
    "$here/sample.awl" >"$work/kate.txt" 2>"$work/kate.err" || fail "kate-syntax-highlighter: $(cat "$work/kate.err")"
  [ ! -s "$work/kate.err" ] || fail "kate-syntax-highlighter: $(cat "$work/kate.err")"
  for format in Keyword Title Instruction Operand Constant Comment; do
    grep -q "$format" "$work/kate.txt" || fail "kate-syntax-highlighter shows no $format in the sample"
  done
  ran=1
fi

if command -v vim >/dev/null; then
  mkdir -p "$work/vim"
  cp -r "$gen/syntax" "$gen/ftdetect" "$work/vim/"
  (cd "$here" && vim -N -u NONE -i NONE -es --cmd "set rtp^=$work/vim" -c 'filetype on' -c 'syntax on' \
    -c 'e sample.awl' -c "redir! > $work/vim.txt" -c 'source probe.vim' -c 'redir END' -c 'qa!') ||
    fail "Vim: $(cat "$work/vim.txt" 2>/dev/null)"
  ran=1
fi

[ "$ran" = 1 ] || { echo "no editor tool installed: skipped"; exit 77; }
echo "syntax files load"
