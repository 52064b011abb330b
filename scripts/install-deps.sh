#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the tools need.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config clang-14 libclang-rt-14-dev
    juce-modules-source libgtest-dev libbenchmark-dev libebur128-dev
    libflac-dev libvorbis-dev libogg-dev
    fonts-dejavu-core fontconfig-config fonts-league-spartan
    ardour xvfb twm xfonts-base x11-apps imagemagick
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi

export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
