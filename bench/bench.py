#!/usr/bin/env python3
"""Times tarnwick against the tools people would use instead.

Every command of a case runs in turn, round after round, so that the
machine's drift touches all of them alike. Reports the median wall time,
the ratio to tarnwick and the peak resident memory of each command.
"""
import os
import statistics
import subprocess
import sys
import time

build, work, rounds = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2]), int(sys.argv[3])
tarnwick = os.path.join(build, "bin", "tarnwick")
bare = os.path.join(work, "bare_convert")
big, small = os.path.join(work, "big.jpg"), os.path.join(work, "small.jpg")
out = os.path.join(work, "out")
os.makedirs(out, exist_ok=True)
text = "Tarnwick benchmark %width%x%height%"


def tarnwick_cmd(src, *extra):
    return [tarnwick, "-q", "-i", src, "-o", out, *extra]


frame = ["--fr-solid-left=20", "--fr-solid-right=20", "--fr-solid-top=20", "--fr-solid-bottom=20",
         "--fr-solid-left-color=FF0000", "--fr-solid-right-color=FF0000",
         "--fr-solid-top-color=FF0000", "--fr-solid-bottom-color=FF0000"]
mark = ["--wm-text=" + text, "--wm-font-size=14", "--wm-text-antialiasing"]
resize = ["--width=1920", "--height=1920", "--keep-aspect-ratio", "--resize-algorithm=lanczos"]
gm_frame = ["-shave", "20x20", "-bordercolor", "red", "-border", "20"]
gm_mark = ["-font", "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf", "-pointsize", "14", "-fill", "white", "-gravity", "SouthEast",
           "-draw", "text 10,10 'Tarnwick benchmark'"]

cases = [
    ("24 MP, no steps", [
        ("tarnwick", tarnwick_cmd(big)),
        ("djpeg -targa", ["djpeg", "-targa", "-outfile", os.path.join(out, "djpeg.tga"), big]),
        ("gm convert", ["gm", "convert", big, os.path.join(out, "gm.tga")]),
        ("ImageMagick convert", ["convert", big, os.path.join(out, "im.tga")]),
        ("bare FreeImage", [bare, big, os.path.join(out, "bare.tga")]),
    ]),
    ("256x256, no steps", [
        ("tarnwick", tarnwick_cmd(small)),
        ("djpeg -targa", ["djpeg", "-targa", "-outfile", os.path.join(out, "djpeg_s.tga"), small]),
        ("gm convert", ["gm", "convert", small, os.path.join(out, "gm_s.tga")]),
        ("ImageMagick convert", ["convert", small, os.path.join(out, "im_s.tga")]),
        ("bare FreeImage", [bare, small, os.path.join(out, "bare_s.tga")]),
    ]),
    ("24 MP, resize 1920 Lanczos + frame + text", [
        ("tarnwick", tarnwick_cmd(big, *resize, *frame, *mark, "--filename-mask=steps_small.tga")),
        ("gm convert", ["gm", "convert", big, "-filter", "Lanczos", "-resize", "1920x1920", *gm_frame, *gm_mark,
                        os.path.join(out, "gm_steps_small.tga")]),
    ]),
    ("24 MP, frame + text at full size", [
        ("tarnwick", tarnwick_cmd(big, *frame, *mark, "--filename-mask=steps_full.tga")),
        ("gm convert", ["gm", "convert", big, *gm_frame, *gm_mark, os.path.join(out, "gm_steps_full.tga")]),
    ]),
]


def run(cmd):
    start = time.perf_counter()
    proc = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    proc.returncode = os.waitstatus_to_exitcode(status)
    return elapsed, usage.ru_maxrss / 1024.0, proc.returncode


print(f"{rounds} rounds, commands alternated; median wall time, ratio to tarnwick, peak memory\n")
for title, commands in cases:
    times = {name: [] for name, _ in commands}
    peaks = {name: 0.0 for name, _ in commands}
    failed = set()
    for _ in range(rounds):
        for name, cmd in commands:
            elapsed, peak, code = run(cmd)
            times[name].append(elapsed)
            peaks[name] = max(peaks[name], peak)
            if code != 0:
                failed.add(name)
    base = statistics.median(times["tarnwick"])
    print(title)
    print(f"  {'command':<22}{'median':>10}{'tarnwick/this':>15}{'peak MiB':>11}")
    for name, _ in commands:
        med = statistics.median(times[name])
        note = "  (failed)" if name in failed else ""
        print(f"  {name:<22}{med * 1000:>8.1f}ms{base / med:>15.2f}{peaks[name]:>11.1f}{note}")
    print()
print("Decoded 24 MP 24-bit bitmap: %.1f MiB" % (6000 * 4000 * 3 / 1048576.0))
