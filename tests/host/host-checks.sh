#!/usr/bin/env bash
# One check of the built module through a real host: lumaspan-host (the
# framework's VST3 hosting) or Ardour's VST3 scanner.
# usage: host-checks.sh <check> <lumaspan-host> <bundle> <expected SDK version>
set -uo pipefail

check="$1"
tool="$2"
bundle="$3"
sdk_version="$4"

failures=0
output=""

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# expect_line "<exact line>": the last command's output must contain the line.
expect_line() {
    if grep -qxF -- "$1" <<<"$output"; then
        echo "ok: $1"
    else
        fail "missing line: $1"
    fi
}

run_tool() {
    output="$("$tool" "$@" 2>&1)"
    status=$?
}

run_info() {
    run_tool info "$bundle"
    [ "$status" -eq 0 ] || fail "lumaspan-host info exited with $status"
}

# The block a fresh instance must save: magic "VC2!", the text length, the
# one-line XML text and a zero byte, as space-separated hex.
block_hex() {
    local text="$1"
    local length=${#text}
    {
        printf 'VC2!'
        printf "\\x$(printf %02x $((length & 255)))\\x$(printf %02x $(((length >> 8) & 255)))\\x00\\x00"
        printf '%s' "$text"
        printf '\0'
    } | od -An -tx1 -v | tr -s ' \n' '  ' | sed 's/^ //; s/ $//'
}

default_xml='<?xml version="1.0" encoding="UTF-8"?> <KLALumaspanState measureMode="0" weighting="3" smoothing="1" responseMs="1"/>'

check_identity() {
    run_info
    expect_line "factory vendor: Orvalen"
    expect_line "factory url: "
    expect_line "factory email: "
    expect_line "class name: KLV Lumaspan"
    expect_line "vendor: Orvalen"
    expect_line "version: 1.0.0"
    expect_line "category: Fx|Analyzer"
    expect_line "sdk version: $sdk_version"
    expect_line "editor: yes"
}

check_layouts() {
    run_info
    expect_line "buses: 1 in, 1 out"
    expect_line "default layout: 2 in / 2 out"
    expect_line "layout mono/mono: accepted"
    expect_line "layout stereo/stereo: accepted"
    expect_line "layout mono/stereo: refused"
    expect_line "layout stereo/mono: refused"
    expect_line "layout 5.1/5.1: refused"
}

check_parameters() {
    run_info
    expect_line "parameters: 1"
    grep -q '^parameter 0: "Bypass" .* bypass=yes$' <<<"$output" || fail "parameter 0 is not the wrapper's bypass"
}

check_programs() {
    run_info
    expect_line "program lists: 1"
    expect_line 'program list 0: "Factory Presets", 1 programs'
    expect_line 'program 0: "Default"'
}

check_fresh_state() {
    run_info
    expect_line "state block: 126 bytes"
    expect_line "state block hex: $(block_hex "$default_xml")"
    expect_line "state xml: $default_xml"
}

check_restore_state() {
    local changed='<?xml version="1.0" encoding="UTF-8"?> <KLALumaspanState measureMode="1" weighting="2" smoothing="0" responseMs="2"/>'
    run_tool restore "$bundle" "$(block_hex "$changed")"
    [ "$status" -eq 0 ] || fail "restore exited with $status"
    expect_line "state xml: $changed"

    # A block with another magic is ignored: the module keeps its defaults.
    run_tool restore "$bundle" "$(block_hex "$changed" | sed 's/^56/57/')"
    [ "$status" -eq 0 ] || fail "restore exited with $status"
    expect_line "state xml: $default_xml"

    # Only one attribute: the other three keep their values.
    local one='<?xml version="1.0" encoding="UTF-8"?> <klalumaspanstate measureMode="1"/>'
    run_tool restore "$bundle" "$(block_hex "$one")"
    expect_line 'state xml: <?xml version="1.0" encoding="UTF-8"?> <KLALumaspanState measureMode="1" weighting="3" smoothing="1" responseMs="1"/>'
}

check_pass_through() {
    run_tool process "$bundle"
    echo "$output"
    [ "$status" -eq 0 ] || fail "process exited with $status"
    grep -q '^pass-through stereo/stereo: bit-exact' <<<"$output" || fail "stereo/stereo is not bit-exact"
    grep -q '^pass-through mono/mono: bit-exact' <<<"$output" || fail "mono/mono is not bit-exact"

    run_tool process "$bundle" --rate 44100 --block 4096 --seconds 2
    [ "$status" -eq 0 ] || fail "process at 44.1 kHz, 4096-sample blocks exited with $status: $output"
}

check_command_line() {
    run_tool info "$bundle.missing"
    [ "$status" -eq 2 ] || fail "a missing bundle gives exit $status, not 2"
    run_tool frobnicate "$bundle"
    [ "$status" -eq 2 ] || fail "an unknown command gives exit $status, not 2"
    run_tool process "$bundle" --rate
    [ "$status" -eq 2 ] || fail "an option without a value gives exit $status, not 2"
    run_tool --help
    [ "$status" -eq 0 ] || fail "--help gives exit $status"
}

check_ardour_scan() {
    local home
    home="$(mktemp -d)"
    trap 'rm -rf "$home"' EXIT
    output="$(HOME="$home" LD_LIBRARY_PATH=/usr/lib/ardour7 timeout 60 /usr/lib/ardour7/ardour-vst3-scanner -v -f "$bundle" 2>&1)"
    status=$?
    [ "$status" -eq 0 ] || fail "the scanner exited with $status"
    local info
    info="$(grep -o '<VST3Info [^>]*>' <<<"$output")"
    echo "scanner: $info"
    [ "$(grep -c . <<<"$info")" -eq 1 ] || fail "expected exactly one VST3Info line"
    for attribute in 'name="KLV Lumaspan"' 'vendor="Orvalen"' 'category="Fx|Analyzer"' 'version="1.0.0"' \
        "sdk-version=\"$sdk_version\"" 'n_inputs="2"' 'n_outputs="2"' 'n_midi_inputs="0"' 'n_midi_outputs="0"'; do
        grep -qF -- " $attribute" <<<"$info" && echo "ok: $attribute" || fail "scanner info lacks $attribute"
    done
    ls "$home"/.cache/ardour7/vst/*.v3i >/dev/null 2>&1 || fail "the scanner wrote no cache file"
}

case "$check" in
    identity | layouts | parameters | programs | fresh_state | restore_state | pass_through | command_line | ardour_scan)
        "check_$check" ;;
    *)
        echo "unknown check: $check"
        exit 2 ;;
esac

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
