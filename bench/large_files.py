#!/usr/bin/env python3
"""The figures of files without a limit, in one run.

    large_files.py CLI SAMPLE WORKDIR [FRAMES]

Writes a file of FRAMES (default 6,000,000) frames by repeating the frames of
SAMPLE (its tags left out), then times in alternation, warm: `quillcut-cli
info` of it beside `dd bs=1M` of it, with the peak memory of each; and the
whole `quillcut-cli cut` of its first 500,000 frames beside `cp` of them.
Medians of three rounds after one that is not counted. The files are removed
at the end.
"""
import os
import shlex
import statistics
import subprocess
import sys
import time


def frames_of(sample):
    data = open(sample, "rb").read()
    first = 0
    while not (data[first] == 0xFF and data[first + 1] in (0xFA, 0xFB)):
        first += 1
    end = len(data) - 128 if data[-128:-125] == b"TAG" else len(data)
    return data[first:end]


def count_frames(cli, path):
    out = subprocess.run([cli, "info", "--json", path], capture_output=True, text=True, check=True).stdout
    import json
    return json.loads(out.splitlines()[0])["frames"]


def write_repeated(path, body, per_body, frames):
    with open(path, "wb") as out:
        written = 0
        block = body * max(1, 4096 // per_body)
        per_block = per_body * max(1, 4096 // per_body)
        while written + per_block <= frames:
            out.write(block)
            written += per_block
        while written < frames:
            out.write(body)
            written += per_body
    return written


def timed(command):
    start = time.perf_counter()
    pid = os.fork()
    if pid == 0:
        devnull = os.open(os.devnull, os.O_WRONLY)
        os.dup2(devnull, 1)
        os.dup2(devnull, 2)
        args = shlex.split(command)
        os.execvp(args[0], args)
    _, status, usage = os.wait4(pid, 0)
    elapsed = time.perf_counter() - start
    if status != 0:
        sys.exit(f"failed: {command}")
    return elapsed, usage.ru_maxrss / 1024.0  # MiB


def alternate(title, commands, prepare=None, runs=3):
    results = [[] for _ in commands]
    for round_ in range(runs + 1):
        for i, command in enumerate(commands):
            if prepare:
                subprocess.run(["sh", "-c", prepare], check=True)
            t = timed(command)
            if round_ > 0:
                results[i].append(t)
    print(title)
    base = statistics.median(t for t, _ in results[0])
    for command, rs in zip(commands, results):
        t = statistics.median(x for x, _ in rs)
        m = max(x for _, x in rs)
        print(f"  {t:8.3f} s  {t / base:5.2f} x  peak {m:8.1f} MiB  {command}")


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    cli, sample, work = sys.argv[1], sys.argv[2], sys.argv[3]
    want = int(sys.argv[4]) if len(sys.argv) > 4 else 6000000
    body = frames_of(sample)
    probe = os.path.join(work, "probe.mp3")
    open(probe, "wb").write(body)
    per_body = count_frames(cli, probe)
    os.remove(probe)
    big = os.path.join(work, "large.mp3")
    small = os.path.join(work, "500k.mp3")
    try:
        n = write_repeated(big, body, per_body, want)
        write_repeated(small, body, per_body, 500000)
        print(f"{big}: {n} frames, {os.path.getsize(big) / 1e9:.2f} GB")
        subprocess.run(["cat", big], stdout=subprocess.DEVNULL, check=True)  # warm
        alternate("load, warm (ratio to dd bs=1M)",
                  [f"dd if={big} of=/dev/null bs=1M", f"{cli} info {big}"])
        out = os.path.join(work, "out.mp3")
        alternate(f"the whole cut of {small} ({os.path.getsize(small) / 1e6:.0f} MB), one frame at each end, "
                  "warm (ratio to cp)",
                  [f"cp {small} {out}", f"{cli} cut {small} -o {out} --start-frames 1 --end-frames 1 --byte-exact",
                   f"{cli} cut {small} -o {out} --start-frames 1 --end-frames 1"],
                  prepare=f"rm -f {out}")
        os.remove(out)
    finally:
        for p in (big, small):
            if os.path.exists(p):
                os.remove(p)


if __name__ == "__main__":
    main()
