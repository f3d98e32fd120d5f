#!/usr/bin/env python3
"""Runs the engine's whole-script benchmarks beside CPython and Lua 5.4 running the same algorithms.

    bench/vbscript/vs_python.py [path/to/vbscript_bench] [rounds]

Both sides are whole programs compiled and run, timed with the host clock (process CPU time: on
a shared machine wall time mostly measures the neighbours). Python runs each program twice: at
module level, the same shape as the engine's script, and wrapped in a function, where its
variables are fast locals. Lua (lua5.4, when installed) runs them as a Lua programmer writes
them, with local variables and functions, and times itself with os.clock (process CPU time).
Rounds alternate the engine, Python and Lua so that all meet the same machine load; the best round
of each is printed.
"""

import json
import random
import shutil
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

LUA_PROGRAMS = {
    "Fib25": """
local function fib(n)
  if n < 2 then return n end
  return fib(n - 1) + fib(n - 2)
end
local r = fib(25)
""",
    "ArithmeticLoop": """
local s = 0
for i = 1, 1000000 do
  s = s + (i % 7) * 3
end
""",
    "StringBuilding": """
local parts = {}
for i = 1, 100000 do
  parts[#parts + 1] = "ab"
end
local s = table.concat(parts)
assert(#s == 200000)
""",
    "BubbleSort": """
local a = {}
math.randomseed(1)
for i = 0, 1999 do a[i] = math.random() end
for i = 0, 1998 do
  for j = 0, 1998 - i do
    if a[j] > a[j + 1] then a[j], a[j + 1] = a[j + 1], a[j] end
  end
end
for i = 1, 1999 do assert(a[i - 1] <= a[i]) end
""",
}


def run_lua(lua, source):
    timed = ("local t0 = os.clock()\ndo\n" + source +
             "\nend\nio.write(string.format('%.6f', (os.clock() - t0) * 1e3))\n")
    out = subprocess.run([lua, "-e", timed], check=True, capture_output=True, text=True).stdout
    return float(out)


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
    lua = shutil.which("lua5.4")
    best_engine, best_python, best_lua = {}, {}, {}
    for _ in range(rounds):
        for name, figures in run_engine(binary).items():
            best_engine[name] = min(best_engine.get(name, figures), figures)
        for name, source in PROGRAMS.items():
            figures = run_python(source)
            old = best_python.get(name, figures)
            best_python[name] = (min(old[0], figures[0]), min(old[1], figures[1]))
        for name, source in LUA_PROGRAMS.items() if lua else ():
            figure = run_lua(lua, source)
            best_lua[name] = min(best_lua.get(name, figure), figure)
    print(f"{'CPU ms':16} {'engine':>8} {'python':>8} {'ratio':>6} {'python in def':>14} {'ratio':>6}"
          f" {'lua 5.4':>8} {'ratio':>6}")
    for name in PROGRAMS:
        engine, (module, function) = best_engine[name], best_python[name]
        line = (f"{name:16} {engine:8.2f} {module:8.2f} {engine / module:6.2f}"
                f" {function:14.2f} {engine / function:6.2f}")
        if name in best_lua:
            line += f" {best_lua[name]:8.2f} {engine / best_lua[name]:6.2f}"
        print(line)
    print(f"best of {rounds} alternating rounds; python {sys.version.split()[0]}"
          + ("; lua5.4" if lua else "; lua5.4 not installed"))


if __name__ == "__main__":
    main()
