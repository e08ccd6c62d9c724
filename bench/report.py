"""Runs every benchmark of a build folder on both builds and prints one table.

Usage: report.py BUILD_DIR [--quick]. Called by bench/run.sh, which builds the programs first.
Every figure is CPU time: the machine may be shared, and wall-clock time would count the time
other programs took. Repeated benchmarks report their median.
"""
import json
import os
import resource
import statistics
import subprocess
import sys

XVFB = ["xvfb-run", "-a", "-s", "-screen 0 1024x768x24"]


def run_benchmark(program, out, extra=(), display=False):
    command = [program, "--benchmark_out=" + out, "--benchmark_out_format=json", *extra]
    env = dict(os.environ)
    if display:
        command = XVFB + command
        env["LP_NUM_THREADS"] = "0"
    print("running", " ".join(command[-3:] if display else command), flush=True)
    subprocess.run(command, check=True, env=env, stdout=subprocess.DEVNULL)
    with open(out) as f:
        data = json.load(f)
    times = {}
    for b in data["benchmarks"]:
        if b.get("run_type") == "aggregate":
            continue
        name = b["run_name"]
        times.setdefault(name, []).append(b["cpu_time"] * unit_factor(b["time_unit"]))
    return {name: statistics.median(values) for name, values in times.items()}


def unit_factor(unit):
    return {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[unit]


def cpu_seconds_of(command):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


def whole_battles(build, results):
    maps = {"map1": os.path.join(os.path.dirname(__file__), "..", "assets", "map1.txt")}
    for name, args in {"battle128": ["128", "128", "100", "1", "16"],
                       "battle256": ["256", "256", "400", "1", "16"]}.items():
        path = os.path.join(results, name + ".txt")
        with open(path, "w") as f:
            subprocess.run([os.path.join(build, "dromlin-mapgen"), *args], check=True, stdout=f)
        maps[name] = path
    rows = []
    for name, steps in [("map1", 3000), ("battle128", 500), ("battle256", 100)]:
        times = []
        for program in ["dromlin-sim", "dromlin-sim-plain"]:
            command = [os.path.join(build, program), maps[name], "--steps", str(steps)]
            print("running", " ".join(command), flush=True)
            times.append(cpu_seconds_of(command) * 1000.0 / steps)
        rows.append(("dromlin-sim %s, %d steps (per step)" % (name, steps), times[0], times[1]))
    return rows


def table(rows):
    print("\n| measurement | game (ms) | plain (ms) | speed-up |")
    print("|---|---:|---:|---:|")
    for name, fast, plain in rows:
        if plain is None:
            print("| %s | %.3f | | |" % (name, fast))
        else:
            print("| %s | %.3f | %.3f | %.1fx |" % (name, fast, plain, plain / fast))


def main():
    build = os.path.abspath(sys.argv[1])
    quick = "--quick" in sys.argv[2:]
    results = os.path.join(build, "bench-results")
    os.makedirs(results, exist_ok=True)
    program = lambda name: os.path.join(build, name)
    rows = []

    path = run_benchmark(program("dromlin-bench-path"), os.path.join(results, "path.json"))
    sides = {"0": "40x25", "1": "128x128", "2": "256x256"}
    kinds = {"0": "open", "1": "walls", "2": "rooms"}
    for name, fast in sorted(path.items()):
        if name.startswith("fastSearch/"):
            side, kind = name.split("/")[1:3]
            plain = path["plainSearchFlood/%s/%s" % (side, kind)]
            rows.append(("path flood %s %s" % (sides[side], kinds[kind]), fast, plain))

    sim = run_benchmark(program("dromlin-bench-sim"), os.path.join(results, "sim.json"))
    plain_filter = "map1|battle128|battle256_first200|fogAlone/battle256" if quick is False \
        else "map1|battle128"
    plain_sim = run_benchmark(program("dromlin-bench-sim-plain"),
                              os.path.join(results, "sim-plain.json"),
                              ["--benchmark_filter=" + plain_filter])
    for name, fast in sim.items():
        rows.append((name.replace("/iterations", " ").split(" ")[0], fast, plain_sim.get(name)))

    draw = run_benchmark(program("dromlin-bench-draw"), os.path.join(results, "draw.json"),
                         display=True)
    plain_draw = run_benchmark(program("dromlin-bench-draw-plain"),
                               os.path.join(results, "draw-plain.json"), display=True)
    for name, fast in draw.items():
        rows.append((name.split("/iterations")[0] + " (%.0f fps)" % (1000.0 / fast), fast,
                     plain_draw.get(name)))

    base_draw = run_benchmark(os.path.join(build, "base-fc7cfa2-build", "dromlin-bench-draw"),
                              os.path.join(results, "draw-fc7cfa2.json"), display=True)
    fill = draw.get("oneScreenOfTexturedQuads/iterations:100/repeats:3")

    if not quick:
        rows.extend(whole_battles(build, results))
    table(rows)

    print("\n| drawn frame | game (ms) | fc7cfa2 (ms) | speed-up | screens of fill |")
    print("|---|---:|---:|---:|---:|")
    for name, fast in draw.items():
        if name in base_draw:
            print("| %s | %.2f | %.2f | %.1fx | %.2f |" % (name.split("/iterations")[0], fast,
                  base_draw[name], base_draw[name] / fast, fast / fill if fill else 0.0))
    if fill:
        print("one screen of textured quads (the fill limit): %.2f ms" % fill)


if __name__ == "__main__":
    main()
