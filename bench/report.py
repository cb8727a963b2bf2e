# SPDX-License-Identifier: Apache-2.0
"""Turns a Google Benchmark JSON report, and the stall benchmark's results,
into the budget table bench/run prints.

    report.py BENCHMARK.json [STALL.json ...]
"""

import json
import sys

# Operation, its benchmark, the floor it is held against, the budget (largest
# ratio allowed; None: reported only).
ROWS = [
    ("badge request, file deep in a root", "badge_request/empty_lists",
     "floor/badge_request", 1.3),
    ("  same, 50 roots, 3 x 100k lists, 1M cache", "badge_request/large_status",
     "floor/badge_request", None),
    ("  same, against the request with empty lists", "badge_request/large_status",
     "badge_request/empty_lists", 1.3),
    ("  same, 5000 roots with non-ASCII names", "badge_request/5000_non_ascii_roots",
     "badge_request/5000_ascii_roots", 1.5),
    ("  same, an item 64 KiB deep", "badge_request/64k_path", "badge_request/16k_path",
     None),
    ("polling tick, status.json unchanged", "polling_tick/unchanged", "floor/stat", 2.0),
    ("reload, 100k synced paths over 10 roots", "reload/100k_synced", None, None),
    ("  decoding part (decodeStatus)", "decode/100k_synced",
     "floor/raw_parse_100k_synced", 4.0),
    ("reload, 1M synced paths (over 80 MiB)", "reload/1M_synced", None, None),
    ("  decoding part (decodeStatus)", "decode/1M_synced", "floor/raw_parse_1M_synced",
     None),
    ("re-evaluation, 100k cached badges", "reevaluation/100k_cached",
     "floor/stat_100k", 1.5),
    ("menu for a folder", "menu/folder", None, None),
    ("command write (toggleLock:)", "command/toggle_lock", "floor/command", 1.5),
]

# Synced paths, cached badges, budgets of the longest block and of its 99th
# percentile (ms; None: reported only).
STALL_ROWS = [
    ("100k", "10k", None, None),
    ("100k", "100k", None, None),
    ("100k", "1M", 16, 4),
    ("1M", "100k", 50, None),
]

FLOOR_NAMES = {
    "floor/badge_request": "stat + append one line",
    "badge_request/empty_lists": "request, empty lists",
    "badge_request/5000_ascii_roots": "same, ASCII names",
    "badge_request/16k_path": "same, 16 KiB deep",
    "floor/stat": "one stat",
    "floor/raw_parse_100k_synced": "raw simdjson parse",
    "floor/raw_parse_1M_synced": "raw simdjson parse",
    "floor/stat_100k": "100k stats",
    "floor/command": "mkdir + write one file",
}

SCALE = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def run_name(entry):
    """The benchmark's name without the iterations or repetitions it set."""
    return entry.get("run_name", "").split("/iterations:")[0].split("/repeats:")[0]


def medians(report):
    found = {}
    for entry in report["benchmarks"]:
        if entry.get("aggregate_name") == "median" and not entry.get("error_occurred"):
            found[run_name(entry)] = entry["cpu_time"] * SCALE[entry["time_unit"]]
        if entry.get("error_occurred"):
            found[run_name(entry)] = None
            print(f"error in {entry['run_name']}: {entry.get('error_message')}",
                  file=sys.stderr)
    return found


def counters(report, name):
    for entry in report["benchmarks"]:
        if run_name(entry) == name:
            return entry
    return None


def show(ns):
    if ns is None:
        return "-"
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("us", 1e3)):
        if ns >= scale:
            return f"{ns / scale:.3g} {unit}"
    return f"{ns:.3g} ns"


def verdict(value, limit, unit=""):
    """The budget cell and whether it failed: value must not exceed limit."""
    if value is None:
        return "FAIL (not measured)", True
    passed = value <= limit
    return f"<= {limit:g}{unit} " + ("PASS" if passed else "FAIL"), not passed


def benchmark_rows(report):
    times = medians(report)
    lines = []
    failed = False
    for label, name, floor, budget in ROWS:
        value = times.get(name)
        floor_value = times.get(floor) if floor else None
        ratio = value / floor_value if value and floor_value else None
        if budget is None:
            cell = "report"
        else:
            cell, missed = verdict(ratio, budget)
            failed |= missed
        lines.append((label, show(value), FLOOR_NAMES.get(floor, "-"), show(floor_value),
                      f"{ratio:.2f}" if ratio else "-", cell))
    for size, count in (("100k", 100_000), ("1M", 1_000_000)):
        reload = times.get(f"reload/{size}_synced")
        if reload:
            lines.append((f"  reload per synced path, {size}", show(reload / count), "-", "-",
                          "-", "report"))
    memory = counters(report, "memory/1M")
    if memory:
        lines.append(("memory per badgeCache entry (1M)",
                      f"{memory['cache_bytes_per_entry']:.0f} B", "-", "-", "-", "report"))
        lines.append(("memory per synced path (1M)",
                      f"{memory['synced_bytes_per_path']:.0f} B", "-", "-", "-", "report"))
    return lines, failed


def stall_rows(stall):
    lines = []
    failed = False

    def add(label, value, budget=None, unit="", shown=None, floor=("-", "-"), ratio="-"):
        nonlocal failed
        if budget is None:
            cell = "report"
        else:
            cell, missed = verdict(value, budget, unit)
            failed |= missed
        if shown is None:
            shown = show_ms(value) if unit == " ms" else \
                "-" if value is None else f"{value:.0f}{unit}"
        lines.append((label, shown, floor[0], floor[1], ratio, cell))

    for synced, cached, longest, p99 in STALL_ROWS:
        row = f"stall/{synced}_synced/{cached}_cached"
        add(f"main-thread block, {synced} synced, {cached} cached",
            stall.get(row + "/longest_ms"), longest, " ms")
        add("  99th percentile", stall.get(row + "/p99_ms"), p99, " ms")
    rewrite = stall.get("rewrite_to_last_badge/100k_cached_ms")
    floor = stall.get("floor/stat_100k_one_core_ms")
    ratio = rewrite / floor if rewrite and floor else None
    add("rewrite to last changed badge, 100k cached", ratio, 1.5, shown=show_ms(rewrite),
        floor=("100k stats, one core", show_ms(floor)),
        ratio=f"{ratio:.2f}" if ratio else "-")
    at = stall.get("badge_request/longest_at_cache_size")
    add("longest badge request, cache 0 to 1M" + (f" (at {at / 1000:.0f}k)" if at else ""),
        stall.get("badge_request/longest_while_growing_ms"), unit=" ms")
    def beyond(what, path):
        return f"memory per {what} beyond its path" + (f" ({path:.0f} B)" if path else "")

    add(beyond("cached badge", stall.get("memory/cached_item_average_bytes")),
        stall.get("memory/cached_badge_beyond_path_bytes"), 80, " B")
    add(beyond("synced path", stall.get("memory/synced_path_average_bytes")),
        stall.get("memory/synced_path_beyond_path_bytes"), 64, " B")
    peak = stall.get("memory/reload_peak_mb")
    steady = stall.get("memory/reload_steady_mb")
    ratio = stall.get("memory/reload_peak_over_steady")
    add("reload peak resident, 1M synced", ratio, 2,
        shown="-" if peak is None else f"{peak:.0f} MB",
        floor=("steady resident", "-" if steady is None else f"{steady:.0f} MB"),
        ratio=f"{ratio:.2f}" if ratio else "-")
    return lines, failed


def show_ms(value):
    return "-" if value is None else show(value * 1e6)


def load_averages(report):
    """The one-minute load average when the benchmarks started, and now."""
    start = report.get("context", {}).get("load_avg") or [None]
    try:
        with open("/proc/loadavg") as stream:
            end = float(stream.read().split()[0])
    except (OSError, ValueError, IndexError):
        end = None
    return start[0], end


def machine_line(report, stall):
    """What the floors cost on this machine: a ratio met where system calls
    are slow may be missed where they are fast, and the other way round."""
    times = medians(report)
    floors = [("one stat", times.get("floor/stat")),
              ("stat + append one line", times.get("floor/badge_request")),
              ("100k stats on one core", stall.get("floor/stat_100k_one_core_ms"))]
    shown = [f"{name} {show_ms(value) if name.startswith('100k') else show(value)}"
             for name, value in floors if value]
    start, end = load_averages(report)
    load = "load average " + " to ".join(f"{value:.2f}" for value in (start, end)
                                         if value is not None)
    return "Machine: " + ", ".join(shown + [load]) + "."


def main(paths):
    with open(paths[0]) as stream:
        report = json.load(stream)
    stall = {}
    for path in paths[1:]:
        with open(path) as stream:
            stall.update(json.load(stream))
    lines, failed = benchmark_rows(report)
    if len(paths) > 1:
        more, stall_failed = stall_rows(stall)
        lines += more
        failed |= stall_failed
    header = ("operation", "measured", "floor", "floor median", "ratio", "budget")
    widths = [max(len(row[i]) for row in [header] + lines) for i in range(len(header))]
    def render(row):
        return "| " + " | ".join(cell.ljust(width) for cell, width in zip(row, widths)) + " |"
    print(render(header))
    print("|" + "|".join("-" * (width + 2) for width in widths) + "|")
    for row in lines:
        print(render(row))
    repetitions = max(entry.get("repetitions", 1) for entry in report["benchmarks"])
    print(f"\nOperations: CPU time, median of {repetitions} repetitions (3 for the 1M rows);"
          " ratio = measured / floor median.\nMemory per badgeCache entry and synced path:"
          " heap in use (mallinfo2), path included.")
    if stall:
        print("Main-thread blocks: wall-clock lateness of a no-op posted every millisecond"
              " while status.json\nis rewritten once a second; beyond its path: resident"
              " growth per entry less the path's bytes.")
    print(machine_line(report, stall))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
