#!/usr/bin/env bash
# Installs the build into a scratch prefix and starts the installed program once, as a user whose
# data, cache and settings folders are fresh: the profile file must be copied into the user's data
# folder, snapshots must go to the user's cache, and nothing may be written into the program
# folder, which an installed copy's users cannot write to.
set -euo pipefail
build="$1"
scratch=$(mktemp -d)
trap 'if [ -n "${pid:-}" ]; then kill "$pid" 2> /dev/null || true; fi; rm -rf "$scratch"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$scratch/prefix" > /dev/null
program="$scratch/prefix/lib/dero-video-converter"
[ -x "$scratch/prefix/bin/dero-video-converter" ] || fail "no launcher on the PATH"
[ -f "$scratch/prefix/share/applications/dero-video-converter.desktop" ] || fail "no desktop entry"
ls "$scratch"/prefix/share/icons/hicolor/*/apps/* > /dev/null 2>&1 || fail "no icons"
[ -f "$program/dero-installed" ] || fail "the program folder is not marked as installed"
# Dense screens: every picture of the skin but the window masks (shapes are cut at 1 x) has its
# double-size companion in the installed tree.
pictures=0
while IFS= read -r picture; do
    pictures=$((pictures + 1))
    [ -f "${picture%.*}@2x.${picture##*.}" ] || fail "no double-size picture beside $picture"
done < <(find "$program/Skin" -type f \( -name '*.bmp' -o -name '*.jpg' \) ! -name '*@2x.*' \
             ! -name 'mask.bmp')
[ "$pictures" -gt 0 ] || fail "no skin pictures installed"

touch "$scratch/before"
sleep 1
mkdir -m 700 "$scratch/runtime"
env HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" \
    XDG_CACHE_HOME="$scratch/cache" XDG_RUNTIME_DIR="$scratch/runtime" QT_QPA_PLATFORM=offscreen \
    "$scratch/prefix/bin/dero-video-converter" > "$scratch/program.log" 2>&1 &
pid=$!
for _ in $(seq 1 120); do
    [ -f "$scratch/data/Derobox/Output.dll" ] && [ -d "$scratch/cache/Derobox/Snapshot" ] && break
    kill -0 "$pid" 2> /dev/null || { cat "$scratch/program.log" >&2; fail "the program ended early"; }
    sleep 0.5
done
sleep 1
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || { cat "$scratch/program.log" >&2; fail "exit status $status after SIGTERM"; }

cmp -s "$program/Output.dll" "$scratch/data/Derobox/Output.dll" ||
    fail "the user's profile file is not a copy of the stock one"
[ -d "$scratch/cache/Derobox/Snapshot" ] || fail "no snapshot folder in the user's cache"
[ -f "$scratch/config/Derobox/Derobox.ini" ] || fail "the settings were not saved"
written=$(find "$program" -newer "$scratch/before")
[ -z "$written" ] || fail "written into the program folder: $written"
echo "installed tree: profile file copied, nothing written into the program folder"
