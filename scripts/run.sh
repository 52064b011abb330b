#!/usr/bin/env bash
# Builds the release plug-in, installs it for the current user and shows what
# a VST3 host sees of the installed module.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
source scripts/ccache-env.sh

cmake --preset release
cmake --build --preset release

bundle="build/release/Lumaspan_artefacts/Release/VST3/KLV Lumaspan.vst3"
mkdir -p "$HOME/.vst3"
rm -rf "$HOME/.vst3/KLV Lumaspan.vst3"
cp -r "$bundle" "$HOME/.vst3/"
echo "Installed: $HOME/.vst3/KLV Lumaspan.vst3"
