// SPDX-License-Identifier: Apache-2.0
// The thunarx headers, made usable from C++: thunarx-provider-plugin.h
// declares its functions without C linkage, so every file of this binding
// includes thunarx through here.
#pragma once

#include <gtk/gtk.h>

extern "C" {
#include <thunarx/thunarx.h>
}
