// SPDX-License-Identifier: Apache-2.0
// Preloaded into Nautilus by its end-to-end test: appends the label of every
// menu item an extension makes to the file named by QUORBITZ_MENU_LABELS, one
// a line, then makes the item as Nautilus would. The test reads what a menu
// says from there rather than from the pixels of a screenshot.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

typedef void* (*MenuItemNew)(const char*, const char*, const char*, const char*);

void* nautilus_menu_item_new(const char* name, const char* label, const char* tip,
                             const char* icon) {
  MenuItemNew made = (MenuItemNew)dlsym(RTLD_NEXT, "nautilus_menu_item_new");
  const char* labels = getenv("QUORBITZ_MENU_LABELS");
  FILE* out = labels ? fopen(labels, "a") : NULL;
  if (out) {
    fprintf(out, "%s\n", label ? label : "");
    fclose(out);
  }
  return made ? made(name, label, tip, icon) : NULL;
}
