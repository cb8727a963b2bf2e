// SPDX-License-Identifier: Apache-2.0
// The Nautilus extension headers, made usable from C++.
//
// nautilus-extension.h declares the module entry points without C linkage and
// relies on GLib having been included first, so every file of this binding
// includes Nautilus through here.
#pragma once

#include <glib.h>

extern "C" {
#include <nautilus-extension.h>
}
