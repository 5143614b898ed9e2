"""Clips for the journeys, made with the ffmpeg command, and reading outputs back with ffprobe."""

import json
import subprocess


def make_clip(path, width, height, seconds, rate=25, audio=True, aspect=None):
    arguments = ["ffmpeg", "-v", "error", "-y",
                 "-f", "lavfi", "-i", f"testsrc2=size={width}x{height}:rate={rate}:d={seconds}"]
    if audio:
        arguments += ["-f", "lavfi", "-i", f"sine=frequency=440:sample_rate=44100:d={seconds}"]
    arguments += ["-c:v", "mpeg4", "-q:v", "4", "-pix_fmt", "yuv420p"]
    if aspect:
        arguments += ["-aspect", aspect]
    if audio:
        arguments += ["-c:a", "aac", "-b:a", "96k"]
    arguments += ["-shortest", path]
    subprocess.run(arguments, check=True)


def probe(path):
    result = subprocess.run(
        ["ffprobe", "-v", "error", "-show_format", "-show_streams", "-of", "json", path],
        check=True, stdout=subprocess.PIPE, text=True)
    return json.loads(result.stdout)


def stream(info, kind):
    for entry in info["streams"]:
        if entry["codec_type"] == kind:
            return entry
    return None


def bar_rows(path, seconds_in=0.5):
    """Mean luminance of the top and bottom 8 rows and the middle of one decoded frame."""
    info = probe(path)
    video = stream(info, "video")
    width, height = int(video["width"]), int(video["height"])
    raw = subprocess.run(
        ["ffmpeg", "-v", "error", "-ss", str(seconds_in), "-i", path, "-frames:v", "1",
         "-f", "rawvideo", "-pix_fmt", "gray", "-"],
        check=True, stdout=subprocess.PIPE).stdout
    rows = [raw[y * width:(y + 1) * width] for y in range(height)]

    def mean(selected):
        values = [sum(row) / len(row) for row in selected]
        return sum(values) / len(values)

    return mean(rows[:8]), mean(rows[height // 2 - 4:height // 2 + 4]), mean(rows[-8:])
