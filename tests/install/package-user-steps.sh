#!/usr/bin/env bash
# What a user does with the installed package, run as a fresh user on a virtual X server by
# check-package.sh: start the program from the PATH and close it, then convert one clip with
# dero-encode. The user's own folders receive the program's files.
set -euo pipefail
cd "$HOME"
fail() { echo "FAILED: $*" >&2; exit 1; }

program=$(command -v dero-video-converter) || fail "dero-video-converter is not on the PATH"
[ "$program" = /usr/bin/dero-video-converter ] || fail "the launcher found is $program"

dero-video-converter > program.log 2>&1 &
pid=$!
trap 'kill "$pid" 2> /dev/null || true' EXIT
shown=""
for _ in $(seq 1 120); do
    if xdotool search --onlyvisible --name '^Dero Video Converter$' > /dev/null 2>&1 &&
        [ -f .local/share/Derobox/Output.dll ]; then
        shown=yes
        break
    fi
    kill -0 "$pid" 2> /dev/null || { cat program.log >&2; fail "the program ended early"; }
    sleep 0.5
done
[ -n "$shown" ] || { cat program.log >&2; fail "the device chooser did not show"; }
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
trap - EXIT
[ "$status" -eq 0 ] || { cat program.log >&2; fail "exit status $status after SIGTERM"; }
cmp -s /usr/lib/dero-video-converter/Output.dll .local/share/Derobox/Output.dll ||
    fail "the user's profile file is not a copy of the stock one"
echo "the installed program started as $(id -un), showed the device chooser and ended cleanly"

ffmpeg -v error -y -f lavfi -i testsrc2=size=320x240:rate=25:d=2 \
    -f lavfi -i sine=frequency=440:sample_rate=44100:d=2 \
    -c:v mpeg4 -q:v 4 -pix_fmt yuv420p -c:a aac -shortest clip.mp4
/usr/bin/dero-encode -y -i clip.mp4 -vcodec mpeg4 -s 176x144 -r 15 -b 200 \
    -acodec aac -ac 1 -ar 22050 -ab 32 -f 3gp clip.3gp 2> encode.log ||
    { cat encode.log >&2; fail "dero-encode failed"; }
streams=$(ffprobe -v error -show_entries stream=codec_name,width,height,sample_rate,channels \
    -of csv=p=0 clip.3gp)
echo "$streams" | grep -qx 'mpeg4,176,144' || fail "video of the converted clip: $streams"
echo "$streams" | grep -qx 'aac,22050,1' || fail "audio of the converted clip: $streams"
echo "/usr/bin/dero-encode converted a clip into 176x144 MPEG-4 with mono AAC"
