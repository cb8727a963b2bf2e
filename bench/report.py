# SPDX-License-Identifier: Apache-2.0
"""Turns a Google Benchmark JSON report into the budget table bench/run prints."""

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
    ("re-evaluation, 100k cached badges", "reevaluation/100k_cached",
     "floor/stat_100k", 1.5),
    ("menu for a folder", "menu/folder", None, None),
    ("command write (toggleLock:)", "command/toggle_lock", "floor/command", 1.5),
]

FLOOR_NAMES = {
    "floor/badge_request": "stat + append one line",
    "badge_request/empty_lists": "request, empty lists",
    "badge_request/5000_ascii_roots": "same, ASCII names",
    "badge_request/16k_path": "same, 16 KiB deep",
    "floor/stat": "one stat",
    "floor/raw_parse_100k_synced": "raw simdjson parse",
    "floor/stat_100k": "100k stats",
    "floor/command": "mkdir + write one file",
}

SCALE = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def medians(report):
    found = {}
    for entry in report["benchmarks"]:
        if entry.get("aggregate_name") == "median" and not entry.get("error_occurred"):
            found[entry["run_name"]] = entry["cpu_time"] * SCALE[entry["time_unit"]]
        if entry.get("error_occurred"):
            found[entry["run_name"]] = None
            print(f"error in {entry['run_name']}: {entry.get('error_message')}",
                  file=sys.stderr)
    return found


def counters(report, run_name):
    for entry in report["benchmarks"]:
        if entry.get("run_name", "").split("/iterations:")[0] == run_name:
            return entry
    return None


def show(ns):
    if ns is None:
        return "-"
    for unit, scale in (("s", 1e9), ("ms", 1e6), ("us", 1e3)):
        if ns >= scale:
            return f"{ns / scale:.3g} {unit}"
    return f"{ns:.3g} ns"


def main(path):
    with open(path) as stream:
        report = json.load(stream)
    times = medians(report)
    lines = []
    failed = False
    header = ("operation", "median", "floor", "floor median", "ratio", "budget")
    for label, name, floor, budget in ROWS:
        value = times.get(name)
        floor_value = times.get(floor) if floor else None
        ratio = value / floor_value if value and floor_value else None
        if budget is None:
            verdict = "report"
        elif ratio is None:
            verdict = "FAIL (not measured)"
            failed = True
        else:
            verdict = f"<= {budget:g} " + ("PASS" if ratio <= budget else "FAIL")
            failed |= ratio > budget
        lines.append((label, show(value), FLOOR_NAMES.get(floor, "-"), show(floor_value),
                      f"{ratio:.2f}" if ratio else "-", verdict))
    reload = times.get("reload/100k_synced")
    if reload:
        lines.append(("  reload per synced path", show(reload / 100_000), "-", "-", "-",
                      "report"))
    memory = counters(report, "memory/1M")
    if memory:
        lines.append(("memory per badgeCache entry (1M)",
                      f"{memory['cache_bytes_per_entry']:.0f} B", "-", "-", "-", "report"))
        lines.append(("memory per synced path (1M)",
                      f"{memory['synced_bytes_per_path']:.0f} B", "-", "-", "-", "report"))
    widths = [max(len(row[i]) for row in [header] + lines) for i in range(len(header))]
    def render(row):
        return "| " + " | ".join(cell.ljust(width) for cell, width in zip(row, widths)) + " |"
    print(render(header))
    print("|" + "|".join("-" * (width + 2) for width in widths) + "|")
    for row in lines:
        print(render(row))
    repetitions = max(entry.get("repetitions", 1) for entry in report["benchmarks"])
    print(f"\nCPU time per operation, median of {repetitions} repetitions; ratio = median /"
          " floor median.\nMemory: heap in use (mallinfo2) before and after, per entry.")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
