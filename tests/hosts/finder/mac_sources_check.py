#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Compiles, on Linux, every source that the macOS build compiles (the core,
the POSIX and Linux bindings, the stand-in host and the suite) as a Mac would
see it as far as a Linux system can show: with clang++ and libc++, without
the __linux__ macros and glibc's GNU extensions, with the Linux-only headers
made into errors and the POSIX names macOS lacks poisoned. A call that only
Linux has then fails here, before a Mac build does; it must be guarded by
`#if defined(__linux__)` with a fallback for other systems.

Usage: mac_sources_check.py BUILD/compile_commands.json
Exits 77 (skipped) where clang++ with libc++ is not installed."""
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

# Targets the macOS build compiles; the Linux file managers' modules are not.
MAC_TARGETS = {"quorbitz_core", "quorbitz_linux", "quorbitz-finder", "quorbitz_tests"}

# Headers only Linux has; glibc's own headers include none of these.
LINUX_ONLY_HEADERS = [
    "linux/fs.h", "sys/epoll.h", "sys/eventfd.h", "sys/inotify.h", "sys/prctl.h",
    "sys/sendfile.h", "sys/signalfd.h", "sys/statfs.h", "sys/sysinfo.h",
    "sys/sysmacros.h", "sys/timerfd.h", "sys/vfs.h", "malloc.h", "mntent.h",
]

# POSIX names glibc declares without GNU extensions that macOS lacks. The
# headers that declare them come first: a macro they define (st_mtime) may
# still use them. Declared here: what macOS has and glibc hides among its GNU
# extensions (libc++ takes the locale functions).
POISON = """#include <fcntl.h>
#include <locale.h>
#include <pthread.h>
#include <stdarg.h>
#include <sys/stat.h>
#include <time.h>
extern "C" {
int mkostemp(char*, int);
int vasprintf(char**, const char*, va_list);
long long strtoll_l(const char*, char**, int, locale_t);
unsigned long long strtoull_l(const char*, char**, int, locale_t);
float strtof_l(const char*, char**, locale_t);
double strtod_l(const char*, char**, locale_t);
long double strtold_l(const char*, char**, locale_t);
}
#pragma GCC poison st_atim st_mtim st_ctim clock_nanosleep posix_fadvise posix_fallocate
#pragma GCC poison timer_create pthread_condattr_setclock
"""

MAC_LIKE = [
    "-U__linux__", "-U__linux", "-Ulinux", "-U__gnu_linux__", "-U_GNU_SOURCE",
    "-D_DEFAULT_SOURCE",
    # libc++ chooses its thread API by the system's macro.
    "-D_LIBCPP_HAS_THREAD_API_PTHREAD",
]


def target_of(arguments):
    output = arguments[arguments.index("-o") + 1]
    match = re.search(r"CMakeFiles/([^/]+)\.dir/", output)
    return match.group(1) if match else None


def mac_like_command(arguments, shadow, poison):
    kept = []
    skip = False
    for argument in arguments[1:]:
        if skip:
            skip = False
        elif argument == "-o":
            skip = True
        elif argument not in ("-c", "-Werror"):
            kept.append(argument)
    return (["clang++", "-stdlib=libc++", "-fsyntax-only", "-isystem", shadow,
             "-include", poison] + MAC_LIKE + kept)


def libcxx_installed():
    try:
        probe = subprocess.run(
            ["clang++", "-stdlib=libc++", "-x", "c++", "-fsyntax-only", "-"],
            input="#include <string>\n", text=True, capture_output=True)
    except FileNotFoundError:
        return False
    return probe.returncode == 0


def main():
    if not libcxx_installed():
        print("clang++ with libc++ not installed: skipped")
        return 77
    entries = json.loads(Path(sys.argv[1]).read_text())
    with tempfile.TemporaryDirectory() as scratch:
        shadow = os.path.join(scratch, "include")
        for header in LINUX_ONLY_HEADERS:
            path = Path(shadow, header)
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(f'#error "<{header}> is Linux-only: guard it with __linux__"\n')
        poison = os.path.join(scratch, "poison.h")
        Path(poison).write_text(POISON)
        jobs = []
        for entry in entries:
            arguments = shlex.split(entry["command"])
            if target_of(arguments) in MAC_TARGETS:
                jobs.append((entry["file"], entry["directory"],
                             mac_like_command(arguments, shadow, poison)))

        def compile_one(job):
            source, directory, command = job
            run = subprocess.run(command, cwd=directory, text=True, capture_output=True)
            return source, run.returncode, run.stderr

        with ThreadPoolExecutor(max_workers=min(2, os.cpu_count() or 1)) as pool:
            results = list(pool.map(compile_one, jobs))
    failed = [result for result in results if result[1] != 0]
    for source, _, errors in failed:
        print(f"== {source}\n{errors}")
    print(f"mac-sources: {len(results) - len(failed)} passed, {len(failed)} failed")
    return 1 if failed or not results else 0


if __name__ == "__main__":
    sys.exit(main())
