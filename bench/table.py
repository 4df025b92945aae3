#!/usr/bin/env python3
"""Prints the benchmark table from orvx_bench's JSON output: each figure, our time, its floor's
time measured in the same run, the ratio, the goal and whether it holds."""
import json
import sys

SCALE = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def load(path):
    runs = {}
    for b in json.load(open(path))["benchmarks"]:
        # A figure measured several times counts as its fastest run; its other aggregates are left.
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") != "min":
                continue
            b = dict(b, name=b["run_name"])
        name = b["name"].split("/repeats:")[0].split("/iterations:")[0].split("/min_time:")[0].split("/real_time")[0]
        b["ms"] = b["real_time"] * SCALE[b["time_unit"]]
        runs[name] = b
    return runs


def fmt(ms):
    if ms is None:
        return "n/a"
    return f"{ms * 1000:.1f} us" if ms < 1 else f"{ms:.2f} ms"


def main():
    runs = load(sys.argv[1])
    rows = []

    def row(figure, ours, floor, ratio, goal, holds):
        rows.append((figure, ours, floor, ratio, goal, "yes" if holds else "NO"))

    def pair(figure, ours_name, floor_name, goal):
        ours, floor = runs.get(ours_name), runs.get(floor_name)
        if not ours or not floor:
            rows.append((figure, "n/a", "n/a", "n/a", f"<= {goal}x", "not run"))
            return None
        ratio = ours["ms"] / floor["ms"]
        row(figure, fmt(ours["ms"]), fmt(floor["ms"]), f"{ratio:.2f}x", f"<= {goal}x", ratio <= goal)
        return ratio

    p1 = runs.get("P1/ours")
    pair(f"P1 Init to first page ({int(p1['widgets']) if p1 else '?'} widgets)", "P1/ours", "P1/floor", 1.5)

    firsts = []
    for name, b in runs.items():
        if name.startswith("P2/first/") and name.endswith("/ours"):
            page = name[len("P2/first/"):-len("/ours")]
            floor = runs.get(f"P2/first/{page}/floor")
            if floor:
                firsts.append((page, b["ms"], floor["ms"]))
    if firsts:
        worst = max(firsts, key=lambda f: f[1] / f[2])
        heaviest = max(firsts, key=lambda f: f[1])
        holds = all(o / f <= 1.5 for _, o, f in firsts)
        row(f"P2 first creation, worst of {len(firsts)}: {worst[0]}", fmt(worst[1]), fmt(worst[2]),
            f"{worst[1] / worst[2]:.2f}x", "<= 1.5x", holds)
        row(f"P2 first creation, heaviest: {heaviest[0]}", fmt(heaviest[1]), fmt(heaviest[2]),
            f"{heaviest[1] / heaviest[2]:.2f}x", "<= 1.5x", heaviest[1] / heaviest[2] <= 1.5)
    again = [(n[len("P2/again/"):-len("/ours")], b["ms"]) for n, b in runs.items() if n.startswith("P2/again/")]
    if again:
        page, slowest = max(again, key=lambda a: a[1])
        row(f"P2 re-activation, slowest of {len(again)}: {page}", fmt(slowest), "-", "-", "<= 16 ms",
            slowest <= 16)

    pair("P3 one 524 on the overview", "P3/ours", "P3/floor", 2)
    if "P3/ours" in runs and "P3/floor" in runs and "reads" in runs["P3/ours"]:
        ours, needed = int(runs["P3/ours"]["reads"]), int(runs["P3/floor"]["reads"])
        row("P3 device reads of one 524, each needed once", f"{ours}", f"{needed}", f"{ours / needed:.2f}x",
            "<= 1x", ours <= needed)
    if "P3/ours" in runs:
        rate = runs["P3/ours"]["per_second"]
        row("P3 notifications per second", f"{rate:,.0f}/s", "-", "-", ">= 10,000/s", rate >= 10000)

    pair("P4 one trend sample, drawn", "P4/ours", "P4/floor", 1.2)
    hour = runs.get("P4/hour")
    if hour:
        growth = hour["growth_kb"]
        row(f"P4 {int(hour['samples'])} samples: RSS growth, 2nd half", f"{growth:.0f} kB", "-", "-",
            "flat (< 1 MB)", growth < 1024)

    scan, listing, last = runs.get("P5/scan"), runs.get("P5/list"), runs.get("P5/last")
    if scan and listing:
        speed = scan["ms"] / listing["ms"]
        row(f"P5 listing {scan['megabytes']:.0f} MB ({int(listing['records'])} records), speed",
            fmt(listing["ms"]), fmt(scan["ms"]), f"{speed:.2f}x", ">= 0.5x", speed >= 0.5)
    if scan and last:
        ratio = last["ms"] / scan["ms"]
        row("P5 reading the last record", fmt(last["ms"]), fmt(scan["ms"]), f"{ratio:.2f}x", "<= 1.5x", ratio <= 1.5)

    pair("P6 applying the 24 ViewSettings", "P6/ours", "P6/floor", 2)
    ours, parse = runs.get("P6/ours"), runs.get("P6/parse")
    if ours and parse:
        ratio = ours["ms"] / parse["ms"]
        row("P6 against parsing alone, for information", fmt(ours["ms"]), fmt(parse["ms"]), f"{ratio:.2f}x", "-",
            True)

    memory = runs.get("P7/memory")
    if memory:
        ratio = memory["ours_kb"] / memory["floor_kb"] if memory["floor_kb"] > 0 else float("inf")
        row("P7 heap of the main view, every page made", f"{memory['ours_kb']:.0f} kB",
            f"{memory['floor_kb']:.0f} kB", f"{ratio:.2f}x", "<= 1.5x", ratio <= 1.5)
        row(f"P7 growth over {int(memory['notifications']):,} notifications (heap / RSS)",
            f"{memory['growth_kb']:.0f} / {memory['rss_growth_kb']:.0f} kB", "-", "-", "none (< 256 kB)",
            memory["growth_kb"] < 256)

    pair("P8 graph, 10,000 points, position vs pressure", "P8/pressure/ours", "P8/pressure/floor", 1.2)
    pair("P8 graph, 10,000 points, against time", "P8/time/ours", "P8/time/floor", 1.2)

    codec = runs.get("H1/ours")
    if codec and "H1/floor" in runs:
        ratio = codec["ms"] / runs["H1/floor"]["ms"]
        row(f"H1 HART frame encoded and decoded, {codec['per_second']:,.0f}/s", fmt(codec["ms"]),
            fmt(runs["H1/floor"]["ms"]), f"{ratio:.2f}x", "for information", True)
    pair("H2 command 0 round trip, loopback TCP", "H2/ours", "H2/floor", 1.5)
    refresh, reads = runs.get("H3/ours"), runs.get("H3/floor")
    if refresh and reads:
        row(f"H3 overview refresh over HART-IP, reads (commands {refresh['commands']:.1f} / {reads['commands']:.0f})",
            f"{refresh['reads']:.1f}", f"{reads['reads']:.0f}", f"{refresh['reads'] / reads['reads']:.2f}x",
            "none the page does not need", refresh["reads"] <= reads["reads"])
    pair("H3 overview refresh over HART-IP, news to page", "H3/ours", "H3/floor", 1.5)

    pair("V1 plant view, 500 valves built and sorted", "V1/ours", "V1/floor", 2)
    pair("Store keeping PSTs, one transaction each", "Store/keep/ours", "Store/keep/floor", 2)
    history, bare = runs.get("Store/history/ours"), runs.get("Store/history/floor")
    if history:
        floor_ms = bare["ms"] if bare else None
        ratio = f"{history['ms'] / floor_ms:.2f}x" if floor_ms else "-"
        row(f"Store history of one valve among {int(history['records']):,} PSTs", fmt(history["ms"]), fmt(floor_ms),
            ratio, "< 16 ms", history["ms"] < 16)
    latest = runs.get("Store/latest/ours")
    if latest:
        pair(f"Store newest PST of {int(latest['valves'])} valves, one query against one per valve",
             "Store/latest/ours", "Store/latest/floor", 1)

    header = ("figure", "ours", "floor", "ratio", "goal", "holds")
    widths = [max(len(str(r[i])) for r in rows + [header]) for i in range(6)]
    line = lambda r: "| " + " | ".join(str(c).ljust(w) for c, w in zip(r, widths)) + " |"
    print(line(header))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for r in rows:
        print(line(r))
    return 0


if __name__ == "__main__":
    sys.exit(main())
