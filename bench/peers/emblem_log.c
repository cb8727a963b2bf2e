// SPDX-License-Identifier: Apache-2.0
// Preloaded into Nautilus, notes every emblem an extension hands over, by
// any route: a C module calls nautilus_file_info_add_emblem through its
// linker, a nautilus-python extension looks it up through
// g_module_symbol (GObject introspection). Built with -DFILE_MANAGER=nemo
// or caja, it notes the same calls of Nemo's or Caja's extension library.
// Thunar has no such call: an emblem is the "metadata::emblems" attribute
// of Thunar's GFileInfo, so built with -DEMBLEMS_IN_FILE_INFO it notes
// every badge emblem set there, with the file's name in place of its path.
// Each call appends "T PATH EMBLEM" to the file named by
// QUORBITZ_EMBLEM_LOG, T being wall-clock microseconds since the epoch,
// before handing the emblem on.
// The note costs the same few microseconds whichever extension made the
// call.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <gio/gio.h>
#include <gmodule.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#ifndef FILE_MANAGER
#define FILE_MANAGER nautilus
#endif
#define JOINED(prefix, name) prefix##name
#define PREFIXED(prefix, name) JOINED(prefix, name)
#define TEXT(name) #name
#define NAME_OF(name) TEXT(name)
#define ADD_EMBLEM PREFIXED(FILE_MANAGER, _file_info_add_emblem)
#define GET_LOCATION PREFIXED(FILE_MANAGER, _file_info_get_location)

typedef struct FileInfo FileInfo;
typedef void (*AddEmblem)(FileInfo*, const char*);
typedef GFile* (*GetLocation)(FileInfo*);
typedef gboolean (*ModuleSymbol)(GModule*, const gchar*, gpointer*);

void ADD_EMBLEM(FileInfo* file, const char* emblem);

static void noteLine(const char* path, const char* emblem) {
  static int log = -2;
  if (log == -2) {
    const char* name = getenv("QUORBITZ_EMBLEM_LOG");
    log = name ? open(name, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644) : -1;
  }
  if (log < 0) return;
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  char line[8192];
  int length = snprintf(line, sizeof line, "%lld %s %s\n",
                        (long long)now.tv_sec * 1000000 + now.tv_nsec / 1000,
                        path ? path : "?", emblem ? emblem : "");
  if (length > 0 && (size_t)length < sizeof line) {
    if (write(log, line, (size_t)length) < 0) {
      // A lost note shows as an emblem never handed over.
    }
  }
}

#ifdef EMBLEMS_IN_FILE_INFO

typedef void (*SetStrings)(GFileInfo*, const char*, char**);

void g_file_info_set_attribute_stringv(GFileInfo* info, const char* attribute, char** value) {
  static SetStrings handOn;
  if (!handOn) handOn = (SetStrings)dlsym(RTLD_NEXT, "g_file_info_set_attribute_stringv");
  if (attribute && strcmp(attribute, "metadata::emblems") == 0 && value && value[0] &&
      strncmp(value[0], "emblem-quorbitz-", 16) == 0) {
    noteLine(g_file_info_get_name(info), value[0]);
  }
  if (handOn) handOn(info, attribute, value);
}

#else

static void note(FileInfo* file, const char* emblem) {
  static GetLocation location;
  if (!location) location = (GetLocation)dlsym(RTLD_DEFAULT, NAME_OF(GET_LOCATION));
  if (!location) return;
  GFile* where = location(file);
  char* path = where ? g_file_get_path(where) : NULL;
  noteLine(path, emblem);
  g_free(path);
  if (where) g_object_unref(where);
}

void ADD_EMBLEM(FileInfo* file, const char* emblem) {
  static AddEmblem handOn;
  if (!handOn) handOn = (AddEmblem)dlsym(RTLD_NEXT, NAME_OF(ADD_EMBLEM));
  note(file, emblem);
  if (handOn) handOn(file, emblem);
}

gboolean g_module_symbol(GModule* module, const gchar* name, gpointer* symbol) {
  static ModuleSymbol lookUp;
  if (!lookUp) lookUp = (ModuleSymbol)dlsym(RTLD_NEXT, "g_module_symbol");
  if (!lookUp) return FALSE;
  const gboolean found = lookUp(module, name, symbol);
  if (found && symbol && name && strcmp(name, NAME_OF(ADD_EMBLEM)) == 0) {
    *symbol = (gpointer)&ADD_EMBLEM;
  }
  return found;
}

#endif
