#!/usr/bin/python3
"""Reads the benchmarks' JSON output, prints every figure with its ratio to
its baseline and the targets, and plots the cost of a pass against the
number of blocks.

Usage: bench/report.py BENCH_JSON PLOT_PNG
"""
import json
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

BLOCKS = [5, 50, 500, 5000]
UNIT = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}

# Targets: the world step at 5 blocks, the game's own share of a Playing
# pass at ordinary load, and start-up against the minimal SDL program.
WORLD_STEP_LIMIT = 1e-6
OWN_SHARE_LIMIT = 0.05
START_UP_LIMIT = 1.2
# Sound: what queuing a sound adds to a pass, the callback's share of a
# core, and the time from a jump to the device.
CUE_LIMIT = 1e-6
CALLBACK_SHARE_LIMIT = 0.01
LATENCY_LIMIT_MS = 25.0


def load(path):
    """Runs by name; of repeated runs only the median is kept."""
    with open(path, encoding="utf-8") as f:
        data = json.load(f)
    runs = {}
    for run in data["benchmarks"]:
        kind = run.get("aggregate_name", "median")
        if kind in ("BigO", "RMS"):
            runs[run["name"]] = run
        elif kind == "median":
            runs[run.get("run_name", run["name"])] = run
    return data["context"], runs


def find(runs, name):
    """The run of that name, whatever Google Benchmark appended after a slash."""
    for full, run in runs.items():
        if full == name or full.startswith(name + "/"):
            return run
    raise KeyError(f"no benchmark {name} in the output")


def cpu(run):
    """The thread's CPU time of one iteration, in seconds."""
    return run["cpu_time"] * UNIT[run["time_unit"]]


def manual(run):
    """The time a benchmark measured itself (thread CPU time), in seconds."""
    return run["real_time"] * UNIT[run["time_unit"]]


def us(seconds):
    return f"{seconds * 1e6:,.2f} µs"


def verdict(ok):
    return "met" if ok else "MISSED"


def main(json_path, png_path):
    context, runs = load(json_path)
    print(f"Host: {context.get('host_name', '?')}, {context.get('num_cpus', '?')} CPUs, "
          f"load average {context.get('load_avg', '?')}")

    step = {n: find(runs, f"WorldStep/{n}") for n in BLOCKS}
    base = cpu(step[5]) / 5
    print("\nWorld step (player update + updateBlocks), thread CPU time")
    print("| blocks | step | per block | per block vs 5 blocks |")
    print("|---:|---:|---:|---:|")
    for n in BLOCKS:
        per_block = cpu(step[n]) / n
        print(f"| {n} | {us(cpu(step[n]))} | {per_block * 1e9:.2f} ns | {per_block / base:.2f} |")
    fit = runs.get("WorldStep_BigO")
    rms = runs.get("WorldStep_RMS")
    if fit and rms:
        print(f"Linear fit: {fit['cpu_coefficient']:.2f} ns x N, RMS {rms['rms'] * 100:.0f} %")

    passes = {n: find(runs, f"PlayingPass/{n}") for n in BLOCKS}
    print("\nPlaying pass at 700 x 700, software renderer into a surface, thread CPU time")
    print("| blocks | pass | its SDL calls alone | clear + present | own work | own share"
          " | pass / SDL calls | pass / bare |")
    print("|---:|---:|---:|---:|---:|---:|---:|---:|")
    for n in BLOCKS:
        r = passes[n]
        own = manual(r) * r["own_share"]
        print(f"| {n} | {us(manual(r))} | {us(r['sdl_calls'])} | {us(r['bare'])} | {us(own)}"
              f" | {r['own_share'] * 100:.2f} % | {r['vs_sdl']:.3f} | {r['vs_bare']:.2f} |")

    ordinary = manual(passes[5])
    print("\nParts of the game's own work at 5 blocks, alone")
    print("| part | time | share of the pass |")
    print("|---|---:|---:|")
    line = find(runs, "StatusLine")
    for label, seconds in (("world step", cpu(step[5])), ("list copy", cpu(find(runs, "ListCopy/5"))),
                           ("status line into /dev/null", line["off_terminal"]),
                           ("the same, cut for an 80-column terminal", line["on_terminal"])):
        print(f"| {label} | {us(seconds)} | {seconds / ordinary * 100:.2f} % |")
    print(f"Status line on a terminal / off one, timed in the same iterations: {line['on_vs_off']:.2f}")

    print("\nScreens against the bare clear + present")
    print("| screen pass | time | clear + present | ratio |")
    print("|---|---:|---:|---:|")
    for label, prefix in (("start", "StartScreenPass"), ("game over", "GameOverScreenPass")):
        r = find(runs, prefix)
        print(f"| {label} | {us(manual(r))} | {us(r['bare'])} | {r['vs_bare']:.2f} |")

    s = find(runs, "StartUp")
    print("\nStart-up to the first presented frame, dummy video driver, wall time")
    print("| program | median | spread (min to max) |")
    print("|---|---:|---:|")
    for label, key in (("skerrion", "game"), ("minimal SDL program", "minimal")):
        print(f"| {label} | {s[key] * 1e3:.1f} ms | {s[key + '_min'] * 1e3:.1f} to "
              f"{s[key + '_max'] * 1e3:.1f} ms |")
    print(f"Ratio of the medians: {s['vs_minimal']:.2f}; "
          f"median of the ratios within pairs: {s['pair_ratio']:.2f}; "
          f"of the processes' CPU times within pairs: {s['cpu_pair_ratio']:.2f}")

    sound = find(runs, "SoundInPass")
    mix = find(runs, "MixBuffer")
    latency = find(runs, "JumpLatency")
    print("\nSound, with SDL's disk driver writing to /dev/null")
    print(f"Playing pass that jumps (and queues its sound) {us(sound['jumping_pass'])} against one that "
          f"does not {us(sound['still_pass'])}: ratio {sound['pass_ratio']:.3f}")
    print(f"The cue step alone: {sound['quiet_cue'] * 1e9:.1f} ns with nothing heard, "
          f"{sound['heard_cue'] * 1e9:.1f} ns with a jump, {sound['heard_more'] * 1e9:.1f} ns more")
    print(f"Mixing one buffer of {mix['buffer_ms']:.2f} ms at the loudest: {mix['per_buffer_us']:.2f} µs, "
          f"{mix['core_share'] * 100:.3f} % of a core")
    print(f"From the jumping pass to the callback: median {latency['median_ms']:.1f} ms, "
          f"95th percentile {latency['p95_ms']:.1f} ms, longest {latency['max_ms']:.1f} ms "
          f"(one buffer is {latency['buffer_ms']:.1f} ms)")

    print("\nTargets")
    print(f"- world step at 5 blocks under 1 µs: {us(cpu(step[5]))}, "
          f"{verdict(cpu(step[5]) < WORLD_STEP_LIMIT)}")
    print(f"- own work under 5 % of a Playing pass at 5 blocks: "
          f"{passes[5]['own_share'] * 100:.2f} %, "
          f"{verdict(passes[5]['own_share'] < OWN_SHARE_LIMIT)}")
    print(f"- start-up within 1.2 x the minimal SDL program: {s['vs_minimal']:.2f}, "
          f"{verdict(s['vs_minimal'] <= START_UP_LIMIT)}")
    print(f"- a pass that queues a sound under 1 µs more: {sound['heard_more'] * 1e9:.1f} ns, "
          f"{verdict(sound['heard_more'] < CUE_LIMIT)}")
    print(f"- the callback under 1 % of a core: {mix['core_share'] * 100:.3f} %, "
          f"{verdict(mix['core_share'] < CALLBACK_SHARE_LIMIT)}")
    print(f"- a jump heard within 25 ms (95th percentile): {latency['p95_ms']:.1f} ms, "
          f"{verdict(latency['p95_ms'] < LATENCY_LIMIT_MS)}")

    plot(passes, step, runs, png_path)


def plot(passes, step, runs, png_path):
    fig, ax = plt.subplots(figsize=(6.4, 4.2), dpi=100)
    series = (
        ("whole Playing pass", [manual(passes[n]) for n in BLOCKS], "o-"),
        ("its SDL calls alone", [passes[n]["sdl_calls"] for n in BLOCKS], "s--"),
        ("clear + present", [passes[n]["bare"] for n in BLOCKS], ":"),
        ("world step", [cpu(step[n]) for n in BLOCKS], "^-"),
        ("list copy", [cpu(find(runs, f"ListCopy/{n}")) for n in BLOCKS], "v-"),
    )
    for label, seconds, style in series:
        ax.loglog(BLOCKS, [t * 1e6 for t in seconds], style, label=label)
    ax.set_xlabel("blocks in the play field")
    ax.set_ylabel("thread CPU time per pass (µs)")
    ax.set_title("Cost of a pass at 700 x 700 (software renderer)")
    ax.grid(True, which="major", alpha=0.4)
    ax.legend(fontsize="small")
    fig.tight_layout()
    fig.savefig(png_path)
    print(f"\nPlot written to {png_path}")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
