#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
# The worked example of docs/integration.md completes one change against the
# stand-in host: "Lock Folder" writes a command, the example consumes it and
# rewrites status.json, and the host that loads it next badges the folder
# "locked". How soon a running file manager shows a rewrite is the
# end-to-end tests' concern.
#
# Usage: integration_example.py HOST_BINARY INTEGRATION_MD

import json
import subprocess
import sys
import tempfile
from pathlib import Path

HOST, GUIDE = sys.argv[1], Path(sys.argv[2])
MARKER = "<!-- tested: tests/contract/integration_example.py runs the block below -->"


def example_program():
    text = GUIDE.read_text(encoding="utf-8")
    block = text[text.index(MARKER):].split("```python\n", 1)[1]
    return block.split("\n```", 1)[0] + "\n"


def run_host(container, *lines):
    """The stand-in host run over `lines` to the end of its input; returns its events."""
    return subprocess.run([HOST, "run", "--container", str(container), "--no-timer"],
                          input="".join(f"{line}\n" for line in lines), stdout=subprocess.PIPE,
                          text=True, encoding="utf-8", check=True, timeout=60).stdout.splitlines()


def menu_item(events, title):
    for event in events:
        if event.startswith("item ") and f'"{title}"' in event:
            return event.split()[1]
    raise SystemExit(f"no menu item {title!r} in {events}")


def expect(condition, what):
    if not condition:
        raise SystemExit(f"FAILED: {what}")


def main():
    with tempfile.TemporaryDirectory() as temp:
        temp = Path(temp)
        root, finder = temp / "Projects/Film", temp / "container/finder"
        (root / "Footage").mkdir(parents=True)
        (root / "intro.mov").write_bytes(b"")
        finder.mkdir(parents=True)
        (finder / "status.json").write_text(json.dumps({"version": 1, "roots": [{
            "path": str(root), "direction": "two-way", "label": "Film",
            "link": "https://example.com/p/film", "can_lock": True,
            "kept_local": [], "locked": [], "synced": ["intro.mov"]}]}))
        program = temp / "minimal_main_app.py"
        program.write_text(example_program(), encoding="utf-8")

        container, footage = temp / "container", root / "Footage"
        show_footage = [f"ls '{root}'", f"target '{footage}'", "menu 1"]
        events = run_host(container, *show_footage)
        expect(f'setBadgeIdentifier "synced" "{footage}"' in events, f"Footage synced: {events}")
        run_host(container, *show_footage, f"click {menu_item(events, 'Lock Folder')}")
        expect(len(list((finder / "commands").glob("*.json"))) == 1, "one command written")

        subprocess.run([sys.executable, str(program), "--container", str(container),
                        "--once"], check=True, timeout=60, stdout=subprocess.DEVNULL)
        expect(not list((finder / "commands").iterdir()), "the command consumed")
        written = json.loads((finder / "status.json").read_text())
        expect(written["roots"][0]["locked"] == ["Footage"], f"Footage locked: {written}")
        check = subprocess.run([HOST, "check-status", str(finder / "status.json")],
                               capture_output=True, text=True)
        expect(check.returncode == 0 and "warning:" not in check.stdout,
               f"the rewritten status.json loads cleanly: {check.stdout}")

        events = run_host(container, *show_footage)
        expect(f'setBadgeIdentifier "locked" "{footage}"' in events, f"Footage locked: {events}")
        menu_item(events, "Unlock Folder")
    print("the example consumed the command, rewrote status.json and the badge changed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
