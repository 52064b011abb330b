#!/usr/bin/env bash
# A real DAW session in headless Ardour (Dummy backend): the plug-in on a
# stereo track must pass the audio unchanged, save its state into the session,
# and get a changed state back when the session is reopened in a second process.
# usage: ardour-session.sh <bundle>
set -euo pipefail

bundle="$1"
scripts="$(cd "$(dirname "$0")/ardour" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

export HOME="$work/home"
installed="$HOME/.vst3/KLV Lumaspan.vst3"
mkdir -p "$HOME/.vst3" "$HOME/.config/ardour7/scripts"
cp -r "$bundle" "$installed"
# Ardour trusts the scanner's cache only when it is newer than the module; the
# cache's time has whole seconds, so the copy is dated back.
find "$installed" -exec touch -d '1 minute ago' {} +
cp "$scripts"/lumaspan_test_*.lua "$HOME/.config/ardour7/scripts/"
LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 60 /usr/lib/ardour7/ardour-vst3-scanner -f "$installed" >/dev/null

export LUMASPAN_SCRIPT_DIR="$scripts"
export LUMASPAN_SESSION_DIR="$work/session"
session="$LUMASPAN_SESSION_DIR/lumaspan.ardour"
default_attributes='measureMode="0" weighting="3" smoothing="1" responseMs="1"'
changed_attributes='measureMode="1" weighting="0" smoothing="3" responseMs="2"'

# The plug-in's saved state (Ardour keeps it as a base64 .vstpreset chunk).
chunk_of() { grep -o '<chunk>[^<]*</chunk>' "$1" | sed 's/<[/]*chunk>//g'; }

expect_state() {
    local file="$1" attributes="$2"
    [ -f "$file" ] || { echo "FAIL: no session file $file"; exit 1; }
    if chunk_of "$file" | base64 -d | grep -aqF -- "<KLALumaspanState $attributes/>"; then
        echo "ok: $(basename "$file") holds the state $attributes"
    else
        echo "FAIL: $(basename "$file") lacks the state $attributes; it holds:"
        chunk_of "$file" | base64 -d | tr '\0' '\n' | grep -a KLALumaspanState || true
        exit 1
    fi
}

echo "== first process: create the session, add the plug-in by name, roll, save"
timeout 120 ardour7-lua "$scripts/session-create.lua"
expect_state "$session" "$default_attributes"

# Change the state in the project, as another host or a preset recall would:
# the changed block has the same length, so the chunk's offsets stay valid.
old_chunk="$(chunk_of "$session")"
new_chunk="$(base64 -d <<<"$old_chunk" | LC_ALL=C sed "s/$default_attributes/$changed_attributes/" | base64 -w0)"
[ "$new_chunk" != "$old_chunk" ] || { echo "FAIL: could not change the saved state"; exit 1; }
sed -i "s|<chunk>$old_chunk</chunk>|<chunk>$new_chunk</chunk>|" "$session"
expect_state "$session" "$changed_attributes"

echo "== second process: reopen the session, roll, save a new snapshot"
timeout 120 ardour7-lua "$scripts/session-reload.lua"
expect_state "$LUMASPAN_SESSION_DIR/reloaded.ardour" "$changed_attributes"
echo "ok: the plug-in runs in Ardour, passes the audio unchanged and its state survives reopening"
