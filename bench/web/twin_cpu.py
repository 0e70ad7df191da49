#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The varek-em developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Processor time of the heavy computation in a fresh process.

    python3 bench/web/twin_cpu.py [--runs N] PROGRAM...

Each PROGRAM is the Node twin (a varek-paths.js, run with node) or a native
varek-paths. For each, the processor time (user + sys of the whole process,
its threads included, from wait4) of the heavy setting (50 V, 2000 mA,
alternating, amplitude 5, deflection on) minus that of the start-up voltage
(1200 V): the cost of the heavy integration in a process that starts cold,
start-up and compilation of the light part taken out. The programs run
interleaved, so that a changing load on the machine falls on all of them.
The first PROGRAM is the reference; the others are also given as a ratio
of their median to its median, e.g.

    python3 bench/web/twin_cpu.py build/release/tools/paths/varek-paths \\
        build/web/varek-paths.js
"""

import argparse
import os
import statistics
import subprocess

HEAVY = ["--voltage", "50", "--current", "2000", "--mode", "ac", "--amplitude", "5",
         "--deflection", "on"]
LIGHT = ["--voltage", "1200"]


def processor_ms(command):
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    if status != 0:
        raise SystemExit(f"{' '.join(command)} failed ({status})")
    return (usage.ru_utime + usage.ru_stime) * 1000


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("programs", nargs="+")
    args = parser.parse_args()
    commands = [["node", p] if p.endswith(".js") else [p] for p in args.programs]
    differences = {p: [] for p in args.programs}
    for _ in range(args.runs):
        for program, command in zip(args.programs, commands):
            heavy = processor_ms(command + HEAVY)
            light = processor_ms(command + LIGHT)
            differences[program].append(heavy - light)
    reference = statistics.median(differences[args.programs[0]])
    for program in args.programs:
        d = sorted(differences[program])
        median = statistics.median(d)
        ratio = f", {median / reference:.1f} x the first" if program != args.programs[0] else ""
        print(f"{program}: heavy - light {median:.1f} ms median (quartiles {d[len(d) // 4]:.1f}"
              f"..{d[(3 * len(d)) // 4]:.1f}, range {d[0]:.1f}..{d[-1]:.1f}; {args.runs} runs)"
              f"{ratio}")


if __name__ == "__main__":
    main()
