#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""What plutil and codesign would refuse in the Finder extension's bundle
files, checked without a Mac: both files parse as property lists, the
Info.plist describes a Finder Sync extension whose principal class the host
declares, and the entitlements sandbox it in the build's application group.

Usage: bundle_check.py INFO_PLIST ENTITLEMENTS APP_GROUP PRINCIPAL_CLASS_HEADER
"""
import plistlib
import re
import sys
from pathlib import Path

info_path, entitlements_path, app_group, class_header = sys.argv[1:5]
info = plistlib.loads(Path(info_path).read_bytes())
entitlements = plistlib.loads(Path(entitlements_path).read_bytes())
declared = re.findall(r"@interface\s+(\w+)\s*:\s*FIFinderSync\b",
                      Path(class_header).read_text(encoding="utf-8"))

extension = info.get("NSExtension", {})
expected = [
    ("CFBundlePackageType", info.get("CFBundlePackageType"), "XPC!"),
    ("CFBundleExecutable", info.get("CFBundleExecutable"), "QuorbitzFinderSync"),
    ("NSExtensionPointIdentifier", extension.get("NSExtensionPointIdentifier"),
     "com.apple.FinderSync"),
    ("NSExtensionPrincipalClass", extension.get("NSExtensionPrincipalClass"),
     declared[0] if declared else "an FIFinderSync subclass in " + class_header),
    ("NSExtensionAttributes", extension.get("NSExtensionAttributes"), {}),
    ("com.apple.security.app-sandbox",
     entitlements.get("com.apple.security.app-sandbox"), True),
    ("com.apple.security.application-groups",
     entitlements.get("com.apple.security.application-groups"), [app_group]),
]
failures = [f"{key}: {found!r}, expected {want!r}"
            for key, found, want in expected if found != want]
# Settings the build fills in must not stay empty.
failures += [f"{key}: empty" for key, value in info.items()
             if isinstance(value, str) and not value.strip()]
for failure in failures:
    print("FAIL:", failure)
print(f"bundle: {len(expected) - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
