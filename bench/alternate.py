#!/usr/bin/env python3
"""Times commands in alternation and prints each one's median beside the first's.

    alternate.py TITLE RUNS PREPARE COMMAND...

Each round runs PREPARE (untimed, through sh) before every command, then the
command, for every command in turn; RUNS rounds follow one round that is not
counted. Alternating matters on a machine whose speed drifts from minute to
minute (page-cache folios reclaimed and rebuilt, a neighbour's load): run one
after another, the commands would each meet another machine.
"""
import shlex
import statistics
import subprocess
import sys
import time


def main():
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    title, runs, prepare, commands = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4:]
    times = [[] for _ in commands]
    for round_ in range(runs + 1):
        for i, command in enumerate(commands):
            subprocess.run(["sh", "-c", prepare], check=True)
            start = time.perf_counter()
            done = subprocess.run(shlex.split(command), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            elapsed = time.perf_counter() - start
            if done.returncode != 0:
                sys.exit(f"failed ({done.returncode}): {command}")
            if round_ > 0:
                times[i].append(elapsed)
    base = statistics.median(times[0])
    print(f"\n{title}")
    for command, t in zip(commands, times):
        m = statistics.median(t)
        print(f"  {m:8.3f} s  {m / base:5.2f} x  {command}")


if __name__ == "__main__":
    main()
