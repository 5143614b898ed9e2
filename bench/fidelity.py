#!/usr/bin/env python3
"""Picture fidelity of every stock profile, and what HDR sources cost.

    bench/fidelity.py [--bin build/bin] [--work /tmp/dero-fidelity] [--only NAME] [--cost-only]

Makes its sources once in the work folder (a detailed 20 s 4:3 clip with sound, 2 s colour bars
with BT.709 tags, PQ and HLG bars, and 10 s 1080p HEVC clips of the same detailed picture as
8-bit and 10-bit SDR and as PQ 10-bit), then for every profile of data/Output.dll converts with
dero-encode and prints one row:

  video/asked    whole-clip video rate against the profile's video rate
  all/asked      file size over the clip's length against video + audio rate
  2s all/asked   the same on the first 2 s of the clip
  VBV            pictures not wholly in the decoder's buffer when due: a buffer of the written
                 level's size, starting at its default occupancy and filled at its maximum rate
  dPSNR          mean PSNR (Y'CbCr average) minus that of the `ffmpeg` mpeg4 encoder at the same
                 actual video rate (two runs of the command, interpolated)
  key gap        mean PSNR of key pictures minus that of the others
  709 err        largest channel error of the bars decoded as BT.601 against the source decoded
                 as BT.709 (8-bit units)
  PQ/HLG         the tone-mapped bars: grey bar level, the largest hue error (degrees) and the
                 lowest saturation of the six colour bars

Last, HDR cost: the PQ 1080p source against each SDR one, all to 320x240, in alternating runs;
the median ratios of wall and CPU time. Ratios, not absolute times: the machines are shared.
"""

import argparse
import colorsys
import os
import re
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
BARS = ["BFBFBF", "BFBF00", "00BFBF", "00BF00", "BF00BF", "BF0000", "0000BF", "000000"]
FORMATS = {"3gp": "3gp", "psp": "psp", "ipod": "mp4", "pda": "mp4", "mp4": "mp4"}
PROFILE = re.compile(r"^Profile\d+=(.+?) : Video: (\d+)x(\d+), (\d+) kbps, ([\d.]+) fps, "
                     r"Audio: (\d+) kbps, ([\d.]+) khps, (\d) Channel")


def run(arguments, **kwargs):
    return subprocess.run(arguments, check=True, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, **kwargs).stdout


def ffmpeg(*arguments):
    return run(["ffmpeg", "-hide_banner", "-nostdin", "-loglevel", "error", "-y", *arguments])


def bars_graph(width, height):
    parts = [f"color=c=0x{c}:s={width // 8}x{height}:r=10:d=2,format=gbrp[b{i}]"
             for i, c in enumerate(BARS)]
    return ";".join(parts) + ";" + "".join(f"[b{i}]" for i in range(8)) + "hstack=inputs=8"


def make_sources(work):
    os.makedirs(work, exist_ok=True)
    sources = {
        "detailed": os.path.join(work, "detailed.mkv"),
        "bt709": os.path.join(work, "bars709.mkv"),
        "pq": os.path.join(work, "barspq.mkv"),
        "hlg": os.path.join(work, "barshlg.mkv"),
        "sdr1080": os.path.join(work, "sdr1080.mkv"),
        "sdr10_1080": os.path.join(work, "sdr10_1080.mkv"),
        "pq1080": os.path.join(work, "pq1080.mkv"),
    }
    detailed = "testsrc2=size=640x480:rate=30000/1001:duration={},noise=alls=10:allf=t"
    if not os.path.exists(sources["detailed"]):
        ffmpeg("-f", "lavfi", "-i", detailed.format(20), "-f", "lavfi", "-i",
               "sine=frequency=440:sample_rate=44100:duration=20", "-c:v", "libx264", "-qp", "0",
               "-preset", "ultrafast", "-c:a", "flac", sources["detailed"])
    if not os.path.exists(sources["bt709"]):
        ffmpeg("-f", "lavfi", "-i",
               bars_graph(1280, 720) + ",scale=out_color_matrix=bt709:out_range=tv,format=yuv420p",
               "-c:v", "ffv1", "-colorspace", "bt709", "-color_primaries", "bt709",
               "-color_trc", "bt709", "-color_range", "tv", sources["bt709"])
    for key, transfer in (("pq", "smpte2084"), ("hlg", "arib-std-b67")):
        if not os.path.exists(sources[key]):
            ffmpeg("-f", "lavfi", "-i",
                   bars_graph(1280, 720) + f",zscale=m=2020_ncl:r=tv:p=2020:pin=2020:t={transfer}"
                   f":tin={transfer},format=yuv420p10le", *hevc(transfer), sources[key])
    hd = "testsrc2=size=1920x1080:rate=30000/1001:duration=10,noise=alls=10:allf=t"
    if not os.path.exists(sources["sdr1080"]):
        ffmpeg("-f", "lavfi", "-i", hd + ",scale=out_color_matrix=bt709:out_range=tv,format=yuv420p",
               *hevc("bt709"), sources["sdr1080"])
    # 10-bit SDR: the same decoding work as the PQ clip, so the two differ by the tone mapping only.
    if not os.path.exists(sources["sdr10_1080"]):
        ffmpeg("-f", "lavfi", "-i",
               hd + ",scale=out_color_matrix=bt709:out_range=tv,format=yuv420p10le",
               *hevc("bt709"), sources["sdr10_1080"])
    if not os.path.exists(sources["pq1080"]):
        ffmpeg("-f", "lavfi", "-i",
               hd + ",format=gbrp,zscale=m=2020_ncl:r=tv:p=2020:pin=2020:t=smpte2084"
               ":tin=smpte2084,format=yuv420p10le", *hevc("smpte2084"), sources["pq1080"])
    return sources


def hevc(transfer):
    wide = transfer != "bt709"
    return ["-c:v", "libx265", "-preset", "ultrafast", "-x265-params", "log-level=error",
            "-colorspace", "bt2020nc" if wide else "bt709",
            "-color_primaries", "bt2020" if wide else "bt709", "-color_trc", transfer,
            "-color_range", "tv"]


def profiles(path, only):
    found = []
    section = None
    for line in open(path, encoding="latin-1"):
        line = line.strip()
        if line.startswith("["):
            section = line.strip("[]")
            continue
        match = PROFILE.match(line)
        wanted = not only or any(part and part in match.group(1) for part in only.split(",")) \
            if match else False
        if match and section in FORMATS and wanted:
            name, w, h, kbps, fps, akbps, khz, channels = match.groups()
            found.append(dict(family=section, name=name, size=f"{w}x{h}", kbps=int(kbps),
                              fps=fps, akbps=int(akbps), rate=str(round(float(khz) * 1000)),
                              channels=channels, format=FORMATS[section]))
    return found


def convert(binary, source, profile, output, seconds=None):
    arguments = [os.path.join(binary, "dero-encode"), "-y"]
    if seconds:
        arguments += ["-t", str(seconds)]
    arguments += ["-i", source, "-vcodec", "mpeg4", "-s", profile["size"], "-r", profile["fps"],
                  "-b", str(profile["kbps"]), "-acodec", "aac", "-ac", profile["channels"],
                  "-ar", profile["rate"], "-ab", str(profile["akbps"]), "-f", profile["format"],
                  output]
    run(arguments)


def video_packets(path):
    text = run(["ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
                "packet=size,flags", "-of", "csv=p=0", path]).decode()
    return [(int(size), "K" in flags) for size, flags in
            (line.split(",")[:2] for line in text.split())]


# Simple Profile levels: maximum rate (bit/s) and decoder buffer (bits).
LEVELS = {1: (64000, 10 * 16384), 2: (128000, 40 * 16384), 3: (384000, 40 * 16384),
          4: (4000000, 80 * 16384), 5: (8000000, 112 * 16384), 6: (12000000, 248 * 16384)}


def underflows(path, fps):
    level = int(run(["ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
                     "stream=level", "-of", "csv=p=0", path]).decode().strip())
    rate, size = LEVELS[level]
    buffer, count = size * 170 / 256, 0
    for bytes_, _ in video_packets(path):
        buffer -= bytes_ * 8
        if buffer < 0:
            count, buffer = count + 1, 0
        buffer = min(size, buffer + rate / fps)
    return level, count


def rates(path, fps):
    packets = video_packets(path)
    seconds = len(packets) / fps
    video = sum(size for size, _ in packets) * 8 / seconds / 1000
    overall = os.path.getsize(path) * 8 / seconds / 1000
    return video, overall


def psnr(output, source, profile):
    width, height = profile["size"].split("x")
    # The output's own rate: the profile's 29.97 stands for 30000/1001.
    rate = run(["ffprobe", "-v", "error", "-select_streams", "v:0", "-show_entries",
                "stream=r_frame_rate", "-of", "csv=p=0", output]).decode().strip()
    graph = (f"[1:v]fps={rate},scale={width}:{height}:flags=bicubic,format=yuv420p[r];"
             "[0:v]format=yuv420p[d];[d][r]psnr=stats_file=-")
    text = run(["ffmpeg", "-hide_banner", "-nostdin", "-loglevel", "error", "-i", output, "-i",
                source, "-lavfi", graph, "-f", "null", "-"]).decode()
    values = [float(v) for v in re.findall(r"psnr_avg:([\d.]+|inf)", text)]
    keys = [key for _, key in video_packets(output)]
    count = min(len(values), len(keys))
    key = [values[i] for i in range(count) if keys[i]]
    other = [values[i] for i in range(count) if not keys[i]]
    return statistics.mean(values[:count]), statistics.mean(key) - statistics.mean(other)


def reference_psnr(source, profile, target_kbps, work):
    """The `ffmpeg` command's mpeg4 PSNR at target_kbps actual video rate."""
    points = []
    ask = target_kbps
    for attempt in range(2):
        output = os.path.join(work, "reference." + profile["format"])
        ffmpeg("-i", source, "-vf", f"scale={profile['size'].replace('x', ':')},setsar=1,"
               f"fps={profile['fps']}", "-c:v", "mpeg4", "-b:v", f"{ask:.0f}k", "-bf", "0",
               "-c:a", "aac", "-ac", profile["channels"], "-ar", profile["rate"],
               "-b:a", f"{profile['akbps']}k", "-f", profile["format"], output)
        actual, _ = rates(output, float(profile["fps"]))
        points.append((actual, psnr(output, source, profile)[0]))
        ask = ask * target_kbps / actual
    (r1, p1), (r2, p2) = points
    if abs(r2 - r1) < 1e-6:
        return p2
    return p1 + (p2 - p1) * (target_kbps - r1) / (r2 - r1)


def bar_centres(path, matrix):
    width, height = map(int, run(["ffprobe", "-v", "error", "-select_streams", "v:0",
                                  "-show_entries", "stream=width,height", "-of", "csv=p=0",
                                  path]).decode().split(","))
    data = run(["ffmpeg", "-hide_banner", "-nostdin", "-loglevel", "error", "-i", path, "-vf",
                f"select=gte(n\\,5),scale=in_color_matrix={matrix}:in_range=tv", "-frames:v", "1",
                "-f", "rawvideo", "-pix_fmt", "rgb24", "-"])
    row = height // 2
    return [tuple(data[(row * width + width * (2 * i + 1) // 16) * 3:][:3]) for i in range(8)]


def largest_error(got, wanted):
    return max(abs(a - b) for g, w in zip(got, wanted) for a, b in zip(g, w))


def tone_figures(bars):
    hue_errors, saturations = [], []
    for got, nominal in zip(bars[1:7], BARS[1:7]):
        want = [int(nominal[i:i + 2], 16) / 255 for i in (0, 2, 4)]
        h1, _, _ = colorsys.rgb_to_hsv(*[c / 255 for c in got])
        h2, _, _ = colorsys.rgb_to_hsv(*want)
        d = abs(h1 - h2) * 360
        hue_errors.append(min(d, 360 - d))
        high = max(got)
        saturations.append((high - min(got)) / high if high else 0)
    return f"{bars[0][1]:3d} {max(hue_errors):4.1f}° {min(saturations):.2f}"


def fidelity(binary, sources, work, only):
    wanted709 = bar_centres(sources["bt709"], "bt709")
    print(f"{'family':6} {'profile':22} {'video/asked':>11} {'all/asked':>9} {'dPSNR':>6} "
          f"{'2s all':>6} {'VBV':>5} {'key gap':>7} {'709 err':>7}  {'PQ grey hue sat':>16}  {'HLG grey hue sat':>16}")
    for profile in profiles(os.path.join(ROOT, "data", "Output.dll"), only):
        output = os.path.join(work, "out." + profile["format"])
        convert(binary, sources["detailed"], profile, output)
        fps = float(profile["fps"])
        video, overall = rates(output, fps)
        level, dry = underflows(output, fps)
        short = os.path.join(work, "short." + profile["format"])
        convert(binary, sources["detailed"], profile, short, seconds=2)
        _, short_overall = rates(short, fps)
        dry += underflows(short, fps)[1]
        mean, gap = psnr(output, sources["detailed"], profile)
        difference = mean - reference_psnr(sources["detailed"], profile, video, work)
        colours = {}
        for key in ("bt709", "pq", "hlg"):
            bars_out = os.path.join(work, f"bars-{key}." + profile["format"])
            convert(binary, sources[key], profile, bars_out)
            colours[key] = bar_centres(bars_out, "bt601")
        print(f"{profile['family']:6} {profile['name']:22} {video / profile['kbps']:11.3f} "
              f"{overall / (profile['kbps'] + profile['akbps']):9.3f} {difference:+6.2f} "
              f"{short_overall / (profile['kbps'] + profile['akbps']):6.3f} L{level}:{dry:<2d} "
              f"{gap:+7.2f} {largest_error(colours['bt709'], wanted709):7d}  "
              f"{tone_figures(colours['pq']):>16}  {tone_figures(colours['hlg']):>16}",
              flush=True)


def timed(arguments):
    start = time.monotonic()
    child = subprocess.Popen(arguments, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    if status != 0:
        sys.exit(f"failed: {' '.join(arguments)}")
    return time.monotonic() - start, usage.ru_utime + usage.ru_stime


def hdr_cost(binary, sources, work, runs=5):
    def job(source):
        return [os.path.join(binary, "dero-encode"), "-y", "-i", source, "-vcodec", "mpeg4",
                "-s", "320x240", "-r", "15", "-b", "384", "-acodec", "aac", "-ac", "2", "-ar",
                "22050", "-ab", "64", "-f", "3gp", os.path.join(work, "cost.3gp")]

    for key in ("sdr1080", "sdr10_1080", "pq1080"):
        timed(job(sources[key]))  # warm-up: files in the page cache
    ratios = {key: ([], []) for key in ("sdr1080", "sdr10_1080")}
    for _ in range(runs):
        for key, (walls, cpus) in ratios.items():
            hdr_wall, hdr_cpu = timed(job(sources["pq1080"]))
            sdr_wall, sdr_cpu = timed(job(sources[key]))
            walls.append(hdr_wall / sdr_wall)
            cpus.append(hdr_cpu / sdr_cpu)
    load = os.getloadavg()[0]
    for key, (walls, cpus) in ratios.items():
        print(f"HDR (PQ 10-bit) 1080p -> 320x240 against {key}, {runs} alternating pairs, "
              f"load {load:.2f}: wall x{statistics.median(walls):.3f} "
              f"(min {min(walls):.3f}, max {max(walls):.3f}), "
              f"CPU x{statistics.median(cpus):.3f} (min {min(cpus):.3f}, max {max(cpus):.3f})")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bin", default=os.path.join(ROOT, "build", "bin"))
    parser.add_argument("--work", default="/tmp/dero-fidelity")
    parser.add_argument("--only", default="", help="only profiles whose name contains one of these (comma-separated)")
    parser.add_argument("--cost-only", action="store_true")
    options = parser.parse_args()
    sources = make_sources(options.work)
    if not options.cost_only:
        fidelity(options.bin, sources, options.work, options.only)
    hdr_cost(options.bin, sources, options.work)


if __name__ == "__main__":
    main()
