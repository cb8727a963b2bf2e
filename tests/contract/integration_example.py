#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
# The worked example of docs/integration.md completes one change against the
# stand-in host: "Lock Folder" writes a command, the example consumes it and
# rewrites status.json, and the folder's badge turns to "locked".
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


class Host:
    """The stand-in host, driven line by line; each call returns its events."""

    def __init__(self, container):
        self.process = subprocess.Popen(
            [HOST, "run", "--container", str(container), "--no-timer"],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, encoding="utf-8")
        self.markers = 0

    def send(self, *lines):
        self.markers += 1
        marker = f"done-{self.markers}"
        self.process.stdin.write("".join(f"{line}\n" for line in lines) + f"echo {marker}\n")
        self.process.stdin.flush()
        events = []
        for event in self.process.stdout:
            if event.rstrip("\n") == f'echo "{marker}"':
                return events
            events.append(event.rstrip("\n"))
        raise SystemExit(f"the host ended early; events so far: {events}")

    def close(self):
        self.process.communicate("quit\n", timeout=30)


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

        host = Host(temp / "container")
        footage = root / "Footage"
        events = host.send(f"ls '{root}'")
        expect(f'setBadgeIdentifier "synced" "{footage}"' in events, f"Footage synced: {events}")
        events = host.send(f"target '{footage}'", "menu 1")
        host.send(f"click {menu_item(events, 'Lock Folder')}")
        expect(len(list((finder / "commands").glob("*.json"))) == 1, "one command written")

        subprocess.run([sys.executable, str(program), "--container", str(temp / "container"),
                        "--once"], check=True, timeout=60, stdout=subprocess.DEVNULL)
        expect(not list((finder / "commands").iterdir()), "the command consumed")
        written = json.loads((finder / "status.json").read_text())
        expect(written["roots"][0]["locked"] == ["Footage"], f"Footage locked: {written}")
        check = subprocess.run([HOST, "check-status", str(finder / "status.json")],
                               capture_output=True, text=True)
        expect(check.returncode == 0 and "warning:" not in check.stdout,
               f"the rewritten status.json loads cleanly: {check.stdout}")

        events = host.send("tick")
        expect(f'setBadgeIdentifier "locked" "{footage}"' in events, f"Footage locked: {events}")
        menu_item(host.send("menu 1"), "Unlock Folder")
        host.close()
    print("the example consumed the command, rewrote status.json and the badge changed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
