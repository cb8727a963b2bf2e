#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
# The JSON Schemas in docs/schema/ agree with the code.
#
# Every status document below, and every seed of the decoder's fuzz corpus, is
# accepted by docs/schema/status.schema.json exactly when the extension's
# decoder accepts it (the exit status of `quorbitz-finder check-status`), and
# every command file the menu actions write validates against
# docs/schema/command.schema.json.
#
# Usage: schema_agreement.py HOST_BINARY REPOSITORY

import json
import shlex
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

try:
    from jsonschema import Draft202012Validator
except ImportError:
    print("SKIPPED: python3-jsonschema is not installed (scripts/install-deps installs it)")
    sys.exit(77)

HOST, REPO = sys.argv[1], Path(sys.argv[2])

# Raw JSON of each member of a root the decoder accepts.
BASE_ROOT = {
    "path": '"/home/ann/Film"', "direction": '"both"', "label": '"Film"',
    "link": '"https://example.com/p/7"', "can_lock": "true",
    "kept_local": '["Footage"]', "locked": "[]",
    "synced": '["", "Footage", "Footage/A001.mov"]',
}
OPTIONAL_ROOT_KEYS = {"root_locked": "false", "can_mint_links": "true",
                      "roles": '{"masters":"M","review":"R"}'}

# One value of each JSON shape, to put where another is expected.
SAMPLES = ['"s"', "1", "1.0", "1.5", "true", "null", "[]", '["a"]', "[null]", "{}",
           '{"a":"b"}', '{"a":1}']


def obj(members):
    """JSON text of an object; a member whose raw value is None is left out."""
    return "{" + ",".join(f'"{k}":{v}' for k, v in members.items() if v is not None) + "}"


def root(**changes):
    return obj({**BASE_ROOT, **changes})


def status(roots, version="1"):
    return '{"version":' + version + ',"roots":[' + ",".join(roots) + "]}"


def with_root(**changes):
    return status([root(**changes)])


def variations():
    """Each key missing, null or of every other shape; extra keys; repeated roots."""
    docs = []
    full = {**BASE_ROOT, **OPTIONAL_ROOT_KEYS}
    for key in [*full, "unknown_key"]:
        docs.append(status([obj({**full, key: None})]))
        docs += [status([obj({**full, key: sample})]) for sample in SAMPLES]
    for sample in SAMPLES:
        docs.append(with_root(roles='{"masters":' + sample + '}'))
        docs.append(with_root(roles='{"owner":' + sample + '}'))
        docs.append(status([root(), sample]))
        docs.append(status([], sample))
        docs.append('{"version":1,"roots":' + sample + "}")
        docs.append('{"version":1,"roots":[],"extra":' + sample + "}")
        docs.append(sample)
    docs += ['{"roots":[],"version":1}', status([root(), root()]),
             status([root(path='"/home/Caf\\u00e9"'), root(path='"/home/Cafe\\u0301"')]),
             status([root(), root(path='"/home/ann"')]),
             # the decoder's own edge cases the fuzz corpus lacks: repeated keys,
             # escapes, integral doubles, range ends, bad UTF-8, deep nesting
             '{"version":2,"version":"x","roots":[],"roots":7}', status(["[" * 5000 + "]" * 5000]),
             with_root(path=r'"\/home\/Ren\u00e9"'), with_root(label='"Fi\udcfflm"'),
             *(status([], v) for v in ["-0.0", "-3", "1e30", "9223372036854775807",
                                       "-9223372036854775808", "18446744073709551616", "1e400"]),
             # numbers no 64-bit type holds, where nothing reads them; a repeated
             # key whose later value is wrong, in a root and in roles
             '{"version":1,"n":[18446744073709551616,-1e400,1E-400],"roots":[]}',
             with_root(size="123456789012345678901234567890"),
             with_root().replace('"can_lock":true', '"can_lock":true,"can_lock":5'),
             with_root(roles='{"masters":"M","masters":null}'),
             with_root(roles='{"masters":null,"masters":"M"}')]
    return docs


def schema_accepts(validator, document):
    # The decoder reads the first of repeated keys, where Python keeps the last;
    # NaN and Infinity, which Python reads, are no JSON (the empty dict's lookup
    # refuses them).
    try:
        value = json.loads(document, object_pairs_hook=lambda pairs: dict(reversed(pairs)),
                           parse_constant={}.__getitem__)
    except (ValueError, KeyError, RecursionError):
        return False
    return validator.is_valid(value)


def decoder_verdicts(documents, work):
    """Whether the extension loads each document, by check-status's exit status."""
    def verdict(numbered):
        number, document = numbered
        file = work / f"status-{number}.json"
        file.write_bytes(document)
        code = subprocess.run([HOST, "check-status", str(file)],
                              stdout=subprocess.DEVNULL).returncode
        if code not in (0, 1):
            raise SystemExit(f"check-status exited {code} on {document[:200]!r}")
        return code == 0
    # Starting the host dominates; a few at a time keep both cores busy.
    with ThreadPoolExecutor(max_workers=4) as pool:
        return list(pool.map(verdict, enumerate(documents)))


def check_status_agreement(work):
    validator = Draft202012Validator(json.loads((REPO / "docs/schema/status.schema.json").read_text()))
    corpus = sorted((REPO / "fuzz/corpus/fuzz_status_decoder").glob("*.json"))
    documents = ([d.encode("utf-8", "surrogateescape") for d in variations()] +
                 [path.read_bytes() for path in corpus])
    verdicts = decoder_verdicts(documents, work)
    disagreements = [f"decoder {'accepts' if loads else 'rejects'}, schema does not: "
                     f"{document[:300]!r}" for document, loads in zip(documents, verdicts)
                     if loads != schema_accepts(validator, document)]
    print(f"status documents: {len(documents)}, {sum(verdicts)} loaded by the extension")
    return disagreements


COMMAND_SELECTORS = ["keepLocal:", "toggleLock:", "importResolve:", "syncNow:", "setMasters:",
                     "setReview:", "followLink:", "folderLink:", "uploadLink:"]


def written_commands(work):
    """Every command the actions write, for items with awkward names."""
    container = work / "container"
    items = ["/home/ann/Film/Footage", "/home/ann/it's \"quoted\" \\ back\tslash",
             "/home/ann/Caf\u00e9/\u00dcn\u00ef \U0001F3AC", "/outside/every root"]
    script = [f"select {shlex.quote(item)}\n" + "".join(f"action {s}\n" for s in COMMAND_SELECTORS)
              for item in items]
    subprocess.run([HOST, "run", "--container", str(container), "--no-timer"],
                   input="".join(script) + "quit\n", text=True, check=True,
                   stdout=subprocess.DEVNULL)
    files = sorted((container / "finder/commands").glob("*.json"))
    if len(files) != len(items) * len(COMMAND_SELECTORS):
        raise SystemExit(f"expected {len(items) * len(COMMAND_SELECTORS)} command files, "
                         f"found {len(files)}")
    commands = [json.loads(path.read_bytes()) for path in files]
    paths = {command["path"] for command in commands if "path" in command}
    if paths != set(items):
        raise SystemExit(f"command paths {sorted(paths)} are not the items {items}")
    return commands


def check_command_schema(work):
    validator = Draft202012Validator(json.loads((REPO / "docs/schema/command.schema.json").read_text()))
    problems = [f"written command fails the schema: {command}"
                for command in written_commands(work) if not validator.is_valid(command)]
    never_written = [{"action": "keep_local"}, {"action": "sync_now", "path": "/x"},
                     {"action": "set_role", "path": "/x"},
                     {"action": "set_role", "role": "owner", "path": "/x"},
                     {"action": "toggle_lock", "path": "/x", "role": "masters"},
                     {"action": "lock", "path": "/x"}, {"action": "keep_local", "path": "x"}]
    problems += [f"command schema accepts what is never written: {command}"
                 for command in never_written if validator.is_valid(command)]
    return problems


def main():
    with tempfile.TemporaryDirectory() as temp:
        work = Path(temp)
        problems = check_status_agreement(work) + check_command_schema(work)
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
