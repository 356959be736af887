#!/usr/bin/env bash
# Installs the Debian packages the game, its tests and its benchmarks need,
# only those that are missing. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
  g++ cmake make pkg-config clang libclang-rt-dev
  libsdl1.2-compat-dev libsdl-gfx1.2-dev libgtk-3-dev libx11-dev libxtst-dev
  libgtest-dev
  libsdl2-dev # SDL 2's header, for the calls the runtime and the tests make beneath SDL 1.2
  xvfb xdotool x11-utils imagemagick util-linux
  libwayland-dev libxkbcommon-dev sway xwayland grim # a headless Wayland desktop for the tests
  pulseaudio pulseaudio-utils # a sound server with a null sink for the end-to-end sound tests
  librsvg2-bin dpkg-dev desktop-file-utils appstream groff-base lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq "${missing[@]}"
