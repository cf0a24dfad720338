#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the trainer need,
# skipping apt entirely when everything is already there.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  libsqlite3-dev
  # readings of kanji and katakana for the import: MeCab and its IPA dictionary
  libmecab-dev mecab-ipadic-utf8
  libgtest-dev libbenchmark-dev
  # the start-up benchmark sees the first frame through X's DAMAGE extension
  libxdamage-dev
  qt6-base-dev qt6-charts-dev qt6-translations-l10n
  # Qt's Wayland plugin, so that Wayland desktops run the trainer natively
  qt6-wayland
  # Qt Charts' CMake package needs Qt OpenGL's, which Debian does not pull in.
  libqt6opengl6-dev
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-ipaexfont-mincho
  fonts-noto-cjk
  xvfb xdotool x11-utils xauth
  # the JIS kana layout is tested against xkb's jp(kana) and X's keysym list
  xkb-data x11proto-dev
  # install checks and the Debian package (CPack's dpkg-shlibdeps run needs file)
  desktop-file-utils appstream dpkg-dev file
  # the Debian package's policy check
  lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
