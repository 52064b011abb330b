#!/usr/bin/env bash
# Builds the release plug-in and the host tool, installs the plug-in for the
# current user and shows what a VST3 host sees of the installed module.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
source scripts/ccache-env.sh

cmake --preset release
cmake --build --preset release --target Lumaspan_VST3 lumaspan_host

bundle="build/release/Lumaspan_artefacts/Release/VST3/KLV Lumaspan.vst3"
installed="$HOME/.vst3/KLV Lumaspan.vst3"
mkdir -p "$HOME/.vst3"
rm -rf "$installed"
cp -r "$bundle" "$installed"
echo "Installed: $installed"
echo

build/release/bin/lumaspan-host info "$installed"
echo
build/release/bin/lumaspan-host process "$installed"
