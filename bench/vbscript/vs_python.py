#!/usr/bin/env python3
"""Runs the engine's whole-script benchmarks beside CPython running the same algorithms.

    bench/vbscript/vs_python.py [path/to/vbscript_bench] [rounds]

Both sides are whole programs compiled and run, timed with the host clock (process CPU time: on
a shared machine wall time mostly measures the neighbours). Python runs each program twice: at
module level, the same shape as the engine's script, and wrapped in a function, where its
variables are fast locals. Rounds alternate engine and Python so that both meet
the same machine load; the best round of each is printed.
"""

import json
import random
import subprocess
import sys
import time

PROGRAMS = {
    "Fib25": """
def Fib(n):
    if n < 2:
        return n
    return Fib(n - 1) + Fib(n - 2)
r = Fib(25)
""",
    "ArithmeticLoop": """
s = 0
for i in range(1, 1000001):
    s = s + (i % 7) * 3
""",
    "StringBuilding": """
s = ""
for i in range(1, 100001):
    s = s + "ab"
if len(s) != 200000:
    raise ValueError
""",
    "BubbleSort": """
a = [0.0] * 2000
random.seed(1)
for i in range(0, 2000):
    a[i] = random.random()
for i in range(0, 1999):
    for j in range(0, 1999 - i):
        if a[j] > a[j + 1]:
            t = a[j]; a[j] = a[j + 1]; a[j + 1] = t
for i in range(1, 2000):
    if a[i - 1] > a[i]:
        raise ValueError
""",
}


def timed_exec(source):
    cpu0, wall0 = time.process_time(), time.perf_counter()
    exec(compile(source, "<bench>", "exec"), {"random": random})
    return (time.process_time() - cpu0) * 1e3, (time.perf_counter() - wall0) * 1e3


def run_python(source):
    in_function = "def main():\n" + "".join(
        "    " + line + "\n" for line in source.strip().splitlines()) + "main()\n"
    return timed_exec(source)[0], timed_exec(in_function)[0]


def run_engine(binary):
    out = subprocess.run(
        [binary, "--benchmark_format=json", "--benchmark_min_time=0.2",
         "--benchmark_filter=^(" + "|".join(PROGRAMS) + ")$"],
        check=True, capture_output=True, text=True).stdout
    figures = {}
    for b in json.loads(out)["benchmarks"]:
        assert b["time_unit"] == "ms"
        figures[b["name"]] = b["cpu_time"]
    return figures


def main():
    binary = sys.argv[1] if len(sys.argv) > 1 else "build/rel/bin/vbscript_bench"
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    best_engine, best_python = {}, {}
    for _ in range(rounds):
        for name, figures in run_engine(binary).items():
            best_engine[name] = min(best_engine.get(name, figures), figures)
        for name, source in PROGRAMS.items():
            figures = run_python(source)
            old = best_python.get(name, figures)
            best_python[name] = (min(old[0], figures[0]), min(old[1], figures[1]))
    print(f"{'CPU ms':16} {'engine':>8} {'python':>8} {'ratio':>6} {'python in def':>14} {'ratio':>6}")
    for name in PROGRAMS:
        engine, (module, function) = best_engine[name], best_python[name]
        print(f"{name:16} {engine:8.2f} {module:8.2f} {engine / module:6.2f}"
              f" {function:14.2f} {engine / function:6.2f}")
    print(f"best of {rounds} alternating rounds; {sys.version.split()[0]}")


if __name__ == "__main__":
    main()
