#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the simulator need,
# and any further packages named as arguments (scripts/tidy.sh asks for clang-tidy, scripts/fuzz.sh for clang).
# Quick when everything is present: apt is only asked when a package is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ flex libfl-dev
  qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
  # Qt's own texts (the standard dialogs, buttons and menus) in German.
  qt6-translations-l10n
  fonts-liberation xvfb xauth
  libxml2-utils
  # The waveform viewer's converters read the exported VCD files back as an outside check.
  gtkwave
  # Packaging and its checks: the validators of the desktop entry, the
  # metainfo and the file type, GIO's view of them, the manual pages, the
  # SVG icon rendered for comparison, dpkg-shlibdeps for the package and
  # Debian's checker of packages.
  desktop-file-utils appstream shared-mime-info libglib2.0-bin man-db qt6-svg-dev dpkg-dev file lintian
  # The editors whose syntax files of *.awl the package installs, to check
  # that each loads them: GtkSourceView's schemas, KSyntaxHighlighting's
  # command-line highlighter, Vim.
  libgtksourceview-5-common libgtksourceview-4-common libkf5syntaxhighlighting-tools vim
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    SUDO=sudo
  else
    SUDO=
  fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
